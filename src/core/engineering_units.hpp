// Values of parts in the units people buy them in: the SI prefix that puts the number between
// 1 and 1000 (796 nH, 159 pF, 1.5 uH), shared by the list of parts and the schematic.
#pragma once

#include <string>
#include <string_view>

namespace bandmatch {

// Base units of inductors, capacitors and resistances; the ohm sign is UTF-8.
inline constexpr std::string_view HENRY = "H";
inline constexpr std::string_view FARAD = "F";
inline constexpr std::string_view OHM = "\xce\xa9";

// The power of ten a prefix stands for and the unit with the prefix ("nH" for 1e-9 henry).
struct EngineeringScale {
  int exponent = 0;
  std::string unit;
};

// The prefix from femto to giga that puts the value between 1 and 1000 (zero takes none).
EngineeringScale engineeringScale(double value, std::string_view baseUnit);

// The number in that scale, to `digits` significant digits ("795.775").
std::string formatInScale(double value, const EngineeringScale& scale, int digits);

// The number and its unit in the value's own scale ("795.8 nH").
std::string formatEngineering(double value, std::string_view baseUnit, int digits);

}  // namespace bandmatch
