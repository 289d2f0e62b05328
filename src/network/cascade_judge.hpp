// The worst-case judge's verdict on a cascade between two ends over a band: the power-wave
// reflection at the source port and, where any section has losses, the transducer gain.
#pragma once

#include <limits>
#include <vector>

#include "network/network_end.hpp"
#include "network/two_port.hpp"
#include "network/worst_case_judge.hpp"

namespace bandmatch {

// Whether any section has a finite Q or a line loss.
bool hasLosses(const CascadeNetwork& network);

// Frequencies in MHz where the response may change fast: the resonance of every section with an
// L and a C, and the frequencies where a stub's admittance has a pole (an open stub a quarter
// wave long, a short-circuited one half a wave), those up to `upperMHz`.
std::vector<double> cascadeResonances(const CascadeNetwork& network, double upperMHz);

// The measured points of either end, merged in ascending order, each once.
std::vector<double> endDataMHz(const NetworkEnd& source, const NetworkEnd& load);

// Judges the cascade over [f1, f2] MHz on a grid made denser about its resonances and holding
// every measured point of the ends inside the band; every local maximum of |Gamma| that could
// rise above `peaksAbove` is located. A response that is not finite somewhere judges as an
// infinite worst |Gamma| and a zero worst gain.
JudgedBand judgeCascade(const CascadeNetwork& network, const NetworkEnd& source,
                        const NetworkEnd& load, double f1, double f2,
                        double peaksAbove = std::numeric_limits<double>::infinity());

}  // namespace bandmatch
