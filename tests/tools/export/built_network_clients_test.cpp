// Independent clients of a built network's files: ngspice simulates the netlist of every
// combination of transformer, standard values and part losses, and its reflection and load power
// must match the Touchstone file, the RF library's transducer gain and the printed summary at
// every point; Python's csv module reads the list of parts as even columns; xmllint and
// rsvg-convert take the schematic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "network/network_build.hpp"
#include "network/sweep.hpp"
#include "support/external_tools.hpp"
#include "support/report_files.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using support::runCommand;
using testing::exportWith;
using testing::ToolResult;
using testing::touchstoneMagnitudes;
using testing::writeTextFile;

struct SimulatedPoint {
  double frequencyHz;
  double rho;
  double loadPower;
};

// The rows "index<TAB>frequency<TAB>rho<TAB>pload" of ngspice's printout.
std::vector<SimulatedPoint> ngspiceTable(const std::string& printout) {
  std::vector<SimulatedPoint> points;
  for (const std::vector<double>& row : support::ngspiceRows(printout)) {
    if (row.size() == 3) {
      points.push_back({row[0], row[1], row[2]});
    }
  }
  return points;
}

// The five figures of the summary's last row (the built network), read from the right; a warning
// may follow the table.
std::vector<double> lastSummaryRow(const std::string& out) {
  std::vector<std::string> lines = support::splitLines(out);
  if (lines.back().rfind("Warning:", 0) == 0) {
    lines.pop_back();
  }
  std::istringstream words(lines.back());
  std::vector<std::string> all;
  for (std::string word; words >> word;) {
    all.push_back(word);
  }
  std::vector<double> figures;
  for (std::size_t i = all.size() - 5; i < all.size(); ++i) {
    figures.push_back(std::stod(all[i]));
  }
  return figures;
}

TEST(ExternalTools, NgspiceAgreesWithEveryCombinationOfBuildOptions) {
  BANDMATCH_REQUIRE_TOOL("ngspice", "ngspice");
  constexpr int points = 61;
  for (int combination = 0; combination < 16; ++combination) {
    BuildOptions options;
    std::vector<std::string> args = {"real.csv", "--points", "61", "--span", "1", "--parts"};
    if (combination & 1) {
      options.sourceOhms = 50.0;
      args.insert(args.end(), {"--source-ohms", "50"});
    }
    if (combination & 2) {
      options.series = PreferredSeries::e24;
      args.insert(args.end(), {"--series", "E24"});
    }
    if (combination & 4) {
      options.inductorQ = 40.0;
      args.insert(args.end(), {"--q-inductor", "40"});
    }
    if (combination & 8) {
      options.capacitorQ = 150.0;
      args.insert(args.end(), {"--q-capacitor", "150"});
    }
    const int n = 2 + combination % 4;
    const LoadType loadType = combination % 3 == 0 ? LoadType::parallel : LoadType::series;
    SCOPED_TRACE(::testing::Message() << "combination " << combination << ", N = " << n);
    support::ScratchDirectory scratch;
    const ReportedDesign reported = support::reportedDesign(n, 0.8, loadType, 10.0, 20.0);
    writeTextFile("real.csv", testing::realReportText(
                                  testing::synthesizedDesign(n, 0.8, loadType, 10.0, 20.0)));
    const ToolResult result = exportWith(args);
    ASSERT_EQ(result.status, 0) << result.err;

    const int status = runCommand("ngspice -b real.cir >ngspice.out 2>ngspice.err");
    const std::string printout = support::readFile("ngspice.out");
    ASSERT_EQ(status, 0) << printout << support::readFile("ngspice.err");
    const std::vector<SimulatedPoint> simulated = ngspiceTable(printout);
    const std::vector<double> exported = touchstoneMagnitudes(support::readFile("real.s1p"));
    ASSERT_EQ(simulated.size(), static_cast<std::size_t>(points)) << printout;
    ASSERT_EQ(exported.size(), static_cast<std::size_t>(points));

    // The library's gain of the same network, the figure the summary is made from.
    const LadderNetwork built = networkVariants(reported, options).variants.back().ladder;
    const FrequencyResponse response =
        analyseSweep(built, sweepAroundBand(10.0, 20.0, 1.0, points));
    const double sourceOhms = options.sourceOhms.value_or(built.sourceResistance);
    double worstRho = 0.0;
    double worstGain = 1.0;
    for (std::size_t i = 0; i < simulated.size(); ++i) {
      EXPECT_NEAR(simulated[i].rho, exported[i], 1e-6 * exported[i]) << "point " << i;
      const double gain = simulated[i].loadPower * 2.0 * sourceOhms;
      EXPECT_NEAR(gain, response.transducerGain[i], 1e-6 * gain) << "point " << i;
      worstRho = std::max(worstRho, simulated[i].rho);
      worstGain = std::min(worstGain, gain);
    }
    // The summary's worst figures hold over the whole band: never better than ngspice finds on
    // the sweep, and equal to what it finds on a 20,001-point logarithmic one.
    const std::vector<double> summary = lastSummaryRow(result.out);
    EXPECT_GE(summary[0], worstRho - 0.5e-6);
    EXPECT_LE(summary[3], 10.0 * std::log10(worstGain) + 0.5e-4);
    double fineRho = 0.0;
    double fineGain = 1.0;
    for (const std::vector<double>& row : support::ngspiceOnLogSweep("real.cir", 10.0, 20.0, 20001)) {
      fineRho = std::max(fineRho, row.at(1));
      fineGain = std::min(fineGain, row.at(2) * 2.0 * sourceOhms);
    }
    EXPECT_NEAR(summary[0], fineRho, 1e-4);
    EXPECT_GE(summary[0], fineRho - 0.5e-6);
    EXPECT_NEAR(summary[3], 10.0 * std::log10(fineGain), 1e-4);
  }
}

