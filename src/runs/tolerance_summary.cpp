#include "runs/tolerance_summary.hpp"

#include <algorithm>
#include <cmath>

#include "core/number_format.hpp"
#include "core/figure_digits.hpp"
#include "runs/text_table.hpp"

namespace bandmatch {

namespace {

constexpr int PERCENT_DIGITS = 1;
constexpr int TOLERANCE_DIGITS = 6;

// Tenths of a percent: the share to the nearest, but never shown as 0.0 or 100.0 when some
// trials passed and some failed; the interval's ends rounded outwards, so that it still covers.
constexpr double TENTHS = 1000.0;
constexpr double ROUNDING_SLACK = 1e-9;

std::string percent(double tenths) {
  return formatFixed(tenths / 10.0, PERCENT_DIGITS);
}

std::string sharePercent(const YieldFigures& figures) {
  double tenths = std::round(TENTHS * figures.share);
  if (figures.passing > 0 && figures.passing < figures.trials) {
    tenths = std::clamp(tenths, 1.0, TENTHS - 1.0);
  }
  return percent(tenths);
}

// A part's name and its change of the worst |S11|.
struct NamedChange {
  std::string name;
  double change = 0.0;
};

// The nominal figure, the yield, the percentiles and the parts' changes, largest first (equal
// ones in their given order).
std::string figureLines(const ToleranceResult& result, double goalSwr,
                        std::vector<NamedChange> changes) {
  std::string text = "Nominal network (every part at its value): worst in-band SWR " +
                     formatFixed(result.nominalSwr, figure_digits::SWR) + "\n";
  text += yieldLine(yieldAt(result.worstSwr, goalSwr), goalSwr) + "\n";
  text += "Worst in-band SWR of the trials: " +
          formatFixed(nearestRankPercentile(result.worstSwr, 50), figure_digits::SWR) + " (50th " +
          "percentile), " +
          formatFixed(nearestRankPercentile(result.worstSwr, 90), figure_digits::SWR) +
          " (90th), " +
          formatFixed(nearestRankPercentile(result.worstSwr, 99), figure_digits::SWR) + " (99th)\n";
  if (changes.empty()) {
    return text;
  }
  text += "Change of the worst in-band |S11| for +1 % of each part, largest first:\n";
  std::stable_sort(changes.begin(), changes.end(), [](const NamedChange& a, const NamedChange& b) {
    return std::fabs(a.change) > std::fabs(b.change);
  });
  std::vector<std::vector<std::string>> rows = {{"part", "change of |S11|"}};
  for (const NamedChange& entry : changes) {
    rows.push_back({entry.name, formatSensitivity(entry.change)});
  }
  return text + alignedTable(rows);
}

std::string tolerancePercent(double percent) {
  return formatPlainDecimal(percent, TOLERANCE_DIGITS);
}

}  // namespace

std::string yieldLine(const YieldFigures& figures, double goalSwr) {
  return "Yield: " + sharePercent(figures) + " % of " + formatInteger(figures.trials) +
         " trials with SWR <= " + formatFixed(goalSwr, figure_digits::GOAL_SWR) +
         ", 95 % interval " + percent(std::floor(TENTHS * figures.lower + ROUNDING_SLACK)) +
         " to " + percent(std::ceil(TENTHS * figures.upper - ROUNDING_SLACK)) + " %";
}

std::string renderToleranceSummary(const ToleranceOptions& options, int positions,
                                   bool onMeasuredLoad, const ToleranceResult& result,
                                   double goalSwr,
                                   const std::vector<PartSensitivity>& sensitivities) {
  std::string text = "Tolerance: L +-" + tolerancePercent(options.inductorPercent) + " %, C +-" +
                     tolerancePercent(options.capacitorPercent) + " % ";
  // A measured load's retuning element is a part of position 1 that varies too.
  const bool retuningVaries =
      std::any_of(sensitivities.begin(), sensitivities.end(),
                  [](const PartSensitivity& sensitivity) { return sensitivity.position == 1; });
  text += positions >= 2 ? "at positions 2 to " + formatInteger(positions)
                         : std::string(retuningVaries ? "" : "with no part to vary");
  text += retuningVaries ? std::string(positions >= 2 ? " and " : "") + "the retuning element"
                         : std::string();
  text += ", uniform draws from seed " + formatUnsignedInteger(options.seed);
  text += onMeasuredLoad ? ", on the measured load" : "";
  text += "; interval by Wilson's score\n";
  std::vector<NamedChange> changes;
  for (const PartSensitivity& sensitivity : sensitivities) {
    changes.push_back({partName(sensitivity), sensitivity.change});
  }
  return text + figureLines(result, goalSwr, std::move(changes));
}

std::string renderCascadeToleranceSummary(const CascadeToleranceOptions& options,
                                          const CascadeToleranceResult& result, double goalSwr) {
  std::string text = "Tolerance: L +-" + tolerancePercent(options.parts.inductorPercent) +
                     " %, C +-" + tolerancePercent(options.parts.capacitorPercent) +
                     " %, lines and stubs +-" + tolerancePercent(lineTolerancePercent(options)) +
                     " % (Z0 and electrical length) ";
  text += result.parts > 0 ? "over " + formatInteger(static_cast<long long>(result.parts)) +
                                 (result.parts == 1 ? " part" : " parts")
                           : std::string("with no part to vary");
  text += result.transformer ? ", the ideal transformer fixed" : "";
  text += ", uniform draws from seed " + formatUnsignedInteger(options.parts.seed);
  text += "; interval by Wilson's score\n";
  std::vector<NamedChange> changes;
  for (const CascadeSensitivity& sensitivity : result.sensitivities) {
    changes.push_back({cascadePartName(sensitivity.part), sensitivity.change});
  }
  return text + figureLines(result.trials, goalSwr, std::move(changes));
}

}  // namespace bandmatch
