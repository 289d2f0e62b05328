#include "synthesis/band_and_load.hpp"

#include <cmath>
#include <numbers>

namespace bandmatch {

void computeBand(DesignCase& design) {
  // The geometric mean makes the band edges symmetric about f0 on the band-pass frequency
  // transformation, so both edges map to the prototype's cut-off.
  design.f0 = std::sqrt(design.f2 * design.f1);
  design.omega0 = std::numbers::pi * 1e6 * design.f0 * 2.0;
  design.matchBandwidth = design.f2 - design.f1;
  design.wm = design.matchBandwidth / design.f0;
}

void qFromDecrement(DesignCase& design) {
  design.loadQ = 1.0 / (design.decrement * design.wm);
}

void decrementFromQ(DesignCase& design) {
  design.decrement = 1.0 / (design.loadQ * design.wm);
}

void decrementFromLoad(DesignCase& design) {
  const double halfCenter = design.f0 * 0.5;
  if (design.loadType == LoadType::series) {
    design.reactanceSlope = (design.deltaReactance / design.deltaBandwidth) * halfCenter;
    design.decrement = (design.averageResistance / design.reactanceSlope) * (1.0 / design.wm);
  } else {
    design.susceptanceSlope = (design.deltaSusceptance / design.deltaBandwidth) * halfCenter;
    design.decrement = (design.averageConductance / design.susceptanceSlope) * (1.0 / design.wm);
  }
  qFromDecrement(design);
}

}  // namespace bandmatch
