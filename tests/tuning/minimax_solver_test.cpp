// The minimax solver on problems whose optimum is known in closed form.
#include "tuning/minimax_solver.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

// The best straight line a + m t to e^t on [0, 1] in the uniform sense equioscillates at 0, at
// ln(m) and at 1 (Chebyshev's alternation): m = e - 1, a = (1 + m - m ln m) / 2 and the error
// E = (1 - m + m ln m) / 2 = 0.105933... The figures are the squared errors on 1001 points, one
// within 5e-4 of ln(m), so the sampled optimum's error lies within 3e-7 of E. A bound on the
// slope below e - 1 holds it at the bound.
TEST(MinimaxSolver, FindsTheUniformBestLine) {
  const double e = std::numbers::e;
  std::vector<double> t;
  for (int i = 0; i <= 1000; ++i) {
    t.push_back(i / 1000.0);
  }
  const auto problemWithin = [&](double slopeLimit) {
    MinimaxProblem problem;
    problem.samples = t.size();
    problem.lower = {-10.0, -10.0};
    problem.upper = {10.0, slopeLimit};
    problem.figures = [&t](std::span<const double> x, std::span<double> values,
                           std::span<double> gradients) {
      for (std::size_t i = 0; i < t.size(); ++i) {
        const double error = std::exp(t[i]) - x[0] - x[1] * t[i];
        values[i] = error * error;
        if (!gradients.empty()) {
          gradients[2 * i] = -2.0 * error;
          gradients[2 * i + 1] = -2.0 * error * t[i];
        }
      }
    };
    return problem;
  };
  const double m = e - 1.0;
  // With the slope held at b, e^t - b t rises from 1 at t = 0 to e - b at t = 1 (for b < 1 the
  // largest is at 1, the smallest at 0): the best offset halves that range.
  const double b = 0.5;
  struct Case {
    double slopeLimit;
    double offset;
    double slope;
    double error;
  };
  const std::vector<Case> cases = {
      {10.0, (1.0 + m - m * std::log(m)) / 2.0, m, (1.0 - m + m * std::log(m)) / 2.0},
      {b, (1.0 + e - b) / 2.0, b, (e - b - 1.0) / 2.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slopeLimit);
    const MinimaxSolution solution = solveMinimax(problemWithin(c.slopeLimit), {1.0, 0.0}, {});
    EXPECT_NEAR(solution.x[0], c.offset, 1e-4);
    EXPECT_NEAR(solution.x[1], c.slope, 1e-4);
    EXPECT_NEAR(std::sqrt(solution.level), c.error, 1e-6);
    EXPECT_GT(solution.evaluations, 0);
  }
}

TEST(MinimaxSolver, LeavesAPointWithNothingToLower) {
  MinimaxProblem problem;
  problem.samples = 3;
  problem.lower = {-1.0};
  problem.upper = {1.0};
  problem.figures = [](std::span<const double> x, std::span<double> values, std::span<double>) {
    for (double& value : values) {
      value = x[0] == 0.5 ? std::nan("") : x[0] * x[0];
    }
  };
  for (const double start : {0.0, 0.5}) {
    const MinimaxSolution solution = solveMinimax(problem, {start}, {});
    EXPECT_EQ(solution.x, std::vector<double>{start});
    EXPECT_EQ(solution.evaluations, 0);
    EXPECT_EQ(solution.stop, "nothing to lower");
  }
}

}  // namespace
}  // namespace bandmatch
