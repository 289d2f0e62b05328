#include "tuning/minimax_tuning.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "tuning/minimax_solver.hpp"

namespace bandmatch {

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

  // The variables are u = log(value / start value); the figures |Gamma_i|^2.
  const std::size_t count = variables.size();
  MinimaxProblem problem;
  problem.samples = samples;
  // The same factor either way on a logarithmic scale.
  problem.lower.assign(count, -std::log(rangeFactor(settings)));
  problem.upper.assign(count, std::log(rangeFactor(settings)));
  problem.scale = outcome.startWorst * outcome.startWorst;
  std::vector<double> gradient(count, 0.0);
  problem.figures = [&](std::span<const double> u, std::span<double> values,
                        std::span<double> gradients) {
    const TunableNetwork network = scaledNetwork(start, variables, u.data());
    for (std::size_t i = 0; i < samples; ++i) {
      values[i] = reflectionPower(network, target, i, variables,
                                  gradients.empty() ? nullptr : &gradient);
      if (!gradients.empty()) {
        std::copy(gradient.begin(), gradient.end(), gradients.begin() + i * count);
      }
    }
  };

  // From the initial network's values, as logarithms of their ratios to the start's.
  std::vector<double> u(count, 0.0);
  if (from != nullptr) {
    const std::vector<double> reference = variableValues(start, variables);
    const std::vector<double> moved = variableValues(*from, variables);
    for (std::size_t v = 0; v < count; ++v) {
      u[v] = std::clamp(std::log(moved[v] / reference[v]), problem.lower[v], problem.upper[v]);
    }
  }
  const MinimaxSolution solution =
      solveMinimax(problem, std::move(u), {settings.maxEvaluations, settings.relativeStep});
  outcome.stop = solution.stop;
  outcome.evaluations = solution.evaluations;

  TunableNetwork found = scaledNetwork(start, variables, solution.x.data());
  const double foundWorst = worstSampledReflection(found, target);
  if (foundWorst < outcome.startWorst * (1.0 - settings.minimumGain)) {
    outcome.network = std::move(found);
    outcome.worst = foundWorst;
    outcome.keptStart = false;
  }
  return outcome;
}

}  // namespace bandmatch
