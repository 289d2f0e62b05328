// Independent clients of a network's files: ngspice simulates the netlist of designs from N = 1
// to 10 and of every combination of transformer, standard values and part losses, and its
// reflection and load power must match the Touchstone file, the RF library's transducer gain and
// the worst figures the summary prints at every point; Python's csv module reads the list of
// parts as even columns; xmllint and rsvg-convert take the plot, the schematic and the Smith
// chart, names that need escaping included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/external_tools.hpp"
#include "support/measured_loads.hpp"
#include "support/network_files.hpp"
#include "support/report_files.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

using support::runCommand;
using testing::networkFilesOf;
using testing::touchstoneMagnitudes;
using testing::writeTextFile;

// The frequencies of a Touchstone file's data lines, in Hz.
std::vector<double> touchstoneHertz(const std::string& file) {
  std::vector<double> frequencies;
  for (const std::string& line : support::splitLines(file)) {
    if (!line.empty() && line[0] != '!' && line[0] != '#') {
      frequencies.push_back(1e6 * std::stod(line.substr(0, line.find(' '))));
    }
  }
  return frequencies;
}

// ngspice's rows for the netlist text, run in batch mode in the current folder.
std::vector<std::vector<double>> simulate(const std::string& netlist) {
  writeTextFile("net.cir", netlist);
  const int status = runCommand("ngspice -b net.cir >ngspice.out 2>ngspice.err");
  const std::string printout = support::readFile("ngspice.out");
  EXPECT_EQ(status, 0) << printout << support::readFile("ngspice.err");
  EXPECT_EQ(printout.find("rror"), std::string::npos) << printout;
  return support::ngspiceRows(printout);
}

TEST(ExternalTools, NgspiceReproducesTheTouchstoneMagnitudes) {
  BANDMATCH_REQUIRE_TOOL("ngspice", "ngspice");
  const struct {
    int n;
    double decrement;
    LoadType loadType;
    double span;
    int points;
  } cases[] = {
      {3, 1.0, LoadType::series, 1.5, 801},
      {4, 2.0, LoadType::parallel, 10.0, 2},
      {1, 0.5, LoadType::parallel, 1.0, 57},
      {10, 1.0, LoadType::series, 3.0, 1500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "N = " << c.n);
    support::ScratchDirectory scratch;
    const ReportedDesign design = support::reportedDesign(c.n, c.decrement, c.loadType, 10.0, 20.0);
    const testing::NetworkFilesOutcome outcome =
        networkFilesOf(design, sweepAroundBand(10.0, 20.0, c.span, c.points), {});
    const std::vector<std::vector<double>> simulated = simulate(outcome.files.at(".cir"));
    const std::vector<double> magnitudes = touchstoneMagnitudes(outcome.files.at(".s1p"));
    const std::vector<double> hertz = touchstoneHertz(outcome.files.at(".s1p"));
    ASSERT_EQ(simulated.size(), static_cast<std::size_t>(c.points));
    ASSERT_EQ(magnitudes.size(), simulated.size());
    for (std::size_t i = 0; i < simulated.size(); ++i) {
      ASSERT_EQ(simulated[i].size(), 2u);
      EXPECT_NEAR(simulated[i][0], hertz[i], 1e-12 * hertz[i]);
      EXPECT_NEAR(simulated[i][1], magnitudes[i], 1e-6 * magnitudes[i]) << "point " << i;
    }
  }
}

