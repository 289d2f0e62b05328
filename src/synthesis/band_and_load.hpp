// Band and load quantities: center frequency, match bandwidth, fractional bandwidth, and the
// conversions between load decrement, load Q and the load's slope parameters.
#pragma once

#include "core/design_case.hpp"

namespace bandmatch {

// From f1 and f2: f0 (geometric mean), omega0, matchBandwidth and wm.
void computeBand(DesignCase& design);

// loadQ = 1 / (decrement * wm).
void qFromDecrement(DesignCase& design);

// decrement = 1 / (loadQ * wm).
void decrementFromQ(DesignCase& design);

// Slope parameter of the load type from the load parameters, then the decrement, then loadQ.
void decrementFromLoad(DesignCase& design);

}  // namespace bandmatch
