// A measured or simulated one-port as the programs use it: impedance against frequency, the
// points inside a band, the impedance between points, and where the load is active.
#pragma once

#include <complex>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace bandmatch {

// The load's impedance at strictly increasing frequencies, with the file line each point
// starts on (for messages about the data).
struct MeasuredLoad {
  std::vector<double> frequencyMHz;
  std::vector<std::complex<double>> impedance;  // ohms
  std::vector<int> line;
};

// "line N: ", how a refusal names the line of the file it is about; nothing for line 0, the line
// of a point given as numbers rather than read from a file.
std::string lineText(int line);

// Adds a point after the load's last one, or gives the reason it cannot follow them (one line,
// the line not named): a frequency that is not finite or is negative, frequencies not strictly
// increasing, an impedance that is not finite. `line` is the file line the point starts on.
std::string appendPoint(MeasuredLoad& load, double frequencyMHz, std::complex<double> impedance,
                        int line);

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

// Why the data do not cover the band [f1, f2] (edges within BAND_EDGE_TOLERANCE): no points, or
// the first one above f1, or the last one below f2, naming that point's line; empty when they do.
std::string bandCoverage(const MeasuredLoad& load, double f1, double f2);

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
