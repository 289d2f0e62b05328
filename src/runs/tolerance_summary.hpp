// The lines a program prints after a tolerance analysis of a ladder or of a cascade: what was
// varied, the yield against the goal SWR with its interval, percentiles of the trials' worst SWR,
// and each part's effect on the worst reflection, largest first.
#pragma once

#include <string>
#include <vector>

#include "network/cascade_tolerance.hpp"
#include "network/part_sensitivity.hpp"
#include "network/tolerance.hpp"

namespace bandmatch {

// `positions` is N; `onMeasuredLoad` says the trials ran on a measured load.
std::string renderToleranceSummary(const ToleranceOptions& options, int positions,
                                   bool onMeasuredLoad, const ToleranceResult& result,
                                   double goalSwr,
                                   const std::vector<PartSensitivity>& sensitivities);

// The same lines for a cascade: its inductors, capacitors, lines and stubs with their tolerances
// and the parts named as cascadePartName names them.
std::string renderCascadeToleranceSummary(const CascadeToleranceOptions& options,
                                          const CascadeToleranceResult& result, double goalSwr);

// "Yield: 97.3 % of 10000 trials with SWR <= 2.00, 95 % interval 97.0 to 97.6 %".
std::string yieldLine(const YieldFigures& figures, double goalSwr);

}  // namespace bandmatch
