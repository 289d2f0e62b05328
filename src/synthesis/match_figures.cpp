#include "synthesis/match_figures.hpp"

#include <cmath>

namespace bandmatch {

double swrFromRho(double x) {
  return (1.0 + x) / (1.0 - x);
}

void computeMatchFigures(DesignCase& design) {
  const double n = static_cast<double>(design.N);
  const double nA = n * design.A;
  const double nB = n * design.B;

  // The equal-ripple reflection magnitude swings between these two values across the band.
  design.rhoMax = std::cosh(nB) / std::cosh(nA);
  design.rhoMin = std::sinh(nB) / std::sinh(nA);
  computeFiguresOfReflection(design);
}

void computeFiguresOfReflection(DesignCase& design) {
  design.swrMax = swrFromRho(design.rhoMax);
  design.swrMin = swrFromRho(design.rhoMin);

  design.returnLossMax = 20.0 * std::log10(design.rhoMax);
  design.returnLossMin = 20.0 * std::log10(design.rhoMin);

  design.mismatchLossMax = 10.0 * std::log10(1.0 - design.rhoMax * design.rhoMax);
  design.mismatchLossMin = 10.0 * std::log10(1.0 - design.rhoMin * design.rhoMin);
}

}  // namespace bandmatch
