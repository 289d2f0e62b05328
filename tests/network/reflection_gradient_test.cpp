// The tuner's ladder walk against the RF library's own analysis (a separate implementation) and
// its exact gradients against central differences, for every kind of branch it meets: series
// and parallel loads, a transformer, part losses, and a measured load with each retuning element.
#include "network/reflection_gradient.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "network/measured_network.hpp"
#include "network/network_build.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

struct WalkCase {
  std::string name;
  int n;
  LoadType loadType;
  bool transformer;
  bool losses;
  RetuningKind retuning;  // none: the model load; otherwise a measured load with this element
};

const std::vector<WalkCase> WALK_CASES = {
    {"one resonator", 1, LoadType::series, false, false, RetuningKind::none},
    {"series N = 3", 3, LoadType::series, false, false, RetuningKind::none},
    {"parallel N = 4", 4, LoadType::parallel, false, false, RetuningKind::none},
    {"series N = 10, transformer and losses", 10, LoadType::series, true, true, RetuningKind::none},
    {"parallel N = 5, losses", 5, LoadType::parallel, false, true, RetuningKind::none},
    {"measured, series capacitor", 3, LoadType::series, false, false,
     RetuningKind::seriesCapacitor},
    {"measured, series inductor, transformer", 4, LoadType::series, true, false,
     RetuningKind::seriesInductor},
    {"measured, shunt capacitor, losses", 2, LoadType::parallel, false, true,
     RetuningKind::shuntCapacitor},
    {"measured, shunt inductor", 5, LoadType::parallel, true, true, RetuningKind::shuntInductor},
};

// A measured load that no resonator describes exactly: its resistance rises across the band.
MeasuredLoad risingLoad(LoadType type) {
  MeasuredLoad load;
  for (int i = 0; i <= 40; ++i) {
    const double f = 8.0 + 0.35 * i;
    const double x = 60.0 * (f / 14.0 - 14.0 / f);
    load.frequencyMHz.push_back(f);
    const std::complex<double> z(40.0 + 2.0 * f, x);
    load.impedance.push_back(type == LoadType::series ? z : 2500.0 / z);
    load.line.push_back(i + 1);
  }
  return load;
}

struct Walk {
  TunableNetwork network;
  MeasuredLoad load;
  TuningTarget target;
};

Walk walkOf(const WalkCase& c) {
  const ReportedDesign design = support::reportedDesign(c.n, 0.8, c.loadType, 10.0, 20.0);
  Walk walk;
  walk.network.ladder = design.ladder;
  if (c.transformer) {
    walk.network.ladder = withSourceResistance(walk.network.ladder, 50.0);
  }
  if (c.losses) {
    walk.network.ladder = withComponentLosses(walk.network.ladder, 14.0, 80.0, 300.0);
  }
  walk.target.frequencyMHz = {9.0, 10.0, 12.3, 14.1, 17.9, 20.0, 21.0};
  if (c.retuning != RetuningKind::none) {
    walk.load = risingLoad(c.loadType);
    const bool inductor =
        c.retuning == RetuningKind::seriesInductor || c.retuning == RetuningKind::shuntInductor;
    walk.network.retuning.kind = c.retuning;
    walk.network.retuning.value = inductor ? 3e-7 : 2e-10;
    for (const double f : walk.target.frequencyMHz) {
      walk.target.measured.push_back(interpolatedImpedance(walk.load, f));
    }
  }
  return walk;
}

TEST(LadderSensitivity, ReflectionMatchesTheLadderAnalysis) {
  for (const WalkCase& c : WALK_CASES) {
    const Walk walk = walkOf(c);
    for (std::size_t i = 0; i < walk.target.frequencyMHz.size(); ++i) {
      const double f = walk.target.frequencyMHz[i];
      const std::complex<double> expected =
          c.retuning == RetuningKind::none
              ? inputReflection(walk.network.ladder, f)
              : measuredLoadReflection(walk.network.ladder, walk.load, walk.network.retuning, f);
      EXPECT_NEAR(reflectionPower(walk.network, walk.target, i, {}, nullptr), std::norm(expected),
                  1e-12)
          << c.name << " at " << f << " MHz";
    }
  }
}

