#include "rf/ladder_analysis.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace bandmatch {
bool isSeriesPosition(LoadType loadType, int position) {
  const bool odd = position % 2 == 1;
  return (loadType == LoadType::series) == odd;
}

LadderNetwork ladderFromDesign(const DesignCase& design) {
  const int positions = elementCount(design);
  LadderNetwork ladder;
  ladder.loadType = design.loadType;
  ladder.inductance.assign(design.L.begin() + 1, design.L.begin() + 1 + positions);
  ladder.capacitance.assign(design.C.begin() + 1, design.C.begin() + 1 + positions);
  ladder.loadResistance = design.loadResistance;
  ladder.sourceResistance = design.sourceResistance;
  return ladder;
}

std::complex<double> inputImpedance(const LadderNetwork& ladder, double frequencyMHz) {
  return impedanceFromPosition(ladder, 1, {ladder.loadResistance, 0.0}, frequencyMHz);
}

std::complex<double> impedanceFromPosition(const LadderNetwork& ladder, int firstPosition,
                                           std::complex<double> terminal, double frequencyMHz) {
  const double omega = 2.0 * std::numbers::pi * 1e6 * frequencyMHz;
  const std::complex<double> j(0.0, 1.0);
  const std::size_t positions = std::min(ladder.inductance.size(), ladder.capacitance.size());

  // Walk from the load towards the source, adding one resonator at a time.
  std::complex<double> impedance = terminal;
  for (std::size_t index = static_cast<std::size_t>(std::max(firstPosition, 1)) - 1;
       index < positions; ++index) {
    const double inductance = ladder.inductance[index];
    const double capacitance = ladder.capacitance[index];
    if (isSeriesPosition(ladder.loadType, static_cast<int>(index) + 1)) {
      impedance += j * (omega * inductance - 1.0 / (omega * capacitance));
    } else {
      const std::complex<double> admittance =
          1.0 / impedance + j * (omega * capacitance - 1.0 / (omega * inductance));
      impedance = 1.0 / admittance;
    }
  }
  return impedance;
}

std::complex<double> reflectionAtSource(const LadderNetwork& ladder,
                                        std::complex<double> impedance) {
  return (impedance - ladder.sourceResistance) / (impedance + ladder.sourceResistance);
}

std::complex<double> inputReflection(const LadderNetwork& ladder, double frequencyMHz) {
  return reflectionAtSource(ladder, inputImpedance(ladder, frequencyMHz));
}

}  // namespace bandmatch
