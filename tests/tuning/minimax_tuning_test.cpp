// Minimax tuning against the model load. The figures at decrement 1 were found by the tuner's
// first study and agree with a derivative-free search; here a second search written in the test
// (NLopt's COBYLA on the RF library's own ladder analysis, no gradients of the tuner) must land
// on the same optimum, and no result may pass below Fano's bound for infinitely many resonators.
#include "tuning/minimax_tuning.hpp"

#include <gtest/gtest.h>
#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "network/best_match.hpp"
#include "network/measured_network.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

TunableNetwork designedNetwork(int n, LoadType loadType) {
  return {support::reportedDesign(n, 1.0, loadType, 10.0, 20.0).ladder, {}};
}

TuningTarget modelTarget(int points) {
  return {bandFrequencies(10.0, 20.0, points), {}};
}

// The worst |Gamma| between the samples too, as the judge finds it.
double trueWorst(const LadderNetwork& ladder) {
  return judgeBand(ladderBand(ladder, 10.0, 20.0)).worstReflection;
}

TEST(MinimaxTuning, ReachesTheMinimaxFiguresAtDecrementOne) {
  struct Case {
    int n;
    double equalRipple;  // the analytic design's worst |Gamma| (Fano)
    double tuned;        // the minimax figure, to six digits
  };
  const Case cases[] = {
      {2, 0.171573, 0.171573},
      {3, 0.111011, 0.109671},
      {5, 0.073312, 0.071322},
      {10, 0.053152, 0.051510},
  };
  const double bound = fanoLimitReflection(1.0);
  const TuningTarget target = modelTarget(2001);
  for (const Case& c : cases) {
    for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
      SCOPED_TRACE(::testing::Message() << "N = " << c.n << ", "
                                        << (loadType == LoadType::series ? "series" : "parallel"));
      const TunableNetwork start = designedNetwork(c.n, loadType);
      const TuningOutcome outcome =
          tuneMinimax(start, target, tuningVariables(start, true, false), {});
      EXPECT_NEAR(outcome.startWorst, c.equalRipple, 5e-7);
      if (c.n == 2) {
        // The equal-ripple family has as many values as this ladder: nothing to gain.
        EXPECT_TRUE(outcome.keptStart);
        EXPECT_NEAR(outcome.worst, outcome.startWorst, 1e-4 * outcome.startWorst);
      } else {
        EXPECT_FALSE(outcome.keptStart);
        EXPECT_NEAR(outcome.worst, c.tuned, 1e-3 * c.tuned);
      }
      // Between the samples the peaks may rise a little, never below the figure's rounding.
      const double worst = trueWorst(outcome.network.ladder);
      EXPECT_GE(worst, c.tuned - 5e-7);
      EXPECT_LE(worst, c.tuned * (1.0 + 1e-4));
      EXPECT_GT(worst, bound);
      EXPECT_GT(outcome.evaluations, 0);
    }
  }
}

// The second search: minimise t subject to |Gamma_i|^2 <= t with COBYLA, which uses no
// derivatives, evaluating the ladder with inputReflection.
struct Epigraph {
  LadderNetwork start;
  std::vector<double> frequencies;
};

LadderNetwork movedLadder(const LadderNetwork& start, const double* u) {
  LadderNetwork ladder = start;
  std::size_t v = 0;
  for (std::size_t k = 1; k < ladder.inductance.size(); ++k) {
    ladder.inductance[k] *= std::exp(u[v++]);
    ladder.capacitance[k] *= std::exp(u[v++]);
  }
  ladder.sourceResistance *= std::exp(u[v]);
  return ladder;
}

void independentConstraints(unsigned m, double* result, unsigned n, const double* y,
                            double* /*grad*/, void* data) {
  const Epigraph& problem = *static_cast<const Epigraph*>(data);
  const LadderNetwork ladder = movedLadder(problem.start, y);
  for (unsigned i = 0; i < m; ++i) {
    result[i] = std::norm(inputReflection(ladder, problem.frequencies[i])) * 100.0 - y[n - 1];
  }
}

double level(unsigned n, const double* y, double* /*grad*/, void* /*data*/) {
  return y[n - 1];
}

