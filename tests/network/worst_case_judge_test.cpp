// The worst-case judge against a brute-force analysis written here: every network evaluated by
// the plain ladder analysis at 300,000 frequencies logarithmic over the band, each local extreme
// (the band edges included) refined by golden sections. Wide bands (1 to 1000 MHz), N = 10,
// networks moved off the equal-ripple design (as a tuner, standard values or part tolerances
// move them), parts with losses, and measured loads coarse and fine.
#include "network/worst_case_judge.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "network/load_fit.hpp"
#include "network/measured_network.hpp"
#include "network/network_build.hpp"
#include "support/measured_loads.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

// The largest of g over [f1, f2]: 300,000 logarithmic points, every local maximum refined.
double bruteLargest(const std::function<double(double)>& g, double f1, double f2) {
  constexpr int points = 300000;
  std::vector<double> f(points);
  std::vector<double> y(points);
  for (int i = 0; i < points; ++i) {
    f[i] = i + 1 == points ? f2 : f1 * std::pow(f2 / f1, i / (points - 1.0));
    y[i] = g(f[i]);
  }
  double largest = *std::max_element(y.begin(), y.end());
  for (int i = 0; i < points; ++i) {
    if ((i > 0 && y[i] < y[i - 1]) || (i + 1 < points && y[i] < y[i + 1])) {
      continue;
    }
    double a = f[std::max(i - 1, 0)];
    double b = f[std::min(i + 1, points - 1)];
    for (int step = 0; step < 60; ++step) {
      const double x1 = b - 0.6180339887498949 * (b - a);
      const double x2 = a + 0.6180339887498949 * (b - a);
      if (g(x1) > g(x2)) {
        b = x2;
      } else {
        a = x1;
      }
    }
    largest = std::max(largest, g(0.5 * (a + b)));
  }
  return largest;
}

// Each value of positions 2..N moved by a factor from 1 / (1 + spread) to 1 + spread.
LadderNetwork moved(LadderNetwork ladder, double spread, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> draw(-1.0, 1.0);
  for (std::size_t k = 1; k < ladder.inductance.size(); ++k) {
    ladder.inductance[k] *= std::pow(1.0 + spread, draw(generator));
    ladder.capacitance[k] *= std::pow(1.0 + spread, draw(generator));
  }
  return ladder;
}

