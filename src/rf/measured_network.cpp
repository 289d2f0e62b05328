#include "rf/measured_network.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace bandmatch {

namespace {

constexpr int EXTREMES_GRID_POINTS = 2001;
constexpr int REFINEMENT_STEPS = 60;

// Golden-section search for the extremum (sign +1 minimum, -1 maximum) inside [low, high].
double refinedExtremum(const std::function<double(double)>& magnitudeAt, double low, double high,
                       double sign) {
  const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
  double inner1 = high - ratio * (high - low);
  double inner2 = low + ratio * (high - low);
  double value1 = sign * magnitudeAt(inner1);
  double value2 = sign * magnitudeAt(inner2);
  for (int step = 0; step < REFINEMENT_STEPS; ++step) {
    if (value1 < value2) {
      high = inner2;
      inner2 = inner1;
      value2 = value1;
      inner1 = high - ratio * (high - low);
      value1 = sign * magnitudeAt(inner1);
    } else {
      low = inner1;
      inner1 = inner2;
      value1 = value2;
      inner2 = low + ratio * (high - low);
      value2 = sign * magnitudeAt(inner2);
    }
  }
  return sign * std::min(value1, value2);
}

}  // namespace

std::complex<double> measuredLoadEnd(const MeasuredLoad& load, const Retuning& retuning,
                                     double frequencyMHz) {
  return withRetuning(retuning, interpolatedImpedance(load, frequencyMHz), frequencyMHz);
}

std::complex<double> measuredLoadReflection(const LadderNetwork& ladder, const MeasuredLoad& load,
                                            const Retuning& retuning, double frequencyMHz) {
  return reflectionAtSource(
      ladder, impedanceFromPosition(ladder, 2, measuredLoadEnd(load, retuning, frequencyMHz),
                                    frequencyMHz));
}

FrequencyResponse analyseSweepOnLoad(const LadderNetwork& ladder, const MeasuredLoad& load,
                                     const Retuning& retuning, const Sweep& sweep) {
  return analyseSweep(
      [&](double frequency) { return measuredLoadReflection(ladder, load, retuning, frequency); },
      sweep);
}

Sweep clippedToData(const Sweep& sweep, const MeasuredLoad& load) {
  Sweep clipped = sweep;
  clipped.lowerMHz = std::max(sweep.lowerMHz, load.frequencyMHz.front());
  clipped.upperMHz = std::min(sweep.upperMHz, load.frequencyMHz.back());
  return clipped;
}

ReflectionExtremes reflectionExtremes(const std::function<double(double)>& magnitudeAt, double f1,
                                      double f2) {
  std::vector<double> frequencies;
  std::vector<double> magnitudes;
  for (int i = 0; i < EXTREMES_GRID_POINTS; ++i) {
    const double f = i == EXTREMES_GRID_POINTS - 1
                         ? f2
                         : f1 + (f2 - f1) * static_cast<double>(i) / (EXTREMES_GRID_POINTS - 1);
    frequencies.push_back(f);
    magnitudes.push_back(magnitudeAt(f));
  }
  const auto lowest = std::min_element(magnitudes.begin(), magnitudes.end());
  const auto highest = std::max_element(magnitudes.begin(), magnitudes.end());
  // The extremum lies within one grid step of the grid's; the band edges bound the search.
  const auto around = [&](std::vector<double>::const_iterator at, double sign) {
    const auto index = static_cast<std::size_t>(at - magnitudes.begin());
    const double low = frequencies[index == 0 ? 0 : index - 1];
    const double high = frequencies[std::min(index + 1, frequencies.size() - 1)];
    const double refined = refinedExtremum(magnitudeAt, low, high, sign);
    return sign > 0.0 ? std::min(refined, *at) : std::max(refined, *at);
  };
  return {around(lowest, 1.0), around(highest, -1.0)};
}

}  // namespace bandmatch
