// What each part of a network must stand when the source makes a given power available: the
// worst in-band peak voltage across it and RMS current through it, judged over the closed band
// like every other worst figure; for a cascade between any two ends and for today's resonator
// ladder on its model load or on a measured load.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

#include "network/ladder_analysis.hpp"
#include "network/load_fit.hpp"
#include "network/measured_load.hpp"
#include "network/network_end.hpp"
#include "network/two_port.hpp"

namespace bandmatch {

// A line is a line or a stub section: its figures are the largest along its whole length, from
// the end towards the source (a stub's input) to the other end (a stub's open or shorted end),
// where a standing wave can put them between the ends.
enum class StressedElement { inductor, capacitor, line };

// Peak voltage (the phasor's magnitude) and RMS current of one part, in volts and amperes. An
// inductor or capacitor counts with its loss resistance: the voltage is the one across its
// terminals.
struct PartStress {
  std::size_t section = 0;  // index in the cascade, 0 at the source end
  StressedElement element = StressedElement::inductor;
  double peakVoltage = 0.0;
  double rmsCurrent = 0.0;
};

// The peak EMF of a source of impedance `source` that makes `availablePower` watts available:
// |E|^2 = 8 P Re(Zs).
double sourceEmf(double availablePower, std::complex<double> source);

// Each part's stress at one frequency in MHz: inductors before capacitors within a section,
// sections from the source; a transformer has none.
std::vector<PartStress> cascadeStressAt(const CascadeNetwork& network, double frequencyMHz,
                                        std::complex<double> source, std::complex<double> load,
                                        double availablePower);

// Each part's worst stress over [f1, f2], the entries of cascadeStressAt: every figure sampled on
// the worst-case judge's grid (denser about the resonators' own resonances, with the measured
// points `dataMHz` of an end when given) and refined at each local maximum that could beat it.
std::vector<PartStress> cascadePartStress(const CascadeNetwork& network, const ImpedanceAt& sourceAt,
                                          const ImpedanceAt& loadAt, double f1, double f2,
                                          double availablePower,
                                          const std::vector<double>* dataMHz = nullptr);

// A part of the ladder to buy: an L or C of positions 2..N, or (position 1) a measured load's
// retuning element.
struct LadderPartStress {
  int position = 0;
  StressedElement element = StressedElement::inductor;
  double peakVoltage = 0.0;
  double rmsCurrent = 0.0;
};

// The ladder on its model load driven by its source resistance (through its transformer), each
// part's worst stress over [f1, f2]: positions N down to 2, the inductor before the capacitor.
std::vector<LadderPartStress> ladderPartStress(const LadderNetwork& ladder, double f1, double f2,
                                               double availablePower);

// The same on a measured load with its retuning element, which comes last (position 1).
std::vector<LadderPartStress> ladderPartStressOnLoad(const LadderNetwork& ladder,
                                                     const MeasuredLoad& load,
                                                     const Retuning& retuning, double f1,
                                                     double f2, double availablePower);

}  // namespace bandmatch
