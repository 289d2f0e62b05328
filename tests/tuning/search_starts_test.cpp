// Starts grown from a smaller network: a two-element arm grown from one part keeps that part's
// reactance at f0 with the slopes asked (L and C in series: X = wL - 1/(wC), dX/dw = L + 1/(w^2 C),
// worked here), and a transformer joins the network without one at 1:1, its values kept; every
// start carries the problem's losses.
#include "tuning/search_starts.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace bandmatch {
namespace {

TEST(SearchStarts, GrowsArmsWithThePartsReactanceAndTheSlopesAsked) {
  SearchProblem problem;
  problem.source = *parseNetworkEnd("50").end;
  problem.load = *parseNetworkEnd("series:R=40,C=53p").end;
  problem.f1 = 80.0;
  problem.f2 = 125.0;
  problem.inductorQ = 70.0;
  const SearchScale scale = searchScale(problem);
  const double omega0 = scale.omega0;  // f0 = 100 MHz
  // The smaller networks: a shunt inductor of 60 ohms at f0 in place of the series L-C across
  // the line, and the whole network without its transformer.
  const auto network = [&](const char* text, double shuntInductance) {
    CascadeNetwork made{{}, 100.0};
    for (const SectionKind kind : parseTopology(text).topology) {
      made.sections.push_back({.kind = kind,
                               .inductance = kind == SectionKind::seriesTank ? 80e-9 : 0.0,
                               .capacitance = kind == SectionKind::seriesTank ? 12e-12 : 9e-12,
                               .turnsRatio = 1.3});
    }
    for (Section& section : made.sections) {
      if (section.kind == SectionKind::shuntInductor ||
          section.kind == SectionKind::shuntResonator) {
        section.inductance = shuntInductance;
        section.capacitance = 1e-9;
      }
    }
    return made;
  };
  const CascadeNetwork withShuntInductor = network("X pL sL|C pC", 60.0 / omega0);
  const CascadeNetwork withoutTransformer = network("pLC sL|C pC", 1e-7);
  const FoundNetworks found = {{parseTopology("X pL sL|C pC").topology, &withShuntInductor},
                               {parseTopology("pLC sL|C pC").topology, &withoutTransformer}};
  const Topology topology = parseTopology("X pLC sL|C pC").topology;
  const std::vector<CascadeNetwork> starts = topologyStarts(topology, {}, found, problem, scale, 1);
  // The neutral start, six seeded ones, two grown from the shunt inductor, one from the network
  // without its transformer.
  ASSERT_EQ(starts.size(), 1u + SEEDED_STARTS + 3u);
  std::vector<double> slopes;
  int keepTheTransformerless = 0;
  for (const CascadeNetwork& start : starts) {
    ASSERT_EQ(start.sections.size(), topology.size());
    EXPECT_EQ(start.sections[1].inductorQ, 70.0);
    const Section& arm = start.sections[1];
    const double reactance = omega0 * arm.inductance - 1.0 / (omega0 * arm.capacitance);
    if (std::fabs(reactance - 60.0) < 1e-9 * 60.0) {
      slopes.push_back((arm.inductance + 1.0 / (omega0 * omega0 * arm.capacitance)) * omega0 /
                       60.0);
    }
    if (start.sections[0].turnsRatio == 1.0 &&
        arm.inductance == withoutTransformer.sections[0].inductance &&
        start.sections[2].capacitance == withoutTransformer.sections[1].capacitance) {
      ++keepTheTransformerless;
    }
  }
  ASSERT_EQ(slopes.size(), 2u);
  EXPECT_NEAR(slopes[0], 2.5, 1e-9);
  EXPECT_NEAR(slopes[1], 10.0, 1e-9);
  EXPECT_EQ(keepTheTransformerless, 1);
}

}  // namespace
}  // namespace bandmatch
