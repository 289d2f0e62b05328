// Quality of the best equal-ripple match: reflection coefficient magnitudes over the band and
// the mismatch loss, return loss and SWR of each.
#pragma once

#include "core/design_case.hpp"

namespace bandmatch {

// (1 + x) / (1 - x).
double swrFromRho(double x);

// Fills rhoMin, rhoMax and the six figures derived from them, from N, A and B.
void computeMatchFigures(DesignCase& design);

// Fills the SWR, return loss and mismatch loss of rhoMin and of rhoMax from those two.
void computeFiguresOfReflection(DesignCase& design);

}  // namespace bandmatch