// On a network moved off the design, so that no derivative vanishes by symmetry.
TEST(LadderSensitivity, GradientsMatchCentralDifferences) {
  for (const WalkCase& c : WALK_CASES) {
    const Walk walk = walkOf(c);
    const std::vector<TuningVariable> variables = tuningVariables(walk.network, true, true);
    ASSERT_EQ(variables.size(),
              static_cast<std::size_t>(2 * (c.n - 1) + 1 + (c.retuning != RetuningKind::none)))
        << c.name;
    std::vector<double> moved(variables.size());
    for (std::size_t v = 0; v < moved.size(); ++v) {
      moved[v] = 0.04 * std::sin(1.0 + 2.0 * static_cast<double>(v));
    }
    const TunableNetwork network = scaledNetwork(walk.network, variables, moved.data());
    for (std::size_t i = 0; i < walk.target.frequencyMHz.size(); ++i) {
      std::vector<double> gradient;
      reflectionPower(network, walk.target, i, variables, &gradient);
      ASSERT_EQ(gradient.size(), variables.size());
      for (std::size_t v = 0; v < variables.size(); ++v) {
        const double h = 1e-6;
        std::vector<double> step(variables.size(), 0.0);
        step[v] = h;
        const double up = reflectionPower(scaledNetwork(network, variables, step.data()),
                                          walk.target, i, {}, nullptr);
        step[v] = -h;
        const double down = reflectionPower(scaledNetwork(network, variables, step.data()),
                                            walk.target, i, {}, nullptr);
        const double numeric = (up - down) / (2.0 * h);
        EXPECT_NEAR(gradient[v], numeric, 1e-8 + 1e-6 * std::fabs(numeric))
            << c.name << ", variable " << v << ", sample " << i;
      }
    }
  }
}

// Scaling moves exactly the chosen values; losses keep their Q; held values stay.
TEST(LadderSensitivity, ScalingMovesTheChosenValuesAtFixedQ) {
  const Walk walk = walkOf(WALK_CASES[8]);
  const std::vector<TuningVariable> variables = tuningVariables(walk.network, true, true);
  std::vector<double> logs(variables.size(), std::log(1.25));
  const TunableNetwork scaled = scaledNetwork(walk.network, variables, logs.data());
  const std::vector<double> before = variableValues(walk.network, variables);
  const std::vector<double> after = variableValues(scaled, variables);
  for (std::size_t v = 0; v < variables.size(); ++v) {
    EXPECT_NEAR(after[v], 1.25 * before[v], 1e-12 * before[v]) << v;
  }
  const LadderNetwork& a = walk.network.ladder;
  const LadderNetwork& b = scaled.ladder;
  EXPECT_EQ(b.inductance[0], a.inductance[0]);
  EXPECT_EQ(b.capacitance[0], a.capacitance[0]);
  EXPECT_EQ(b.sourceResistance, a.sourceResistance);  // the transformer moves instead
  for (std::size_t k = 1; k < a.inductance.size(); ++k) {
    EXPECT_NEAR(b.inductorLoss[k] / b.inductance[k], a.inductorLoss[k] / a.inductance[k],
                1e-9 * a.inductorLoss[k] / a.inductance[k]);
    EXPECT_NEAR(b.capacitorLoss[k] * b.capacitance[k], a.capacitorLoss[k] * a.capacitance[k],
                1e-9 * a.capacitorLoss[k] * a.capacitance[k]);
  }
  // Without L, C and the retuning element only the source side is left.
  const std::vector<TuningVariable> sourceOnly = tuningVariables(walk.network, false, false);
  ASSERT_EQ(sourceOnly.size(), 1u);
  EXPECT_EQ(sourceOnly[0].kind, VariableKind::source);
}

TEST(LadderSensitivity, BandFrequenciesEndOnBothEdges) {
  const std::vector<double> f = bandFrequencies(10.0, 20.0, 5);
  EXPECT_EQ(f, (std::vector<double>{10.0, 12.5, 15.0, 17.5, 20.0}));
  EXPECT_EQ(bandFrequencies(0.1, 0.7, 3).back(), 0.7);
}

}  // namespace
}  // namespace bandmatch
