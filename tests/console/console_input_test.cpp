// The console readers: acceptance and value rules, white space, and the end of the input.
#include "console/console_input.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace bandmatch {
namespace {

TEST(ConsoleInput, IntegerWordsFollowTheStrictDigitRule) {
  const struct {
    const char* word;
    int expected;
  } cases[] = {
      {"7", 7},
      {"007", 7},
      {"10", 10},
      {"2147483647", 2147483647},
      {"", 0},
      {"-3", -1},
      {"+3", -1},
      {"3.0", -1},
      {"3a", -1},
      {"1e1", -1},
      {"2147483648", -1},
      {"99999999999999999999", -1},
      {" 3", -1},
      {"0000000000000000000000000000000000000001", -1},  // 40 characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(integerFromWord(c.word), c.expected) << "word '" << c.word << "'";
  }
}

TEST(ConsoleInput, RealWordsFollowTheStrictDecimalRule) {
  const struct {
    const char* word;
    double expected;
  } cases[] = {
      {"12.5", 12.5}, {".5", 0.5}, {"5.", 5.0}, {".", 0.0},  {"0", 0.0},  {"", 0.0},
      {"1.2.3", -1},  {"-1", -1},  {"+1", -1},  {"1e3", -1}, {"1,5", -1}, {"abc", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(realFromWord(c.word), c.expected) << "word '" << c.word << "'";
  }
}

TEST(ConsoleInput, RealValueIsTheLeftToRightSumOfDigitTerms) {
  // The value is formed term by term with real powers of ten, not correctly rounded parsing.
  EXPECT_EQ(realFromWord("0.000001"), std::pow(10.0, -6));
  const double expected = 1 * std::pow(10.0, 2) + 2 * std::pow(10.0, 1) + 3 * std::pow(10.0, 0) +
                          4 * std::pow(10.0, -1) + 5 * std::pow(10.0, -2) + 6 * std::pow(10.0, -3);
  EXPECT_EQ(realFromWord("123.456"), expected);
  // 39 characters are read, 40 are refused.
  EXPECT_GT(realFromWord(std::string(39, '9')), 0.0);
  EXPECT_EQ(realFromWord(std::string(40, '9')), -1.0);
}

TEST(ConsoleInput, WordsAreTakenOneAtATimeAcrossBlanksAndLineEnds) {
  std::istringstream in(" \t run1  5\r\n\n\v\f 12.5\nx");
  std::ostringstream out;
  EXPECT_EQ(readWord(in, out), "run1");
  EXPECT_EQ(readInteger(in, out), 5);
  EXPECT_EQ(readReal(in, out), 12.5);
  EXPECT_EQ(readWord(in, out), "x");
  EXPECT_EQ(readWord(in, out), std::nullopt);
  EXPECT_EQ(readInteger(in, out), std::nullopt);
  EXPECT_EQ(readReal(in, out), std::nullopt);
  EXPECT_EQ(readChoice(in, out), std::nullopt);
}

TEST(ConsoleInput, TheWhiteSpaceAfterAWordStaysInTheInput) {
  std::istringstream in("name\nrest");
  std::ostringstream out;
  EXPECT_EQ(readWord(in, out), "name");
  EXPECT_EQ(in.peek(), '\n');
}

TEST(ConsoleInput, ChoicesAreSingleCharactersAfterWhiteSpace) {
  std::istringstream in("  dog\n\n c");
  std::ostringstream out;
  EXPECT_EQ(readChoice(in, out), 'd');
  EXPECT_EQ(readChoice(in, out), 'o');
  EXPECT_EQ(readChoice(in, out), 'g');
  EXPECT_EQ(readChoice(in, out), 'c');
  EXPECT_EQ(readChoice(in, out), std::nullopt);
}

TEST(ConsoleInput, LongWordsAreReadWholeAndRefusedAsNumbers) {
  const std::string longWord(100, '7');
  std::istringstream in(longWord + " 3");
  std::ostringstream out;
  EXPECT_EQ(readInteger(in, out), -1);
  EXPECT_EQ(readInteger(in, out), 3);
  std::istringstream names(longWord + ".txt");
  EXPECT_EQ(readWord(names, out), longWord + ".txt");
}

TEST(ConsoleInput, EveryReaderFlushesThePromptBeforeWaiting) {
  struct FlushCounter : std::stringbuf {
    int flushes = 0;
    int sync() override {
      ++flushes;
      return 0;
    }
  };
  FlushCounter buffer;
  std::ostream out(&buffer);
  std::istringstream in("a 1 2 b");
  out << "prompt";
  (void)readWord(in, out);
  (void)readInteger(in, out);
  (void)readReal(in, out);
  (void)readChoice(in, out);
  EXPECT_EQ(buffer.flushes, 4);
}

}  // namespace
}  // namespace bandmatch
