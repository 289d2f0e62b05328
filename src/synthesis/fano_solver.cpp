#include "synthesis/fano_solver.hpp"

#include <cmath>
#include <numbers>

namespace bandmatch {
namespace {

// The four hyperbolic values that the Fano equations and their Jacobian need at one parameter x.
// Computing them once per iteration gives the same bits as calling the public functions, which
// evaluate through the same helpers below, at a third of the cost.
struct Hyperbolics {
  double sinhX;
  double coshX;
  double sinhNX;
  double coshNX;
};

Hyperbolics hyperbolicsAt(double a, double n) {
  const double na = n * a;
  return {std::sinh(a), std::cosh(a), std::sinh(na), std::cosh(na)};
}

double fanoFunctionOf(const Hyperbolics& h) {
  return h.sinhNX / (h.coshX * h.coshNX);
}

double fanoDerivativeOf(const Hyperbolics& h, double n) {
  return (n - h.sinhX * h.sinhNX * h.coshNX / h.coshX) / (h.coshX * (h.coshNX * h.coshNX));
}

}  // namespace

double inverseHyperbolicSine(double x) {
  return std::log(x + std::sqrt(x * x + 1.0));
}

double fanoFunction(double a, double n) {
  return fanoFunctionOf(hyperbolicsAt(a, n));
}

double fanoDerivative(double a, double n) {
  return fanoDerivativeOf(hyperbolicsAt(a, n), n);
}

FanoStartPoint fanoStartPoint(int N, double decrement) {
  const double s = std::sin(std::numbers::pi * 0.5 / static_cast<double>(N));
  const double k = 1.7 * std::pow(decrement, -0.6);
  FanoStartPoint start{inverseHyperbolicSine(s * (k + 1.0) * decrement),
                       inverseHyperbolicSine(s * (k - 1.0) * decrement)};
  // Above a decrement of about 2.42 the formula gives a negative B, which no physical match has.
  if (start.B < 0.0) {
    start.B = 0.001;
  }
  return start;
}

FanoSolution solveFano(int N, double decrement) {
  const double n = static_cast<double>(N);
  const double s = std::sin(std::numbers::pi * 0.5 / n);
  const double bandTerm = 2.0 * decrement * s;

  const FanoStartPoint start = fanoStartPoint(N, decrement);
  double a = start.A;
  double b = start.B;

  for (int evaluations = 1;; ++evaluations) {
    const Hyperbolics atA = hyperbolicsAt(a, n);
    const Hyperbolics atB = hyperbolicsAt(b, n);
    const double residual1 = atA.sinhX - atB.sinhX - bandTerm;
    const double residual2 = fanoFunctionOf(atA) - fanoFunctionOf(atB);
    const double squaredResidual = residual1 * residual1 + residual2 * residual2;

    // The test is absolute and comes before the step, so the last step is never applied.
    // Written as "not greater" so that a not-a-number residual (an overflow in sinh or cosh)
    // ends the iteration too. Far above the recommended decrements the tolerance is out of
    // reach in double precision, hence the cap.
    if (!(squaredResidual > FANO_TOLERANCE) || evaluations >= MAX_RESIDUAL_EVALUATIONS) {
      return {a, b, squaredResidual, evaluations};
    }

    const double jacobian11 = atA.coshX;
    const double jacobian12 = -atB.coshX;
    const double jacobian21 = fanoDerivativeOf(atA, n);
    const double jacobian22 = -fanoDerivativeOf(atB, n);
    const double determinant = jacobian11 * jacobian22 - jacobian12 * jacobian21;

    // Half Newton steps: slower near the root, but they converge from the empirical start over
    // the whole recommended decrement range.
    a += -0.5 * (jacobian22 * residual1 - jacobian12 * residual2) / determinant;
    b += -0.5 * (jacobian11 * residual2 - jacobian21 * residual1) / determinant;
  }
}

void applyFanoSolution(DesignCase& design) {
  const FanoSolution solution = solveFano(design.N, design.decrement);
  design.A = solution.A;
  design.B = solution.B;
  design.FV = solution.FV;
  design.IT = solution.IT;
}

}  // namespace bandmatch
