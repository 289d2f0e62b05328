#include "network/matched_cascade.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "support/measured_loads.hpp"

namespace bandmatch {
namespace {

MeasuredLoad sampled(const testing::ExactLoad& exact, double low, double high, int points) {
  MeasuredLoad load;
  for (int i = 0; i < points; ++i) {
    const double f = low + (high - low) * i / (points - 1);
    load.frequencyMHz.push_back(f);
    load.impedance.push_back(exact.impedance(f));
    load.line.push_back(i + 3);
  }
  return load;
}

// Data made by the closed forms of a series R-L-C and a parallel G-L-C come back as the model of
// their own kind with their own values, the error next to nothing; data that end inside the band
// give no end.
TEST(MatchedCascade, MeasuredEndCarriesTheModelItsDataComeFrom) {
  const std::vector<testing::ExactLoad> loads = {{LoadType::series, 30.0, 3.9, 6.0},
                                                 {LoadType::parallel, 0.004, 3.6, 4.0}};
  for (const testing::ExactLoad& exact : loads) {
    const MeasuredLoad load = sampled(exact, 3.0, 4.5, 301);
    const std::optional<CascadeEnd> end = measuredEnd(load, "antenna.s1p", 3.5, 4.0);
    ASSERT_TRUE(end);
    ASSERT_TRUE(end->fitted);
    const bool series = exact.type == LoadType::series;
    EXPECT_EQ(end->fitted->kind, series ? EndKind::seriesModel : EndKind::parallelModel);
    const double resistance = series ? exact.level : 1.0 / exact.level;
    EXPECT_NEAR(end->fitted->resistance, resistance, 1e-9 * resistance);
    EXPECT_NEAR(*end->fitted->inductance, exact.inductance(), 1e-9 * exact.inductance());
    EXPECT_NEAR(*end->fitted->capacitance, exact.capacitance(), 1e-9 * exact.capacitance());
    EXPECT_LT(end->fitError, 1e-9);
    EXPECT_EQ(end->impedanceAt(3.75), exact.impedance(3.75));
    EXPECT_FALSE(measuredEnd(load, "antenna.s1p", 3.5, 4.6));
  }
}

}  // namespace
}  // namespace bandmatch
