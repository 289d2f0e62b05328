// Real clients of the exported files: ngspice runs the netlist in batch mode and must reproduce
// the Touchstone file's magnitudes, and xmllint must find the plot well-formed.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/external_tools.hpp"
#include "support/measured_loads.hpp"
#include "support/report_files.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::exportWith;
using testing::ToolResult;
using testing::writeTextFile;

using support::runCommand;

struct Point {
  double frequencyHz;
  double magnitude;
};

// The rows "index<TAB>frequency<TAB>rho" of ngspice's printout.
std::vector<Point> ngspiceTable(const std::string& printout) {
  std::vector<Point> points;
  for (const std::vector<double>& row : support::ngspiceRows(printout)) {
    if (row.size() == 2) {
      points.push_back({row[0], row[1]});
    }
  }
  return points;
}

// The data lines of a Touchstone file, frequency converted to Hz.
std::vector<Point> touchstoneTable(const std::string& file) {
  std::vector<Point> points;
  for (const std::string& line : support::splitLines(file)) {
    if (line.empty() || line[0] == '!' || line[0] == '#') {
      continue;
    }
    std::istringstream data(line);
    double frequencyMHz = 0.0;
    double magnitude = 0.0;
    data >> frequencyMHz >> magnitude;
    points.push_back({frequencyMHz * 1e6, magnitude});
  }
  return points;
}

struct SimulatedCase {
  int n;
  double decrement;
  LoadType loadType;
  std::vector<std::string> options;
  std::size_t points;
};

TEST(ExternalTools, NgspiceReproducesTheTouchstoneMagnitudes) {
  BANDMATCH_REQUIRE_TOOL("ngspice", "ngspice");
  const std::vector<SimulatedCase> cases = {
      {3, 1.0, LoadType::series, {}, 801},
      {4, 2.0, LoadType::parallel, {"--points", "2", "--span", "10"}, 2},
      {1, 0.5, LoadType::parallel, {"--points", "57", "--span", "1"}, 57},
      {10, 1.0, LoadType::series, {"--points", "1500", "--span", "3"}, 1500},
  };
  for (const SimulatedCase& c : cases) {
    support::ScratchDirectory scratch;
    const DesignCase design = testing::synthesizedDesign(c.n, c.decrement, c.loadType, 10.0, 20.0);
    writeTextFile("real.csv", testing::realReportText(design));
    std::vector<std::string> args = {"real.csv"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ToolResult result = exportWith(args);
    ASSERT_EQ(result.status, 0) << result.err;

    const int status = runCommand("ngspice -b real.cir >ngspice.out 2>ngspice.err");
    const std::string printout = support::readFile("ngspice.out");
    ASSERT_EQ(status, 0) << "ngspice missing or failed (status " << status << ")\n"
                         << printout << support::readFile("ngspice.err");
    EXPECT_EQ(printout.find("rror"), std::string::npos) << printout;

    const std::vector<Point> simulated = ngspiceTable(printout);
    const std::vector<Point> exported = touchstoneTable(support::readFile("real.s1p"));
    ASSERT_EQ(simulated.size(), c.points) << printout;
    ASSERT_EQ(exported.size(), c.points);
    for (std::size_t i = 0; i < c.points; ++i) {
      EXPECT_NEAR(simulated[i].frequencyHz, exported[i].frequencyHz,
                  1e-12 * exported[i].frequencyHz);
      EXPECT_NEAR(simulated[i].magnitude, exported[i].magnitude, 1e-6 * exported[i].magnitude)
          << "N = " << c.n << ", point " << i;
    }
  }
}

// The same number of vertices as points, in a document a real XML parser accepts; a broken
// document is refused by the same check, so the check can fail.
TEST(ExternalTools, XmllintFindsThePlotWellFormed) {
  BANDMATCH_REQUIRE_TOOL("xmllint", "libxml2-utils");
  support::ScratchDirectory scratch;
  const DesignCase design = testing::synthesizedDesign(5, 0.7, LoadType::parallel, 2.0, 30.0);
  // Report names that need escaping: markup characters, UTF-8, and a byte that is not UTF-8.
  const std::vector<std::string> reports = {"real.csv", "a&b<c>.csv", "caf\xc3\xa9 \xe9.csv"};
  for (const std::string& report : reports) {
    writeTextFile(report, testing::realReportText(design));
    const ToolResult result = exportWith({report, "--points", "123", "--out", "plot"});
    ASSERT_EQ(result.status, 0) << result.err;
    const int status = runCommand("xmllint --noout plot.svg 2>xmllint.err");
    EXPECT_EQ(status, 0) << "xmllint missing or refused the plot (status " << status << ")\n"
                         << support::readFile("xmllint.err");
    const std::string svg = support::readFile("plot.svg");
    const std::size_t polyline = svg.find("<polyline");
    ASSERT_NE(polyline, std::string::npos);
    EXPECT_EQ(svg.find("<polyline", polyline + 1), std::string::npos);
    const std::size_t start = svg.find("points=\"", polyline) + 8;
    const std::string points = svg.substr(start, svg.find('"', start) - start);
    std::istringstream vertices(points);
    std::size_t count = 0;
    for (std::string vertex; vertices >> vertex;) {
      ++count;
    }
    EXPECT_EQ(count, 123u);
  }
  writeTextFile("broken.svg", "<svg><polyline points=\"1,2\"></svg>\n");
  EXPECT_NE(runCommand("xmllint --noout broken.svg 2>/dev/null"), 0);
}

// The Smith chart, with a measured load's three curves and a name that needs escaping, is a
// document a real XML parser accepts.
TEST(ExternalTools, XmllintFindsTheSmithChartWellFormed) {
  BANDMATCH_REQUIRE_TOOL("xmllint", "libxml2-utils");
  support::ScratchDirectory scratch;
  const DesignCase design = testing::synthesizedDesign(4, 1.0, LoadType::series, 3.5, 4.0);
  writeTextFile("a&b<c>.csv", testing::realReportText(design));
  const testing::ExactLoad load{LoadType::series, 70.0, 3.7, 9.0};
  writeTextFile("load.s1p", testing::exactLoadFile(load, 3.0, 4.5, 401));
  const ToolResult result = exportWith(
      {"a&b<c>.csv", "--load", "load.s1p", "--smith", "--goal-swr", "1.5", "--out", "chart"});
  ASSERT_EQ(result.status, 0) << result.err;
  const int status = runCommand("xmllint --noout chart-smith.svg 2>xmllint.err");
  EXPECT_EQ(status, 0) << "xmllint missing or refused the chart (status " << status << ")\n"
                       << support::readFile("xmllint.err");
}

}  // namespace
}  // namespace bandmatch
