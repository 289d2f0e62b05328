// Untrusted text made safe to show: a file name inside a comment or an error message stays on
// its one line whatever bytes it holds, and is UTF-8 wherever it is shown.
#pragma once

#include <string>
#include <string_view>

namespace bandmatch {

// The text with every control character (line ends included, C1 controls too) and every byte
// that is not part of a UTF-8 character (text in another encoding, binary data) shown as '?'.
std::string printableText(std::string_view text);

// The text between double quotes, for messages that show what was found.
std::string quotedText(std::string_view text);

}  // namespace bandmatch
