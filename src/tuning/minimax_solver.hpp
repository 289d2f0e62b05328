// Minimax over sampled figures: the variables within their bounds that make the largest of the
// figures f_i(x) as small as it can be, found by NLopt's SLSQP on the epigraph form (minimise t
// subject to f_i(x) <= t at every sample) with the figures' exact gradients.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace bandmatch {

// Every figure at the point x into `values` (one per sample) and, when `gradients` is not empty,
// each figure's gradient into it, sample after sample (samples x variables values).
using SampledFigures = std::function<void(std::span<const double> x, std::span<double> values,
                                          std::span<double> gradients)>;

struct MinimaxProblem {
  std::size_t samples = 0;
  std::vector<double> lower;  // each variable's bounds
  std::vector<double> upper;
  SampledFigures figures;
  // The largest figure at the initial point when the caller has it already; zero has it
  // computed. The figures are divided by it, so that the level starts at 1 and the level and the
  // constraints are of order one whatever the figures' size.
  double scale = 0.0;
};

struct MinimaxSettings {
  int maxEvaluations = 3000;
  double relativeStep = 1e-8;  // the solver stops when no variable moves by more than this share
  // ... or when the level falls by less than this share in a step; zero leaves the level's steps
  // out, for a start whose first steps may leave the level unchanged (an equal-ripple one).
  double relativeLevelStep = 0.0;
};

struct MinimaxSolution {
  std::vector<double> x;  // the solver's last point, or the best point it met when that is lower
  double level = 0.0;     // the largest figure at x; infinite where one is not finite
  int evaluations = 0;    // of all the figures with their gradients
  std::string stop;       // why the solver stopped, in words
};

// Solves the problem from `initial` (inside the bounds). An initial point whose largest figure
// is zero or not finite is returned as it is, with no evaluations: there is nothing to lower.
MinimaxSolution solveMinimax(const MinimaxProblem& problem, std::vector<double> initial,
                             const MinimaxSettings& settings);

// The largest of the figures at x, infinite when one of them is not finite.
double largestFigure(const MinimaxProblem& problem, std::span<const double> x);

}  // namespace bandmatch
