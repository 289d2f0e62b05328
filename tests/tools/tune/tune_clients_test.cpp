// ngspice, an independent simulator, runs the netlist of the tuned network: its reflection must
// be the Touchstone file's at every point, and its worst in-band figure on a 20,001-point
// logarithmic sweep the printed one, on narrow bands and on 1 to 1000 MHz with N = 10 (where
// sampled tuning once hid a peak near f1).
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/external_tools.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::ToolResult;
using testing::touchstoneMagnitudes;
using testing::tuneWith;

// The worst |Gamma| of the table row that starts with `label`.
double printedWorst(const std::string& out, const std::string& label) {
  for (const std::string& line : support::splitLines(out)) {
    if (line.rfind(label + "  ", 0) == 0) {
      std::istringstream cells(line.substr(label.size()));
      double worst = 0.0;
      cells >> worst;
      return worst;
    }
  }
  return -1.0;
}

TEST(ExternalTools, NgspiceReproducesTheTunedNetwork) {
  BANDMATCH_REQUIRE_TOOL("ngspice", "ngspice");
  struct Case {
    std::string session;
    std::vector<std::string> build;
    std::string row;  // the table row of the network the files describe
    double f1, f2;
  };
  const Case cases[] = {
      {"run 5 d s 10 20 1 50 e", {}, "tuned on the model load", 10.0, 20.0},
      {"run 3 d p 144 148 0.6 50 e", {}, "tuned on the model load", 144.0, 148.0},
      {"run 4 d s 3.5 4 0.8 75 e",
       {"--source-ohms", "50", "--series", "E24", "--q-inductor", "100"},
       "tuned, E24 values, on the model load", 3.5, 4.0},
      {"run 10 d p 1 1000 1 50 e", {}, "tuned on the model load", 1.0, 1000.0},
      {"run 10 d p 1 1000 0.1 50 e", {}, "tuned on the model load", 1.0, 1000.0},
      {"run 10 d p 1 100 0.5 50 e", {}, "tuned on the model load", 1.0, 100.0},
  };
  constexpr int points = 2001;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.session);
    support::ScratchDirectory scratch;
    ASSERT_EQ(support::runSession(c.session).status, 0);
    std::vector<std::string> args = {"run.csv", "--points", std::to_string(points), "--span", "1"};
    args.insert(args.end(), c.build.begin(), c.build.end());
    const ToolResult result = tuneWith(args);
    ASSERT_EQ(result.status, 0) << result.err;

    const int status = support::runCommand("ngspice -b run-tuned.cir >ngspice.out 2>ngspice.err");
    const std::string printout = support::readFile("ngspice.out");
    ASSERT_EQ(status, 0) << printout << support::readFile("ngspice.err");
    std::vector<double> simulated;
    for (const std::vector<double>& row : support::ngspiceRows(printout)) {
      simulated.push_back(row.at(1));
    }
    const std::vector<double> exported = touchstoneMagnitudes(support::readFile("run-tuned.s1p"));
    ASSERT_EQ(simulated.size(), static_cast<std::size_t>(points)) << printout;
    ASSERT_EQ(exported.size(), simulated.size());
    for (std::size_t i = 0; i < simulated.size(); ++i) {
      EXPECT_NEAR(simulated[i], exported[i], 1e-6 * exported[i]) << "point " << i;
    }
    // The sweep is the band, edges included; the printed figure is refined between the points,
    // so it may lie a little above ngspice's largest sample, never below it.
    const double worst = *std::max_element(simulated.begin(), simulated.end());
    const double printed = printedWorst(result.out, c.row);
    EXPECT_LE(worst, printed + 0.5e-6) << result.out;
    double fine = 0.0;
    for (const std::vector<double>& row :
         support::ngspiceOnLogSweep("run-tuned.cir", c.f1, c.f2, 20001)) {
      fine = std::max(fine, row.at(1));
    }
    EXPECT_NEAR(fine, printed, 1e-4) << result.out;
    EXPECT_LE(fine, printed + 0.5e-6) << result.out;
  }
}

}  // namespace
}  // namespace bandmatch
