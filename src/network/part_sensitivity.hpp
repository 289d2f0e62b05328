// Which parts of a built network its match depends on most: for each L and C of positions 2..N
// and a measured load's retuning element, the change of the worst in-band |S11| for +1 % of the
// part's value, by central difference, so that the user knows which parts to buy at 1 % or to
// make trimmable.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "network/tolerance.hpp"

namespace bandmatch {

// The change of a worst |S11| for +1 % of a part, by central difference: half of its value with
// the part scaled by 1.01 less its value with the part scaled by 0.99, `worstAt` giving the worst
// |S11| with the part scaled by a factor. Ladders and cascades alike.
double changeForOnePercent(const std::function<double(double)>& worstAt);

struct PartSensitivity {
  int position = 0;  // 1 is a measured load's retuning element
  PartKind kind = PartKind::inductor;
  double change = 0.0;  // of the worst in-band |S11|, for +1 % of the part
};

// One entry per part of positions 2..N, by position, the inductor before the capacitor, then the
// retuning element when the problem has one. The worst |S11| over f1..f2 is judged at -1 % and
// at +1 % of the part (its Q kept, as in the tolerance trials); the change is half their
// difference.
std::vector<PartSensitivity> partSensitivities(const ToleranceProblem& problem);

// The same entries, the largest change (either sign) first; equal ones keep their order.
std::vector<PartSensitivity> largestFirst(std::vector<PartSensitivity> sensitivities);

// "L(3)" or "C(3)"; the retuning element is "L(1)" or "C(1)".
std::string partName(const PartSensitivity& sensitivity);

// A change of |S11| as the summary and the list of parts show it ("-1.234e-003").
std::string formatSensitivity(double change);

}  // namespace bandmatch
