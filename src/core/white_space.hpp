// White space in typed answers and in the lines of input files: which characters it is, and a
// word without the white space around it.
#pragma once

#include <string_view>

namespace bandmatch {

// The blank, tab, newline, carriage return, vertical tab and form feed.
bool isWhiteSpace(char c);

// The text without the white space at its start and at its end.
std::string_view trimmed(std::string_view text);

}  // namespace bandmatch