TEST(ExternalTools, NgspiceAgreesWithEveryCombinationOfBuildOptions) {
  BANDMATCH_REQUIRE_TOOL("ngspice", "ngspice");
  constexpr int points = 61;
  for (int combination = 0; combination < 16; ++combination) {
    BuildOptions options;
    if (combination & 1) {
      options.sourceOhms = 50.0;
    }
    if (combination & 2) {
      options.series = PreferredSeries::e24;
    }
    if (combination & 4) {
      options.inductorQ = 40.0;
    }
    if (combination & 8) {
      options.capacitorQ = 150.0;
    }
    const int n = 2 + combination % 4;
    const LoadType loadType = combination % 3 == 0 ? LoadType::parallel : LoadType::series;
    SCOPED_TRACE(::testing::Message() << "combination " << combination << ", N = " << n);
    support::ScratchDirectory scratch;
    const ReportedDesign design = support::reportedDesign(n, 0.8, loadType, 10.0, 20.0);
    const testing::NetworkFilesOutcome outcome = networkFilesOf(
        design, sweepAroundBand(10.0, 20.0, 1.0, points), {.build = options, .building = true});
    const std::vector<std::vector<double>> simulated = simulate(outcome.files.at(".cir"));
    const std::vector<double> exported = touchstoneMagnitudes(outcome.files.at(".s1p"));
    ASSERT_EQ(simulated.size(), static_cast<std::size_t>(points));
    ASSERT_EQ(exported.size(), static_cast<std::size_t>(points));

    // The library's gain of the same network, the figure the summary is made from.
    const FrequencyResponse& response = outcome.analysis.responses.back();
    const double sourceOhms =
        options.sourceOhms.value_or(outcome.analysis.variants.back().ladder.sourceResistance);
    double worstRho = 0.0;
    double worstGain = 1.0;
    for (std::size_t i = 0; i < simulated.size(); ++i) {
      ASSERT_EQ(simulated[i].size(), 3u);
      EXPECT_NEAR(simulated[i][1], exported[i], 1e-6 * exported[i]) << "point " << i;
      const double gain = simulated[i][2] * 2.0 * sourceOhms;
      EXPECT_NEAR(gain, response.transducerGain[i], 1e-6 * gain) << "point " << i;
      worstRho = std::max(worstRho, simulated[i][1]);
      worstGain = std::min(worstGain, gain);
    }
    // The summary's worst figures of the built network hold over the whole band: never better
    // than ngspice finds on the sweep, and equal to what it finds on a 20,001-point logarithmic
    // one.
    const JudgedBand summary = variantFigures(design, outcome.analysis).back();
    const double summaryGainDb = 10.0 * std::log10(summary.worstGain);
    EXPECT_GE(summary.worstReflection, worstRho - 0.5e-6);
    EXPECT_LE(summaryGainDb, 10.0 * std::log10(worstGain) + 0.5e-4);
    double fineRho = 0.0;
    double fineGain = 1.0;
    for (const std::vector<double>& row :
         support::ngspiceOnLogSweep("net.cir", 10.0, 20.0, 20001)) {
      fineRho = std::max(fineRho, row.at(1));
      fineGain = std::min(fineGain, row.at(2) * 2.0 * sourceOhms);
    }
    EXPECT_NEAR(summary.worstReflection, fineRho, 1e-4);
    EXPECT_GE(summary.worstReflection, fineRho - 0.5e-6);
    EXPECT_NEAR(summaryGainDb, 10.0 * std::log10(fineGain), 1e-4);
  }
}

