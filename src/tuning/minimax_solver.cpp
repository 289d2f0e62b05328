#include "tuning/minimax_solver.hpp"

#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace bandmatch {

namespace {

// The epigraph level t may rise to this multiple of the initial point's largest figure on the way.
constexpr double LEVEL_CEILING = 4.0;
// On each figure relative to the initial point's largest.
constexpr double CONSTRAINT_TOLERANCE = 1e-12;

// What the solver's callbacks need. The variables are x with the level t last; figures are
// divided by the scale.
struct SweepContext {
  const MinimaxProblem* problem = nullptr;
  double scale = 1.0;
  int evaluations = 0;
  std::vector<double> values;
  std::vector<double> gradients;
  // The best point met, by its largest scaled figure.
  std::vector<double> bestX;
  double bestLevel = HUGE_VAL;
};

double levelObjective(unsigned n, const double* y, double* grad, void* /*data*/) {
  if (grad != nullptr) {
    std::fill(grad, grad + n, 0.0);
    grad[n - 1] = 1.0;
  }
  return y[n - 1];
}

// The largest of scaled figures, infinite once one is not finite.
double largestOf(std::span<const double> values, double scale) {
  double level = 0.0;
  for (const double value : values) {
    const double scaled = value / scale;
    level = std::isfinite(scaled) ? std::max(level, scaled) : HUGE_VAL;
  }
  return level;
}

// c_i = f_i / scale - t <= 0 for every sample, with the gradient rows.
void sampleConstraints(unsigned m, double* result, unsigned n, const double* y, double* grad,
                       void* data) {
  SweepContext& context = *static_cast<SweepContext*>(data);
  ++context.evaluations;
  const unsigned variables = n - 1;
  const std::span<const double> x(y, variables);
  context.problem->figures(
      x, context.values,
      grad != nullptr ? std::span<double>(context.gradients) : std::span<double>());
  const double t = y[n - 1];
  for (unsigned i = 0; i < m; ++i) {
    result[i] = context.values[i] / context.scale - t;
    if (grad != nullptr) {
      double* row = grad + static_cast<std::size_t>(i) * n;
      const double* gradient = context.gradients.data() + static_cast<std::size_t>(i) * variables;
      for (unsigned v = 0; v < variables; ++v) {
        row[v] = gradient[v] / context.scale;
      }
      row[n - 1] = -1.0;
    }
  }
  const double level = largestOf(context.values, context.scale);
  if (level < context.bestLevel) {
    context.bestLevel = level;
    context.bestX.assign(y, y + variables);
  }
}

std::string stopReason(nlopt_result result) {
  switch (result) {
    case NLOPT_SUCCESS:
    case NLOPT_STOPVAL_REACHED:
    case NLOPT_FTOL_REACHED:
      return "converged";
    case NLOPT_XTOL_REACHED:
      return "no value moves any more";
    case NLOPT_MAXEVAL_REACHED:
      return "evaluation limit reached";
    case NLOPT_ROUNDOFF_LIMITED:
      return "limited by rounding";
    default:
      break;
  }
  return "solver failed";
}

using Solver = std::unique_ptr<nlopt_opt_s, decltype(&nlopt_destroy)>;

}  // namespace

double largestFigure(const MinimaxProblem& problem, std::span<const double> x) {
  std::vector<double> values(problem.samples);
  problem.figures(x, values, {});
  return largestOf(values, 1.0);
}

MinimaxSolution solveMinimax(const MinimaxProblem& problem, std::vector<double> initial,
                             const MinimaxSettings& settings) {
  MinimaxSolution solution;
  solution.x = std::move(initial);
  solution.level = largestFigure(problem, solution.x);
  const double scale = problem.scale > 0.0 ? problem.scale : solution.level;
  if (solution.x.empty() || problem.samples == 0 || !std::isfinite(solution.level) ||
      !(solution.level > 0.0) || !std::isfinite(scale) || !(scale > 0.0)) {
    solution.stop = "nothing to lower";
    return solution;
  }

  SweepContext context;
  context.problem = &problem;
  context.scale = scale;
  context.values.assign(problem.samples, 0.0);
  context.gradients.assign(problem.samples * solution.x.size(), 0.0);

  const auto count = static_cast<unsigned>(solution.x.size());
  std::vector<double> lower = problem.lower;
  std::vector<double> upper = problem.upper;
  lower.push_back(0.0);
  upper.push_back(LEVEL_CEILING);
  const std::vector<double> tolerances(problem.samples, CONSTRAINT_TOLERANCE);

  const Solver solver(nlopt_create(NLOPT_LD_SLSQP, count + 1), nlopt_destroy);
  if (!solver) {
    solution.stop = "solver failed";
    return solution;
  }
  nlopt_opt opt = solver.get();
  nlopt_set_lower_bounds(opt, lower.data());
  nlopt_set_upper_bounds(opt, upper.data());
  nlopt_set_min_objective(opt, levelObjective, nullptr);
  nlopt_add_inequality_mconstraint(opt, static_cast<unsigned>(problem.samples), sampleConstraints,
                                   &context, tolerances.data());
  nlopt_set_xtol_rel(opt, settings.relativeStep);
  nlopt_set_ftol_rel(opt, settings.relativeLevelStep);
  nlopt_set_maxeval(opt, settings.maxEvaluations);

  std::vector<double> y = solution.x;
  y.push_back(1.0);  // the initial point's own level: feasible
  double level = 0.0;
  const nlopt_result result = nlopt_optimize(opt, y.data(), &level);
  solution.stop = stopReason(result);
  solution.evaluations = context.evaluations;

  // The solver's last point, or the best one it met when that is lower.
  y.pop_back();
  const double lastLevel = largestFigure(problem, y);
  if (!context.bestX.empty() && !(lastLevel / scale <= context.bestLevel)) {
    solution.x = std::move(context.bestX);
    solution.level = largestFigure(problem, solution.x);
  } else {
    solution.x = std::move(y);
    solution.level = lastLevel;
  }
  return solution;
}

}  // namespace bandmatch
