#include "core/display_text.hpp"

namespace bandmatch {

namespace {

// Length of the well-formed UTF-8 sequence that starts at `at`, or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xc2 ? 0
                             : lead < 0xe0 ? 2
                             : lead < 0xf0 ? 3
                             : lead < 0xf5 ? 4
                                           : 0;
  if (length == 0 || at + length > text.size()) {
    return 0;
  }
  // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8.
  if (length > 1) {
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if ((lead == 0xe0 && second < 0xa0) || (lead == 0xed && second >= 0xa0) ||
        (lead == 0xf0 && second < 0x90) || (lead == 0xf4 && second >= 0x90)) {
      return 0;
    }
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80) {
      return 0;
    }
  }
  return length;
}

// C0 controls, DEL, and the C1 controls U+0080 to U+009F (0xc2 0x80 to 0xc2 0x9f), which some
// terminals obey as escapes.
bool isControl(std::string_view text, std::size_t at, std::size_t length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (length == 1) {
    return lead < 0x20 || lead == 0x7f;
  }
  return length == 2 && lead == 0xc2 && static_cast<unsigned char>(text[at + 1]) < 0xa0;
}

}  // namespace

std::string printableText(std::string_view text) {
  std::string printable;
  printable.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8SequenceLength(text, at);
    if (length == 0) {
      printable += '?';  // one mark for each byte that belongs to no character
      ++at;
    } else if (isControl(text, at, length)) {
      printable += '?';
      at += length;
    } else {
      printable.append(text, at, length);
      at += length;
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
