// The Fano equation solver: its supporting functions, the worked examples, convergence over the
// recommended range, and termination for any decrement.
#include "synthesis/fano_solver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/printed_values.hpp"

namespace bandmatch {
namespace {

using testing::matchesPrinted;

// Reference values from the standard library's asinh and tanh, and a central difference.
TEST(FanoSupport, FunctionsMatchIndependentReferences) {
  for (double x : {0.0, 1e-8, 0.3, -0.3, 1.0, 2.5, 10.0, 1e4}) {
    SCOPED_TRACE(x);
    EXPECT_NEAR(inverseHyperbolicSine(x), std::asinh(x), 1e-12 * (1.0 + std::fabs(x)));
  }
  for (double n : {1.0, 2.0, 5.0, 10.0}) {
    for (double a : {0.001, 0.1, 0.5, 1.0, 2.0, 3.0}) {
      SCOPED_TRACE(::testing::Message() << "n=" << n << " a=" << a);
      EXPECT_NEAR(fanoFunction(a, n), std::tanh(n * a) / std::cosh(a), 1e-14);
      const double h = 1e-6;
      const double centralDifference = (fanoFunction(a + h, n) - fanoFunction(a - h, n)) / (2 * h);
      EXPECT_NEAR(fanoDerivative(a, n), centralDifference, 1e-7);
    }
  }
}

// The solver table of worked examples: start B, A and B to 5 significant digits, IT exactly,
// and a final FV between 2.5e-10 and 1e-9.
TEST(FanoSolver, ReproducesTheWorkedExamples) {
  struct Case {
    int n;
    double decrement, startB, a, b;
    int iterations;
  };
  const Case cases[] = {
      {1, 1.0, 0.65267, 1.6149, 0.40323, 13},  {3, 1.0, 0.34322, 1.0512, 0.25310, 13},
      {4, 2.0, 0.092921, 1.2879, 0.14337, 14}, {5, 0.1, 0.17731, 0.42667, 0.36947, 14},
      {3, 5.0, 0.001, 2.3252, 0.065525, 16},   {10, 20.0, 0.001, 2.5357, 0.015876, 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "N=" << c.n << " decrement=" << c.decrement);
    const FanoStartPoint start = fanoStartPoint(c.n, c.decrement);
    EXPECT_TRUE(matchesPrinted(start.B, c.startB, 5));

    const FanoSolution solution = solveFano(c.n, c.decrement);
    EXPECT_TRUE(matchesPrinted(solution.A, c.a, 5));
    EXPECT_TRUE(matchesPrinted(solution.B, c.b, 5));
    EXPECT_EQ(solution.IT, c.iterations);
    EXPECT_GE(solution.FV, 2.5e-10);
    EXPECT_LE(solution.FV, 1e-9);

    DesignCase design;
    design.N = c.n;
    design.decrement = c.decrement;
    applyFanoSolution(design);
    EXPECT_EQ(design.A, solution.A);
    EXPECT_EQ(design.B, solution.B);
    EXPECT_EQ(design.FV, solution.FV);
    EXPECT_EQ(design.IT, solution.IT);
  }
}

// Unless B had to be replaced, the start point satisfies the first Fano equation.
TEST(FanoSolver, StartPointSatisfiesTheBandwidthEquation) {
  const double pi = std::acos(-1.0);
  for (int n = 1; n <= 10; ++n) {
    for (double decrement : {1e-6, 0.01, 0.5, 1.0, 2.4}) {
      const FanoStartPoint start = fanoStartPoint(n, decrement);
      const double bandTerm = 2.0 * decrement * std::sin(pi / (2.0 * n));
      // The logarithmic form loses a few digits at tiny arguments, hence the absolute term.
      EXPECT_NEAR(std::sinh(start.A) - std::sinh(start.B), bandTerm, 1e-9 * bandTerm + 1e-15);
    }
    EXPECT_EQ(fanoStartPoint(n, 2.5).B, 0.001);
    EXPECT_EQ(fanoStartPoint(n, 1e6).B, 0.001);
  }
}

// Every N over a logarithmic grid of the decrements that direct entry accepts.
TEST(FanoSolver, ConvergesWithinTwentyEvaluationsOverTheRecommendedRange) {
  const int gridPoints = 250;
  for (int n = 1; n <= 10; ++n) {
    for (int i = 0; i < gridPoints; ++i) {
      const double decrement = 0.01 * std::pow(2000.0, i / (gridPoints - 1.0));
      const FanoSolution solution = solveFano(n, decrement);
      SCOPED_TRACE(::testing::Message() << "N=" << n << " decrement=" << decrement);
      EXPECT_LE(solution.FV, 1e-9);
      EXPECT_GE(solution.IT, 1);
      EXPECT_LE(solution.IT, 20);
      // A physical equal-ripple solution has A > B > 0.
      EXPECT_GT(solution.B, 0.0);
      EXPECT_GT(solution.A, solution.B);
    }
  }
}

TEST(FanoSolver, TinyDecrementReturnsTheStartPointAfterOneEvaluation) {
  for (int n = 1; n <= 10; ++n) {
    const FanoSolution solution = solveFano(n, 1e-6);
    const FanoStartPoint start = fanoStartPoint(n, 1e-6);
    EXPECT_EQ(solution.IT, 1);
    EXPECT_EQ(solution.A, start.A);
    EXPECT_EQ(solution.B, start.B);
    EXPECT_LE(solution.FV, 1e-9);
  }
}

// Decrements far above the recommended range mostly cannot meet the tolerance in double
// precision (whether one does is a matter of rounding): the cap ends the iteration with the
// last evaluated point and its residual. At 1e13 and 1e14 every N runs into it.
TEST(FanoSolver, HugeDecrementsStopAtTheCap) {
  for (int n = 1; n <= 10; ++n) {
    for (double decrement : {1e13, 1e14}) {
      SCOPED_TRACE(::testing::Message() << "N=" << n << " decrement=" << decrement);
      const FanoSolution capped = solveFano(n, decrement);
      EXPECT_EQ(capped.IT, MAX_RESIDUAL_EVALUATIONS);
      EXPECT_GT(capped.FV, 1e-9);
      EXPECT_TRUE(std::isfinite(capped.FV));
      EXPECT_TRUE(std::isfinite(capped.A));
      EXPECT_TRUE(std::isfinite(capped.B));
    }
    const double others[] = {5e9,  1e10,  1e12,  1e15,
                             1e20, 1e100, 1e300, std::numeric_limits<double>::max()};
    for (double decrement : others) {
      const FanoSolution solution = solveFano(n, decrement);
      EXPECT_GE(solution.IT, 1);
      EXPECT_LE(solution.IT, MAX_RESIDUAL_EVALUATIONS);
    }
  }
}

// A residual that is not a number ends the iteration at once instead of running to the cap.
TEST(FanoSolver, NotANumberResidualEndsTheIteration) {
  const double inputs[] = {1e300, std::numeric_limits<double>::infinity(), 0.0,
                           std::numeric_limits<double>::quiet_NaN()};
  for (double decrement : inputs) {
    SCOPED_TRACE(decrement);
    const FanoSolution solution = solveFano(4, decrement);
    EXPECT_TRUE(std::isnan(solution.FV));
    EXPECT_EQ(solution.IT, 1);
  }
}

}  // namespace
}  // namespace bandmatch
