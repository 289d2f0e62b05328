#include "fitting/fit_report.hpp"

#include <cmath>
#include <iterator>
#include <numbers>
#include <string>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "entry/range_warnings.hpp"
#include "network/best_match.hpp"
#include "core/figure_digits.hpp"

namespace bandmatch {

namespace {

constexpr int TABLE_DIGITS = 6;  // seven significant digits in every column
constexpr int PERCENT_DIGITS = 2;
constexpr std::size_t LABEL_WIDTH = 38;
constexpr std::size_t N_COLUMN_WIDTH = 6;
constexpr std::size_t TABLE_COLUMN_WIDTH = 17;
// The printed table's columns but the last, which is not padded.
constexpr std::size_t TABLE_WIDTHS[] = {N_COLUMN_WIDTH, TABLE_COLUMN_WIDTH, TABLE_COLUMN_WIDTH,
                                        TABLE_COLUMN_WIDTH + 5};

std::string padded(std::string_view text, std::size_t width) {
  std::string cell(text);
  if (cell.size() < width) {
    cell.append(width - cell.size(), ' ');
  }
  return cell;
}

void writeValue(std::ostream& out, std::string_view label, const std::string& value) {
  writeLine(out, "   " + padded(std::string(label) + " =", LABEL_WIDTH) + " " + value);
}

std::string scientific(double value) {
  return formatScientific(value, figure_digits::ELEMENT_VALUE);
}

std::string megahertz(double value) {
  return formatFixed(value, figure_digits::FREQUENCY_MHZ);
}

std::string percent(double fraction) {
  return formatFixed(100.0 * fraction, PERCENT_DIGITS) + " %";
}

void writeModel(std::ostream& out, const LoadFit& fit) {
  const ModelCandidate& chosen = fit.candidates.front();
  const LoadModel& model = chosen.model;
  const bool series = model.type == LoadType::series;
  writeLine(out, std::string("Model: ") + (series ? "series R-L-C" : "parallel G-L-C") +
                     (fit.candidates.size() > 1 ? ", the better of the two models" : ""));
  writeValue(out, series ? "R (ohms)" : "G (Siemens)", scientific(model.level));
  writeValue(out, "L (H)", scientific(model.inductance));
  writeValue(out, "C (F)", scientific(model.capacitance));
  const std::optional<double> resonance = ownResonanceMHz(model);
  writeValue(out, "Own resonance (MHz)",
             resonance ? megahertz(*resonance) : "none (the fitted L or C is not positive)");
  writeValue(out, "Worst impedance error over the band",
             percent(model.worstError) + " at " + megahertz(model.worstErrorMHz) + " MHz");
  for (std::size_t i = 1; i < fit.candidates.size(); ++i) {
    const ModelCandidate& other = fit.candidates[i];
    writeValue(out,
               std::string(other.model.type == LoadType::series ? "Series" : "Parallel") +
                   " model instead",
               other.refusal.empty() ? "worst impedance error " + percent(other.model.worstError)
                                     : "cannot serve: " + other.refusal);
  }

  const Retuning& retuning = chosen.retuning;
  writeLine(out);
  writeLine(out, "Retuning to resonate at f0:");
  if (retuning.kind == RetuningKind::none) {
    writeValue(out, "Element", "none, the load resonates at f0");
  } else {
    writeValue(out, retuningName(retuning.kind), scientific(retuning.value));
  }
  writeValue(out, "L of the retuned load (H)", scientific(retuning.inductance));
  writeValue(out, "C of the retuned load (F)", scientific(retuning.capacitance));
}

void writeDescription(std::ostream& out, const LoadFit& fit, const DialogueAnswers& answers) {
  const DesignCase& described = fit.load;
  const bool series = described.loadType == LoadType::series;
  writeLine(out);
  writeLine(out, "Load description:");
  writeValue(out, "Center Frequency (f0) (MHz)", megahertz(described.f0));
  writeValue(out, "Fractional Match Bandwidth (wm)",
             formatFixed(described.wm, figure_digits::ELEMENT_VALUE));
  writeValue(out, series ? "Reactance Slope Parameter (ohms)" : "Susceptance Slope Parameter (S)",
             scientific(series ? described.reactanceSlope : described.susceptanceSlope));
  writeValue(out, "Load Decrement", scientific(described.decrement));
  writeValue(out, "Load Q", scientific(described.loadQ));

  writeLine(out);
  writeLine(out, std::string("Answers of the dialogue's method l (") +
                     (series ? "series load):" : "parallel load):"));
  if (!answers.error.empty()) {
    writeLine(out, "   none: " + answers.error);
    return;
  }
  // Words 6 to 8 are the three load answers, after name, N, l, s or p, f1 and f2.
  constexpr std::size_t FIRST_LOAD_WORD = 6;
  writeValue(out, series ? "average resistance (ohms)" : "average conductance (Siemens)",
             answers.words[FIRST_LOAD_WORD]);
  writeValue(out, "delta bandwidth (MHz)", answers.words[FIRST_LOAD_WORD + 1]);
  writeValue(out, series ? "delta reactance (ohms)" : "delta susceptance (Siemens)",
             answers.words[FIRST_LOAD_WORD + 2]);
}

std::string tableLine(const std::vector<std::string>& cells) {
  std::string text = "   ";
  for (std::size_t c = 0; c < cells.size(); ++c) {
    const bool pad = c + 1 < cells.size() && c < std::size(TABLE_WIDTHS);
    text += pad ? padded(cells[c], TABLE_WIDTHS[c]) : cells[c];
  }
  return text;
}

void writeTable(std::ostream& out, double decrement) {
  const BestMatchTable table = bestMatchTableText(decrement);
  writeLine(out, table.title + ":");
  writeLine(out, tableLine(table.headings));
  for (const BestMatchTableRow& row : table.rows) {
    writeLine(out,
              row.note.empty() ? tableLine(row.cells) : tableLine({row.cells.front(), row.note}));
  }
}

}  // namespace

std::optional<double> ownResonanceMHz(const LoadModel& model) {
  if (!(model.inductance > 0.0 && model.capacitance > 0.0)) {
    return std::nullopt;
  }
  return 1.0 / (2.0 * std::numbers::pi * 1e6 * std::sqrt(model.inductance * model.capacitance));
}

BestMatchTable bestMatchTableText(double decrement) {
  BestMatchTable table{"Best match for Load Decrement " + scientific(decrement) +
                           " (Fano; N resonators, inf for infinitely many)",
                       {"N", "|Gamma| min", "|Gamma| max", "Return Loss Max (dB)", "SWR Max"},
                       {}};
  for (const BestMatchRow& row : bestMatchTable(decrement)) {
    BestMatchTableRow& text = table.rows.emplace_back();
    text.n = row.n;
    text.cells.push_back(row.n == 0 ? "inf" : formatInteger(row.n));
    if (!row.solved) {
      text.note = "no solution: the solver does not converge for this decrement";
      continue;
    }
    for (const double figure : {row.rhoMin, row.rhoMax, row.worstReturnLossDb, row.worstSwr}) {
      text.cells.push_back(formatScientific(figure, TABLE_DIGITS));
    }
  }
  return table;
}

void writeFitSummary(std::ostream& out, std::string_view loadPath, const MeasuredLoad& load,
                     const BandPoints& band, const LoadFit& fit, const DialogueAnswers& answers) {
  writeLine(out, "Load: " + printableText(loadPath) + ", " +
                     formatInteger(static_cast<long long>(band.last - band.first + 1)) +
                     " measured points in the band " + megahertz(fit.load.f1) + " to " +
                     megahertz(fit.load.f2) + " MHz (" +
                     formatInteger(static_cast<long long>(load.frequencyMHz.size())) +
                     " in the file)");
  writeLine(out);
  writeModel(out, fit);
  writeDescription(out, fit, answers);
  showRangeWarnings(out, fit.load);
}

void writeFitReport(std::ostream& out, std::string_view loadPath, const MeasuredLoad& load,
                    const BandPoints& band, const LoadFit& fit, const DialogueAnswers& answers) {
  writeFitSummary(out, loadPath, load, band, fit, answers);
  writeLine(out);
  writeTable(out, fit.load.decrement);
}

void writeBestMatch(std::ostream& out, double decrement) {
  showDecrementWarning(out, decrement);
  writeTable(out, decrement);
}

}  // namespace bandmatch
