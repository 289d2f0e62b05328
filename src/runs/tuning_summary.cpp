#include "runs/tuning_summary.hpp"

#include <cmath>
#include <vector>

#include "core/number_format.hpp"
#include "network/network_build.hpp"
#include "network/best_match.hpp"
#include "core/figure_digits.hpp"
#include "runs/text_table.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {

namespace {

constexpr int CHANGE_DIGITS = 2;
constexpr int VALUE_CHANGE_DIGITS = 4;
constexpr int PLAIN_DIGITS = 6;
constexpr int MILLISECOND_DIGITS = 1;

using Row = std::vector<std::string>;

double percentChange(double after, double before) {
  return 100.0 * (after / before - 1.0);
}

Row figureRow(std::string label, double rho, std::string change = {}) {
  return {std::move(label), formatFixed(rho, figure_digits::REFLECTION),
          formatFixed(standingWaveRatio(rho), figure_digits::SWR),
          formatFixed(20.0 * std::log10(rho), figure_digits::RETURN_LOSS_DB), std::move(change)};
}

// "a", "a and b", "a, b and c".
std::string spokenList(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    text += (i == 0 ? "" : (i + 1 == items.size() ? " and " : ", ")) + items[i];
  }
  return text;
}

// "L and C of positions 2 to 3, the source resistance and the retuning element".
std::string variablesText(const ReportedDesign& design, const NetworkTuning& tuning,
                          const std::vector<TuningVariable>& variables) {
  std::vector<std::string> items;
  for (const TuningVariable& variable : variables) {
    if (variable.kind == VariableKind::inductance && variable.position == 2) {
      items.push_back(design.N == 2 ? "L and C of position 2"
                                    : "L and C of positions 2 to " + formatInteger(design.N));
    } else if (variable.kind == VariableKind::source) {
      items.push_back(tuning.untuned.network.ladder.turnsRatio ? "the transformer's turns ratio"
                                                               : "the source resistance");
    } else if (variable.kind == VariableKind::retuning) {
      items.push_back("the retuning element");
    }
  }
  return spokenList(items);
}

// "L(3), C(2) and the retuning element": each variable by its own name.
std::string variableNames(const NetworkTuning& tuning,
                          const std::vector<TuningVariable>& variables) {
  std::vector<std::string> items;
  for (const TuningVariable& variable : variables) {
    const std::size_t index = static_cast<std::size_t>(variable.position) - 1;
    switch (variable.kind) {
      case VariableKind::inductance:
        items.push_back(elementName('L', index));
        break;
      case VariableKind::capacitance:
        items.push_back(elementName('C', index));
        break;
      case VariableKind::source:
        items.push_back(tuning.untuned.network.ladder.turnsRatio ? "the transformer's turns ratio"
                                                                 : "the source resistance");
        break;
      case VariableKind::retuning:
        items.push_back("the retuning element");
        break;
    }
  }
  return spokenList(items);
}

std::string onTarget(const TuningContext& context) {
  return context.measured ? " on the measured load" : " on the model load";
}

// One value of the values file: its label and its value in each network of the comparison.
struct ValueRow {
  std::string label;
  double (*value)(const TunableNetwork&, std::size_t);
  std::size_t index;
};

double loadResistance(const TunableNetwork& network, std::size_t) {
  return network.ladder.loadResistance;
}
double inductanceAt(const TunableNetwork& network, std::size_t index) {
  return network.ladder.inductance[index];
}
double capacitanceAt(const TunableNetwork& network, std::size_t index) {
  return network.ladder.capacitance[index];
}
double sourceResistance(const TunableNetwork& network, std::size_t) {
  return network.ladder.sourceResistance;
}
double turnsRatio(const TunableNetwork& network, std::size_t) {
  return network.ladder.turnsRatio.value_or(0.0);
}
double retuningValue(const TunableNetwork& network, std::size_t) {
  return network.retuning.value;
}

void appendCsvRow(std::string& text, const Row& row) {
  for (std::size_t c = 0; c < row.size(); ++c) {
    text += row[c];
    text += c + 1 < row.size() ? ',' : '\n';
  }
}

}  // namespace

std::string tuningVariableName(const TuningVariable& variable, const LadderNetwork& ladder) {
  const std::size_t index = static_cast<std::size_t>(variable.position) - 1;
  switch (variable.kind) {
    case VariableKind::inductance:
      return elementName('L', index);
    case VariableKind::capacitance:
      return elementName('C', index);
    case VariableKind::source:
      return ladder.turnsRatio ? "turns ratio" : "source resistance";
    case VariableKind::retuning:
      break;
  }
  return "retuning element";
}

TuningBounds tuningBounds(const ReportedDesign& design, double decrement) {
  const std::vector<BestMatchRow> best = bestMatchTable(decrement);
  const BestMatchRow& equalRipple = best.at(static_cast<std::size_t>(design.N) - 1);
  return {equalRipple.solved ? std::optional(equalRipple.rhoMax) : std::nullopt,
          best.back().rhoMax};
}

