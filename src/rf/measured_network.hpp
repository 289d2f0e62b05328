// The designed network on a measured load: position 1 (the load's own resonator with the load
// resistance) replaced by the measured impedance, interpolated between the file's points, with
// the retuning element the fit computes for it; and the extremes of the reflection over a band.
#pragma once

#include <complex>
#include <functional>

#include "rf/ladder_analysis.hpp"
#include "rf/load_fit.hpp"
#include "rf/sweep.hpp"
#include "rf/touchstone_reader.hpp"

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

// The smallest and largest reflection magnitude over [f1, f2], found on a fine grid and refined
// around the grid's extremes, so that the figures do not depend on the export sweep.
struct ReflectionExtremes {
  double rhoMin = 0.0;
  double rhoMax = 0.0;
};
ReflectionExtremes reflectionExtremes(const std::function<double(double)>& magnitudeAt, double f1,
                                      double f2);

}  // namespace bandmatch
