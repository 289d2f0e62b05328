// The built network against closed forms: an ideal transformer changes no reflection, a lossless
// ladder delivers 1 - |S11|^2, one lossy resonator loses what its series resistance takes, and
// the options change positions 2..N only.
#include "network/network_build.hpp"
#include "network/measured_network.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "network/sweep.hpp"
#include "support/printed_values.hpp"

namespace bandmatch {
namespace {

using testing::synthesizedDesign;

ReportedDesign reported(int n, double decrement, LoadType loadType, double f1, double f2) {
  return support::reportedDesign(n, decrement, loadType, f1, f2);
}

const double FREQUENCIES[] = {7.5, 10.0, 12.3, 14.142, 17.0, 20.0, 24.0};

TEST(NetworkBuild, AnIdealTransformerChangesNoReflectionMagnitude) {
  for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
    for (const double sourceOhms : {1e-3, 50.0, 75.0, 1e6}) {
      const ReportedDesign design = reported(4, 0.8, loadType, 10.0, 20.0);
      const LadderNetwork transformed = withSourceResistance(design.ladder, sourceOhms);
      ASSERT_TRUE(transformed.turnsRatio);
      EXPECT_NEAR(*transformed.turnsRatio, std::sqrt(design.ladder.sourceResistance / sourceOhms),
                  1e-15 * *transformed.turnsRatio);
      EXPECT_EQ(transformed.sourceResistance, sourceOhms);
      for (const double f : FREQUENCIES) {
        EXPECT_NEAR(std::abs(inputReflection(transformed, f)),
                    std::abs(inputReflection(design.ladder, f)), 1e-9);
        EXPECT_NEAR(transducerGain(transformed, f), transducerGain(design.ladder, f), 1e-9);
      }
    }
  }
}

// With Q = 1e9 the loss resistances are a billionth of the reactances: the power that is not
// reflected reaches the load, whichever way the gain and the reflection are computed.
TEST(NetworkBuild, AVeryHighQLadderDeliversAllPowerNotReflected) {
  for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
    for (const int n : {2, 5, 10}) {
      const ReportedDesign design = reported(n, 1.0, loadType, 10.0, 20.0);
      const LadderNetwork lossy = withComponentLosses(design.ladder, 14.142, 1e9, 1e9);
      EXPECT_TRUE(hasLosses(lossy));
      for (const double f : FREQUENCIES) {
        const double rho = std::abs(inputReflection(lossy, f));
        EXPECT_NEAR(transducerGain(lossy, f), 1.0 - rho * rho, 1e-7) << n << " at " << f;
      }
    }
  }
}

// One series resonator, L = 1 uH with 5 ohms of loss, C = 100 pF, a 50 ohm load and a 40 ohm
// source: Z = 55 + jX, gain 4 * 40 * 50 / (95^2 + X^2), 1 - |S11|^2 = 4 * 40 * 55 / (95^2 + X^2).
TEST(NetworkBuild, OneLossyResonatorLosesItsSeriesResistancesShare) {
  LadderNetwork ladder;
  ladder.inductance = {1e-6};
  ladder.capacitance = {1e-10};
  ladder.inductorLoss = {5.0};
  ladder.loadResistance = 50.0;
  ladder.sourceResistance = 40.0;
  for (const double f : FREQUENCIES) {
    const double omega = 2.0 * std::numbers::pi * f * 1e6;
    const double x = omega * 1e-6 - 1.0 / (omega * 1e-10);
    const double denominator = 95.0 * 95.0 + x * x;
    const double rho = std::abs(inputReflection(ladder, f));
    EXPECT_NEAR(transducerGain(ladder, f), 8000.0 / denominator, 1e-13);
    EXPECT_NEAR(1.0 - rho * rho, 8800.0 / denominator, 1e-13);
  }
  // Worst over 10..20 MHz: the edge farther from the 15.92 MHz resonance, 10 MHz.
  const JudgedBand figures = judgeBand(ladderBand(ladder, 10.0, 20.0));
  const double omega = 2.0 * std::numbers::pi * 1e7;
  const double x = omega * 1e-6 - 1.0 / (omega * 1e-10);
  const std::complex<double> z(55.0, x);
  EXPECT_NEAR(figures.worstReflection, std::abs((z - 40.0) / (z + 40.0)), 1e-13);
  EXPECT_NEAR(figures.worstGain, 8000.0 / (95.0 * 95.0 + x * x), 1e-13);
  EXPECT_NEAR(figures.worstDissipation, 50.0 / 55.0, 1e-13);
}

