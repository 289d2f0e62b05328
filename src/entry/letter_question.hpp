// A question answered by one letter, in lower or upper case: its lines, the "Enter: " prompt,
// asked again from its line end until one of the offered letters is typed.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "console/console_input.hpp"
#include "core/text_sink.hpp"
#include "entry/refusal_reasons.hpp"

namespace bandmatch {

inline constexpr std::string_view ANSWER_PROMPT = "Enter: ";

// An answer letter, accepted in lower or upper case, and what it chooses.
template <typename Value>
struct LetterAnswer {
  char lower;
  char upper;
  Value value;
};

// Empty when the console input has ended before an offered letter was typed. Another letter is
// explained on `reasons` (see tellRefusal) before the question is asked again.
template <typename Value>
std::optional<Value> askLetter(std::istream& in, std::ostream& out,
                               std::span<const std::string_view> lines,
                               std::span<const LetterAnswer<Value>> answers,
                               std::ostream* reasons = nullptr) {
  std::string letters;
  for (const LetterAnswer<Value>& offered : answers) {
    letters += offered.lower;
  }
  for (;;) {
    writeLine(out);
    for (const std::string_view line : lines) {
      writeLine(out, line);
    }
    writeText(out, ANSWER_PROMPT);
    const std::optional<char> answer = readChoice(in, out);
    if (!answer) {
      return std::nullopt;
    }
    for (const LetterAnswer<Value>& offered : answers) {
      if (*answer == offered.lower || *answer == offered.upper) {
        return offered.value;
      }
    }
    tellRefusal(reasons, out, letterReason(letters));
  }
}

}  // namespace bandmatch
