// Reads a measured or simulated one-port (a .s1p of a network analyser or an antenna simulator)
// as impedance against frequency: Touchstone version 1.x and 2.0, S, Y or Z parameters in any
// of the three number formats.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "network/measured_load.hpp"

namespace bandmatch {

// The data, or the reason the text is refused ("line N: what is wrong", one line).
struct TouchstoneReading {
  std::optional<MeasuredLoad> load;
  std::string error;
};

// Far above any analyser's or simulator's file of one port: a larger file is refused unread
// past this size, for this reason.
inline constexpr std::size_t LOAD_FILE_SIZE_LIMIT = std::size_t{64} << 20;
inline constexpr std::string_view LOAD_FILE_TOO_LARGE = "the file is far too large for a one-port";

// Interprets the whole text of a file; line ends may be "\n" or "\r\n", and a UTF-8 byte-order
// mark at the start, as some editors write one, is skipped.
TouchstoneReading readTouchstone(std::string_view text);

}  // namespace bandmatch
