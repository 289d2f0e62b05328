#include "core/number_format.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <version>

#include "core/real_parse.hpp"

namespace bandmatch {

namespace {

// Large enough for any double in fixed notation with up to 17 fraction digits.
constexpr std::size_t FORMAT_BUFFER_SIZE = 400;
constexpr int MAX_DIGITS = 17;
constexpr int EXPONENT_DIGITS = 3;
constexpr int PLAIN_FRACTION_LIMIT = 340;

// Not-a-number prints without a sign: the platform's "-nan" is never shown.
std::string nonFiniteText(double value) {
  if (std::isnan(value)) {
    return "nan";
  }
  return value < 0 ? "-inf" : "inf";
}

int clampDigits(int digits) {
  return digits < 0 ? 0 : (digits > MAX_DIGITS ? MAX_DIGITS : digits);
}

// printf's %.*f and %.*e round the exact binary value to the nearest unit of the last digit, ties
// to even, in the "C" locale the program never leaves. Unlike floating-point std::to_chars they
// exist in every C++ library the project is built with, the WebAssembly one included, and give
// the same text on each. Where the library has the floating-point std::to_chars, it gives the
// same correctly rounded digits several times faster, which an export of many thousand points
// feels.
enum class Notation { fixed, scientific };

std::string printed(double value, int digits, Notation notation) {
  std::array<char, FORMAT_BUFFER_SIZE> buffer{};
#if defined(__cpp_lib_to_chars)
  const auto result = std::to_chars(
      buffer.data(), buffer.data() + buffer.size(), value,
      notation == Notation::fixed ? std::chars_format::fixed : std::chars_format::scientific,
      clampDigits(digits));
  return std::string(buffer.data(), result.ptr);
#else
  const int length =
      notation == Notation::fixed
          ? std::snprintf(buffer.data(), buffer.size(), "%.*f", clampDigits(digits), value)
          : std::snprintf(buffer.data(), buffer.size(), "%.*e", clampDigits(digits), value);
  return std::string(buffer.data(), static_cast<std::size_t>(length));
#endif
}

// Decimal digits of any integer, a sign only when negative; 24 characters hold 64 bits.
template <typename Integer>
std::string integerText(Integer value) {
  std::array<char, 24> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::string formatFixed(double value, int digits) {
  if (!std::isfinite(value)) {
    return nonFiniteText(value);
  }
  return printed(value, digits, Notation::fixed);
}

std::string formatScientific(double value, int digits) {
  if (!std::isfinite(value)) {
    return nonFiniteText(value);
  }
  const std::string printedText = printed(value, digits, Notation::scientific);
  const std::string_view text(printedText);
  // printf writes at least two exponent digits; the reports always show three.
  const std::size_t e = text.find('e');
  std::string formatted(text.substr(0, e + 2));  // mantissa, 'e' and the exponent's sign
  const std::string_view exponent = text.substr(e + 2);
  for (std::size_t width = exponent.size(); width < EXPONENT_DIGITS; ++width) {
    formatted += '0';
  }
  formatted += exponent;
  return formatted;
}

double roundedAsScientific(double value, int digits) {
  const std::string text = formatScientific(value, digits);
  double read = value;
  parseReal(text.data(), text.data() + text.size(), read);
  return read;
}

std::string formatFullPrecision(double value) {
  // Sixteen digits after the point hold seventeen significant digits.
  return formatScientific(value, 16);
}

std::string formatPlainDecimal(double value, int significantDigits) {
  if (!std::isfinite(value)) {
    return nonFiniteText(value);
  }
  // Enough fraction digits for the significant ones below the leading digit; none beyond the
  // smallest subnormal, and never more than the buffer holds.
  const int leading = value > 0.0 ? static_cast<int>(std::floor(std::log10(value))) : 0;
  const int fraction = std::clamp(significantDigits - 1 - leading, 0, PLAIN_FRACTION_LIMIT);
  // printf, as above, but with more fraction digits than the report formats ever need.
  std::array<char, FORMAT_BUFFER_SIZE> buffer{};
  const int length = std::snprintf(buffer.data(), buffer.size(), "%.*f", fraction, value);
  std::string text(buffer.data(), static_cast<std::size_t>(length));
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
      text.pop_back();
    }
  }
  return text;
}

std::string formatInteger(long long value) {
  return integerText(value);
}

std::string formatUnsignedInteger(unsigned long long value) {
  return integerText(value);
}

}  // namespace bandmatch
