// Monte Carlo tolerance trials checked against a brute-force computation written here: the same
// documented draws (std::mt19937_64 from the seed, two per position 2..N and one for a retuning
// element, mapped to +-PCT %), each perturbed network judged by the plain ladder analysis on a
// fine logarithmic grid with every local maximum refined by golden sections; the Wilson interval
// against the roots of its quadratic; percentiles and the draw mapping by hand.
#include "network/tolerance.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "network/load_fit.hpp"
#include "network/network_build.hpp"
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

// One trial's network: the ladder and the retuning element.
struct Trial {
  LadderNetwork ladder;
  Retuning retuning;
};

// The input reflection of a trial, on the model load or on the problem's measured load with the
// trial's retuning element (a series inductor here) at the load end of position 2.
std::complex<double> reflectionOf(const ToleranceProblem& problem, const Trial& trial, double f) {
  if (!problem.measuredImpedance) {
    return inputReflection(trial.ladder, f);
  }
  const double omega = 2.0 * std::numbers::pi * 1e6 * f;
  std::complex<double> terminal = problem.measuredImpedance(f);
  if (trial.retuning.kind == RetuningKind::seriesInductor) {
    terminal += std::complex<double>(0.0, omega * trial.retuning.value);
  }
  return reflectionAtSource(trial.ladder,
                            impedanceFromPosition(trial.ladder, 2, terminal, f));
}

// Every trial's perturbed network, drawn here one trial after the other.
std::vector<Trial> bruteForceTrials(const Problem& p, const ToleranceOptions& options) {
  std::mt19937_64 generator(options.seed);
  std::vector<Trial> trials;
  const LadderNetwork& nominal = p.problem.network;
  for (int trial = 0; trial < options.trials; ++trial) {
    Trial drawn{nominal, p.problem.retuning};
    for (std::size_t index = 1; index < nominal.inductance.size(); ++index) {
      const double l = drawnFactor(generator(), p.inductorPercent);
      const double c = drawnFactor(generator(), p.capacitorPercent);
      scaleByHand(drawn.ladder, index, l, c);
    }
    if (drawn.retuning.kind != RetuningKind::none) {
      drawn.retuning.value *= drawnFactor(generator(), p.inductorPercent);
    }
    trials.push_back(drawn);
  }
  return trials;
}

// The worst in-band |Gamma| on 4001 logarithmic points, each local maximum (the band edges
// included) refined by golden sections between its neighbours.
double worstByHand(const ToleranceProblem& problem, const Trial& trial) {
  const int points = 4001;
  std::vector<double> f(points);
  std::vector<double> rho(points);
  for (int i = 0; i < points; ++i) {
    f[i] = i + 1 == points ? problem.f2 : problem.f1 * std::pow(problem.f2 / problem.f1, i / (points - 1.0));
    rho[i] = std::abs(reflectionOf(problem, trial, f[i]));
  }
  double worst = *std::max_element(rho.begin(), rho.end());
  for (int i = 0; i < points; ++i) {
    // A peak can sit between a band edge and the first point inside.
    if ((i == 0 || rho[i] >= rho[i - 1]) && (i + 1 == points || rho[i] >= rho[i + 1])) {
      double a = f[std::max(i - 1, 0)];
      double b = f[std::min(i + 1, points - 1)];
      for (int step = 0; step < 80; ++step) {
        const double x1 = b - 0.6180339887498949 * (b - a);
        const double x2 = a + 0.6180339887498949 * (b - a);
        if (std::abs(reflectionOf(problem, trial, x1)) > std::abs(reflectionOf(problem, trial, x2))) {
          b = x2;
        } else {
          a = x1;
        }
      }
      worst = std::max(worst, std::abs(reflectionOf(problem, trial, 0.5 * (a + b))));
    }
  }
  return worst;
}

