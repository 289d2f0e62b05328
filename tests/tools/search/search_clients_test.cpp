// ngspice runs the netlist bandmatch-search writes for its chosen network as it is, and the worst
// transducer gain it simulates over the band, on a fine logarithmic grid with both edges, is the
// worst gain the program prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/external_tools.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

TEST(SearchClients, NgspiceSimulatesThePrintedWorstGain) {
  BANDMATCH_REQUIRE_TOOL("ngspice", "ngspice");
  // Lumped networks between resistances and between complex models, lines and a stub, and a
  // transformer with lossy parts.
  const std::vector<std::vector<std::string>> cases = {
      {"50", "200", "100", "300", "--topology", "pC sL pC"},
      {"series:R=10,C=20p", "parallel:R=200,C=5p", "100", "150", "--topology", "sL pC sL"},
      {"50", "series:R=20,L=60n", "100", "200", "--topology", "T oS T"},
      {"25", "parallel:R=200,C=8p", "100", "150", "--topology", "X pC sL", "--q-inductor", "80"},
  };
  for (const std::vector<std::string>& args : cases) {
    SCOPED_TRACE(args[5]);
    support::ScratchDirectory scratch;
    const testing::ToolResult run = testing::searchWith(args);
    ASSERT_EQ(run.status, 0) << run.err;
    double worst = HUGE_VAL;
    const double f1 = std::stod(args[2]);
    const double f2 = std::stod(args[3]);
    for (const std::vector<double>& row : support::ngspiceOnLogSweep("search.cir", f1, f2, 20001)) {
      worst = std::min(worst, 10.0 * std::log10(row.at(3)));  // frequency, rho, pload, gain
    }
    ASSERT_TRUE(std::isfinite(worst)) << support::readFile("search.cir");
    const std::string best = support::splitLines(run.out).back();
    const double printed = std::stod(best.substr(best.find(" worst gain ") + 12));
    EXPECT_NEAR(worst, printed, 1e-4) << best;
  }
}

}  // namespace
}  // namespace bandmatch
