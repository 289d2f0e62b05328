// AC analysis of a designed ladder network: the input impedance and reflection seen from the
// source. Works from the element values alone, independent of how they were synthesized.
#pragma once

#include <complex>
#include <vector>

#include "core/design_case.hpp"

namespace bandmatch {

// The ladder as built. Series load: the load resistance in series with the position-1 series
// L-C, then a shunt parallel L-C at position 2, alternating. Parallel load: the dual, position 1
// a shunt parallel L-C across the load resistance, position 2 a series L-C, alternating. The
// source resistance closes the ladder after position N.
struct LadderNetwork {
  LoadType loadType = LoadType::series;
  std::vector<double> inductance;   // henries, position k at index k - 1
  std::vector<double> capacitance;  // farads, position k at index k - 1
  double loadResistance = 0.0;      // ohms
  double sourceResistance = 0.0;    // ohms
};

// Whether position k (counted from the load, 1 = the load's own resonator) is a series L-C
// branch: the odd positions with a series load, the even ones with a parallel load.
bool isSeriesPosition(LoadType loadType, int position);

// The ladder of a synthesized design (positions 1..N of its L and C).
LadderNetwork ladderFromDesign(const DesignCase& design);

// Impedance looking from the source into the ladder, at a frequency in MHz.
std::complex<double> inputImpedance(const LadderNetwork& ladder, double frequencyMHz);

// Impedance looking from the source into positions firstPosition..N, when `terminal` is the
// impedance they see towards the load. With position 2 and a measured load (with its own
// resonator and any retuning element) as the terminal, this is the network on the real load.
std::complex<double> impedanceFromPosition(const LadderNetwork& ladder, int firstPosition,
                                           std::complex<double> terminal, double frequencyMHz);

// Reflection of an impedance referenced to the ladder's source resistance.
std::complex<double> reflectionAtSource(const LadderNetwork& ladder,
                                        std::complex<double> impedance);

// Input reflection coefficient referenced to the source resistance, at a frequency in MHz.
std::complex<double> inputReflection(const LadderNetwork& ladder, double frequencyMHz);

}  // namespace bandmatch
