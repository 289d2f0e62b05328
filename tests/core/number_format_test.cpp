// The number formats of prompts and reports.
#include "core/number_format.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace bandmatch {
namespace {

TEST(NumberFormat, FixedShowsExactlyTheRequestedDigits) {
  EXPECT_EQ(formatFixed(0.5, 6), "0.500000");
  EXPECT_EQ(formatFixed(300.0, 6), "300.000000");
  EXPECT_EQ(formatFixed(1e-6, 6), "0.000001");
  EXPECT_EQ(formatFixed(1e6, 6), "1000000.000000");
  EXPECT_EQ(formatFixed(0.01, 3), "0.010");
  EXPECT_EQ(formatFixed(0.0333, 5), "0.03330");
  EXPECT_EQ(formatFixed(1e6, 0), "1000000");
  EXPECT_EQ(formatFixed(-15.3105, 9), "-15.310500000");
  EXPECT_EQ(formatFixed(14.142135623730951, 6), "14.142136");
  EXPECT_EQ(formatFixed(1e20, 2), "100000000000000000000.00");
}

TEST(NumberFormat, ValuesRoundToTheNearestUnitOfTheLastDigit) {
  EXPECT_EQ(formatFixed(0.7071067811865476, 9), "0.707106781");
  EXPECT_EQ(formatFixed(2.0000005, 6), "2.000001");  // above the half-way point in binary
  EXPECT_EQ(formatFixed(0.125, 2), "0.12");          // exactly half: to even
  EXPECT_EQ(formatScientific(9.9999999996, 9), "1.000000000e+001");
}

TEST(NumberFormat, ScientificAlwaysHasAThreeDigitSignedExponent) {
  EXPECT_EQ(formatScientific(20.0, 9), "2.000000000e+001");
  EXPECT_EQ(formatScientific(0.5, 6), "5.000000e-001");
  EXPECT_EQ(formatScientific(0.0333, 6), "3.330000e-002");
  EXPECT_EQ(formatScientific(1e6, 6), "1.000000e+006");
  EXPECT_EQ(formatScientific(7.95775e-7, 5), "7.95775e-007");
  EXPECT_EQ(formatScientific(4.0e-10, 3), "4.000e-010");
  EXPECT_EQ(formatScientific(0.0, 3), "0.000e+000");
  EXPECT_EQ(formatScientific(-1.5e-300, 2), "-1.50e-300");
  EXPECT_EQ(formatScientific(1.7976931348623157e308, 3), "1.798e+308");
  EXPECT_EQ(formatScientific(5e-324, 1), "4.9e-324");
}

TEST(NumberFormat, NonFiniteValuesHaveOneSpellingInEveryFormat) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const double value : {nan, -nan}) {
    EXPECT_EQ(formatFixed(value, 9), "nan");
    EXPECT_EQ(formatScientific(value, 9), "nan");
  }
  EXPECT_EQ(formatFixed(inf, 6), "inf");
  EXPECT_EQ(formatScientific(-inf, 3), "-inf");
}

TEST(NumberFormat, IntegersArePlainDigits) {
  EXPECT_EQ(formatInteger(12), "12");
  EXPECT_EQ(formatInteger(0), "0");
  EXPECT_EQ(formatInteger(-7), "-7");
  EXPECT_EQ(formatInteger(1000), "1000");
}

}  // namespace
}  // namespace bandmatch
