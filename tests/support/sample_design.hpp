// A complete design for tests that need real synthesized values: entered with a direct decrement,
// a 50 ohm series load or a 0.02 siemens parallel load, fully synthesized.
#pragma once

#include "core/design_case.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/synthesis.hpp"

namespace bandmatch::support {

inline DesignCase synthesizedDesign(int n, double decrement, LoadType loadType, double f1,
                                    double f2) {
  DesignCase design;
  design.textFileName = "real.txt";
  design.csvFileName = "real.csv";
  design.N = n;
  design.method = Method::direct;
  design.loadType = loadType;
  design.f1 = f1;
  design.f2 = f2;
  computeBand(design);
  design.decrement = decrement;
  qFromDecrement(design);
  design.averageResistance = 50.0;
  design.averageConductance = 0.02;
  synthesize(design);
  return design;
}

}  // namespace bandmatch::support
