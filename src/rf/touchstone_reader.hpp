// Reads a measured or simulated one-port (a .s1p of a network analyser or an antenna simulator)
// as impedance against frequency: Touchstone version 1.x and 2.0, S, Y or Z parameters in any
// of the three number formats.
#pragma once

#include <complex>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bandmatch {

// The load's impedance at strictly increasing frequencies, with the file line each point
// starts on (for messages about the data).
struct MeasuredLoad {
  std::vector<double> frequencyMHz;
  std::vector<std::complex<double>> impedance;  // ohms
  std::vector<int> line;
};

// The data, or the reason the text is refused ("line N: what is wrong", one line).
struct TouchstoneReading {
  std::optional<MeasuredLoad> load;
  std::string error;
};

// Far above any analyser's or simulator's file of one port: a larger file is refused unread
// past this size, for this reason.
inline constexpr std::size_t LOAD_FILE_SIZE_LIMIT = std::size_t{64} << 20;
inline constexpr std::string_view LOAD_FILE_TOO_LARGE = "the file is far too large for a one-port";

// Interprets the whole text of a file; line ends may be "\n" or "\r\n".
TouchstoneReading readTouchstone(std::string_view text);

// The points that lie inside the band [f1, f2], first to last index, both included.
struct BandPoints {
  std::size_t first = 0;
  std::size_t last = 0;
  std::string error;  // set when the data do not cover the band or hold too few points in it
};

// A fit needs at least this many measured points inside the band.
inline constexpr std::size_t MIN_BAND_POINTS = 3;

BandPoints pointsInBand(const MeasuredLoad& load, double f1, double f2);

// The impedance at a frequency inside the data, linear in the real and imaginary parts between
// the two neighbouring points.
std::complex<double> interpolatedImpedance(const MeasuredLoad& load, double frequencyMHz);

}  // namespace bandmatch
