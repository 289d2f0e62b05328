// The one writer of console and report text. Lines are not flushed one by one: the console is
// flushed before every read and before the program ends, and report files are written whole.
#pragma once

#include <ostream>
#include <string_view>

namespace bandmatch {

// Writes the text and a newline.
void writeLine(std::ostream& out, std::string_view text = {});

// Writes text without a line end (prompts, and the first parts of composed lines).
void writeText(std::ostream& out, std::string_view text);

}  // namespace bandmatch
