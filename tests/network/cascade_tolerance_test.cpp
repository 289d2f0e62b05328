// Tolerance trials of a cascade against computations written here: one reactive part between two
// equal resistances, whose worst |Gamma| lies at f2 and grows with the part, so that a trial
// passes exactly when its drawn factor lies below a threshold found in closed form; a zero
// tolerance; the thread count; and a band-pass ladder written as a cascade against the ladder's
// own trials with the same seed.
#include "network/cascade_tolerance.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

constexpr double R = 50.0;
constexpr double F1 = 10.0;
constexpr double F2 = 20.0;

CascadeProblem between50(std::vector<Section> sections) {
  CascadeProblem problem;
  problem.network = {std::move(sections), std::sqrt(F1 * F2)};
  problem.source.resistance = R;
  problem.load.resistance = R;
  problem.f1 = F1;
  problem.f2 = F2;
  problem.sweep = {5.0, 40.0, 51};
  return problem;
}

TEST(CascadeTolerance, OnePartPassesBelowItsClosedFormThreshold) {
  // A series L between R and R: |Gamma| = x / sqrt(4 + x^2) with x = w L / R; a shunt C:
  // the same with x = w C R. The SWR goal g gives rho = (g - 1) / (g + 1), met while
  // x <= 2 rho / sqrt(1 - rho^2) at f2.
  struct Case {
    std::string name;
    SectionKind kind;
    double overThreshold;  // the nominal value over the threshold value
    double percent;
    double goal;
    std::uint64_t seed;
  };
  const std::vector<Case> cases = {
      {"series L, 5 %", SectionKind::seriesInductor, 1.02, 5.0, 1.5, 1},
      {"shunt C, 10 %", SectionKind::shuntCapacitor, 0.97, 10.0, 2.0, 77},
  };
  const double omega2 = 2.0 * std::numbers::pi * F2 * 1e6;
  for (const Case& c : cases) {
    const double rho = (c.goal - 1.0) / (c.goal + 1.0);
    const double xLimit = 2.0 * rho / std::sqrt(1.0 - rho * rho);
    const bool inductor = c.kind == SectionKind::seriesInductor;
    const double threshold = inductor ? xLimit * R / omega2 : xLimit / (omega2 * R);
    Section section;
    section.kind = c.kind;
    (inductor ? section.inductance : section.capacitance) = threshold * c.overThreshold;
    CascadeToleranceOptions options;
    (inductor ? options.parts.inductorPercent : options.parts.capacitorPercent) = c.percent;
    options.parts.trials = 2000;
    options.parts.seed = c.seed;
    const CascadeToleranceResult result = runCascadeTolerance(between50({section}), options, 2);

    // The same draws: one per trial, the top 53 bits as the middle of one of 2^53 steps.
    std::mt19937_64 generator(c.seed);
    long long passing = 0;
    for (int t = 0; t < options.parts.trials; ++t) {
      const double x = (static_cast<double>(generator() >> 11) + 0.5) / std::ldexp(1.0, 53);
      passing += 1.0 + c.percent / 100.0 * (2.0 * x - 1.0) <= 1.0 / c.overThreshold;
    }
    const YieldFigures yield = yieldAt(result.trials.worstSwr, c.goal);
    EXPECT_EQ(yield.passing, passing) << c.name;
    // And the share of the uniform interval below the threshold, within four binomial sigmas.
    const double p = (1.0 / c.overThreshold - 1.0 + c.percent / 100.0) / (2.0 * c.percent / 100.0);
    EXPECT_NEAR(yield.share, p, 4.0 * std::sqrt(p * (1.0 - p) / options.parts.trials)) << c.name;
    EXPECT_GT(result.sensitivities.at(0).change, 0.0) << c.name;  // |Gamma| grows with it
  }
}

