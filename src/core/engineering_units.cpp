#include "core/engineering_units.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/number_format.hpp"

namespace bandmatch {

namespace {

constexpr int LOWEST_EXPONENT = -15;
constexpr int HIGHEST_EXPONENT = 9;
// Prefixes from femto to giga, three decades apart; micro is the UTF-8 micro sign.
constexpr std::array<std::string_view, 9> PREFIXES = {"f", "p", "n", "\xc2\xb5", "m",
                                                      "",  "k", "M", "G"};

}  // namespace

EngineeringScale engineeringScale(double value, std::string_view baseUnit) {
  int exponent = 0;
  if (std::isfinite(value) && value != 0.0) {
    exponent = static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3.0)) * 3;
    exponent = std::clamp(exponent, LOWEST_EXPONENT, HIGHEST_EXPONENT);
  }
  const std::string_view prefix =
      PREFIXES[static_cast<std::size_t>((exponent - LOWEST_EXPONENT) / 3)];
  return {exponent, std::string(prefix) + std::string(baseUnit)};
}

std::string formatInScale(double value, const EngineeringScale& scale, int digits) {
  // Whole powers of ten up to 1e15 are exact, so the scaling rounds only once.
  const double power = std::pow(10.0, std::abs(scale.exponent));
  return formatPlainDecimal(scale.exponent < 0 ? value * power : value / power, digits);
}

std::string formatEngineering(double value, std::string_view baseUnit, int digits) {
  const EngineeringScale scale = engineeringScale(value, baseUnit);
  return formatInScale(value, scale, digits) + " " + scale.unit;
}

}  // namespace bandmatch
