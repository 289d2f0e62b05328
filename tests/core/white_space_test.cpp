// White space around words: the six characters, and nothing else, are trimmed.
#include "core/white_space.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace bandmatch {
namespace {

TEST(WhiteSpace, TrimsTheSixWhiteSpaceCharactersAtBothEnds) {
  const struct {
    std::string_view text;
    std::string_view word;
  } cases[] = {
      {"", ""},
      {" \t\n\r\v\f", ""},
      {"word", "word"},
      {" \t3.5\r\n", "3.5"},
      {"\fa b\v", "a b"},                          // white space inside stays
      {"\xc2\xa0x\xc2\xa0", "\xc2\xa0x\xc2\xa0"},  // a no-break space is not white space
      {std::string_view("\0x\0", 3), std::string_view("\0x\0", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(trimmed(c.text), c.word);
  }
}

}  // namespace
}  // namespace bandmatch