TEST(CascadeTolerance, ZeroToleranceRepeatsTheNominalAndThreadsChangeNothing) {
  // Every kind of varying value and a transformer, between 50 and 12.5 ohms.
  CascadeProblem problem =
      between50({{.kind = SectionKind::seriesInductor, .inductance = 0.2e-6},
                 {.kind = SectionKind::line, .impedance = 35.0, .length = 0.6},
                 {.kind = SectionKind::openStub, .impedance = 60.0, .length = 0.4},
                 {.kind = SectionKind::transformer, .turnsRatio = 1.5},
                 {.kind = SectionKind::shuntTank, .inductance = 1e-6, .capacitance = 90e-12}});
  problem.load.resistance = 12.5;
  CascadeToleranceOptions fixed;
  fixed.parts.trials = 20;
  const CascadeToleranceResult still = runCascadeTolerance(problem, fixed, 2);
  EXPECT_EQ(still.parts, 7u);  // L; Z0 and theta0 of the line and the stub; L and C
  EXPECT_TRUE(still.transformer);
  for (const double swr : still.trials.worstSwr) {
    EXPECT_NEAR(swr, still.trials.nominalSwr, 1e-9 * still.trials.nominalSwr);
  }
  const CascadeToleranceOptions varied{{5.0, 2.0, 101, 1}, 3.0};
  const ToleranceResult one = runCascadeTolerance(problem, varied, 1).trials;
  for (const int threads : {3, 8}) {
    const ToleranceResult many = runCascadeTolerance(problem, varied, threads).trials;
    EXPECT_EQ(many.worstSwr, one.worstSwr) << threads;
    EXPECT_EQ(many.band.lowerDb, one.band.lowerDb) << threads;
    EXPECT_EQ(many.band.upperDb, one.band.upperDb) << threads;
  }
  EXPECT_GT(one.worstSwr.back(), one.worstSwr.front());
}

TEST(CascadeTolerance, LadderAsCascadeDrawsTheLaddersTrials) {
  // Positions N..2 from the source as resonators (series L-C in a series arm, parallel L-C in a
  // shunt one), position 1 in the load's model; the ladder draws positions 2..N from the load,
  // each L before its C, as the cascade draws its sections from the load.
  for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
    const ToleranceProblem ladder{
        ladderFromDesign(support::synthesizedDesign(4, 0.6, loadType, 3.5, 4.0)),
        {3.0, 4.5, 31}, 3.5, 4.0, {}, {}, nullptr};
    const LadderNetwork& network = ladder.network;
    CascadeProblem cascade{{{}, std::sqrt(3.5 * 4.0)}, {}, {}, 3.5, 4.0, ladder.sweep};
    for (int position = 4; position >= 2; --position) {
      const bool series = isSeriesPosition(loadType, position);
      cascade.network.sections.push_back(
          {.kind = series ? SectionKind::seriesResonator : SectionKind::shuntTank,
           .inductance = network.inductance[static_cast<std::size_t>(position) - 1],
           .capacitance = network.capacitance[static_cast<std::size_t>(position) - 1]});
    }
    cascade.source.resistance = sourceResistanceAtLadder(network);
    cascade.load = {loadType == LoadType::series ? EndKind::seriesModel : EndKind::parallelModel,
                    network.loadResistance, network.inductance[0], network.capacitance[0], {}};
    const ToleranceOptions options{5.0, 3.0, 200, 9};
    const ToleranceResult own = runTolerance(ladder, options, 2);
    const ToleranceResult asCascade = runCascadeTolerance(cascade, {options, 0.0}, 2).trials;
    ASSERT_EQ(asCascade.worstSwr.size(), own.worstSwr.size());
    for (std::size_t t = 0; t < own.worstSwr.size(); ++t) {  // both judged to 1e-6 in |Gamma|
      EXPECT_NEAR(asCascade.worstSwr[t], own.worstSwr[t], 1e-5 * own.worstSwr[t]) << t;
    }
  }
}

}  // namespace
}  // namespace bandmatch
