// Fano's gain-bandwidth equations for an equal-ripple match of N resonators, solved for the
// parameters A and B by a damped Newton - Raphson iteration.
#pragma once

#include "core/design_case.hpp"

namespace bandmatch {

// The iteration stops here at the latest; decrements far above the recommended range cannot
// reach the absolute tolerance in double precision.
inline constexpr int MAX_RESIDUAL_EVALUATIONS = 1000;
inline constexpr double FANO_TOLERANCE = 1e-9;

struct FanoSolution {
  double A = 0.0;
  double B = 0.0;
  double FV = 0.0;  // F1^2 + F2^2 at (A, B)
  int IT = 0;       // residual evaluations, at least 1
};

// ln(x + sqrt(x*x + 1)).
double inverseHyperbolicSine(double x);

// tanh(n*a)/cosh(a), evaluated as sinh(n*a) / (cosh(a) * cosh(n*a)).
double fanoFunction(double a, double n);

// d/da of fanoFunction.
double fanoDerivative(double a, double n);

// The iteration's empirical start point (A, B), with a negative B replaced by 0.001.
struct FanoStartPoint {
  double A = 0.0;
  double B = 0.0;
};
FanoStartPoint fanoStartPoint(int N, double decrement);

// Damped Newton - Raphson from fanoStartPoint; ends when FV <= FANO_TOLERANCE, when FV is not a
// number, or after MAX_RESIDUAL_EVALUATIONS evaluations, returning the A and B evaluated last.
FanoSolution solveFano(int N, double decrement);

// Solves for the pass's N and decrement and stores A, B, FV and IT.
void applyFanoSolution(DesignCase& design);

}  // namespace bandmatch
