// Recommended-range warnings: which blocks appear, in which order, and their exact text.
#include "entry/range_warnings.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace bandmatch {
namespace {

constexpr const char* DECREMENT_BELOW_BLOCK = R"txt(
--------------------------------------------------------------------------------
 WARNING: Load Decrement < Recommended minimun Load Decrement (0.010000) 
--------------------------------------------------------------------------------

)txt";

constexpr const char* DECREMENT_ABOVE_BLOCK = R"txt(
--------------------------------------------------------------------------------
 WARNING: Load Decrement > Recommended maximum Load Decrement (20.000000) 
--------------------------------------------------------------------------------

)txt";

constexpr const char* LOAD_Q_BELOW_BLOCK = R"txt(
--------------------------------------------------------------------------------
 WARNING: Load Q < Recommended minimun Load Q (0.033300) 
--------------------------------------------------------------------------------

)txt";

constexpr const char* LOAD_Q_ABOVE_BLOCK = R"txt(
--------------------------------------------------------------------------------
 WARNING: Load Q > Recommended maximum Load Q (300.000000) 
--------------------------------------------------------------------------------

)txt";

std::string warningsFor(double decrement, double loadQ) {
  DesignCase design;
  design.decrement = decrement;
  design.loadQ = loadQ;
  std::ostringstream out;
  showRangeWarnings(out, design);
  return out.str();
}

TEST(RangeWarnings, EachValueOutsideItsRangeGetsOneBlockDecrementFirst) {
  // The first three rows are the worked examples (loadQ = 1 / (decrement * wm)); the warnings
  // read only the two values, so the other rows pick values that isolate one test each.
  const struct {
    double decrement;
    double loadQ;
    std::string expected;
  } cases[] = {
      {1.0, 2.0, ""},                                          // inside both ranges
      {0.01, 1000.0, LOAD_Q_ABOVE_BLOCK},                      // method D, wm 0.1
      {1.0 / (300.0 * 0.0001), 300.0, DECREMENT_ABOVE_BLOCK},  // method Q, wm 0.0001
      {0.009, 5.0, DECREMENT_BELOW_BLOCK},
      {1.0, 0.03, LOAD_Q_BELOW_BLOCK},
      {0.005, 2000.0, std::string(DECREMENT_BELOW_BLOCK) + LOAD_Q_ABOVE_BLOCK},
      {25.0, 0.02, std::string(DECREMENT_ABOVE_BLOCK) + LOAD_Q_BELOW_BLOCK},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(warningsFor(c.decrement, c.loadQ), c.expected)
        << "decrement " << c.decrement << ", loadQ " << c.loadQ;
  }
}

TEST(RangeWarnings, ValuesEqualToALimitGiveNoBlock) {
  const struct {
    double decrement;
    double loadQ;
  } cases[] = {{20.0, 0.0333}, {0.01, 300.0}, {20.0, 300.0}, {0.01, 0.0333}};
  for (const auto& c : cases) {
    EXPECT_EQ(warningsFor(c.decrement, c.loadQ), "")
        << "decrement " << c.decrement << ", loadQ " << c.loadQ;
  }
}

}  // namespace
}  // namespace bandmatch
