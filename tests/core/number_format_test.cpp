// The number formats of prompts and reports.
#include "core/number_format.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

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

// The answers bandmatch-fit prints for the console's number reader: no exponent, no sign, no
// trailing zeros, rounded to the asked significant digits.
TEST(NumberFormat, PlainDecimalsCarryTheSignificantDigitsWithoutAnExponent) {
  const std::vector<std::tuple<double, int, std::string>> cases = {
      {3.5, 17, "3.5"},
      {4.0, 17, "4"},
      {1000000.0, 17, "1000000"},
      {0.25, 12, "0.25"},
      {79.233821782178211, 17, "79.233821782178211"},
      {79.233821782178211, 6, "79.2338"},
      {0.000125, 17, "0.000125"},
      {2.5e-6, 3, "0.0000025"},
      {1.0 / 3.0, 12, "0.333333333333"},
      {9.9999996, 6, "10"},
      {123456.7, 3, "123457"},  // whole digits are never dropped
      {0.0, 17, "0"},
  };
  for (const auto& [value, digits, expected] : cases) {
    EXPECT_EQ(formatPlainDecimal(value, digits), expected) << value << " " << digits;
  }
  // The smallest positive double still comes out as plain digits, 324 places after the point.
  const std::string tiny = formatPlainDecimal(5e-324, 1);
  EXPECT_EQ(tiny.substr(0, 4), "0.00");
  EXPECT_EQ(tiny.back(), '5');
  EXPECT_EQ(tiny.size(), 326u);
}

TEST(NumberFormat, IntegersArePlainDigits) {
  EXPECT_EQ(formatInteger(12), "12");
  EXPECT_EQ(formatInteger(0), "0");
  EXPECT_EQ(formatInteger(-7), "-7");
  EXPECT_EQ(formatInteger(1000), "1000");
}

// Values where rounding is hard: random bit patterns (subnormals included), engineering
// magnitudes, decimal ties with their neighbours one unit in the last place away, binary ties,
// and the ends of the range.
std::vector<double> awkwardValues() {
  std::mt19937_64 random(20261207);
  std::vector<double> values = {0.0,
                                -0.0,
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::denorm_min(),
                                -std::numeric_limits<double>::max()};
  while (values.size() < 1500) {
    const double value = std::bit_cast<double>(random());
    if (std::isfinite(value)) {
      values.push_back(value);
    }
  }
  std::uniform_real_distribution<double> exponent(-40.0, 40.0);
  for (int i = 0; i < 1000; ++i) {
    values.push_back(std::exp2(exponent(random)));
  }
  std::uniform_int_distribution<std::int64_t> whole(0, 99999999);
  for (int i = 0; i < 500; ++i) {
    for (const double scale : {1e3, 1e6, 1e9}) {
      const double tie = (static_cast<double>(whole(random)) + 0.5) / scale;
      values.insert(values.end(), {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)});
    }
    values.push_back(static_cast<double>(2 * whole(random) + 1) / std::exp2(1 + i % 30));
  }
  return values;
}

// The reports' three-digit exponent, widened here on its own.
std::string withThreeExponentDigits(std::string text) {
  const std::size_t e = text.find('e');
  if (e != std::string::npos && text.size() - (e + 2) < 3) {
    text.insert(e + 2, 3 - (text.size() - (e + 2)), '0');
  }
  return text;
}

// The standard library's correctly rounded conversion.
std::string referenceText(double value, int digits, std::chars_format format) {
  std::array<char, 400> buffer{};
  const auto end =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, digits).ptr;
  return withThreeExponentDigits(std::string(buffer.data(), end));
}

// printf's conversion, which the formatter uses where the library has no floating-point
// to_chars (the WebAssembly build): both must give the same text.
std::string printfText(double value, int digits, std::chars_format format) {
  std::array<char, 400> buffer{};
  const int length =
      std::snprintf(buffer.data(), buffer.size(),
                    format == std::chars_format::fixed ? "%.*f" : "%.*e", digits, value);
  return withThreeExponentDigits(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

// The formatter's texts against the standard library's own correctly rounded conversion and
// against printf's, the two paths the formatter takes on different C++ libraries.
TEST(NumberFormat, MatchesToCharsAndPrintfForEveryPrecisionOverAwkwardValues) {
  int differences = 0;
  for (const double value : awkwardValues()) {
    for (int digits = 0; digits <= 17; ++digits) {
      const std::string fixed = formatFixed(value, digits);
      const std::string scientific = formatScientific(value, digits);
      if (fixed != referenceText(value, digits, std::chars_format::fixed) ||
          scientific != referenceText(value, digits, std::chars_format::scientific) ||
          fixed != printfText(value, digits, std::chars_format::fixed) ||
          scientific != printfText(value, digits, std::chars_format::scientific)) {
        ADD_FAILURE() << "differs for " << referenceText(value, 17, std::chars_format::scientific)
                      << " with " << digits << " digits: " << fixed << " " << scientific;
        if (++differences == 10) {
          return;
        }
      }
    }
  }
}

}  // namespace
}  // namespace bandmatch
