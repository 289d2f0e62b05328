// Which parts of a built network its match depends on most: for each L and C of positions 2..N,
// the change of the worst in-band |S11| for +1 % of the part's value, by central difference, so
// that the user knows which parts to buy at 1 % or to make trimmable.
#pragma once

#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "rf/ladder_analysis.hpp"
#include "rf/tolerance.hpp"

namespace bandmatch {

struct PartSensitivity {
  int position = 0;
  PartKind kind = PartKind::inductor;
  double change = 0.0;  // of the worst in-band |S11|, for +1 % of the part
};

// The reflection of a ladder at a frequency in MHz: on its model load, or on a measured one.
using LadderReflection = std::function<std::complex<double>(const LadderNetwork&, double)>;

// One entry per part of positions 2..N, by position, the inductor before the capacitor. The
// worst |S11| over f1..f2 is taken on a fine grid refined around its peak, at -1 % and at +1 %
// of the part (its Q kept, as in the tolerance trials); the change is half their difference.
std::vector<PartSensitivity> partSensitivities(const LadderNetwork& network, double f1, double f2,
                                               const LadderReflection& reflection);

// The same entries, the largest change (either sign) first; equal ones keep their order.
std::vector<PartSensitivity> largestFirst(std::vector<PartSensitivity> sensitivities);

// "L(3)" or "C(3)".
std::string partName(const PartSensitivity& sensitivity);

// A change of |S11| as the summary and the list of parts show it ("-1.234e-003").
std::string formatSensitivity(double change);

}  // namespace bandmatch
