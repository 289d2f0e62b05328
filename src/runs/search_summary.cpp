#include "runs/search_summary.hpp"

#include <vector>

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"
#include "network/network_build.hpp"
#include "network/worst_case_judge.hpp"
#include "runs/text_table.hpp"

namespace bandmatch {

namespace {

constexpr int SECONDS_DIGITS = 2;
constexpr int PERCENT_DIGITS = 1;
constexpr int LOSS_DIGITS = 4;  // significant, of a line loss as typed

using Row = std::vector<std::string>;

const Row HEADER = {"Rank",       "Topology",        "Family",        "Parts",
                    "Iterations", "Worst gain (dB)", "Worst |Gamma|", "SWR"};
constexpr std::string_view CONTINUOUS_HEADER = "Continuous |Gamma|";
constexpr std::string_view LIMIT_LABEL = "Limit";
constexpr std::string_view NOT_APPLICABLE = "-";

std::string band(const SearchProblem& problem) {
  return formatFixed(problem.f1, figure_digits::FREQUENCY_MHZ) + " to " +
         formatFixed(problem.f2, figure_digits::FREQUENCY_MHZ) + " MHz";
}

// A gain in dB; one that rounds to zero shows no sign.
std::string gainText(double gain) {
  const std::string text = formatFixed(gainDecibels(gain), figure_digits::GAIN_DB);
  return text.find_first_not_of("-0.") == std::string::npos ? text.substr(text.find('0')) : text;
}

std::string reflectionText(double rho) {
  return formatFixed(rho, figure_digits::REFLECTION);
}

// Worst gain, worst |Gamma| and SWR.
Row figureCells(double gain, double rho) {
  return {gainText(gain), reflectionText(rho),
          formatFixed(standingWaveRatio(rho), figure_digits::SWR)};
}

}  // namespace

// "E24 values; inductor Q 100; lines 0.5 dB per wavelength", or "ideal parts".
std::string partsDescription(const SearchProblem& problem) {
  BuildOptions build;
  build.series = problem.series;
  if (problem.inductorQ != LOSSLESS_Q) {
    build.inductorQ = problem.inductorQ;
  }
  if (problem.capacitorQ != LOSSLESS_Q) {
    build.capacitorQ = problem.capacitorQ;
  }
  std::string text = buildDescription(build);
  if (problem.lineLossDb > 0.0) {
    text += (text.empty() ? "" : "; ") + std::string("lines ") +
            formatPlainDecimal(problem.lineLossDb, LOSS_DIGITS) + " dB per wavelength";
  }
  return text.empty() ? "ideal parts" : text;
}

std::string limitDescription(const MatchingLimit& limit) {
  const std::string end = limit.atSource ? "source" : "load";
  if (!limit.fit) {
    return "Bode-Fano limit of the " + end + " model";
  }
  return "Fano bound, the " + end + " fits a " + std::string(modelName(limit.fit->type)) +
         " resonator within " + formatFixed(100.0 * limit.fit->fitError, PERCENT_DIGITS) + " %";
}

std::string endDescription(const std::string& typed, const NetworkEnd& end, double f1, double f2) {
  switch (end.kind) {
    case EndKind::resistance:
      return typed + " ohms";
    case EndKind::seriesModel:
    case EndKind::parallelModel:
      return typed + " (model)";
    case EndKind::measured:
      break;
  }
  const BandPoints inBand = pointsInBand(end.measured, f1, f2);
  const long long points =
      inBand.error.empty() ? static_cast<long long>(inBand.last - inBand.first + 1) : 0;
  return typed + " (measured, " + formatInteger(points) + " points in the band)";
}

std::string bestLine(const SearchCandidate& best) {
  const CascadeFigures& figures = builtFigures(best);
  return "Best: " + topologyText(best.topology.topology) + " worst |Gamma| " +
         reflectionText(figures.worstReflection) + " worst gain " + gainText(figures.worstGain) +
         " dB";
}

std::string renderSearchRanking(const SearchProblem& problem, const SearchResult& result,
                                const SearchContext& context) {
  std::string text =
      "Source: " + endDescription(context.source, problem.source, problem.f1, problem.f2) + "\n";
  text += "Load: " + endDescription(context.load, problem.load, problem.f1, problem.f2) + "\n";
  text += "Band " + band(problem) + "; " + partsDescription(problem) + "\n";
  const std::string optimised = " optimised on " + formatInteger(result.samples) +
                                " frequencies and judged over the band, in " +
                                formatFixed(context.seconds, SECONDS_DIGITS) + " s\n";
  if (result.topologies == 1) {
    text += "Searched the topology " + context.topologies + ": screened on " +
            formatInteger(result.screeningSamples) + " frequencies," + optimised;
  } else {
    text += "Searched " + formatInteger(result.topologies) + " topologies " + context.topologies +
            ": each screened on " + formatInteger(result.screeningSamples) +
            " frequencies, the best " +
            formatInteger(static_cast<long long>(result.candidates.size())) + optimised;
  }

  const bool standard = problem.series.has_value();
  std::vector<Row> rows = {HEADER};
  if (standard) {
    rows.front().emplace_back(CONTINUOUS_HEADER);
  }
  for (std::size_t k = 0; k < result.candidates.size(); ++k) {
    const SearchCandidate& candidate = result.candidates[k];
    Row row = {formatInteger(static_cast<long long>(k + 1)),
               topologyText(candidate.topology.topology), candidate.topology.family,
               formatInteger(partCount(candidate.topology.topology)),
               formatInteger(candidate.evaluations)};
    if (candidate.error.empty()) {
      const CascadeFigures& figures = builtFigures(candidate);
      for (std::string& cell : figureCells(figures.worstGain, figures.worstReflection)) {
        row.push_back(std::move(cell));
      }
    } else {
      row.insert(row.end(), {candidate.error, "", ""});
    }
    if (standard) {
      row.push_back(reflectionText(candidate.figures.worstReflection));
    }
    rows.push_back(std::move(row));
  }
  if (result.limit) {
    const double rho = result.limit->reflection;
    Row row = {std::string(LIMIT_LABEL), std::string(NOT_APPLICABLE),
               limitDescription(*result.limit), "", ""};
    for (std::string& cell : figureCells(1.0 - rho * rho, rho)) {
      row.push_back(std::move(cell));
    }
    if (standard) {
      row.emplace_back();
    }
    rows.push_back(std::move(row));
  }
  return text + alignedTable(rows);
}

std::string renderSearchSummary(const SearchProblem& problem, const SearchResult& result,
                                const SearchContext& context) {
  std::string text = renderSearchRanking(problem, result, context);
  if (!result.candidates.empty()) {
    text += bestLine(result.candidates.front()) + "\n";
  }
  return text;
}

}  // namespace bandmatch
