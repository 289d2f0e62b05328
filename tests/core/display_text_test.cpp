// Untrusted text shown on one line and as UTF-8, whatever bytes it holds.
#include "core/display_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace bandmatch {
namespace {

TEST(DisplayText, ShowsControlCharactersAndBytesOfNoCharacterAsQuestionMarks) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xC2\xB5H \xE2\x82\xAC \xF0\x9F\x93\xA1", "\xC2\xB5H \xE2\x82\xAC \xF0\x9F\x93\xA1"},
      {std::string("a\tb\nc\0d\x7f", 8), "a?b?c?d?"},
      {"a\xC2\x9B", "a?"},             // the C1 control U+009B
      {"\x89PNG\xB0", "?PNG?"},        // binary data, a Latin-1 degree sign
      {"\xE2\x82 \xC0\xAF", "?? ??"},  // a cut-off sequence, an overlong '/'
  };
  for (const auto& [text, shown] : cases) {
    EXPECT_EQ(printableText(text), shown);
  }
}

}  // namespace
}  // namespace bandmatch
