// The one-line reason a person typing at a terminal is given when an answer is refused, worded
// from the same ranges and letters the dialogue checks the answers against.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace bandmatch {

struct ValueRange;

// What starts every line the console program writes on its error stream.
inline constexpr std::string_view MESSAGE_LEAD = "bandmatch: ";

// The range in words, its bounds with `digits` after the point: "from 0.010 to 20.000",
// "above 10.000000 and below 1000000.000000", "above 0 and at most 1000000", "at least 1 and
// below 2".
std::string rangeText(const ValueRange& range, int digits);

// "not a number above 10.000000 and below 1000000.000000".
std::string numberReason(const ValueRange& range, int digits);

// "not a whole number from 1 to 10".
std::string wholeNumberReason(int low, int high);

// "answer d, l or q": the offered letters, in the order offered.
std::string letterReason(std::string_view letters);

// Writes "bandmatch: REASON" as one line on `reasons`, after the console text written before it.
// `reasons` is the error stream when the answers are typed at a terminal, and null when they
// come from a pipe or a file: a script's error stream stays as it always was.
void tellRefusal(std::ostream* reasons, std::ostream& out, std::string_view reason);

}  // namespace bandmatch
