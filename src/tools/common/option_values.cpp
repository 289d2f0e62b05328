#include "tools/common/option_values.hpp"

#include <charconv>
#include <system_error>

namespace bandmatch {

namespace {

// std::from_chars takes a minus sign for signed types only, and never a plus sign or a blank.
template <typename Integer>
std::optional<Integer> wholeInteger(std::string_view word) {
  Integer value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (word.empty() || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int> parseWholeInteger(std::string_view word) {
  return wholeInteger<int>(word);
}

std::optional<std::uint64_t> parseWholeUnsigned(std::string_view word) {
  return wholeInteger<std::uint64_t>(word);
}

}  // namespace bandmatch
