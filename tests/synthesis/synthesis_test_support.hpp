// Helpers shared by the synthesis tests: comparison with values printed to a number of
// significant digits, and a design taken through the band quantities and the whole synthesis.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "run/design_case.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/synthesis.hpp"

namespace bandmatch::testing {

// Passes when `actual` is within `slackUnits` units of the last printed digit of `printed`,
// a value printed to `significantDigits` significant digits. Half a unit means "rounds to it".
inline ::testing::AssertionResult matchesPrinted(double actual, double printed,
                                                 int significantDigits, double slackUnits = 0.5) {
  const double unit =
      std::pow(10.0, std::floor(std::log10(std::fabs(printed))) - significantDigits + 1);
  const double tolerance = slackUnits * unit * (1.0 + 1e-9);
  if (std::fabs(actual - printed) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << actual << " does not print as " << printed << " to "
                                       << significantDigits << " significant digits";
}

// A design entered with a direct decrement, 50 ohms or 0.02 siemens, fully synthesized.
inline DesignCase synthesizedDesign(int n, double decrement, LoadType loadType, double f1,
                                    double f2) {
  DesignCase design;
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

}  // namespace bandmatch::testing
