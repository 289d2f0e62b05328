#include "network/measured_network.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace bandmatch {

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

std::vector<double> ladderResonances(const LadderNetwork& ladder) {
  std::vector<double> resonances;
  const std::size_t positions = std::min(ladder.inductance.size(), ladder.capacitance.size());
  for (std::size_t index = 0; index < positions; ++index) {
    const double product = ladder.inductance[index] * ladder.capacitance[index];
    if (product > 0.0 && std::isfinite(product)) {
      resonances.push_back(1.0 / (2.0 * std::numbers::pi * std::sqrt(product)) / 1e6);
    }
  }
  return resonances;
}

BandToJudge ladderBand(const LadderNetwork& ladder, double f1, double f2) {
  BandToJudge band;
  band.f1 = f1;
  band.f2 = f2;
  band.reflectionAt = [&ladder](double f) { return inputReflection(ladder, f); };
  if (hasLosses(ladder)) {
    band.gainAt = [&ladder](double f) { return transducerGain(ladder, f); };
  }
  band.resonanceMHz = ladderResonances(ladder);
  return band;
}

BandToJudge ladderBandOnLoad(const LadderNetwork& ladder, const MeasuredLoad& load,
                             const Retuning& retuning, double f1, double f2) {
  BandToJudge band;
  band.f1 = f1;
  band.f2 = f2;
  band.reflectionAt = [&ladder, &load, &retuning](double f) {
    return measuredLoadReflection(ladder, load, retuning, f);
  };
  band.resonanceMHz = ladderResonances(ladder);
  band.dataMHz = &load.frequencyMHz;
  return band;
}

}  // namespace bandmatch
