#include "network/sweep.hpp"

#include <algorithm>
#include <cmath>

namespace bandmatch {

namespace {

// The sweep never reaches below a tenth of the lower band edge.
constexpr double LOWEST_FRACTION_OF_F1 = 0.1;

}  // namespace

Sweep sweepAroundBand(double f1, double f2, double span, int points) {
  const double widening = (span - 1.0) * (f2 - f1) / 2.0;
  Sweep sweep;
  sweep.lowerMHz = f1 - widening;
  const double floorMHz = f1 * LOWEST_FRACTION_OF_F1;
  if (sweep.lowerMHz < floorMHz) {
    sweep.lowerMHz = floorMHz;
  }
  sweep.upperMHz = f2 + widening;
  sweep.points = points;
  return sweep;
}

double sweepFrequency(const Sweep& sweep, int index) {
  if (index >= sweep.points - 1) {
    return sweep.upperMHz;
  }
  const double step = (sweep.upperMHz - sweep.lowerMHz) / (sweep.points - 1);
  return sweep.lowerMHz + step * index;
}

FrequencyResponse analyseSweep(const std::function<std::complex<double>(double)>& reflectionAt,
                               const Sweep& sweep) {
  FrequencyResponse response;
  response.frequencyMHz.reserve(static_cast<std::size_t>(sweep.points));
  response.reflection.reserve(static_cast<std::size_t>(sweep.points));
  response.transducerGain.reserve(static_cast<std::size_t>(sweep.points));
  for (int i = 0; i < sweep.points; ++i) {
    const double frequency = sweepFrequency(sweep, i);
    response.frequencyMHz.push_back(frequency);
    response.reflection.push_back(reflectionAt(frequency));
  }
  return response;
}

FrequencyResponse analyseSweep(const LadderNetwork& ladder, const Sweep& sweep) {
  FrequencyResponse response = analyseSweep(
      [&ladder](double frequency) { return inputReflection(ladder, frequency); }, sweep);
  response.transducerGain.reserve(response.frequencyMHz.size());
  for (const double frequency : response.frequencyMHz) {
    response.transducerGain.push_back(transducerGain(ladder, frequency));
  }
  return response;
}

std::optional<double> firstNonFiniteFrequency(const FrequencyResponse& response) {
  for (std::size_t i = 0; i < response.reflection.size(); ++i) {
    const std::complex<double> s11 = response.reflection[i];
    // A measured load's response has no gain: only its reflection is checked.
    const bool gainFinite =
        i >= response.transducerGain.size() || std::isfinite(response.transducerGain[i]);
    if (!std::isfinite(s11.real()) || !std::isfinite(s11.imag()) || !gainFinite) {
      return response.frequencyMHz[i];
    }
  }
  return std::nullopt;
}

}  // namespace bandmatch
