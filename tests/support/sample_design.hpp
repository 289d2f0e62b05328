// A complete design for tests that need real synthesized values, and the same as the exporter
// reads it back from its report: entered with a direct decrement, a 50 ohm series load or a
// 0.02 siemens parallel load, fully synthesized.
#pragma once

#include "core/design_case.hpp"
#include "network/reported_design.hpp"
#include "network/ladder_analysis.hpp"
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

// The same design as the exporter reads it back from its CSV report.
inline ReportedDesign reportedDesign(int n, double decrement, LoadType loadType, double f1,
                                     double f2) {
  const DesignCase design = synthesizedDesign(n, decrement, loadType, f1, f2);
  ReportedDesign reported;
  reported.N = n;
  reported.loadType = loadType;
  reported.f1 = f1;
  reported.f2 = f2;
  reported.rhoMin = design.rhoMin;
  reported.rhoMax = design.rhoMax;
  reported.ladder = ladderFromDesign(design);
  return reported;
}

}  // namespace bandmatch::support
