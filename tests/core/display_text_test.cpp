// Untrusted text shown on one line and as UTF-8, whatever bytes it holds.
#include "core/display_text.hpp"

#include <gtest/gtest.h>

#include <string>

namespace bandmatch {
namespace {

TEST(DisplayText, ShowsControlCharactersAndBytesOfNoCharacterAsQuestionMarks) {
  const struct {
    const char* what;
    std::string text;
    std::string shown;
  } cases[] = {
      {"plain", "run1.csv", "run1.csv"},
      {"UTF-8 kept",
       "Me\xC3\x9F"
       "daten \xC2\xB5H \xE2\x82\xAC \xF0\x9F\x93\xA1",
       "Me\xC3\x9F"
       "daten \xC2\xB5H \xE2\x82\xAC \xF0\x9F\x93\xA1"},
      {"C0 and DEL", std::string("a\tb\nc\0d\x7f", 8), "a?b?c?d?"},
      {"C1 control U+009B",
       "a\xC2\x9B"
       "b",
       "a?b"},
      {"Latin-1 byte",
       "20 \xB0"
       "C",
       "20 ?C"},
      {"binary", "\x89PNG\xFF\xFE", "?PNG??"},
      {"cut-off sequence", "ab\xE2\x82", "ab??"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(printableText(c.text), c.shown) << c.what;
  }
}

}  // namespace
}  // namespace bandmatch
