// The frequencies of the export sweep around the band, the ladder's input reflection and
// transducer gain at each.
#pragma once

#include <complex>
#include <functional>
#include <optional>
#include <vector>

#include "network/ladder_analysis.hpp"

namespace bandmatch {

// The sweep of the exported files unless asked otherwise: 801 points over 1.5 times the band.
inline constexpr int DEFAULT_SWEEP_POINTS = 801;
inline constexpr double DEFAULT_SWEEP_SPAN = 1.5;

// Evenly spaced points from lowerMHz to upperMHz, both ends included.
struct Sweep {
  double lowerMHz = 0.0;
  double upperMHz = 0.0;
  int points = 0;
};

// The band f1..f2 widened to `span` times its width about its middle; the lower end is raised to
// f1 / 10 where it would fall below that, so the sweep stays at positive frequencies.
Sweep sweepAroundBand(double f1, double f2, double span, int points);

// The frequency of point i, 0 <= i < points; the last point is exactly upperMHz.
double sweepFrequency(const Sweep& sweep, int index);

struct FrequencyResponse {
  std::vector<double> frequencyMHz;
  std::vector<std::complex<double>> reflection;  // referenced to the source resistance
  // Load power over available source power; a ladder's response only (empty for a measured
  // load, whose losses are not known).
  std::vector<double> transducerGain;
};

// The reflection at each point of the sweep, from a function of the frequency in MHz.
FrequencyResponse analyseSweep(const std::function<std::complex<double>(double)>& reflectionAt,
                               const Sweep& sweep);

// The designed ladder's input reflection and transducer gain over the sweep.
FrequencyResponse analyseSweep(const LadderNetwork& ladder, const Sweep& sweep);

// The first frequency where the reflection or the gain is not finite: a network with a zero or
// infinite impedance somewhere gives no usable response.
std::optional<double> firstNonFiniteFrequency(const FrequencyResponse& response);

}  // namespace bandmatch