TEST(ExternalTools, PythonReadsThePartsListAsEvenColumns) {
  BANDMATCH_REQUIRE_TOOL("python3", "python3");
  support::ScratchDirectory scratch;
  const DesignCase design = testing::synthesizedDesign(6, 1.0, LoadType::parallel, 3.5, 4.0);
  writeTextFile("real.csv", testing::realReportText(design));
  ASSERT_EQ(
      exportWith({"real.csv", "--source-ohms", "50", "--series", "E96", "--q-inductor", "120"})
          .status,
      0);
  // Every row has the header's eleven cells; numbers are numbers where they are given.
  writeTextFile(
      "check.py",
      "import csv, sys\n"
      "rows = list(csv.reader(open('real-parts.csv', encoding='utf-8', newline='')))\n"
      "assert rows[0][:5] == ['kind', 'position', 'branch', 'element', 'ideal'], rows[0]\n"
      "assert all(len(row) == 11 for row in rows), [len(row) for row in rows]\n"
      "assert len(rows) == 1 + 1 + 1 + 2 * 6 + 1, len(rows)\n"
      "for row in rows[1:]:\n"
      "    for cell in (row[4], row[5], row[6], row[8], row[10]):\n"
      "        if cell:\n"
      "            float(cell)\n"
      "assert [row[0] for row in rows[-3:]] == ['load resonator'] * 2 + ['load']\n"
      "assert rows[3][7] in ('pH', 'nH', '\\u00b5H', 'mH', 'H', 'pF', 'nF', "
      "'\\u00b5F', 'fF')\n");
  EXPECT_EQ(runCommand("python3 check.py 2>python.err"), 0) << support::readFile("python.err");
}

TEST(ExternalTools, XmllintAndRsvgTakeTheSchematic) {
  BANDMATCH_REQUIRE_TOOL("xmllint", "libxml2-utils");
  BANDMATCH_REQUIRE_TOOL("rsvg-convert", "librsvg2-bin");
  support::ScratchDirectory scratch;
  for (const int n : {1, 10}) {
    const DesignCase design = testing::synthesizedDesign(n, 0.5, LoadType::series, 144.0, 148.0);
    writeTextFile("a&b.csv", testing::realReportText(design));
    ASSERT_EQ(exportWith({"a&b.csv", "--source-ohms", "50", "--q-capacitor", "300", "--out", "net"})
                  .status,
              0);
    for (const char* file : {"net-schematic.svg", "net.svg"}) {
      EXPECT_EQ(runCommand(std::string("xmllint --noout ") + file + " 2>xmllint.err"), 0)
          << file << support::readFile("xmllint.err");
    }
    EXPECT_EQ(runCommand("rsvg-convert net-schematic.svg -o net.png 2>rsvg.err"), 0)
        << support::readFile("rsvg.err");
    EXPECT_GT(support::readFile("net.png").size(), 1000u);
  }
}

}  // namespace
}  // namespace bandmatch
