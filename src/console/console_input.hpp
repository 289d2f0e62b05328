// The console readers: whitespace-delimited words, strict decimal numbers and answer letters.
// Every reader flushes the console output before it waits, and says when the session cannot go
// on: the input has ended, or the console output can no longer be written.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace bandmatch {

// Longest number word accepted; longer words are read whole but refused as numbers.
inline constexpr std::size_t TOKEN_CAPACITY = 39;
// Longest result file name the prompt promises; longer names are accepted as typed.
inline constexpr std::size_t RESULT_NAME_CAPACITY = 35;
// Value the number readers return for a refused word; it lies below every accepted range.
inline constexpr int REFUSED_INTEGER = -1;
inline constexpr double REFUSED_REAL = -1.0;

// Whether a question got its answer, or the session cannot go on (the input ran out first, or
// the console output failed).
enum class EntryStatus { complete, inputEnded };

// The next word, skipping white space (line ends included); the white space that ends the word
// stays in the input. Empty optional when the input ends before any character of a word, or when
// the console output cannot be written (the stream then reports the failure).
std::optional<std::string> readWord(std::istream& in, std::ostream& out);

// The next word as a non-negative integer, or REFUSED_INTEGER for a refused word.
std::optional<int> readInteger(std::istream& in, std::ostream& out);

// The next word as a non-negative real, or REFUSED_REAL for a refused word.
std::optional<double> readReal(std::istream& in, std::ostream& out);

// The next character that is not white space; the rest of the line stays in the input. Empty
// as for readWord.
std::optional<char> readChoice(std::istream& in, std::ostream& out);

// Conversion rules of the number readers, on a word already taken.
int integerFromWord(std::string_view word);
double realFromWord(std::string_view word);

}  // namespace bandmatch
