// The designed network on a measured load: the load with its retuning element by the closed forms
// of series and shunt combination, the sweep clipped to the data, and the resonances of the
// positions that the judge's grid is made denser about.
#include "network/measured_network.hpp"

#include <gtest/gtest.h>

#include <complex>
#include <limits>
#include <numbers>
#include <vector>

namespace bandmatch {
namespace {

using Complex = std::complex<double>;

// 50 ohms with a reactance rising from 0 to 10 ohms between 1 and 2 MHz: 50 + j5 at 1.5 MHz.
TEST(MeasuredNetwork, PutsTheRetuningElementAtTheLoad) {
  const MeasuredLoad load{{1.0, 2.0}, {{50.0, 0.0}, {50.0, 10.0}}, {2, 3}};
  const double w = 2.0 * std::numbers::pi * 1.5e6;
  const Complex z(50.0, 5.0);
  const Complex j(0.0, 1.0);
  const struct {
    RetuningKind kind;
    double value;
    Complex expected;
  } cases[] = {
      {RetuningKind::none, 0.0, z},
      {RetuningKind::seriesInductor, 1e-6, z + j * w * 1e-6},
      {RetuningKind::seriesCapacitor, 1e-9, z - j / (w * 1e-9)},
      {RetuningKind::shuntCapacitor, 1e-9, 1.0 / (1.0 / z + j * w * 1e-9)},
      {RetuningKind::shuntInductor, 1e-6, 1.0 / (1.0 / z - j / (w * 1e-6))},
  };
  for (const auto& c : cases) {
    Retuning retuning;
    retuning.kind = c.kind;
    retuning.value = c.value;
    const Complex end = measuredLoadEnd(load, retuning, 1.5);
    EXPECT_NEAR(std::abs(end - c.expected), 0.0, 1e-9 * std::abs(c.expected))
        << static_cast<int>(c.kind);
  }
}

TEST(MeasuredNetwork, ClipsTheSweepToTheDataAndFindsTheResonances) {
  const MeasuredLoad load{{3.2, 4.3}, {{50.0, 0.0}, {50.0, 0.0}}, {2, 3}};
  const Sweep wide = clippedToData({2.5, 5.0, 101}, load);
  EXPECT_EQ(wide.lowerMHz, 3.2);
  EXPECT_EQ(wide.upperMHz, 4.3);
  EXPECT_EQ(wide.points, 101);
  const Sweep inside = clippedToData({3.5, 4.0, 11}, load);
  EXPECT_EQ(inside.lowerMHz, 3.5);
  EXPECT_EQ(inside.upperMHz, 4.0);

  // 1 uH with 100 pF resonates at 1 / (2 pi sqrt(1e-16)) Hz = 15.915494 MHz; a position without
  // a finite positive L C product has none.
  LadderNetwork ladder;
  ladder.inductance = {1e-6, 0.0, 4e-6, std::numeric_limits<double>::infinity()};
  ladder.capacitance = {1e-10, 1e-10, 1e-10, 1e-10};
  const std::vector<double> resonances = ladderResonances(ladder);
  ASSERT_EQ(resonances.size(), 2u);
  EXPECT_NEAR(resonances[0], 1e-6 / (2.0 * std::numbers::pi * 1e-8), 1e-12);
  EXPECT_NEAR(resonances[1], 1e-6 / (2.0 * std::numbers::pi * 2e-8), 1e-12);
}

}  // namespace
}  // namespace bandmatch