std::string renderTuningSummary(const ReportedDesign& design, const NetworkTuning& tuning,
                                const TuningContext& context) {
  const bool subset = tuning.optimisedSamples < tuning.samples;
  std::string text = "Tuned on " +
                     (subset ? formatInteger(tuning.optimisedSamples) + " of the " : std::string()) +
                     formatInteger(tuning.samples - tuning.edgeSamples) +
                     (context.measured ? " measured points" : " points of the model load") +
                     " in the band " + formatFixed(design.f1, figure_digits::FREQUENCY_MHZ) +
                     " to " + formatFixed(design.f2, figure_digits::FREQUENCY_MHZ) + " MHz" +
                     (tuning.edgeSamples > 0 ? " and at its edges, interpolated" : "") + ": " +
                     variablesText(design, tuning, tuning.variables) +
                     ", each within a factor of " +
                     formatPlainDecimal(1.0 + context.range, PLAIN_DIGITS) +
                     " of its start either way (--range " +
                     formatPlainDecimal(100.0 * context.range, PLAIN_DIGITS) + ")\n";
  std::vector<Row> rows = {{"network", "worst |Gamma|", "SWR", "return loss (dB)", "change (%)"}};
  rows.push_back(figureRow("report: model load, N = " + formatInteger(design.N), design.rhoMax));
  rows.push_back(figureRow("untuned" + onTarget(context), tuning.untuned.worst));
  rows.push_back(figureRow(
      "tuned" + onTarget(context), tuning.tuned.worst,
      formatFixed(percentChange(tuning.tuned.worst, tuning.untuned.worst), CHANGE_DIGITS)));
  if (tuning.untunedStandard && tuning.tunedStandard) {
    const std::string values = ", " + context.seriesName + " values,";
    rows.push_back(
        figureRow("untuned" + values + onTarget(context), tuning.untunedStandard->worst));
    rows.push_back(figureRow(
        "tuned" + values + onTarget(context), tuning.tunedStandard->worst,
        formatFixed(percentChange(tuning.tunedStandard->worst, tuning.untunedStandard->worst),
                    CHANGE_DIGITS)));
  }
  const std::string decrement = formatPlainDecimal(context.decrement, PLAIN_DIGITS);
  const TuningBounds bounds = tuningBounds(design, context.decrement);
  if (bounds.equalRipple) {
    rows.push_back(
        figureRow("equal-ripple, N = " + formatInteger(design.N) + ", decrement " + decrement,
                  *bounds.equalRipple));
  }
  rows.push_back(figureRow("bound exp(-pi*decrement), N = inf", bounds.bound));
  text += alignedTable(rows);
  text += "Tuning: " + formatInteger(tuning.evaluations) + " iterations (NLopt SLSQP)";
  if (tuning.tunedStandard) {
    text += ", then " + formatInteger(tuning.standardEvaluations) + " with " + context.seriesName +
            " values for " + variablesText(design, tuning, tuning.standardVariables);
  }
  text += "; " + formatFixed(1000.0 * context.seconds, MILLISECOND_DIGITS) + " ms\n";
  std::vector<TuningVariable> atLimit = tuning.atLimit;
  atLimit.insert(atLimit.end(), tuning.standardAtLimit.begin(), tuning.standardAtLimit.end());
  if (!atLimit.empty()) {
    text += "At the --range limit: " + variableNames(tuning, atLimit) +
            "; a wider --range may lower the worst |Gamma| further\n";
  }
  return text;
}

std::string renderTunedValues(const ReportedDesign& design, const NetworkTuning& tuning,
                              const TuningContext& context) {
  std::vector<ValueRow> values = {{"Load Resistance (ohms)", loadResistance, 0}};
  for (std::size_t k = 0; k < static_cast<std::size_t>(design.N); ++k) {
    const std::string index = formatInteger(static_cast<long long>(k) + 1);
    values.push_back({"L(" + index + ") (H)", inductanceAt, k});
    values.push_back({"C(" + index + ") (F)", capacitanceAt, k});
  }
  values.push_back({"Source Resistance (ohms)", sourceResistance, 0});
  if (tuning.untuned.network.ladder.turnsRatio) {
    values.push_back({"Turns Ratio n", turnsRatio, 0});
  }
  const Retuning& retuning = tuning.untuned.network.retuning;
  if (context.measured && retuning.kind != RetuningKind::none) {
    values.push_back({"Retuning " + std::string(retuningName(retuning.kind)), retuningValue, 0});
  }

  const bool standard = tuning.untunedStandard && tuning.tunedStandard;
  Row header = {"element", "untuned", "tuned", "change (%)"};
  if (standard) {
    header.insert(header.end(), {"untuned " + context.seriesName + " values",
                                 "tuned " + context.seriesName + " values", "change (%)"});
  }
  std::string text;
  appendCsvRow(text, header);
  const auto pair = [](Row& row, double before, double after) {
    row.push_back(formatScientific(before, figure_digits::ELEMENT_VALUE));
    row.push_back(formatScientific(after, figure_digits::ELEMENT_VALUE));
    row.push_back(formatFixed(percentChange(after, before), VALUE_CHANGE_DIGITS));
  };
  for (const ValueRow& value : values) {
    Row row = {value.label};
    pair(row, value.value(tuning.untuned.network, value.index),
         value.value(tuning.tuned.network, value.index));
    if (standard) {
      pair(row, value.value(tuning.untunedStandard->network, value.index),
           value.value(tuning.tunedStandard->network, value.index));
    }
    appendCsvRow(text, row);
  }
  return text;
}

}  // namespace bandmatch
