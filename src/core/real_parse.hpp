// Reads a real number from text exactly as std::from_chars does, on every target: the C++ library
// of the WebAssembly build has no floating-point from_chars. The one reader of reals in files and
// option values.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace bandmatch {

// Reads the longest prefix of [first, last) that is a real in from_chars' general form: an
// optional '-', decimal digits with at most one point, an optional exponent; or "inf",
// "infinity", "nan", "nan(chars)" in any letter case. No leading blanks, no '+', no hexadecimal
// ("0x1p3" reads as 0 and stops at the x). As from_chars: invalid_argument, ptr == first and the
// value untouched when no number starts there; result_out_of_range, ptr past the number and the
// value untouched when it overflows to infinity or underflows to zero.
std::from_chars_result parseReal(const char* first, const char* last, double& value);

// The whole word as a finite real number in that form; nothing for an empty word, text after the
// number, or a number beyond the range of doubles.
std::optional<double> parseWholeReal(std::string_view word);

}  // namespace bandmatch
