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

// Interprets the whole text of a file; line ends may be "\n" or "\r\n", and a UTF-8 byte-order
// mark at the start, as some editors write one, is skipped.
TouchstoneReading readTouchstone(std::string_view text);

// Relative distance within which a point's frequency counts as a band edge: a file in GHz, kHz or
// Hz lands on an edge typed in MHz only to within a few units in the last place.
inline constexpr double BAND_EDGE_TOLERANCE = 1e-9;

// The points that lie inside the band [f1, f2] (edges within BAND_EDGE_TOLERANCE), first to last
// index, both included.
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

// A frequency at which the load gives power back: its resistance is negative.
struct ActivePoint {
  double frequencyMHz = 0.0;
  double resistance = 0.0;  // ohms
};

// The lowest frequency at which the load, as the programs use it over [fromMHz, toMHz] clipped to
// the data, is active: each point in the range and the values interpolated at its edges (between
// passive points the interpolation stays passive). Nothing when the load is passive there.
std::optional<ActivePoint> firstActivePoint(const MeasuredLoad& load, double fromMHz, double toMHz);

// Why an active load is refused: "the load is active at F MHz (resistance R ohms); only a passive
// load can be matched".
std::string activeLoadReason(const ActivePoint& point);

}  // namespace bandmatch
