// A hand-filled design record for the report tests. The values are chosen for how they print,
// not for being a consistent design, and every field of every method and load type is set, so a
// report that shows a field its case does not own gives itself away.
#pragma once

#include "core/design_case.hpp"

namespace bandmatch::testing {

inline DesignCase sampleDesign(Method method, LoadType loadType, int n) {
  DesignCase design;
  design.textFileName = "case.txt";
  design.csvFileName = "case.csv";
  design.N = n;
  design.method = method;
  design.loadType = loadType;
  design.f1 = 0.5;
  design.f2 = 300.0;
  design.f0 = 12.25;
  design.omega0 = 7.7e7;
  design.matchBandwidth = 299.5;
  design.wm = 0.125;
  design.decrement = 2.5;
  design.loadQ = 0.25;
  design.averageResistance = 1000000.0;
  design.averageConductance = 0.04;
  design.deltaBandwidth = 0.5;
  design.deltaReactance = 30.0;
  design.deltaSusceptance = 0.006;
  design.reactanceSlope = 350.0;
  design.susceptanceSlope = 0.0075;
  design.FV = 4.5e-10;
  design.IT = 12;
  design.A = 1.25;
  design.B = 0.375;
  design.rhoMin = 0.0625;
  design.rhoMax = 0.125;
  design.mismatchLossMin = -0.017;
  design.mismatchLossMax = -0.068;
  design.returnLossMin = -24.08;
  design.returnLossMax = -18.06;
  design.swrMin = 1.133;
  design.swrMax = 1.286;
  // g(i) = 1 + i/8 and element i of i·1e-7 H and i·1e-11 F, over the whole capacity, so entries
  // beyond N are there to be (wrongly) shown.
  for (int i = 0; i < VALUE_CAPACITY; ++i) {
    design.g[i] = 1.0 + i / 8.0;
    design.L[i] = i * 1e-7;
    design.C[i] = i * 1e-11;
  }
  design.loadResistance = 20.0;
  design.sourceResistance = 62.5;
  return design;
}

}  // namespace bandmatch::testing