// A parallel load with N = 2 at the band centre, where both resonators resonate: the shunt
// position 1 is open and the series position 2 leaves its loss resistances
// w0 L / QL + 1 / (w0 C QC) in series with the load.
TEST(NetworkBuild, LossResistancesComeFromQAtTheBandCentre) {
  const double f0 = 10.0;
  const double omega0 = 2.0 * std::numbers::pi * f0 * 1e6;
  LadderNetwork ladder;
  ladder.loadType = LoadType::parallel;
  ladder.inductance = {1e-6, 2e-6};
  ladder.capacitance = {1.0 / (omega0 * omega0 * 1e-6), 1.0 / (omega0 * omega0 * 2e-6)};
  ladder.loadResistance = 50.0;
  ladder.sourceResistance = 60.0;
  const LadderNetwork lossy = withComponentLosses(ladder, f0, 80.0, 400.0);
  EXPECT_EQ(lossy.inductorLoss[0], 0.0);
  EXPECT_EQ(lossy.capacitorLoss[0], 0.0);
  const double r = omega0 * 2e-6 / 80.0 + 1.0 / (omega0 * ladder.capacitance[1] * 400.0);
  EXPECT_NEAR(lossy.inductorLoss[1] + lossy.capacitorLoss[1], r, 1e-12);
  EXPECT_NEAR(transducerGain(lossy, f0), 4.0 * 60.0 * 50.0 / std::pow(60.0 + 50.0 + r, 2), 1e-9);
  // Only one kind of part given a Q: the other stays lossless.
  const LadderNetwork inductorsOnly = withComponentLosses(ladder, f0, 80.0, std::nullopt);
  EXPECT_GT(inductorsOnly.inductorLoss[1], 0.0);
  EXPECT_EQ(inductorsOnly.capacitorLoss[1], 0.0);
  EXPECT_FALSE(hasLosses(ladder));
}

TEST(NetworkBuild, StandardValuesReplacePositionsTwoToNOnly) {
  const ReportedDesign design = reported(5, 1.0, LoadType::series, 10.0, 20.0);
  const StandardLadder standard = withStandardValues(design.ladder, PreferredSeries::e12);
  ASSERT_TRUE(standard.ladder) << standard.error;
  EXPECT_EQ(standard.ladder->inductance[0], design.ladder.inductance[0]);
  EXPECT_EQ(standard.ladder->capacitance[0], design.ladder.capacitance[0]);
  for (std::size_t k = 1; k < 5; ++k) {
    for (const auto& [ideal, chosen] :
         {std::pair{design.ladder.inductance[k], standard.ladder->inductance[k]},
          std::pair{design.ladder.capacitance[k], standard.ladder->capacitance[k]}}) {
      // E12 steps are at most 25 % (12 to 15), so no value moves by more than half a step.
      EXPECT_NE(chosen, ideal);
      EXPECT_LT(std::fabs(std::log(chosen / ideal)), std::log(1.25) / 2.0 + 1e-9);
    }
  }
  LadderNetwork huge = design.ladder;
  huge.capacitance[2] = 1.75e308;
  EXPECT_EQ(withStandardValues(huge, PreferredSeries::e24).error,
            "C(3) = 1.7500000000000000e+308 has no E24 value within the range of numbers");
}

TEST(NetworkBuild, EachOptionAddsItsVariantInOrder) {
  const ReportedDesign design = reported(3, 1.0, LoadType::parallel, 10.0, 20.0);
  const struct {
    BuildOptions options;
    std::vector<std::string> labels;
    std::string description;
  } cases[] = {
      {{}, {"ideal"}, ""},
      {{50.0, {}, {}, {}}, {"ideal"}, "ideal transformer to a 50 ohm source"},
      {{{}, PreferredSeries::e96, {}, {}}, {"ideal", "E96 values"}, "E96 values"},
      {{{}, {}, 100.0, {}}, {"ideal", "with losses"}, "inductor Q 100"},
      {{75.0, PreferredSeries::e24, 100.0, 500.0},
       {"ideal", "E24 values", "E24 values with losses"},
       "E24 values; inductor Q 100; capacitor Q 500; ideal transformer to a 75 ohm source"},
  };
  for (const auto& c : cases) {
    const NetworkVariants variants = networkVariants(design, c.options);
    std::vector<std::string> labels;
    for (const NetworkVariant& variant : variants.variants) {
      labels.push_back(variant.label);
      EXPECT_EQ(variant.ladder.turnsRatio.has_value(), c.options.sourceOhms.has_value());
    }
    EXPECT_EQ(labels, c.labels);
    EXPECT_EQ(buildDescription(c.options), c.description);
    EXPECT_EQ(hasLosses(variants.variants.back().ladder),
              c.options.inductorQ.has_value() || c.options.capacitorQ.has_value());
  }
}

}  // namespace
}  // namespace bandmatch