TEST(ExternalTools, PythonReadsThePartsListAsEvenColumns) {
  BANDMATCH_REQUIRE_TOOL("python3", "python3");
  support::ScratchDirectory scratch;
  const ReportedDesign design = support::reportedDesign(6, 1.0, LoadType::parallel, 3.5, 4.0);
  const testing::NetworkFilesOutcome outcome =
      networkFilesOf(design, sweepAroundBand(3.5, 4.0, 1.5, 101),
                     {.build = {50.0, PreferredSeries::e96, 120.0, {}}, .building = true});
  writeTextFile("real-parts.csv", outcome.files.at("-parts.csv"));
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

// The same number of vertices as points in the plot, and documents a real XML parser accepts for
// report names that need escaping: markup characters, UTF-8, and a byte that is not UTF-8; a
// broken document is refused by the same check, so the check can fail.
TEST(ExternalTools, XmllintFindsThePlotWellFormed) {
  BANDMATCH_REQUIRE_TOOL("xmllint", "libxml2-utils");
  support::ScratchDirectory scratch;
  const ReportedDesign design = support::reportedDesign(5, 0.7, LoadType::parallel, 2.0, 30.0);
  for (const char* report : {"real.csv", "a&b<c>.csv", "caf\xc3\xa9 \xe9.csv"}) {
    SCOPED_TRACE(report);
    const testing::NetworkFilesOutcome outcome =
        networkFilesOf(design, sweepAroundBand(2.0, 30.0, 1.5, 123), {.reportName = report});
    const std::string& svg = outcome.files.at(".svg");
    writeTextFile("plot.svg", svg);
    EXPECT_EQ(runCommand("xmllint --noout plot.svg 2>xmllint.err"), 0)
        << support::readFile("xmllint.err");
    const std::size_t polyline = svg.find("<polyline");
    ASSERT_NE(polyline, std::string::npos);
    EXPECT_EQ(svg.find("<polyline", polyline + 1), std::string::npos);
    const std::size_t start = svg.find("points=\"", polyline) + 8;
    std::istringstream vertices(svg.substr(start, svg.find('"', start) - start));
    std::size_t count = 0;
    for (std::string vertex; vertices >> vertex;) {
      ++count;
    }
    EXPECT_EQ(count, 123u);
  }
  writeTextFile("broken.svg", "<svg><polyline points=\"1,2\"></svg>\n");
  EXPECT_NE(runCommand("xmllint --noout broken.svg 2>/dev/null"), 0);
}

// The schematic of N = 1 and 10 and its plot.
TEST(ExternalTools, XmllintAndRsvgTakeTheSchematic) {
  BANDMATCH_REQUIRE_TOOL("xmllint", "libxml2-utils");
  BANDMATCH_REQUIRE_TOOL("rsvg-convert", "librsvg2-bin");
  support::ScratchDirectory scratch;
  for (const int n : {1, 10}) {
    SCOPED_TRACE(n);
    const ReportedDesign design = support::reportedDesign(n, 0.5, LoadType::series, 144.0, 148.0);
    const testing::NetworkFilesOutcome outcome =
        networkFilesOf(design, sweepAroundBand(144.0, 148.0, 1.5, 201),
                       {.build = {50.0, {}, {}, 300.0}, .building = true, .reportName = "a&b.csv"});
    writeTextFile("net-schematic.svg", outcome.files.at("-schematic.svg"));
    writeTextFile("net.svg", outcome.files.at(".svg"));
    for (const char* file : {"net-schematic.svg", "net.svg"}) {
      EXPECT_EQ(runCommand(std::string("xmllint --noout ") + file + " 2>xmllint.err"), 0)
          << file << support::readFile("xmllint.err");
    }
    EXPECT_EQ(runCommand("rsvg-convert net-schematic.svg -o net.png 2>rsvg.err"), 0)
        << support::readFile("rsvg.err");
    EXPECT_GT(support::readFile("net.png").size(), 1000u);
  }
}

// The Smith chart with a measured load's three curves.
TEST(ExternalTools, XmllintFindsTheSmithChartWellFormed) {
  BANDMATCH_REQUIRE_TOOL("xmllint", "libxml2-utils");
  support::ScratchDirectory scratch;
  const ReportedDesign design = support::reportedDesign(4, 1.0, LoadType::series, 3.5, 4.0);
  const LoadOnNetwork measured = testing::loadOnDesign(
      testing::exactMeasuredLoad({LoadType::series, 70.0, 3.7, 9.0}, 3.0, 4.5, 401), design);
  const testing::NetworkFilesOutcome outcome =
      networkFilesOf(design, sweepAroundBand(3.5, 4.0, 1.5, 301),
                     {.measured = &measured, .smithGoal = 1.5, .reportName = "a&b<c>.csv"});
  writeTextFile("chart-smith.svg", outcome.files.at("-smith.svg"));
  EXPECT_EQ(runCommand("xmllint --noout chart-smith.svg 2>xmllint.err"), 0)
      << support::readFile("xmllint.err");
}

}  // namespace
}  // namespace bandmatch
