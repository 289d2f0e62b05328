// The one writer of console and report text: every line ends with a newline and is flushed at
// once, so a prompt or a report line is visible and on disk as soon as it is written.
#pragma once

#include <ostream>
#include <string_view>

namespace bandmatch {

// Writes the text, a newline, and flushes.
void writeLine(std::ostream& out, std::string_view text = {});

// Writes text without a line end (prompts, and the first parts of composed lines).
void writeText(std::ostream& out, std::string_view text);

}  // namespace bandmatch
