// Untrusted text made safe to show: a file name inside a comment or an error message stays on
// its one line whatever bytes it holds.
#pragma once

#include <string>
#include <string_view>

namespace bandmatch {

// The text with every control character (line ends included) shown as '?'.
std::string printableText(std::string_view text);

// The text between double quotes, for messages that show what was found.
std::string quotedText(std::string_view text);

}  // namespace bandmatch
