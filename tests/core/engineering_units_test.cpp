// Values of parts in the units people buy them in, written out by hand.
#include "core/engineering_units.hpp"

#include <gtest/gtest.h>

namespace bandmatch {
namespace {

TEST(EngineeringUnits, ValuesTakeThePrefixThatPutsThemBetweenOneAndAThousand) {
  const struct {
    double value;
    const char* unit;
    int digits;
    const char* text;
  } cases[] = {
      {7.957747155e-7, "H", 4, "795.8 nH"},
      {1.5e-6, "H", 4, "1.5 \xc2\xb5H"},
      {1.591549431e-10, "F", 6, "159.155 pF"},
      {4.7e-9, "F", 3, "4.7 nF"},
      {57.68682715, "ohm", 6, "57.6868 ohm"},
      {2.2e3, "ohm", 3, "2.2 kohm"},
      {1e-18, "F", 3, "0.001 fF"},
      {0.0, "H", 3, "0 H"},
      {-4.7e-9, "F", 3, "-4.7 nF"},  // the sign kept, the prefix by the magnitude
      {3.3e10, "H", 3, "33 GH"},     // giga is the largest prefix
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatEngineering(c.value, c.unit, c.digits), c.text) << c.value;
  }
  // A column in one scale: 120 nH in the scale of 1 uH.
  const EngineeringScale micro = engineeringScale(1e-6, HENRY);
  EXPECT_EQ(micro.exponent, -6);
  EXPECT_EQ(micro.unit, "\xc2\xb5H");
  EXPECT_EQ(formatInScale(1.2e-7, micro, 3), "0.12");
}

}  // namespace
}  // namespace bandmatch
