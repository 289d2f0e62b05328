// Monte Carlo tolerance trials checked against a brute-force computation written here: the same
// documented draws (std::mt19937_64 from the seed, two per position 2..N, mapped to +-PCT %),
// each perturbed ladder evaluated by the plain ladder analysis one frequency at a time; the
// Wilson interval against the roots of its quadratic; percentiles and the draw mapping by hand.
#include "rf/tolerance.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "rf/network_build.hpp"
#include "support/measured_loads.hpp"
#include "support/sample_design.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {
namespace {

// The draw's documented mapping, written out again: the top 53 bits as the middle of one of
// 2^53 steps of (0, 1), then 1 + p / 100 (2 x - 1).
double drawnFactor(std::uint64_t draw, double percent) {
  const double x = (static_cast<double>(draw >> 11) + 0.5) / std::ldexp(1.0, 53);
  return 1.0 + percent / 100.0 * (2.0 * x - 1.0);
}

// A part scaled as a real part of another value but the same Q: R = w L / Q grows with L,
// R = 1 / (w C Q) shrinks as C grows.
void scaleByHand(LadderNetwork& ladder, std::size_t index, double inductorFactor,
                 double capacitorFactor) {
  ladder.inductance[index] *= inductorFactor;
  ladder.capacitance[index] *= capacitorFactor;
  if (index < ladder.inductorLoss.size()) {
    ladder.inductorLoss[index] *= inductorFactor;
  }
  if (index < ladder.capacitorLoss.size()) {
    ladder.capacitorLoss[index] /= capacitorFactor;
  }
}

struct Problem {
  std::string name;
  ToleranceProblem problem;
  double inductorPercent;
  double capacitorPercent;
};

// The input reflection of a ladder, on its model load or on the terminal the problem gives.
std::complex<double> reflectionOf(const ToleranceProblem& problem, const LadderNetwork& ladder,
                                  double f) {
  if (!problem.terminal) {
    return inputReflection(ladder, f);
  }
  return reflectionAtSource(ladder, impedanceFromPosition(ladder, 2, problem.terminal(f), f));
}

// The frequencies a trial is judged at: the sweep's points inside the band and both edges.
std::vector<double> inBandFrequencies(const ToleranceProblem& problem) {
  std::vector<double> frequencies = {problem.f1, problem.f2};
  for (int i = 0; i < problem.sweep.points; ++i) {
    const double f = sweepFrequency(problem.sweep, i);
    if (f >= problem.f1 && f <= problem.f2) {
      frequencies.push_back(f);
    }
  }
  return frequencies;
}

// Every trial's perturbed ladder, drawn here one trial after the other.
std::vector<LadderNetwork> bruteForceLadders(const Problem& p, const ToleranceOptions& options) {
  std::mt19937_64 generator(options.seed);
  std::vector<LadderNetwork> ladders;
  const LadderNetwork& nominal = p.problem.network;
  for (int trial = 0; trial < options.trials; ++trial) {
    LadderNetwork ladder = nominal;
    for (std::size_t index = 1; index < nominal.inductance.size(); ++index) {
      const double l = drawnFactor(generator(), p.inductorPercent);
      const double c = drawnFactor(generator(), p.capacitorPercent);
      scaleByHand(ladder, index, l, c);
    }
    ladders.push_back(ladder);
  }
  return ladders;
}

double worstSwrByHand(const ToleranceProblem& problem, const LadderNetwork& ladder) {
  double worst = 0.0;
  for (const double f : inBandFrequencies(problem)) {
    worst = std::max(worst, std::abs(reflectionOf(problem, ladder, f)));
  }
  return swrFromRho(worst);
}

Sweep bandSweep(const ReportedDesign& design, int points) {
  return sweepAroundBand(design.f1, design.f2, 1.5, points);
}

// Networks of every kind the exporter builds: ideal, standard values with losses and a
// transformer, a parallel load, a measured load in place of position 1, and N = 1 (nothing to
// vary).
std::vector<Problem> problems() {
  std::vector<Problem> list;
  const ReportedDesign three = support::reportedDesign(3, 1.0, LoadType::series, 10.0, 20.0);
  list.push_back({"ideal N = 3", {three.ladder, bandSweep(three, 201), 10.0, 20.0, {}}, 5.0, 5.0});

  // Detuned by 6 % in L(2): the trials that pull it back beat the nominal network.
  LadderNetwork detuned = three.ladder;
  detuned.inductance[1] *= 1.06;
  list.push_back({"detuned N = 3", {detuned, bandSweep(three, 201), 10.0, 20.0, {}}, 5.0, 5.0});

  const ReportedDesign five = support::reportedDesign(5, 0.8, LoadType::parallel, 3.5, 4.0);
  const NetworkVariants built = networkVariants(five, {50.0, PreferredSeries::e24, 80.0, 400.0});
  list.push_back({"built parallel N = 5",
                  {built.variants.back().ladder, bandSweep(five, 301), 3.5, 4.0, {}},
                  2.0,
                  10.0});

  const ReportedDesign four = support::reportedDesign(4, 1.0, LoadType::series, 3.5, 4.0);
  const testing::ExactLoad load{LoadType::series, 60.0, std::sqrt(3.5 * 4.0), 8.0};
  list.push_back({"measured load N = 4",
                  {four.ladder, bandSweep(four, 151), 3.5, 4.0,
                   [load](double f) { return load.impedance(f); }},
                  5.0,
                  1.0});

  const ReportedDesign one = support::reportedDesign(1, 1.0, LoadType::series, 1.0, 2.0);
  list.push_back({"N = 1", {one.ladder, bandSweep(one, 51), 1.0, 2.0, {}}, 10.0, 10.0});
  return list;
}

TEST(ToleranceTrials, EqualABruteForceComputationOnEveryThreadCount) {
  for (const Problem& p : problems()) {
    const ToleranceOptions options{p.inductorPercent, p.capacitorPercent, 400, 20261207};
    std::vector<double> expected;
    for (const LadderNetwork& ladder : bruteForceLadders(p, options)) {
      expected.push_back(worstSwrByHand(p.problem, ladder));
    }
    std::sort(expected.begin(), expected.end());
    const ToleranceResult one = runTolerance(p.problem, options, 1);
    ASSERT_EQ(one.worstSwr.size(), expected.size()) << p.name;
    for (std::size_t t = 0; t < expected.size(); ++t) {
      EXPECT_NEAR(one.worstSwr[t], expected[t], 1e-9 * expected[t]) << p.name << " rank " << t;
    }
    // The trials' figures do not depend on how many threads share them.
    for (const int threads : {2, 3, 7, 64}) {
      const ToleranceResult other = runTolerance(p.problem, options, threads);
      EXPECT_EQ(other.worstSwr, one.worstSwr) << p.name << ", " << threads << " threads";
      EXPECT_EQ(other.band.lowerDb, one.band.lowerDb) << p.name;
      EXPECT_EQ(other.band.upperDb, one.band.upperDb) << p.name;
    }
  }
}

// A goal exactly at the unperturbed network's worst SWR: the reported yield is the share the
// brute-force trials give, and its interval covers it.
TEST(ToleranceTrials, YieldAtTheNominalSwrMatchesTheBruteForceShare) {
  for (const Problem& p : problems()) {
    const ToleranceOptions options{p.inductorPercent, p.capacitorPercent, 2000, 7};
    const double goal = worstSwrByHand(p.problem, p.problem.network);
    long long passing = 0;
    for (const LadderNetwork& ladder : bruteForceLadders(p, options)) {
      passing += worstSwrByHand(p.problem, ladder) <= goal * (1.0 + 1e-12) ? 1 : 0;
    }
    const double share = static_cast<double>(passing) / options.trials;
    const YieldFigures figures = yieldAt(runTolerance(p.problem, options, 2).worstSwr, goal);
    EXPECT_EQ(figures.trials, options.trials);
    EXPECT_NEAR(figures.share, share, 1.0 / options.trials) << p.name;
    EXPECT_LE(figures.lower, share) << p.name;
    EXPECT_GE(figures.upper, share) << p.name;
    if (p.name == "N = 1") {
      EXPECT_EQ(figures.share, 1.0);  // nothing varies, every trial is the nominal network
    }
    if (p.name == "detuned N = 3") {
      EXPECT_GT(figures.share, 0.2);
      EXPECT_LT(figures.share, 0.8);
      EXPECT_LT(figures.upper - figures.lower, 0.05);
    }
    if (p.name == "ideal N = 3") {
      EXPECT_LT(figures.share, 0.01);  // near the minimax optimum nearly every change is worse
    }
  }
}

// At tolerance 0 every trial is the nominal design: its worst SWR as the sweep's own analysis
// gives it, and a yield of 1 or 0 by that SWR.
TEST(ToleranceTrials, ZeroToleranceRepeatsTheNominalDesign) {
  for (const Problem& p : problems()) {
    if (p.problem.terminal) {
      continue;  // worstInBand judges the model load
    }
    const ToleranceResult result = runTolerance(p.problem, {0.0, 0.0, 50, 3}, 2);
    const FrequencyResponse response = analyseSweep(p.problem.network, p.problem.sweep);
    const double nominal = swrFromRho(
        worstInBand(p.problem.network, response, p.problem.f1, p.problem.f2).worstReflection);
    for (const double swr : result.worstSwr) {
      EXPECT_NEAR(swr, nominal, 1e-12 * nominal) << p.name;
    }
    EXPECT_EQ(yieldAt(result.worstSwr, nominal * (1.0 + 1e-9)).share, 1.0) << p.name;
    EXPECT_EQ(yieldAt(result.worstSwr, nominal * (1.0 - 1e-9)).share, 0.0) << p.name;
    // The band of return loss shrinks to the nominal curve, within its 0.05 dB steps.
    ASSERT_EQ(result.band.frequencyMHz.size(), response.frequencyMHz.size());
    for (std::size_t i = 0; i < response.frequencyMHz.size(); ++i) {
      const double db = 20.0 * std::log10(std::abs(response.reflection[i]));
      EXPECT_LE(result.band.lowerDb[i], db + 1e-9) << p.name;
      EXPECT_GE(result.band.upperDb[i], db - 1e-9) << p.name;
      EXPECT_NEAR(result.band.upperDb[i] - result.band.lowerDb[i], 0.05, 1e-9) << p.name;
    }
  }
}

// The plotted band holds at least 90 % of the brute-force trials' return loss at each frequency
// and is no wider than their 5th to 95th percentile plus a step each side.
TEST(ToleranceTrials, ReturnLossBandHoldsNinetyPercentOfTheTrials) {
  const Problem p = problems()[2];
  const ToleranceOptions options{p.inductorPercent, p.capacitorPercent, 500, 11};
  const std::vector<LadderNetwork> ladders = bruteForceLadders(p, options);
  const ToleranceResult result = runTolerance(p.problem, options, 2);
  ASSERT_EQ(result.band.frequencyMHz.size(), 301u);
  for (std::size_t i = 0; i < result.band.frequencyMHz.size(); i += 10) {
    const double f = result.band.frequencyMHz[i];
    std::vector<double> db;
    for (const LadderNetwork& ladder : ladders) {
      db.push_back(20.0 * std::log10(std::abs(reflectionOf(p.problem, ladder, f))));
    }
    std::sort(db.begin(), db.end());
    const double lower = result.band.lowerDb[i];
    const double upper = result.band.upperDb[i];
    const auto inside = std::count_if(
        db.begin(), db.end(), [&](double v) { return v >= lower - 1e-9 && v <= upper + 1e-9; });
    EXPECT_GE(inside, 450) << f << " MHz";
    EXPECT_GE(lower, db[24] - 0.05 - 1e-9) << f << " MHz";
    EXPECT_LE(upper, db[475] + 0.05 + 1e-9) << f << " MHz";
  }
}

// A sweep longer than the band's limit is sampled evenly, both ends kept.
TEST(ToleranceTrials, LongSweepsDrawTheBandAtEvenlyChosenPoints) {
  const Problem p = problems()[0];
  ToleranceProblem problem = p.problem;
  problem.sweep.points = 4001;
  const ToleranceResult result = runTolerance(problem, {1.0, 1.0, 3, 1}, 1);
  ASSERT_EQ(result.band.frequencyMHz.size(), static_cast<std::size_t>(MAX_BAND_POINTS));
  EXPECT_EQ(result.band.frequencyMHz.front(), sweepFrequency(problem.sweep, 0));
  EXPECT_EQ(result.band.frequencyMHz.back(), sweepFrequency(problem.sweep, 4000));
  EXPECT_EQ(result.band.frequencyMHz[250], sweepFrequency(problem.sweep, 1000));
}

TEST(ToleranceDraws, MapTheGeneratorsIntegersWithinTheTolerance) {
  const double step = std::ldexp(1.0, -53);
  const struct {
    std::uint64_t draw;
    double percent;
    double factor;
  } cases[] = {
      {0, 5.0, 1.0 - 0.05 * (1.0 - step)},
      {std::numeric_limits<std::uint64_t>::max(), 5.0, 1.0 + 0.05 * (1.0 - step)},
      {std::uint64_t{1} << 63, 10.0, 1.0 + 0.1 * step},
      {(std::uint64_t{1} << 63) - 1, 10.0, 1.0 - 0.1 * step},
      {12345, 0.0, 1.0},
      {std::numeric_limits<std::uint64_t>::max(), 50.0, 1.5 - 0.5 * step},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(toleranceFactor(c.draw, c.percent), c.factor) << c.draw;
  }
  EXPECT_EQ(toleranceFactor(987654321, 0.0), 1.0);
}

// Wilson's interval: published values, and the two roots of (s - p)^2 = z^2 p (1 - p) / n.
TEST(YieldInterval, IsWilsonsScoreInterval) {
  const double z = 1.959963984540054;
  const struct {
    long long successes, trials;
    double lower, upper;
  } published[] = {
      {0, 10, 0.0, 0.27753},
      {10, 10, 0.72247, 1.0},
      {50, 100, 0.40383, 0.59617},
  };
  for (const auto& c : published) {
    const ShareInterval interval = wilsonInterval(c.successes, c.trials);
    EXPECT_NEAR(interval.lower, c.lower, 1e-5) << c.successes << "/" << c.trials;
    EXPECT_NEAR(interval.upper, c.upper, 1e-5) << c.successes << "/" << c.trials;
  }
  const std::pair<long long, long long> shares[] = {
      {973, 1000}, {1, 3}, {9999, 10000}, {123456, 1000000}};
  for (const auto& [successes, trials] : shares) {
    const double n = static_cast<double>(trials);
    const double s = static_cast<double>(successes) / n;
    const double a = 1.0 + z * z / n;
    const double b = -(2.0 * s + z * z / n);
    const double c = s * s;
    const double root = std::sqrt(b * b - 4.0 * a * c);
    const ShareInterval interval = wilsonInterval(successes, trials);
    EXPECT_NEAR(interval.lower, (-b - root) / (2.0 * a), 1e-12) << successes;
    EXPECT_NEAR(interval.upper, (-b + root) / (2.0 * a), 1e-12) << successes;
  }
  // No trial failed, or none passed: the interval reaches 1 or 0 exactly.
  for (const long long trials : {1LL, 10LL, 10000LL, 1000000LL}) {
    EXPECT_EQ(wilsonInterval(trials, trials).upper, 1.0) << trials;
    EXPECT_EQ(wilsonInterval(0, trials).lower, 0.0) << trials;
  }
  const ShareInterval none = wilsonInterval(0, 0);
  EXPECT_EQ(none.lower, 0.0);
  EXPECT_EQ(none.upper, 1.0);
}

// Sorted worst SWRs: the trials at or below the goal, and nearest-rank percentiles.
TEST(YieldInterval, CountsTrialsAndTakesNearestRanks) {
  const std::vector<double> sorted = {1.1, 1.5, 2.0, 2.0, 2.5, 3.0, 4.0, 9.0, 9.5, 10.0};
  const std::pair<double, long long> goals[] = {{1.0, 0}, {1.1, 1}, {1.99, 2},
                                                {2.0, 4}, {5.0, 7}, {100.0, 10}};
  for (const auto& [goal, passing] : goals) {
    const YieldFigures figures = yieldAt(sorted, goal);
    EXPECT_EQ(figures.passing, passing) << goal;
    EXPECT_EQ(figures.trials, 10);
    EXPECT_DOUBLE_EQ(figures.share, passing / 10.0);
  }
  // A trial that reflects everything fails every goal.
  EXPECT_EQ(yieldAt({1.2, std::numeric_limits<double>::infinity()}, 1e300).passing, 1);
  // Rank ceil(p n / 100): 5th, 9th, 10th, 6th of ten; the only one of one.
  const std::pair<int, double> ranks[] = {{50, 2.5}, {90, 9.5}, {99, 10.0},
                                          {0, 1.1},  {51, 3.0}, {100, 10.0}};
  for (const auto& [percent, expected] : ranks) {
    EXPECT_EQ(nearestRankPercentile(sorted, percent), expected) << percent;
  }
  EXPECT_EQ(nearestRankPercentile({7.0}, 99), 7.0);
  EXPECT_TRUE(std::isnan(nearestRankPercentile({}, 50)));
}

}  // namespace
}  // namespace bandmatch
