#include "tuning/minimax_tuning.hpp"

#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>

namespace bandmatch {

namespace {

// The epigraph level t may rise to this multiple of the start's worst |Gamma|^2 on the way.
constexpr double LEVEL_CEILING = 4.0;
// On |Gamma_i|^2 relative to the start's worst |Gamma|^2.
constexpr double CONSTRAINT_TOLERANCE = 1e-12;

// What the solver's callbacks need. Variables are u = log(value / start value), with the level
// t last; powers are divided by the start's worst |Gamma|^2 so that t and the constraints are of
// order one whatever the ripple.
struct SweepContext {
  const TunableNetwork* start = nullptr;
  const TuningTarget* target = nullptr;
  const std::vector<TuningVariable>* variables = nullptr;
  double scale = 1.0;
  int evaluations = 0;
  std::vector<double> gradient;  // of one sample
  // The best point met, by its worst sampled power.
  std::vector<double> bestU;
  double bestLevel = HUGE_VAL;
};

double levelObjective(unsigned n, const double* y, double* grad, void* /*data*/) {
  if (grad != nullptr) {
    std::fill(grad, grad + n, 0.0);
    grad[n - 1] = 1.0;
  }
  return y[n - 1];
}

// c_i = |Gamma_i|^2 / scale - t <= 0 for every sample, with the gradient rows.
void sampleConstraints(unsigned m, double* result, unsigned n, const double* y, double* grad,
                       void* data) {
  SweepContext& context = *static_cast<SweepContext*>(data);
  ++context.evaluations;
  const TunableNetwork network = scaledNetwork(*context.start, *context.variables, y);
  const double t = y[n - 1];
  double level = 0.0;
  for (unsigned i = 0; i < m; ++i) {
    const double power = reflectionPower(network, *context.target, i, *context.variables,
                                         grad != nullptr ? &context.gradient : nullptr) /
                         context.scale;
    result[i] = power - t;
    level = std::isfinite(power) ? std::max(level, power) : HUGE_VAL;
    if (grad != nullptr) {
      double* row = grad + static_cast<std::size_t>(i) * n;
      for (unsigned v = 0; v + 1 < n; ++v) {
        row[v] = context.gradient[v] / context.scale;
      }
      row[n - 1] = -1.0;
    }
  }
  if (level < context.bestLevel) {
    context.bestLevel = level;
    context.bestU.assign(y, y + (n - 1));
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

double rangeFactor(const TuningSettings& settings) {
  return 1.0 + settings.range;
}

TuningOutcome tuneMinimax(const TunableNetwork& start, const TuningTarget& target,
                          const std::vector<TuningVariable>& variables,
                          const TuningSettings& settings, const TunableNetwork* from) {
  const TunableNetwork& initial = from != nullptr ? *from : start;
  TuningOutcome outcome;
  outcome.network = initial;
  outcome.startWorst = worstSampledReflection(initial, target);
  outcome.worst = outcome.startWorst;
  const std::size_t samples = target.frequencyMHz.size();
  // A perfect or unusable start leaves nothing to improve on.
  if (variables.empty() || samples == 0 || !std::isfinite(outcome.startWorst) ||
      !(outcome.startWorst > 0.0)) {
    outcome.stop = "nothing to tune";
    return outcome;
  }

  SweepContext context;
  context.start = &start;
  context.target = &target;
  context.variables = &variables;
  context.scale = outcome.startWorst * outcome.startWorst;
  context.gradient.assign(variables.size(), 0.0);

  const auto count = static_cast<unsigned>(variables.size());
  // The same factor either way on a logarithmic scale.
  std::vector<double> lower(count + 1, -std::log(rangeFactor(settings)));
  std::vector<double> upper(count + 1, std::log(rangeFactor(settings)));
  lower.back() = 0.0;
  upper.back() = LEVEL_CEILING;
  const std::vector<double> tolerances(samples, CONSTRAINT_TOLERANCE);

  const Solver solver(nlopt_create(NLOPT_LD_SLSQP, count + 1), nlopt_destroy);
  if (!solver) {
    outcome.stop = "solver failed";
    return outcome;
  }
  nlopt_opt opt = solver.get();
  nlopt_set_lower_bounds(opt, lower.data());
  nlopt_set_upper_bounds(opt, upper.data());
  nlopt_set_min_objective(opt, levelObjective, nullptr);
  nlopt_add_inequality_mconstraint(opt, static_cast<unsigned>(samples), sampleConstraints, &context,
                                   tolerances.data());
  nlopt_set_xtol_rel(opt, settings.relativeStep);
  // Off: from the equal-ripple start the first steps can leave t unchanged, and a test on the
  // level's change would end the run there.
  nlopt_set_ftol_rel(opt, 0.0);
  nlopt_set_maxeval(opt, settings.maxEvaluations);

  // From the initial network's values, as logarithms of their ratios to the start's.
  std::vector<double> y(count + 1, 0.0);
  if (from != nullptr) {
    const std::vector<double> reference = variableValues(start, variables);
    const std::vector<double> moved = variableValues(*from, variables);
    for (unsigned v = 0; v < count; ++v) {
      y[v] = std::clamp(std::log(moved[v] / reference[v]), lower[v], upper[v]);
    }
  }
  y.back() = 1.0;  // the initial network's own level: feasible
  double level = 0.0;
  const nlopt_result result = nlopt_optimize(opt, y.data(), &level);
  outcome.stop = stopReason(result);
  outcome.evaluations = context.evaluations;

  // The solver's last point, or the best one it met when that is lower.
  const TunableNetwork last = scaledNetwork(start, variables, y.data());
  const double lastWorst = worstSampledReflection(last, target);
  TunableNetwork found = last;
  double foundWorst = lastWorst;
  if (!context.bestU.empty() && !(lastWorst * lastWorst <= context.bestLevel * context.scale)) {
    found = scaledNetwork(start, variables, context.bestU.data());
    foundWorst = worstSampledReflection(found, target);
  }
  if (foundWorst < outcome.startWorst * (1.0 - settings.minimumGain)) {
    outcome.network = std::move(found);
    outcome.worst = foundWorst;
    outcome.keptStart = false;
  }
  return outcome;
}

}  // namespace bandmatch
