// The values of command-line options, read strictly: the whole word must be the number. Reals
// are read by parseWholeReal (core/real_parse.hpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace bandmatch {

// The whole word as a decimal integer; signs, blanks and exponents are refused.
std::optional<int> parseWholeInteger(std::string_view word);

// The whole word as an unsigned 64-bit decimal integer; signs, blanks and exponents are refused.
std::optional<std::uint64_t> parseWholeUnsigned(std::string_view word);

}  // namespace bandmatch
