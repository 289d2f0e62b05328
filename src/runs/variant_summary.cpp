#include "runs/variant_summary.hpp"

#include <algorithm>
#include <cmath>

#include "core/number_format.hpp"
#include "core/figure_digits.hpp"
#include "runs/text_table.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {

namespace {

constexpr int GAIN_DIGITS = 4;
constexpr int RATIO_DIGITS = 6;
constexpr int RATIO_DIGITS_OF_WARNING = 2;

double decibels(double powerRatio) {
  return 10.0 * std::log10(powerRatio);
}

}  // namespace

std::string renderVariantSummary(const ReportedDesign& design,
                                 const std::vector<NetworkVariant>& variants,
                                 const std::vector<JudgedBand>& figures,
                                 const BuildOptions& options) {
  std::string text;
  const LadderNetwork& built = variants.back().ladder;
  if (built.turnsRatio) {
    const double n = *built.turnsRatio;
    text += "Transformer: turns ratio n = " + formatPlainDecimal(n, RATIO_DIGITS) +
            " (impedance ratio n^2:1 = " + formatPlainDecimal(n * n, RATIO_DIGITS) + ":1), the " +
            formatPlainDecimal(built.sourceResistance, RATIO_DIGITS) +
            " ohm source seen by the ladder as " +
            formatPlainDecimal(sourceResistanceAtLadder(built), RATIO_DIGITS) + " ohms\n";
  }
  text += "Worst over the band " + formatFixed(design.f1, figure_digits::FREQUENCY_MHZ) + " to " +
          formatFixed(design.f2, figure_digits::FREQUENCY_MHZ) + " MHz:\n";
  std::vector<std::vector<std::string>> rows = {{"variant", "|S11|", "SWR", "return loss (dB)",
                                                 "transducer gain (dB)", "dissipation loss (dB)"}};
  for (std::size_t i = 0; i < variants.size(); ++i) {
    const JudgedBand& worst = figures[i];
    rows.push_back(
        {variants[i].label, formatFixed(worst.worstReflection, figure_digits::REFLECTION),
         formatFixed(standingWaveRatio(worst.worstReflection), figure_digits::SWR),
         formatFixed(20.0 * std::log10(worst.worstReflection), figure_digits::RETURN_LOSS_DB),
         formatFixed(decibels(worst.worstGain), GAIN_DIGITS),
         formatFixed(decibels(worst.worstDissipation), GAIN_DIGITS)});
  }
  text += alignedTable(rows);
  if (const std::string warning = variantWarning(variants, figures, options); !warning.empty()) {
    text += warning + "\n";
  }
  return text;
}

std::string variantWarning(const std::vector<NetworkVariant>& variants,
                           const std::vector<JudgedBand>& figures, const BuildOptions& options) {
  // The variant that loses most against the ideal network, if it loses too much.
  std::size_t worst = 0;
  for (std::size_t i = 1; i < figures.size(); ++i) {
    if (!(figures[i].worstReflection <= figures[worst].worstReflection)) {
      worst = i;
    }
  }
  const double ideal = figures.front().worstReflection;
  if (worst == 0 || figures[worst].worstReflection <= VARIANT_WARNING_RATIO * ideal) {
    return {};
  }
  return "Warning: the worst |S11| of \"" + variants[worst].label + "\" is " +
         formatFixed(figures[worst].worstReflection / ideal, RATIO_DIGITS_OF_WARNING) +
         " times the ideal network's; bandmatch-tune " + buildOptionWords(options) +
         " tunes the network for the parts it is built with";
}

}  // namespace bandmatch
