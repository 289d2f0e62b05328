// Normalized low-pass prototype values g(0)..g(N+1) of the equal-ripple match.
#pragma once

#include "core/design_case.hpp"

namespace bandmatch {

// 4 sin(pi/n (i - 0.5)) sin(pi/n (i + 0.5)).
double levyNumerator(int i, int n);

// sin^2(pi/n i) + sinh^2(b) + sinh^2(a) - 2 cos(pi/n i) sinh(a) sinh(b).
double levyDenominator(double a, double b, int i, int n);

// Fills g(0)..g(N+1) from N, decrement, A and B; higher indices are left alone.
void computePrototypeValues(DesignCase& design);

}  // namespace bandmatch
