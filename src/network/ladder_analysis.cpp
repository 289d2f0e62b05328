#include "network/ladder_analysis.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace bandmatch {

namespace {

std::size_t positionCount(const LadderNetwork& ladder) {
  return std::min(ladder.inductance.size(), ladder.capacitance.size());
}

// 1 / z in real arithmetic: the general complex division guards against overflow at several
// times the cost, and a part's impedance is far from those limits.
std::complex<double> reciprocal(std::complex<double> z) {
  return std::conj(z) / std::norm(z);
}

// The impedance of a series position's L-C, or the admittance of a shunt position's L-C. Parts
// without loss keep the plain reactance form, so a lossless ladder is computed exactly as ever.
std::complex<double> branchImmittance(const LadderNetwork& ladder, std::size_t index,
                                      double omega) {
  const std::complex<double> j(0.0, 1.0);
  const double inductance = ladder.inductance[index];
  const double capacitance = ladder.capacitance[index];
  const double inductorLoss = lossAt(ladder.inductorLoss, index);
  const double capacitorLoss = lossAt(ladder.capacitorLoss, index);
  const bool lossless = inductorLoss == 0.0 && capacitorLoss == 0.0;
  if (isSeriesPosition(ladder.loadType, static_cast<int>(index) + 1)) {
    const std::complex<double> reactance = j * (omega * inductance - 1.0 / (omega * capacitance));
    return lossless ? reactance : reactance + (inductorLoss + capacitorLoss);
  }
  if (lossless) {
    return j * (omega * capacitance - 1.0 / (omega * inductance));
  }
  return reciprocal({inductorLoss, omega * inductance}) +
         reciprocal({capacitorLoss, -1.0 / (omega * capacitance)});
}

}  // namespace

double angularFrequency(double frequencyMHz) {
  return 2.0 * std::numbers::pi * 1e6 * frequencyMHz;
}

bool isSeriesPosition(LoadType loadType, int position) {
  const bool odd = position % 2 == 1;
  return (loadType == LoadType::series) == odd;
}

double lossAt(const std::vector<double>& losses, std::size_t index) {
  return index < losses.size() ? losses[index] : 0.0;
}

bool hasLosses(const LadderNetwork& ladder) {
  const auto lossy = [](double loss) { return loss != 0.0; };
  return std::any_of(ladder.inductorLoss.begin(), ladder.inductorLoss.end(), lossy) ||
         std::any_of(ladder.capacitorLoss.begin(), ladder.capacitorLoss.end(), lossy);
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

double sourceResistanceAtLadder(const LadderNetwork& ladder) {
  if (!ladder.turnsRatio) {
    return ladder.sourceResistance;
  }
  return ladder.sourceResistance * *ladder.turnsRatio * *ladder.turnsRatio;
}

std::complex<double> inputImpedance(const LadderNetwork& ladder, double frequencyMHz) {
  return impedanceFromPosition(ladder, 1, {ladder.loadResistance, 0.0}, frequencyMHz);
}

std::complex<double> impedanceFromPosition(const LadderNetwork& ladder, int firstPosition,
                                           std::complex<double> terminal, double frequencyMHz) {
  const double omega = angularFrequency(frequencyMHz);
  const std::size_t positions = positionCount(ladder);

  // Walk from the load towards the source, adding one resonator at a time.
  std::complex<double> impedance = terminal;
  for (std::size_t index = static_cast<std::size_t>(std::max(firstPosition, 1)) - 1;
       index < positions; ++index) {
    const std::complex<double> branch = branchImmittance(ladder, index, omega);
    if (isSeriesPosition(ladder.loadType, static_cast<int>(index) + 1)) {
      impedance += branch;
    } else {
      impedance = 1.0 / (1.0 / impedance + branch);
    }
  }
  if (ladder.turnsRatio) {
    // An ideal transformer divides the impedance by the square of its turns ratio.
    impedance /= *ladder.turnsRatio * *ladder.turnsRatio;
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

double transducerGain(const LadderNetwork& ladder, double frequencyMHz) {
  const double omega = angularFrequency(frequencyMHz);
  const std::size_t positions = positionCount(ladder);

  // Voltage and current at each node for one ampere in the load, carried towards the source:
  // a series branch adds its voltage drop, a shunt branch the current it draws.
  std::complex<double> voltage(ladder.loadResistance, 0.0);
  std::complex<double> current(1.0, 0.0);
  for (std::size_t index = 0; index < positions; ++index) {
    const std::complex<double> branch = branchImmittance(ladder, index, omega);
    if (isSeriesPosition(ladder.loadType, static_cast<int>(index) + 1)) {
      voltage += branch * current;
    } else {
      current += branch * voltage;
    }
  }
  // The source seen from the ladder: EMF E through resistance Rs drives the ladder's end, so
  // E = V + Rs I; the load takes RL/2 of the available |E|^2 / (8 Rs) (peak amplitudes).
  const double source = sourceResistanceAtLadder(ladder);
  const std::complex<double> emf = voltage + source * current;
  return 4.0 * source * ladder.loadResistance / std::norm(emf);
}

}  // namespace bandmatch