double independentOptimum(const LadderNetwork& start, const std::vector<double>& frequencies) {
  Epigraph problem{start, frequencies};
  const unsigned n = static_cast<unsigned>(2 * (start.inductance.size() - 1) + 2);
  nlopt_opt opt = nlopt_create(NLOPT_LN_COBYLA, n);
  std::vector<double> lower(n, std::log(0.5));
  std::vector<double> upper(n, std::log(1.5));
  lower.back() = 0.0;
  upper.back() = 10.0;
  nlopt_set_lower_bounds(opt, lower.data());
  nlopt_set_upper_bounds(opt, upper.data());
  nlopt_set_min_objective(opt, level, nullptr);
  const std::vector<double> tolerances(frequencies.size(), 1e-12);
  nlopt_add_inequality_mconstraint(opt, static_cast<unsigned>(frequencies.size()),
                                   independentConstraints, &problem, tolerances.data());
  nlopt_set_xtol_rel(opt, 1e-10);
  nlopt_set_maxeval(opt, 20000);
  std::vector<double> y(n, 0.0);
  y.back() = 2.0;
  double t = 0.0;
  nlopt_optimize(opt, y.data(), &t);
  nlopt_destroy(opt);
  double worst = 0.0;
  const LadderNetwork ladder = movedLadder(start, y.data());
  for (const double f : frequencies) {
    worst = std::max(worst, std::abs(inputReflection(ladder, f)));
  }
  return worst;
}

TEST(MinimaxTuning, AgreesWithAnIndependentDerivativeFreeSearch) {
  struct Case {
    int n;
    LoadType loadType;
  };
  for (const Case c : {Case{3, LoadType::series}, Case{4, LoadType::parallel}}) {
    SCOPED_TRACE(c.n);
    const TunableNetwork start = designedNetwork(c.n, c.loadType);
    const TuningTarget target = modelTarget(301);
    const TuningOutcome outcome =
        tuneMinimax(start, target, tuningVariables(start, true, false), {});
    const double reference = independentOptimum(start.ladder, target.frequencyMHz);
    EXPECT_NEAR(outcome.worst, reference, 2e-6 * reference);
    EXPECT_LT(outcome.worst, outcome.startWorst * 0.995);
  }
}

TEST(MinimaxTuning, StaysWithinTheRangeAndNeverWorsensTheStart) {
  struct Case {
    const char* name;
    double range;
    std::vector<double> offsets;  // log moves of the start away from the design
  };
  const Case cases[] = {
      {"narrow range", 0.02, {}},
      {"default range", 0.5, {}},
      {"start far off the design", 0.3, {0.3, -0.2, 0.25, 0.1, -0.3}},
  };
  const TunableNetwork design = designedNetwork(3, LoadType::series);
  const TuningTarget target = modelTarget(501);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TuningVariable> variables = tuningVariables(design, true, false);
    std::vector<double> offsets = c.offsets;
    offsets.resize(variables.size(), 0.0);
    const TunableNetwork start = scaledNetwork(design, variables, offsets.data());
    TuningSettings settings;
    settings.range = c.range;
    const TuningOutcome outcome = tuneMinimax(start, target, variables, settings);
    EXPECT_LE(outcome.worst, outcome.startWorst);
    EXPECT_EQ(outcome.worst, worstSampledReflection(outcome.network, target));
    const std::vector<double> from = variableValues(start, variables);
    const std::vector<double> to = variableValues(outcome.network, variables);
    for (std::size_t v = 0; v < from.size(); ++v) {
      EXPECT_GE(to[v], from[v] * (1.0 - c.range) * (1.0 - 1e-12)) << v;
      EXPECT_LE(to[v], from[v] * (1.0 + c.range) * (1.0 + 1e-12)) << v;
    }
  }
}

TEST(MinimaxTuning, KeepsAStartThatCannotBeJudged) {
  const TunableNetwork start = designedNetwork(3, LoadType::series);
  const std::vector<TuningVariable> variables = tuningVariables(start, true, false);
  TunableNetwork broken = start;
  broken.ladder.capacitance[1] = std::nan("");  // no finite response anywhere
  const struct {
    const TunableNetwork* network;
    TuningTarget target;
  } cases[] = {{&start, {}}, {&broken, modelTarget(11)}};
  for (const auto& c : cases) {
    const TuningOutcome outcome = tuneMinimax(*c.network, c.target, variables, {});
    EXPECT_TRUE(outcome.keptStart);
    EXPECT_EQ(outcome.evaluations, 0);
    EXPECT_EQ(outcome.stop, "nothing to tune");
  }
}

}  // namespace
}  // namespace bandmatch
