// Helpers shared by the tests: a value read back from a printed "LABEL = value" line, comparison
// with values printed to a number of significant digits, and a design taken through the band
// quantities and the whole synthesis.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/design_case.hpp"
#include "support/sample_design.hpp"

namespace bandmatch::testing {

using support::synthesizedDesign;

// The value printed after "LABEL =" in a text, or NaN.
inline double printedValue(const std::string& text, const std::string& label) {
  const std::size_t at = text.find(label);
  if (at == std::string::npos) {
    return std::nan("");
  }
  return std::stod(text.substr(text.find('=', at) + 1));
}

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

}  // namespace bandmatch::testing
