#include "export/ladder_analysis.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace bandmatch {
namespace {

// Position k is a series branch when it has the parity of the load's own resonator (position 1)
// and the load is a series load, or the other parity with a parallel load.
bool isSeriesBranch(LoadType loadType, std::size_t position) {
  const bool odd = position % 2 == 1;
  return (loadType == LoadType::series) == odd;
}

}  // namespace

LadderNetwork ladderFromDesign(const DesignCase& design) {
  // The record's arrays hold positions 1..MAX_ELEMENTS; a count outside that has no ladder.
  const int positions = std::clamp(design.N, 0, MAX_ELEMENTS);
  LadderNetwork ladder;
  ladder.loadType = design.loadType;
  ladder.inductance.assign(design.L.begin() + 1, design.L.begin() + 1 + positions);
  ladder.capacitance.assign(design.C.begin() + 1, design.C.begin() + 1 + positions);
  ladder.loadResistance = design.loadResistance;
  ladder.sourceResistance = design.sourceResistance;
  return ladder;
}

std::complex<double> inputImpedance(const LadderNetwork& ladder, double frequencyMHz) {
  const double pi = std::acos(-1.0);
  const double omega = 2.0 * pi * 1e6 * frequencyMHz;
  const std::complex<double> j(0.0, 1.0);
  const std::size_t positions = std::min(ladder.inductance.size(), ladder.capacitance.size());

  // Walk from the load towards the source, adding one resonator at a time.
  std::complex<double> impedance(ladder.loadResistance, 0.0);
  for (std::size_t index = 0; index < positions; ++index) {
    const double inductance = ladder.inductance[index];
    const double capacitance = ladder.capacitance[index];
    if (isSeriesBranch(ladder.loadType, index + 1)) {
      impedance += j * (omega * inductance - 1.0 / (omega * capacitance));
    } else {
      const std::complex<double> admittance =
          1.0 / impedance + j * (omega * capacitance - 1.0 / (omega * inductance));
      impedance = 1.0 / admittance;
    }
  }
  return impedance;
}

std::complex<double> inputReflection(const LadderNetwork& ladder, double frequencyMHz) {
  const std::complex<double> impedance = inputImpedance(ladder, frequencyMHz);
  return (impedance - ladder.sourceResistance) / (impedance + ladder.sourceResistance);
}

}  // namespace bandmatch
