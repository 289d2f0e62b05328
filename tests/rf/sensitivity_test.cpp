// Each part's sensitivity against a dense brute-force search written here: the worst in-band
// |S11| of the ladder with one part 1 % up and 1 % down, over 20,001 evenly spaced frequencies,
// and half their difference; the summary's order and each part's name by hand.
#include "rf/sensitivity.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "rf/network_build.hpp"
#include "support/measured_loads.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

double denseWorst(const LadderNetwork& ladder, double f1, double f2,
                  const LadderReflection& reflection) {
  double worst = 0.0;
  constexpr int POINTS = 20001;
  for (int i = 0; i < POINTS; ++i) {
    const double f = f1 + (f2 - f1) * i / (POINTS - 1);
    worst = std::max(worst, std::abs(reflection(ladder, f)));
  }
  return worst;
}

// One part another value with the same Q: an inductor's loss w L / Q grows with it, a
// capacitor's 1 / (w C Q) shrinks.
LadderNetwork scaledByHand(LadderNetwork ladder, std::size_t index, PartKind kind, double factor) {
  const bool inductor = kind == PartKind::inductor;
  (inductor ? ladder.inductance : ladder.capacitance)[index] *= factor;
  std::vector<double>& losses = inductor ? ladder.inductorLoss : ladder.capacitorLoss;
  if (index < losses.size()) {
    losses[index] *= inductor ? factor : 1.0 / factor;
  }
  return ladder;
}

TEST(PartSensitivities, EqualADenseCentralDifference) {
  const ReportedDesign three = support::reportedDesign(3, 1.0, LoadType::series, 10.0, 20.0);
  const ReportedDesign four = support::reportedDesign(4, 0.7, LoadType::parallel, 3.5, 4.0);
  const NetworkVariants built = networkVariants(four, {50.0, PreferredSeries::e24, 100.0, 500.0});
  const testing::ExactLoad load{LoadType::series, 60.0, 3.8, 8.0};
  const LadderReflection onModel = [](const LadderNetwork& ladder, double f) {
    return inputReflection(ladder, f);
  };
  const LadderReflection onLoad = [load](const LadderNetwork& ladder, double f) {
    return reflectionAtSource(ladder, impedanceFromPosition(ladder, 2, load.impedance(f), f));
  };
  const struct {
    std::string name;
    LadderNetwork ladder;
    double f1, f2;
    LadderReflection reflection;
  } cases[] = {
      {"ideal N = 3", three.ladder, 10.0, 20.0, onModel},
      {"built N = 4", built.variants.back().ladder, 3.5, 4.0, onModel},
      {"N = 4 on a measured load", four.ladder, 3.5, 4.0, onLoad},
  };
  for (const auto& c : cases) {
    const std::vector<PartSensitivity> sensitivities =
        partSensitivities(c.ladder, c.f1, c.f2, c.reflection);
    const std::size_t n = c.ladder.inductance.size();
    ASSERT_EQ(sensitivities.size(), 2 * (n - 1)) << c.name;
    for (std::size_t k = 0; k < sensitivities.size(); ++k) {
      const PartSensitivity& s = sensitivities[k];
      EXPECT_EQ(s.position, static_cast<int>(k / 2) + 2) << c.name;
      EXPECT_EQ(s.kind, k % 2 == 0 ? PartKind::inductor : PartKind::capacitor) << c.name;
      const std::size_t index = static_cast<std::size_t>(s.position) - 1;
      const LadderNetwork up = scaledByHand(c.ladder, index, s.kind, 1.01);
      const LadderNetwork down = scaledByHand(c.ladder, index, s.kind, 0.99);
      const double expected =
          (denseWorst(up, c.f1, c.f2, c.reflection) - denseWorst(down, c.f1, c.f2, c.reflection)) /
          2.0;
      EXPECT_NEAR(s.change, expected, 2e-6) << c.name << " " << partName(s);
    }
  }
  // One resonator is the load alone: nothing to list.
  const ReportedDesign one = support::reportedDesign(1, 1.0, LoadType::series, 1.0, 2.0);
  EXPECT_TRUE(partSensitivities(one.ladder, 1.0, 2.0, onModel).empty());
}

TEST(PartSensitivities, ListLargestFirstByMagnitude) {
  const std::vector<PartSensitivity> listed = {
      {2, PartKind::inductor, 1e-3}, {2, PartKind::capacitor, -4e-3}, {3, PartKind::inductor, 4e-3},
      {3, PartKind::capacitor, 0.0}, {10, PartKind::inductor, -2e-2},
  };
  std::vector<std::string> names;
  for (const PartSensitivity& s : largestFirst(listed)) {
    names.push_back(partName(s));
  }
  // Equal magnitudes keep the list's order.
  EXPECT_EQ(names, (std::vector<std::string>{"L(10)", "C(2)", "L(3)", "L(2)", "C(3)"}));
  EXPECT_EQ(formatSensitivity(-1.2346e-3), "-1.235e-003");
  EXPECT_EQ(formatSensitivity(0.0), "0.000e+000");
}

}  // namespace
}  // namespace bandmatch
