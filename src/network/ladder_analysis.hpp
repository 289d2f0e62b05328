// AC analysis of a designed ladder network: the input impedance and reflection seen from the
// source, and the power that reaches the load. Works from the element values alone, independent
// of how they were synthesized.
#pragma once

#include <complex>
#include <optional>
#include <vector>

#include "core/design_case.hpp"

namespace bandmatch {

// The ladder as built. Series load: the load resistance in series with the position-1 series
// L-C, then a shunt parallel L-C at position 2, alternating. Parallel load: the dual, position 1
// a shunt parallel L-C across the load resistance, position 2 a series L-C, alternating. The
// source resistance closes the ladder after position N, through an ideal transformer when one
// is given.
struct LadderNetwork {
  LoadType loadType = LoadType::series;
  std::vector<double> inductance;   // henries, position k at index k - 1
  std::vector<double> capacitance;  // farads, position k at index k - 1
  // Series loss resistance of each inductor and each capacitor in ohms, constant over frequency;
  // a missing entry is a lossless part.
  std::vector<double> inductorLoss;
  std::vector<double> capacitorLoss;
  double loadResistance = 0.0;    // ohms
  double sourceResistance = 0.0;  // ohms, of the source itself
  // Turns ratio n (ladder side over source side) of an ideal transformer between the source and
  // the ladder's source end: the ladder sees the source as n^2 times its resistance.
  std::optional<double> turnsRatio;
};

// Radians per second of a frequency in MHz.
double angularFrequency(double frequencyMHz);

// Whether position k (counted from the load, 1 = the load's own resonator) is a series L-C
// branch: the odd positions with a series load, the even ones with a parallel load.
bool isSeriesPosition(LoadType loadType, int position);

// The loss resistance of the part at `index` (position - 1) of a loss list, zero where the list
// gives none.
double lossAt(const std::vector<double>& losses, std::size_t index);

// Whether any part of the ladder has a loss resistance.
bool hasLosses(const LadderNetwork& ladder);

// The ladder of a synthesized design (positions 1..N of its L and C).
LadderNetwork ladderFromDesign(const DesignCase& design);

// The source resistance as the ladder's source end sees it, through the transformer if any.
double sourceResistanceAtLadder(const LadderNetwork& ladder);

// Impedance the source sees looking into the network (transformer included), at a frequency in
// MHz.
std::complex<double> inputImpedance(const LadderNetwork& ladder, double frequencyMHz);

// Impedance the source sees looking into positions firstPosition..N (transformer included),
// when `terminal` is the impedance they see towards the load. With position 2 and a measured load
// (with its own resonator and any retuning element) as the terminal, this is the network on the
// real load.
std::complex<double> impedanceFromPosition(const LadderNetwork& ladder, int firstPosition,
                                           std::complex<double> terminal, double frequencyMHz);

// Reflection of an impedance referenced to the ladder's source resistance.
std::complex<double> reflectionAtSource(const LadderNetwork& ladder,
                                        std::complex<double> impedance);

// Input reflection coefficient referenced to the source resistance, at a frequency in MHz.
std::complex<double> inputReflection(const LadderNetwork& ladder, double frequencyMHz);

// Transducer power gain: the power in the load resistance over the power the source makes
// available, at a frequency in MHz. Equals 1 - |reflection|^2 when no part has losses.
double transducerGain(const LadderNetwork& ladder, double frequencyMHz);

}  // namespace bandmatch
