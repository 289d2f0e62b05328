// The portable real reader against the standard library's std::from_chars, which the native
// build has: the same end, the same error and the same value for every text; and a whole word
// read as a finite real.
#include "core/real_parse.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace bandmatch {
namespace {

// A sentinel the readers must leave untouched when they refuse or report out of range.
constexpr double UNTOUCHED = 12345.678;

void expectSameAsFromChars(std::string_view text) {
  double expected = UNTOUCHED;
  double actual = UNTOUCHED;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const auto reference = std::from_chars(first, last, expected);
  const auto result = parseReal(first, last, actual);
  EXPECT_EQ(result.ptr - first, reference.ptr - first) << "end for \"" << text << "\"";
  EXPECT_EQ(result.ec, reference.ec) << "error for \"" << text << "\"";
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << text;
    EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << text;
  } else {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
        << "value for \"" << text << "\"";
  }
}

TEST(RealParse, AgreesWithFromCharsOnEdgeCases) {
  const std::string_view cases[] = {
      // plain numbers, the forms the reports write, and partial reads
      "0", "-0", "50", "2.000000000e+001", "5.768682715e+001", "-15.310500000", "1.", ".5", "-.5",
      "1.e5", "7.95775e-007", "1e", "1e+", "1e-", "1e+x", "1.5.2", "12abc", "3,5", "00012",
      // what strtod would take and from_chars refuses
      "", " 1", "\t1", "+1", "-+1", "--1", "-", ".", "-.", "e5", "0x1p3", "-0x10", "0X1P3",
      // special values
      "inf", "-INF", "Infinity", "infinit", "infinityx", "nan", "-NaN", "nan(123)", "nan(abc_9)",
      "nan(", "nan(1 2)", "nanx", "in", "na",
      // the edges of the range
      "1.7976931348623157e308", "1.7976931348623159e308", "1e309", "-1e400",
      "2.2250738585072014e-308", "4.9406564584124654e-324", "2.4703282292062328e-324",
      "2.4703282292062327e-324", "1e-400", "0e99999", "0.0000e-99999", "1e-99999999999999999999",
      "1e99999999999999999999",
      // rounding: halfway between neighbours, and far more digits than a double holds
      "9007199254740993", "9007199254740993.0000000000000000001",
      "0.1000000000000000055511151231257827",
      "123456789012345678901234567890123456789012345678901234567890e-40"};
  for (const std::string_view text : cases) {
    expectSameAsFromChars(text);
  }
}

TEST(RealParse, AgreesWithFromCharsOnRandomTexts) {
  // Random words over the characters a number or a near miss is made of.
  constexpr std::string_view alphabet = "0123456789000111...eEeE++--xXpPnNaAiIfFtTyY() _";
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    for (int n = length(random); n > 0; --n) {
      text += alphabet[pick(random)];
    }
    expectSameAsFromChars(text);
  }
}

// Option values and Touchstone fields: the word is the number, finite, or nothing.
TEST(RealParse, ReadsAWholeWordAsAFiniteReal) {
  const struct {
    std::string_view word;
    std::optional<double> value;
  } cases[] = {
      {"1.5", 1.5},
      {"-2e3", -2000.0},
      {"0", 0.0},
      {"1e308", 1e308},
      {"", std::nullopt},
      {"+1", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"1x", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"1e400", std::nullopt},   // beyond the doubles
      {"1e-400", std::nullopt},  // below them: from_chars calls it out of range too
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseWholeReal(c.word), c.value) << '"' << c.word << '"';
  }
}

}  // namespace
}  // namespace bandmatch
