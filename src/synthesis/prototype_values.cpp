#include "synthesis/prototype_values.hpp"

#include <cmath>
#include <numbers>

namespace bandmatch {

double levyNumerator(int i, int n) {
  const double step = std::numbers::pi / static_cast<double>(n);
  const double index = static_cast<double>(i);
  return 4.0 * std::sin(step * (index - 0.5)) * std::sin(step * (index + 0.5));
}

double levyDenominator(double a, double b, int i, int n) {
  const double angle = std::numbers::pi / static_cast<double>(n) * static_cast<double>(i);
  const double sinAngle = std::sin(angle);
  const double sinhA = std::sinh(a);
  const double sinhB = std::sinh(b);
  return sinAngle * sinAngle + sinhB * sinhB + sinhA * sinhA -
         2.0 * std::cos(angle) * sinhA * sinhB;
}

void computePrototypeValues(DesignCase& design) {
  const int n = design.N;
  // The dialogue bounds N; a count outside 1..10 would index past the prototype array.
  if (!isValidElementCount(n)) {
    return;
  }
  ValueArray& g = design.g;

  g[0] = 1.0;
  g[1] = 1.0 / design.decrement;
  // Each value is the recurrence's quotient over the one before it, so the order is fixed.
  for (int i = 1; i <= n - 1; ++i) {
    g[i + 1] = levyNumerator(i, n) / (levyDenominator(design.A, design.B, i, n) * g[i]);
  }
  const double s = std::sin(std::numbers::pi * 0.5 / static_cast<double>(n));
  g[n + 1] = 2.0 * s / ((std::sinh(design.A) + std::sinh(design.B)) * g[n]);
}

}  // namespace bandmatch
