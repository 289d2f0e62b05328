// Each part's sensitivity against a dense brute-force search written here: the worst in-band
// |S11| of the network with one part (a measured load's retuning inductor too) 1 % up and 1 %
// down, over 20,001 evenly spaced frequencies, and half their difference; the summary's order
// and each part's name by hand.
#include "network/part_sensitivity.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "network/load_fit.hpp"
#include "network/network_build.hpp"
#include "network/sweep.hpp"
#include "support/measured_loads.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

// The reflection of a network on the problem's load; the retuning element is a series inductor.
std::complex<double> reflectionOf(const ToleranceProblem& problem, const LadderNetwork& ladder,
                                  double retuningHenries, double f) {
  if (!problem.measuredImpedance) {
    return inputReflection(ladder, f);
  }
  const std::complex<double> terminal =
      problem.measuredImpedance(f) +
      std::complex<double>(0.0, 2.0 * std::numbers::pi * 1e6 * f * retuningHenries);
  return reflectionAtSource(ladder, impedanceFromPosition(ladder, 2, terminal, f));
}

double denseWorst(const ToleranceProblem& problem, const LadderNetwork& ladder,
                  double retuningHenries) {
  double worst = 0.0;
  constexpr int POINTS = 20001;
  for (int i = 0; i < POINTS; ++i) {
    const double f = problem.f1 + (problem.f2 - problem.f1) * i / (POINTS - 1);
    worst = std::max(worst, std::abs(reflectionOf(problem, ladder, retuningHenries, f)));
  }
  return worst;
}

// One part another value with the same Q: an inductor's loss w L / Q grows with it, a
// capacitor's 1 / (w C Q) shrinks.
LadderNetwork scaledByHand(LadderNetwork ladder, std::size_t index, PartKind kind, double factor) {
  const bool inductor = kind == PartKind::inductor;
  (inductor ? ladder.inductance : ladder.capacitance)[index] *= factor;
  std::vector<double>& losses = inductor ? ladder.inductorLoss : ladder.capacitorLoss;
  if (index < losses.size()) {
    losses[index] *= inductor ? factor : 1.0 / factor;
  }
  return ladder;
}

TEST(PartSensitivities, EqualADenseCentralDifference) {
  const ReportedDesign three = support::reportedDesign(3, 1.0, LoadType::series, 10.0, 20.0);
  const ReportedDesign four = support::reportedDesign(4, 0.7, LoadType::series, 3.5, 4.0);
  const NetworkVariants built = networkVariants(four, {50.0, PreferredSeries::e24, 100.0, 500.0});
  // A load resonating at 3.9 MHz, retuned to the band centre by a series inductor.
  const testing::ExactLoad load{LoadType::series, 60.0, 3.9, 8.0};
  const Retuning retuning = retuneToCentre(LoadType::series, load.inductance(),
                                           load.capacitance(),
                                           2.0 * std::numbers::pi * 1e6 * std::sqrt(3.5 * 4.0));
  const Sweep sweep = sweepAroundBand(3.5, 4.0, 1.5, 101);
  const auto onLoad = [load](double f) { return load.impedance(f); };
  const struct {
    std::string name;
    ToleranceProblem problem;
  } cases[] = {
      {"ideal N = 3", {three.ladder, sweep, 10.0, 20.0, {}, {}, nullptr}},
      {"built N = 4", {built.variants.back().ladder, sweep, 3.5, 4.0, {}, {}, nullptr}},
      {"N = 4 on a measured load", {four.ladder, sweep, 3.5, 4.0, onLoad, retuning, nullptr}},
  };
  for (const auto& c : cases) {
    const ToleranceProblem& problem = c.problem;
    const std::vector<PartSensitivity> sensitivities = partSensitivities(problem);
    const std::size_t n = problem.network.inductance.size();
    const bool retuned = static_cast<bool>(problem.measuredImpedance);
    ASSERT_EQ(sensitivities.size(), 2 * (n - 1) + (retuned ? 1 : 0)) << c.name;
    const double henries = retuned ? retuning.value : 0.0;
    for (std::size_t k = 0; k < sensitivities.size(); ++k) {
      const PartSensitivity& s = sensitivities[k];
      double expected = 0.0;
      if (k == 2 * (n - 1)) {
        // The retuning inductor, last, as part 1.
        EXPECT_EQ(partName(s), "L(1)");
        expected = (denseWorst(problem, problem.network, henries * 1.01) -
                    denseWorst(problem, problem.network, henries * 0.99)) /
                   2.0;
      } else {
        EXPECT_EQ(s.position, static_cast<int>(k / 2) + 2) << c.name;
        EXPECT_EQ(s.kind, k % 2 == 0 ? PartKind::inductor : PartKind::capacitor) << c.name;
        const std::size_t index = static_cast<std::size_t>(s.position) - 1;
        const LadderNetwork up = scaledByHand(problem.network, index, s.kind, 1.01);
        const LadderNetwork down = scaledByHand(problem.network, index, s.kind, 0.99);
        expected =
            (denseWorst(problem, up, henries) - denseWorst(problem, down, henries)) / 2.0;
      }
      EXPECT_NEAR(s.change, expected, 2e-6) << c.name << " " << partName(s);
    }
  }
  // One resonator is the load alone: nothing to list.
  const ReportedDesign one = support::reportedDesign(1, 1.0, LoadType::series, 1.0, 2.0);
  EXPECT_TRUE(
      partSensitivities({one.ladder, sweep, 1.0, 2.0, {}, {}, nullptr}).empty());
}

TEST(PartSensitivities, ListLargestFirstByMagnitude) {
  const std::vector<PartSensitivity> listed = {
      {2, PartKind::inductor, 1e-3}, {2, PartKind::capacitor, -4e-3}, {3, PartKind::inductor, 4e-3},
      {3, PartKind::capacitor, 0.0}, {10, PartKind::inductor, -2e-2},
  };
  std::vector<std::string> names;
  for (const PartSensitivity& s : largestFirst(listed)) {
    names.push_back(partName(s));
  }
  // Equal magnitudes keep the list's order.
  EXPECT_EQ(names, (std::vector<std::string>{"L(10)", "C(2)", "L(3)", "L(2)", "C(3)"}));
  EXPECT_EQ(formatSensitivity(-1.2346e-3), "-1.235e-003");
  EXPECT_EQ(formatSensitivity(0.0), "0.000e+000");
}

}  // namespace
}  // namespace bandmatch
