// The designed network on a measured load: position 1 (the load's own resonator with the load
// resistance) replaced by the measured impedance, interpolated between the file's points, with
// the retuning element the fit computes for it; and the band the worst-case judge takes of it.
#pragma once

#include <complex>
#include <functional>

#include "network/ladder_analysis.hpp"
#include "network/load_fit.hpp"
#include "network/sweep.hpp"
#include "network/measured_load.hpp"
#include "network/worst_case_judge.hpp"

namespace bandmatch {

// The impedance position 2 sees towards the measured load: the load with its retuning element.
std::complex<double> measuredLoadEnd(const MeasuredLoad& load, const Retuning& retuning,
                                     double frequencyMHz);

// The ladder's input reflection at a frequency in MHz, referenced to its source resistance.
std::complex<double> measuredLoadReflection(const LadderNetwork& ladder, const MeasuredLoad& load,
                                            const Retuning& retuning, double frequencyMHz);

FrequencyResponse analyseSweepOnLoad(const LadderNetwork& ladder, const MeasuredLoad& load,
                                     const Retuning& retuning, const Sweep& sweep);

// The sweep narrowed to the data's frequencies where it reaches beyond them; the same points.
Sweep clippedToData(const Sweep& sweep, const MeasuredLoad& load);

// The band of a ladder for the worst-case judge: on its model load, with its transducer gain
// when it has losses; the judge's grid is made denser about the resonators' own resonances.
// The ladder must outlive the result.
BandToJudge ladderBand(const LadderNetwork& ladder, double f1, double f2);

// The same on a measured load with its retuning element (no gain: the load's losses are not
// known); every measured point inside the band is a point of the judge's grid. The ladder, the
// load and the retuning element must outlive the result.
BandToJudge ladderBandOnLoad(const LadderNetwork& ladder, const MeasuredLoad& load,
                             const Retuning& retuning, double f1, double f2);

// The resonance of each position that has both an L and a C, in MHz.
std::vector<double> ladderResonances(const LadderNetwork& ladder);

}  // namespace bandmatch
