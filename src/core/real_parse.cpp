#include "core/real_parse.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace bandmatch {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lowerCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether [at, last) starts with the lower-case word, in any letter case.
bool startsWithWord(const char* at, const char* last, std::string_view word) {
  if (last - at < static_cast<std::ptrdiff_t>(word.size())) {
    return false;
  }
  for (const char c : word) {
    if (lowerCase(*at++) != c) {
      return false;
    }
  }
  return true;
}

// The end of the digits, point and exponent that start at `at`, or `at` when there is no digit.
// A dangling exponent ("1e", "1e+") is not part of the number.
const char* decimalEnd(const char* at, const char* last, bool& nonZeroDigit) {
  const char* p = at;
  bool anyDigit = false;
  const auto digits = [&] {
    for (; p < last && isDigit(*p); ++p) {
      anyDigit = true;
      nonZeroDigit = nonZeroDigit || *p != '0';
    }
  };
  digits();
  if (p < last && *p == '.') {
    ++p;
    digits();
  }
  if (!anyDigit) {
    return at;
  }
  if (p < last && (*p == 'e' || *p == 'E')) {
    const char* exponent = p + 1;
    if (exponent < last && (*exponent == '+' || *exponent == '-')) {
      ++exponent;
    }
    if (exponent < last && isDigit(*exponent)) {
      for (p = exponent; p < last && isDigit(*p); ++p) {
      }
    }
  }
  return p;
}

// "nan" and an optional "(chars)" of letters, digits and underscores.
const char* notANumberEnd(const char* at, const char* last) {
  const char* p = at + 3;
  if (p < last && *p == '(') {
    const char* inside = p + 1;
    while (inside < last && (isLetter(*inside) || isDigit(*inside) || *inside == '_')) {
      ++inside;
    }
    if (inside < last && *inside == ')') {
      return inside + 1;
    }
  }
  return p;
}

}  // namespace

std::from_chars_result parseReal(const char* first, const char* last, double& value) {
  const bool negative = first < last && *first == '-';
  const char* start = negative ? first + 1 : first;
  const double sign = negative ? -1.0 : 1.0;

  if (startsWithWord(start, last, "inf")) {
    value = sign * std::numeric_limits<double>::infinity();
    return {start + (startsWithWord(start, last, "infinity") ? 8 : 3), std::errc{}};
  }
  if (startsWithWord(start, last, "nan")) {
    value = std::copysign(std::numeric_limits<double>::quiet_NaN(), sign);
    return {notANumberEnd(start, last), std::errc{}};
  }

  bool nonZeroDigit = false;
  const char* end = decimalEnd(start, last, nonZeroDigit);
  if (end == start) {
    return {first, std::errc::invalid_argument};
  }
  // strtod sees only the text checked above, so its blanks, '+' and hexadecimal never apply, and
  // the range is judged from the result: the C libraries disagree on errno for subnormals.
  const std::string text(first, end);
  const double parsed = std::strtod(text.c_str(), nullptr);
  if (std::isinf(parsed) || (parsed == 0.0 && nonZeroDigit)) {
    return {end, std::errc::result_out_of_range};
  }
  value = parsed;
  return {end, std::errc{}};
}

std::optional<double> parseWholeReal(std::string_view word) {
  double value = 0.0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = parseReal(word.data(), end, value);
  if (word.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace bandmatch
