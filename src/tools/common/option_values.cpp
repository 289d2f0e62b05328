#include "tools/common/option_values.hpp"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/real_parse.hpp"

namespace bandmatch {

std::optional<int> parseWholeInteger(std::string_view word) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (word.empty() || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> parseWholeReal(std::string_view word) {
  double value = 0.0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = parseReal(word.data(), end, value);
  if (word.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace bandmatch
