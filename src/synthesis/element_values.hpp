// Scales the prototype values to the band-pass network: L(k) and C(k) of each resonator at the
// center frequency, and the load and source resistances.
#pragma once

#include "core/design_case.hpp"

namespace bandmatch {

// Fills L(1..N), C(1..N), loadResistance and sourceResistance.
void computeElementValues(DesignCase& design);

}  // namespace bandmatch
