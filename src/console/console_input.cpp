#include "console/console_input.hpp"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/white_space.hpp"

namespace bandmatch {

namespace {

constexpr double LARGEST_INTEGER = std::numeric_limits<std::int32_t>::max();

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int digitValue(char c) {
  return c - '0';
}

// Flushes the prompt before the program waits; false when it cannot be written, so that no
// question is asked again without end on a console nobody can see.
bool flushConsole(std::ostream& out) {
  errno = 0;  // so that a failure leaves its own reason for the message that follows
  out.flush();
  return static_cast<bool>(out);
}

// Skips white space; false when the input ends first.
bool skipWhiteSpace(std::istream& in) {
  for (;;) {
    const auto next = in.peek();
    if (next == std::istream::traits_type::eof()) {
      return false;
    }
    if (!isWhiteSpace(static_cast<char>(next))) {
      return true;
    }
    in.get();
  }
}

}  // namespace

std::optional<std::string> readWord(std::istream& in, std::ostream& out) {
  if (!flushConsole(out) || !skipWhiteSpace(in)) {
    return std::nullopt;
  }
  std::string word;
  for (auto next = in.peek(); next != std::istream::traits_type::eof(); next = in.peek()) {
    const char c = static_cast<char>(next);
    if (isWhiteSpace(c)) {
      break;
    }
    word += c;
    in.get();
  }
  return word;
}

std::optional<int> readInteger(std::istream& in, std::ostream& out) {
  const auto word = readWord(in, out);
  if (!word) {
    return std::nullopt;
  }
  return integerFromWord(*word);
}

std::optional<double> readReal(std::istream& in, std::ostream& out) {
  const auto word = readWord(in, out);
  if (!word) {
    return std::nullopt;
  }
  return realFromWord(*word);
}

std::optional<char> readChoice(std::istream& in, std::ostream& out) {
  if (!flushConsole(out) || !skipWhiteSpace(in)) {
    return std::nullopt;
  }
  return static_cast<char>(in.get());
}

int integerFromWord(std::string_view word) {
  if (word.size() > TOKEN_CAPACITY) {
    return REFUSED_INTEGER;
  }
  for (const char c : word) {
    if (!isDigit(c)) {
      return REFUSED_INTEGER;
    }
  }
  // Each digit adds its value times a real power of ten, from the most significant down.
  double accumulator = 0.0;
  int power = static_cast<int>(word.size()) - 1;
  for (const char c : word) {
    accumulator += std::pow(10.0, power) * digitValue(c);
    --power;
  }
  if (accumulator < 0.0 || accumulator > LARGEST_INTEGER) {
    return REFUSED_INTEGER;
  }
  return static_cast<int>(accumulator);
}

double realFromWord(std::string_view word) {
  if (word.size() > TOKEN_CAPACITY) {
    return REFUSED_REAL;
  }
  std::size_t point = word.size();  // no point: every digit belongs to the whole part
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '.' && point == word.size()) {
      point = i;
    } else if (!isDigit(word[i])) {
      return REFUSED_REAL;
    }
  }
  // The value is the sum of digit times 10^weight, formed term by term from the left; it need
  // not be the correctly rounded value of the decimal text.
  double accumulator = 0.0;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (i == point) {
      continue;
    }
    const int weight = i < point ? static_cast<int>(point - 1 - i) : -static_cast<int>(i - point);
    accumulator += digitValue(word[i]) * std::pow(10.0, weight);
  }
  return accumulator < 0.0 ? REFUSED_REAL : accumulator;
}

}  // namespace bandmatch
