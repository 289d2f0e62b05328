#include "core/display_text.hpp"

namespace bandmatch {

std::string printableText(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7f) {
      c = '?';
    }
  }
  return printable;
}

// Built piece by piece: the one-expression form trips a false -Wrestrict alarm in GCC 12.
std::string quotedText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  result += '"';
  result += text;
  result += '"';
  return result;
}

}  // namespace bandmatch
