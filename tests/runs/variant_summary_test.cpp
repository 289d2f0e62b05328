// The summary table of a built network's variants, laid out from figures given by hand.
#include "runs/variant_summary.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network/network_build.hpp"
#include "support/report_files.hpp"

namespace bandmatch {
namespace {

const BuildOptions ALL_OPTIONS{50.0, PreferredSeries::e12, 100.0, 500.0};

// Figures given by hand: |S11| 0.1 is SWR 1.1 / 0.9 = 1.2222 and -20 dB; a gain of 0.99 is
// -0.0436 dB; 0.98 and 0.5 of dissipation are -0.0877 and -3.0103 dB.
TEST(VariantSummary, LaysOutOneRowPerVariant) {
  ReportedDesign design = testing::handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const auto judged = [](double reflection, double gain, double dissipation) {
    JudgedBand band;
    band.worstReflection = reflection;
    band.worstGain = gain;
    band.worstDissipation = dissipation;
    return band;
  };
  const std::vector<JudgedBand> figures = {judged(0.1, 0.99, 1.0), judged(0.2, 0.9, 1.0),
                                           judged(0.5, 0.5, 0.98)};
  const std::string expected =
      "Transformer: turns ratio n = 1.11803 (impedance ratio n^2:1 = 1.25:1), the 50 ohm source "
      "seen by the ladder as 62.5 ohms\n"
      "Worst over the band 0.500000 to 2.000000 MHz:\n"
      "variant                 |S11|     SWR     return loss (dB)  transducer gain (dB)  "
      "dissipation loss (dB)\n"
      "ideal                   0.100000  1.2222  -20.00            -0.0436               0.0000\n"
      "E12 values              0.200000  1.5000  -13.98            -0.4576               0.0000\n"
      "E12 values with losses  0.500000  3.0000  -6.02             -3.0103               -0.0877\n"
      "Warning: the worst |S11| of \"E12 values with losses\" is 5.00 times the ideal network's; "
      "bandmatch-tune --source-ohms 50 --series E12 --q-inductor 100 --q-capacitor 500 tunes the "
      "network for the parts it is built with\n";
  EXPECT_EQ(renderVariantSummary(design, variants.variants, figures, ALL_OPTIONS), expected);
  // At twice the ideal network's worst |S11| no more.
  const std::vector<JudgedBand> close = {judged(0.1, 0.99, 1.0), judged(0.2, 0.9, 1.0),
                                         judged(0.2, 0.8, 0.98)};
  EXPECT_EQ(renderVariantSummary(design, variants.variants, close, ALL_OPTIONS).find("Warning"),
            std::string::npos);
}

}  // namespace
}  // namespace bandmatch
