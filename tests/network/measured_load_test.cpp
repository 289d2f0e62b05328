// A measured load's points: the checks each passes, whether read from a file or given as
// numbers (a refusal keeps the load as it was), its points in a band, its first active point
// and its impedance between points, on loads whose values make every expectation arithmetic.
#include "network/measured_load.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace bandmatch {
namespace {

using Complex = std::complex<double>;

// Impedances 10 - j4 to 50 + j12 ohms at 1 to 5 MHz, on lines 2 to 6 of their file.
MeasuredLoad sampleLoad() {
  return {{1.0, 2.0, 3.0, 4.0, 5.0},
          {{10.0, -4.0}, {20.0, 0.0}, {30.0, 4.0}, {40.0, 8.0}, {50.0, 12.0}},
          {2, 3, 4, 5, 6}};
}

TEST(MeasuredLoad, SelectsTheBandsPointsOrSaysWhyNot) {
  struct Case {
    double f1;
    double f2;
    std::size_t first;
    std::size_t last;
    std::string error;
  };
  const std::vector<Case> cases = {
      {1.0, 5.0, 0, 4, ""},
      {1.5, 4.5, 1, 3, ""},  // edges between points
      {2.0, 4.0, 1, 3, ""},  // edges on points are inside
      {0.5, 3.0, 0, 0, "line 2: the data start at 1.000000 MHz, above the band's lower edge"},
      {3.0, 5.5, 0, 0, "line 6: the data end at 5.000000 MHz, below the band's upper edge"},
      {2.5, 4.5, 0, 0,
       "line 5: only 2 measured points lie in the band 2.500000 to 4.500000 MHz; the fit needs "
       "at least 3"},
  };
  const MeasuredLoad load = sampleLoad();
  for (const Case& c : cases) {
    const BandPoints band = pointsInBand(load, c.f1, c.f2);
    EXPECT_EQ(band.error.rfind(c.error, 0), 0u) << c.f1 << ": " << band.error;
    if (c.error.empty()) {
      EXPECT_EQ(band.first, c.first) << c.f1;
      EXPECT_EQ(band.last, c.last) << c.f1;
    }
  }
}

// Resistances 10, 20, -5, 40, 50 ohms at 1 to 5 MHz, straight lines between the points.
TEST(MeasuredLoad, FindsTheFirstActivePointOfARange) {
  const MeasuredLoad load{{1.0, 2.0, 3.0, 4.0, 5.0},
                          {{10.0, 0.0}, {20.0, 0.0}, {-5.0, 0.0}, {40.0, 0.0}, {50.0, 0.0}},
                          {2, 3, 4, 5, 6}};
  const std::vector<std::array<double, 4>> cases = {
      // from, to, the first active frequency (0: none) and its resistance
      {1.0, 2.5, 0.0, 0.0},       // 7.5 ohms at the edge
      {1.0, 5.0, 3.0, -5.0},      // a point
      {1.0, 2.9, 2.9, -2.5},      // the upper edge: 20 - 0.9 * 25
      {3.1, 9.0, 3.1, -0.5},      // the lower edge: -5 + 0.1 * 45; clipped to the data above
      {2.95, 2.99, 2.95, -3.75},  // no point inside: the lower edge first
  };
  for (const auto& [from, to, frequency, resistance] : cases) {
    const std::optional<ActivePoint> active = firstActivePoint(load, from, to);
    ASSERT_EQ(active.has_value(), frequency != 0.0) << from << " to " << to;
    if (active) {
      EXPECT_NEAR(active->frequencyMHz, frequency, 1e-12) << from;
      EXPECT_NEAR(active->resistance, resistance, 1e-12) << from;
    }
  }
  EXPECT_EQ(activeLoadReason({13.0, -20.0}),
            "the load is active at 13.000000 MHz (resistance -2.0000e+001 ohms); only a passive "
            "load can be matched");
}

TEST(MeasuredLoad, InterpolatesLinearlyInRealAndImaginaryParts) {
  const MeasuredLoad load = sampleLoad();
  const std::vector<std::pair<double, Complex>> cases = {{1.0, {10.0, -4.0}},
                                                         {1.25, {12.5, -3.0}},
                                                         {3.0, {30.0, 4.0}},
                                                         {4.9, {49.0, 11.6}},
                                                         {5.0, {50.0, 12.0}}};
  for (const auto& [frequency, expected] : cases) {
    const Complex z = interpolatedImpedance(load, frequency);
    EXPECT_NEAR(z.real(), expected.real(), 1e-12) << frequency;
    EXPECT_NEAR(z.imag(), expected.imag(), 1e-12) << frequency;
  }
}

TEST(MeasuredLoad, RefusesAPointThatCannotFollowTheLast) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double frequencyMHz;
    std::complex<double> impedance;
    std::string reason;  // empty: the point is added
  };
  // The load holds one point at 3.5 MHz before each case.
  const std::vector<Case> cases = {
      {3.6, {50.0, -10.0}, ""},
      {nan, {50.0, 0.0}, "the frequency nan MHz is not finite"},
      {inf, {50.0, 0.0}, "the frequency inf MHz is not finite"},
      {-1.0, {50.0, 0.0}, "negative frequency -1.000000 MHz"},
      {3.5, {50.0, 0.0}, "frequencies not strictly increasing: 3.500000 MHz after 3.500000 MHz"},
      {3.4, {50.0, 0.0}, "frequencies not strictly increasing: 3.400000 MHz after 3.500000 MHz"},
      {3.6, {inf, 0.0}, "the value at 3.600000 MHz is an open circuit; it has no finite impedance"},
      {3.6,
       {50.0, nan},
       "the value at 3.600000 MHz is an open circuit; it has no finite impedance"},
  };
  for (const Case& c : cases) {
    MeasuredLoad load;
    ASSERT_EQ(appendPoint(load, 3.5, {50.0, 0.0}, 0), "");
    EXPECT_EQ(appendPoint(load, c.frequencyMHz, c.impedance, 7), c.reason) << c.frequencyMHz;
    const std::size_t expected = c.reason.empty() ? 2 : 1;
    EXPECT_EQ(load.frequencyMHz.size(), expected);
    EXPECT_EQ(load.impedance.size(), expected);
    EXPECT_EQ(load.line.size(), expected);
  }
}

TEST(MeasuredLoad, NamesTheLineOfAFileOnly) {
  EXPECT_EQ(lineText(12), "line 12: ");
  EXPECT_EQ(lineText(0), "");
  // Points given as numbers: the band check names no line.
  MeasuredLoad load;
  for (const double f : {3.6, 3.8, 4.0}) {
    ASSERT_EQ(appendPoint(load, f, {50.0, 0.0}, 0), "");
  }
  EXPECT_EQ(pointsInBand(load, 3.5, 4.0).error,
            "the data start at 3.600000 MHz, above the band's lower edge f1 = 3.500000 MHz");
}

}  // namespace
}  // namespace bandmatch