double worstSwrByHand(const ToleranceProblem& problem, const Trial& trial) {
  return swrFromRho(worstByHand(problem, trial));
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
  list.push_back({"ideal N = 3", {three.ladder, bandSweep(three, 201), 10.0, 20.0, {}, {}, nullptr}, 5.0, 5.0});

  // Detuned by 6 % in L(2): the trials that pull it back beat the nominal network.
  LadderNetwork detuned = three.ladder;
  detuned.inductance[1] *= 1.06;
  list.push_back({"detuned N = 3", {detuned, bandSweep(three, 201), 10.0, 20.0, {}, {}, nullptr}, 5.0, 5.0});

  const ReportedDesign five = support::reportedDesign(5, 0.8, LoadType::parallel, 3.5, 4.0);
  const NetworkVariants built = networkVariants(five, {50.0, PreferredSeries::e24, 80.0, 400.0});
  list.push_back({"built parallel N = 5",
                  {built.variants.back().ladder, bandSweep(five, 301), 3.5, 4.0, {}, {}, nullptr},
                  2.0,
                  10.0});

  // A load resonating above the band centre, retuned by a series inductor: the inductor is a
  // part with a tolerance of its own.
  const ReportedDesign four = support::reportedDesign(4, 1.0, LoadType::series, 3.5, 4.0);
  const testing::ExactLoad load{LoadType::series, 60.0, 3.9, 8.0};
  const double omega0 = 2.0 * std::numbers::pi * 1e6 * std::sqrt(3.5 * 4.0);
  const Retuning retuning =
      retuneToCentre(LoadType::series, load.inductance(), load.capacitance(), omega0);
  list.push_back({"measured load N = 4",
                  {four.ladder, bandSweep(four, 151), 3.5, 4.0,
                   [load](double f) { return load.impedance(f); }, retuning, nullptr},
                  5.0,
                  1.0});

  const ReportedDesign one = support::reportedDesign(1, 1.0, LoadType::series, 1.0, 2.0);
  list.push_back({"N = 1", {one.ladder, bandSweep(one, 51), 1.0, 2.0, {}, {}, nullptr}, 10.0, 10.0});
  return list;
}

TEST(ToleranceTrials, EqualABruteForceComputationOnEveryThreadCount) {
  for (const Problem& p : problems()) {
    const ToleranceOptions options{p.inductorPercent, p.capacitorPercent, 100, 20261207};
    std::vector<double> expected;
    for (const Trial& trial : bruteForceTrials(p, options)) {
      expected.push_back(worstSwrByHand(p.problem, trial));
    }
    std::sort(expected.begin(), expected.end());
    const ToleranceResult one = runTolerance(p.problem, options, 1);
    ASSERT_EQ(one.worstSwr.size(), expected.size()) << p.name;
    for (std::size_t t = 0; t < expected.size(); ++t) {
      EXPECT_NEAR(one.worstSwr[t], expected[t], 1e-8 * expected[t]) << p.name << " rank " << t;
    }
    EXPECT_NEAR(one.nominalSwr, worstSwrByHand(p.problem, {p.problem.network, p.problem.retuning}),
                1e-8 * one.nominalSwr)
        << p.name;
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
    const ToleranceOptions options{p.inductorPercent, p.capacitorPercent, 500, 7};
    const double goal = worstSwrByHand(p.problem, {p.problem.network, p.problem.retuning});
    long long passing = 0;
    for (const Trial& trial : bruteForceTrials(p, options)) {
      passing += worstSwrByHand(p.problem, trial) <= goal * (1.0 + 1e-12) ? 1 : 0;
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
      EXPECT_LT(figures.upper - figures.lower, 0.1);
    }
    if (p.name == "ideal N = 3") {
      EXPECT_LT(figures.share, 0.01);  // near the minimax optimum nearly every change is worse
    }
  }
}

// At tolerance 0 every trial is the nominal design: its judged worst SWR, and a yield of 1 or 0
// by that SWR.
TEST(ToleranceTrials, ZeroToleranceRepeatsTheNominalDesign) {
  for (const Problem& p : problems()) {
    if (p.problem.measuredImpedance) {
      continue;  // the plotted band below is the model load's
    }
    const ToleranceResult result = runTolerance(p.problem, {0.0, 0.0, 50, 3}, 2);
    const FrequencyResponse response = analyseSweep(p.problem.network, p.problem.sweep);
    const double nominal = result.nominalSwr;
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
  const std::vector<Trial> trials = bruteForceTrials(p, options);
  const ToleranceResult result = runTolerance(p.problem, options, 2);
  ASSERT_EQ(result.band.frequencyMHz.size(), 301u);
  for (std::size_t i = 0; i < result.band.frequencyMHz.size(); i += 10) {
    const double f = result.band.frequencyMHz[i];
    std::vector<double> db;
    for (const Trial& trial : trials) {
      db.push_back(20.0 * std::log10(std::abs(reflectionOf(p.problem, trial, f))));
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
