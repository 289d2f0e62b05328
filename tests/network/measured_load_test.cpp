// The checks every point of a measured load passes, whether read from a file or given as numbers:
// each refusal keeps the load as it was, and a load given as numbers names no file line.
#include "network/measured_load.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

TEST(MeasuredLoadTest, RefusesAPointThatCannotFollowTheLast) {
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

TEST(MeasuredLoadTest, NamesTheLineOfAFileOnly) {
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