TEST(WorstCaseJudge, NeverFallsBelowABruteForceAnalysis) {
  const ReportedDesign wide = support::reportedDesign(10, 1.0, LoadType::parallel, 1.0, 1000.0);
  const ReportedDesign wideSeries = support::reportedDesign(10, 0.1, LoadType::series, 1.0, 1000.0);
  const ReportedDesign narrow = support::reportedDesign(10, 0.5, LoadType::series, 144.0, 148.0);
  const ReportedDesign three = support::reportedDesign(3, 1.0, LoadType::series, 10.0, 20.0);
  const ReportedDesign five = support::reportedDesign(5, 0.7, LoadType::parallel, 3.5, 4.0);
  const LadderNetwork built =
      networkVariants(five, {50.0, PreferredSeries::e12, 60.0, 300.0}).variants.back().ladder;
  const struct {
    std::string name;
    LadderNetwork ladder;
    double f1, f2;
  } cases[] = {
      {"equal ripple N = 10, 1 to 1000 MHz", wide.ladder, 1.0, 1000.0},
      {"N = 10 moved 20 %, 1 to 1000 MHz", moved(wide.ladder, 0.2, 1), 1.0, 1000.0},
      {"N = 10 moved 60 %, 1 to 1000 MHz", moved(wide.ladder, 0.6, 2), 1.0, 1000.0},
      {"series N = 10 moved 10 %, 1 to 1000 MHz", moved(wideSeries.ladder, 0.1, 3), 1.0, 1000.0},
      {"N = 10 moved 5 %, 144 to 148 MHz", moved(narrow.ladder, 0.05, 4), 144.0, 148.0},
      {"N = 3 moved 30 %", moved(three.ladder, 0.3, 5), 10.0, 20.0},
      {"E12 with losses and a transformer", built, 3.5, 4.0},
      {"lossy N = 5 moved 40 %", moved(built, 0.4, 6), 3.5, 4.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const JudgedBand judged = judgeBand(ladderBand(c.ladder, c.f1, c.f2));
    const auto magnitude = [&](double f) { return std::abs(inputReflection(c.ladder, f)); };
    const double worst = bruteLargest(magnitude, c.f1, c.f2);
    EXPECT_GE(judged.worstReflection, worst - 1e-9);
    EXPECT_LE(judged.worstReflection, worst + 1e-9);
    const double best = -bruteLargest([&](double f) { return -magnitude(f); }, c.f1, c.f2);
    EXPECT_NEAR(judged.bestReflection, best, 1e-9);
    const double worstGain =
        -bruteLargest([&](double f) { return -transducerGain(c.ladder, f); }, c.f1, c.f2);
    EXPECT_NEAR(judged.worstGain, worstGain, 1e-9);
    // Each located peak is a value the network has.
    for (const ReflectionPeak& peak : judged.peaks) {
      EXPECT_NEAR(peak.magnitude, magnitude(peak.frequencyMHz), 1e-12);
    }
  }
}

TEST(WorstCaseJudge, JudgesAMeasuredLoadAtEveryPointAndBetween) {
  // A resonator sampled every 5 kHz, and coarsely with its points off the band edges: the
  // response has corners at the points, and the edges are interpolated.
  const ReportedDesign four = support::reportedDesign(4, 0.8, LoadType::series, 3.5, 4.0);
  const testing::ExactLoad exact{LoadType::series, 55.0, 3.9, 9.0};
  std::mt19937 generator(7);
  std::normal_distribution<double> noise(0.0, 1.5);
  const struct {
    std::string name;
    double step;
    double offset;
    bool noisy;
  } cases[] = {
      {"fine", 0.005, 0.0, false},
      {"coarse, edges between points", 0.0637, 0.013, false},
      {"noisy", 0.002, 0.0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MeasuredLoad load;
    for (double f = 3.0 + c.offset; f < 4.5; f += c.step) {
      const double jitter = c.noisy ? noise(generator) : 0.0;
      load.frequencyMHz.push_back(f);
      load.impedance.push_back(exact.impedance(f) + std::complex<double>(jitter, jitter));
      load.line.push_back(0);
    }
    const Retuning retuning = retuneToCentre(LoadType::series, exact.inductance(),
                                             exact.capacitance(),
                                             2.0 * std::numbers::pi * 1e6 * std::sqrt(14.0));
    const JudgedBand judged =
        judgeBand(ladderBandOnLoad(four.ladder, load, retuning, 3.5, 4.0));
    const double worst = bruteLargest(
        [&](double f) { return std::abs(measuredLoadReflection(four.ladder, load, retuning, f)); },
        3.5, 4.0);
    EXPECT_GE(judged.worstReflection, worst - 1e-9);
    EXPECT_LE(judged.worstReflection, worst + 1e-9);
  }
}

TEST(WorstCaseJudge, SaysInfiniteWhereTheResponseIsNotFinite) {
  LadderNetwork open;
  open.inductance = {1e-6};
  open.capacitance = {1e-10};
  open.loadResistance = 50.0;
  open.sourceResistance = 0.0;  // a short source: 0 / 0 at resonance
  BandToJudge band = ladderBand(open, 10.0, 20.0);
  band.reflectionAt = [](double f) {
    return f > 15.0 ? std::complex<double>(std::nan(""), 0.0) : std::complex<double>(0.5, 0.0);
  };
  const JudgedBand judged = judgeBand(band);
  EXPECT_TRUE(std::isinf(judged.worstReflection));
  EXPECT_GT(judged.worstReflectionMHz, 15.0);
}

}  // namespace
}  // namespace bandmatch
