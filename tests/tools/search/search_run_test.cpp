// Whole runs of bandmatch-search: the summary's lines written out by hand, the last line for
// scripts against the chosen network judged again, the files of each option family, the parts
// list rebuilt into the network judged, and for every bad input the exit status 2, one line on
// standard error and no file.
#include "tools/search/search_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::searchWith;
using testing::ToolResult;

const std::string DIPOLE = std::string(BANDMATCH_EXAMPLES) + "/dipole-80m.s1p";

bool hasLine(const std::string& out, const std::string& line) {
  const std::vector<std::string> lines = support::splitLines(out);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The cells of the table row whose first cell is `first`, split at runs of two or more blanks;
// the first such row after the line that starts with `after`, when given.
std::vector<std::string> rowCells(const std::string& out, const std::string& first,
                                  const std::string& after = "") {
  bool searching = after.empty();
  for (const std::string& line : support::splitLines(out)) {
    if (!searching) {
      searching = line.starts_with(after);
      continue;
    }
    std::vector<std::string> cells;
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t gap = std::min(line.find("  ", at), line.size());
      cells.push_back(line.substr(at, gap - at));
      at = std::min(line.find_first_not_of(' ', gap), line.size());
    }
    if (!cells.empty() && cells.front() == first) {
      return cells;
    }
  }
  return {};
}

TEST(SearchRun, PrintsTheRankingWithTheLimitAndTheBestLineLast) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> lines;       // lines the summary holds, written out by hand
    std::vector<std::string> beginnings;  // and lines it starts
    double bestAtMost;                    // the Best line's |Gamma|
  };
  const std::vector<Case> cases = {
      // The Chebyshev ripple of two lines from 50 to 150 ohms over an octave is 0.082200.
      {{"50", "150", "100", "200", "--topology", "T T"},
       {"Source: 50 ohms", "Load: 150 ohms", "Band 100.000000 to 200.000000 MHz; ideal parts",
        "Searched the topology given: screened on 16 frequencies, optimised on 201 frequencies "
        "and judged over the band, in 0.00 s",
        "Rank  Topology  Family  Parts  Iterations  Worst gain (dB)  Worst |Gamma|  SWR"},
       {"1     T T       given   2      "},
       0.08221},
      // The bound exp(-pi decrement) of the resonator fitted to the dipole, 0.116207, as
      // bandmatch-tune prints it (README); 101 measured points lie in the band.
      {{"50", DIPOLE, "3.5", "4.0", "--max-parts", "2", "--series", "E24", "--q-inductor", "100",
        "--q-capacitor", "400", "--line-loss", "0.2", "--pick", "2"},
       {"Load: " + DIPOLE + " (measured, 101 points in the band)",
        "Band 3.500000 to 4.000000 MHz; E24 values; inductor Q 100; capacitor Q 400; lines 0.2 "
        "dB per wavelength"},
       {"Searched 38 topologies of at most 2 parts: each screened on 16 frequencies, the best 8 "
        "optimised on 101 frequencies",
        "Rank   Topology", "Limit  -",
        "Fano bound, the load fits a series resonator within 14.0 %"},
       1.0},
      // 20 pF across 50 ohms over 100 to 300 MHz: exp(-2.5) = 0.082085, SWR 1.1789.
      {{"parallel:R=50,C=20p", "50", "100", "300", "--max-parts", "1"},
       {"Source: parallel:R=50,C=20p (model)"},
       {"Limit  -         Bode-Fano limit of the source model", "Searched 9 topologies"},
       1.0},
  };
  support::ScratchDirectory scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const ToolResult run = searchWith(c.args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const std::string& line : c.lines) {
      EXPECT_TRUE(hasLine(run.out, line)) << line << "\n" << run.out;
    }
    for (const std::string& start : c.beginnings) {
      EXPECT_TRUE(run.out.find(start) != std::string::npos) << start << "\n" << run.out;
    }
    if (c.args[0] == "parallel:R=50,C=20p") {
      EXPECT_TRUE(run.out.find("-0.0294          0.082085       1.1789") != std::string::npos);
    }
    // "Best: TOPOLOGY worst |Gamma| 0.dddddd worst gain -d.dddd dB", the figures those of the
    // row of rank 1.
    const std::string best = support::splitLines(run.out).back();
    const std::size_t reflection = best.find(" worst |Gamma| ");
    const std::size_t gain = best.find(" worst gain ");
    ASSERT_EQ(best.rfind("Best: ", 0), 0u) << best;
    ASSERT_NE(reflection, std::string::npos);
    ASSERT_EQ(gain, reflection + 15 + 8) << best;
    ASSERT_EQ(best.substr(best.size() - 3), " dB");
    const std::string rho = best.substr(reflection + 15, 8);
    const std::string decibels = best.substr(gain + 12, best.size() - 3 - gain - 12);
    EXPECT_LE(std::stod(rho), c.bestAtMost);
    EXPECT_EQ(decibels.substr(decibels.size() - 5, 1), ".");
    const std::vector<std::string> first = rowCells(run.out, "1");
    ASSERT_GE(first.size(), 8u) << run.out;
    EXPECT_EQ(first[5], decibels);
    EXPECT_EQ(first[6], rho);
  }
}

// The chosen network, judged again from its values, its ends and its band, gives the figures
// printed for it.
TEST(SearchRun, ChoosesTheNetworkWhoseFiguresArePrinted) {
  SearchOptions options =
      parseSearchOptions({"series:R=10,C=20p", "parallel:R=200,C=5p", "100", "150", "--max-parts",
                          "2", "--pick", "2", "--points", "11", "--span", "2"});
  ASSERT_EQ(options.action, CommandAction::run);
  const SearchRun run = searchFor(options, [] { return 0.0; });
  ASSERT_EQ(run.error, "");
  for (const int pick : {1, 2}) {
    const std::optional<ChosenNetwork> chosen = chosenNetwork(run, pick);
    ASSERT_TRUE(chosen.has_value());
    const CascadeFigures again = judgedFigures(chosen->cascade.network, run.problem);
    EXPECT_EQ(again.worstReflection, chosen->figures.worstReflection);
    EXPECT_EQ(again.worstGain, chosen->figures.worstGain);
    EXPECT_EQ(
        chosen->topology,
        topologyText(run.result.candidates[static_cast<std::size_t>(pick - 1)].topology.topology));
    EXPECT_EQ(chosen->sweep.points, 11);
    EXPECT_DOUBLE_EQ(chosen->sweep.lowerMHz, 75.0);
    EXPECT_DOUBLE_EQ(chosen->sweep.upperMHz, 175.0);
  }
  EXPECT_FALSE(chosenNetwork(run, 9).has_value());
}

// Each option family's files and lines: the default files under --out with the chosen rank's
// network, the Smith chart, each line's microstrip and each part's stress; the last line stays
// the Best line.
TEST(SearchRun, WritesTheChosenNetworksFilesAllTogether) {
  struct Case {
    std::vector<std::string> args;
    std::string base;
    bool smith;
    std::vector<std::string> lines;  // written out by hand
  };
  const std::vector<Case> cases = {
      // Each sweep is 1.5 times the band wide about its centre: 87.5 to 162.5 MHz here.
      // The inductor next to 200 ohms carries the load's current, sqrt(GT P / RL), at most
      // sqrt(10 / 200) = 0.22361 A, reached where the match is perfect.
      {{"50", "200", "100", "150", "--topology", "X pC sL", "--power", "10", "--out", "net"},
       "net",
       false,
       {"Wrote net.cir, net.s2p, net.s1p, net.svg, net-parts.csv and net-schematic.svg: 801 "
        "points from 87.500000 to 162.500000 MHz",
        "Part stress with 10 W available from the source, worst over the band:"}},
      {{"50", DIPOLE, "3.5", "4.0", "--max-parts", "2", "--pick", "2", "--smith", "--points",
        "21", "--out", "ant"},
       "ant",
       true,
       {"Wrote ant.cir, ant.s2p, ant.s1p, ant.svg, ant-parts.csv, ant-schematic.svg and "
        "ant-smith.svg: 21 points from 3.375000 to 4.125000 MHz"}},
      {{"50", "150", "100", "200", "--topology", "T T", "--substrate", "er=4.4,h=1.6mm,t=35um"},
       "search",
       false,
       {"Wrote search.cir, search.s2p, search.s1p, search.svg, search-parts.csv and "
        "search-schematic.svg: 801 points from 75.000000 to 225.000000 MHz"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base);
    support::ScratchDirectory scratch;
    const ToolResult run = searchWith(c.args);
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> files = {c.base + "-parts.csv", c.base + "-schematic.svg"};
    if (c.smith) {
      files.push_back(c.base + "-smith.svg");
    }
    for (const char* suffix : {".cir", ".s1p", ".s2p", ".svg"}) {
      files.push_back(c.base + suffix);
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(testing::directoryEntries("."), files);
    for (const std::string& line : c.lines) {
      EXPECT_TRUE(hasLine(run.out, line)) << line << "\n" << run.out;
    }
    EXPECT_EQ(support::splitLines(run.out).back().rfind("Best: ", 0), 0u) << run.out;
    // The netlist describes the topology of the rank asked for.
    const std::string topology = rowCells(run.out, c.args[6] == "--pick" ? "2" : "1").at(1);
    EXPECT_NE(support::readFile(c.base + ".cir").find(" " + topology + " from 50 to "),
              std::string::npos);
    if (c.args.back() == "net") {
      EXPECT_EQ(rowCells(run.out, "3", "Part stress").at(4), "2.2361e-001") << run.out;
    }
    if (c.args.back().starts_with("er=")) {
      // A line of theta degrees at f0 = sqrt(100 * 200) MHz is theta / 360 of a wavelength in
      // the dielectric: between lambda0 / sqrt(er) and lambda0 per wavelength.
      const double lambdaMm = 299792458.0 / std::sqrt(100e6 * 200e6) * 1e3;
      for (const char* section : {"1", "2"}) {
        const std::vector<std::string> row = rowCells(run.out, section, "Microstrip on");
        ASSERT_EQ(row.size(), 6u) << run.out;
        const double turns = std::stod(row[3]) / 360.0;
        EXPECT_GT(std::stod(row[5]), turns * lambdaMm / std::sqrt(4.4));
        EXPECT_LT(std::stod(row[5]), turns * lambdaMm);
        EXPECT_NE(support::readFile("search-parts.csv").find("," + row[4] + "," + row[5]),
                  std::string::npos);
      }
    }
  }
}

// The parts list alone rebuilds the network: its exact values, Q and line loss, the ends given
// as typed, judged over the band, give the figures the Best line prints, to its digits.
TEST(SearchRun, ThePartsListRebuildsTheNetworkJudged) {
  const std::vector<std::vector<std::string>> cases = {
      {"series:R=10,C=20p", "parallel:R=200,C=5p", "100", "150", "--max-parts", "2", "--series",
       "E24", "--q-inductor", "80", "--q-capacitor", "300"},
      {"50", "series:R=20,L=60n", "100", "200", "--topology", "T oS", "--line-loss", "0.3"},
      {"25", "100", "100", "150", "--topology", "X sL pC"},
  };
  for (const std::vector<std::string>& args : cases) {
    SCOPED_TRACE(args[4] + " " + args[5]);
    support::ScratchDirectory scratch;
    const ToolResult run = searchWith(args);
    ASSERT_EQ(run.status, 0) << run.err;
    SearchProblem problem;
    problem.source = *parseNetworkEnd(args[0]).end;
    problem.load = *parseNetworkEnd(args[1]).end;
    problem.f1 = std::stod(args[2]);
    problem.f2 = std::stod(args[3]);
    std::map<int, Section> sections;
    for (const std::string& line : support::splitLines(support::readFile("search-parts.csv"))) {
      std::vector<std::string> cell;
      std::stringstream cells(line);
      for (std::string item; std::getline(cells, item, ',');) {
        cell.push_back(item);
      }
      cell.resize(13);
      if (cell[1].empty() || cell[0] == "kind") {
        continue;
      }
      Section& section = sections[std::stoi(cell[1])];
      section.kind = parseTopology(cell[2]).topology.at(0);
      const double value = std::stod(cell[11]);
      if (cell[4] == "L" || cell[4] == "C") {
        (cell[4] == "L" ? section.inductance : section.capacitance) = value;
        (cell[4] == "L" ? section.inductorQ : section.capacitorQ) =
            cell[7].empty() ? LOSSLESS_Q : std::stod(cell[7]);
      } else if (cell[4] == "n") {
        section.turnsRatio = value;
      } else {
        section.impedance = value;
        section.length = std::stod(cell[12]);
        const std::size_t loss = cell[10].find("loss ");
        section.lineLossDb = loss == std::string::npos ? 0.0 : std::stod(cell[10].substr(loss + 5));
      }
    }
    CascadeNetwork network{{}, std::sqrt(problem.f1 * problem.f2)};
    for (const auto& [index, section] : sections) {
      network.sections.push_back(section);
    }
    const CascadeFigures figures = judgedFigures(network, problem);
    const std::string best = support::splitLines(run.out).back();
    const std::size_t rho = best.find(" worst |Gamma| ") + 15;
    const std::size_t gain = best.find(" worst gain ") + 12;
    EXPECT_NEAR(figures.worstReflection, std::stod(best.substr(rho, 8)), 0.5e-6 + 1e-6) << best;
    EXPECT_NEAR(gainDecibels(figures.worstGain), std::stod(best.substr(gain)), 0.5e-4 + 1e-6)
        << best;
  }
}

TEST(SearchRun, RefusesBadInputWithOneLine) {
  support::ScratchDirectory scratch;
  std::filesystem::copy_file(DIPOLE, "dipole.s1p");
  const std::string active = ::testing::TempDir() + "/active.s1p";
  testing::writeTextFile(active, "# MHz Z RI R 50\n1 1 0\n2 -0.2 0\n3 1 0\n");
  struct Case {
    std::vector<std::string> args;
    std::string reason;  // what the line says after "bandmatch-search: "
  };
  const std::vector<Case> cases = {
      {{"50", "5O", "10", "20"},
       "the load \"5O\" is no resistance, series: or parallel: model, and no file to read"},
      {{"series:R=5,Q=3", "50", "10", "20"},
       "the source \"series:R=5,Q=3\": \"Q=3\" is not R=, L= or C= and a value"},
      {{"", "50", "10", "20"}, "the source is empty"},
      {{"50", DIPOLE, "2.9", "4.0"}, DIPOLE + ": line 12: the data start at 3.000000 MHz"},
      {{"50", active, "1", "3"}, active + ": the load is active at 2.000000 MHz"},
      // Active only in the sweep about the band: refused as well.
      {{"50", active, "2.5", "3", "--span", "3"}, active + ": the load is active at"},
      {{"50", "60", "20", "10"}, "F2 must lie above F1, found \"20\" and \"10\""},
      {{"50", "60", "0", "10"}, "F1 and F2 must be frequencies in MHz above 0, found \"0\""},
      {{"50", "60", "10", "20", "--topology", "sL qC"},
       "--topology: unknown section \"qC\" at position 2"},
      {{"50", "60", "10", "20", "--topology", "T", "--max-parts", "3"},
       "--max-parts limits the library; it does not apply to --topology"},
      {{"50", "60", "10", "20", "--max-parts", "0"},
       "--max-parts must be a whole number from 1 to 20, found \"0\""},
      {{"50", "60", "10", "20", "--topology", "T T", "--pick", "2"},
       "--pick 2, but only 1 candidate is ranked"},
      {{"50", "60", "10", "20", "--pick", "0"}, "--pick must be a rank of 1 or more, found \"0\""},
      {{"50", "60", "10", "20", "--line-loss", "-1"},
       "--line-loss must be a number from 0 to 100, found \"-1\""},
      {{"50", "60", "10", "20", "--series", "E7"}, "--series must be one of E12, E24"},
      {{"50", "60", "10", "20", "--q-inductor", "0"}, "--q-inductor must be a number above 0"},
      {{"50", "60", "10", "20", "--points", "1"}, "--points must be a whole number from 2"},
      {{"50", "60", "10", "20", "--out", ""}, "the base name of the files (--out) is empty"},
      {{"50", "60", "10"}, "F2 is required"},
      {{"50", "60", "10", "20", "--pick", "1", "--pick", "2"}, "--pick is given 2 times"},
      {{"50", "60", "10", "20", "--substrate", "er=4.4,h=1.6cm"},
       "--substrate \"er=4.4,h=1.6cm\": \"h=1.6cm\" is not a length"},
      {{"50", "60", "10", "20", "--substrate", "h=1mm"}, "--substrate \"h=1mm\": "},
      {{"50", "60", "10", "20", "--power", "2e9"},
       "--power must be a number of watts from 1e-9 to 1e9, found \"2e9\""},
      // BASE.s1p would be the load itself (the files before it are not written either).
      {{"50", "dipole.s1p", "3.5", "4.0", "--max-parts", "1", "--out", "./dipole"},
       "./dipole.s1p would replace the load dipole.s1p; choose another --out"},
      {{"50", "60", "10", "20", "--max-parts", "1", "--out", "no/such/net"},
       "cannot write no/such/net.cir"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const ToolResult run = searchWith(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    const std::string prefix = "bandmatch-search: " + c.reason;
    EXPECT_EQ(run.err.substr(0, prefix.size()), prefix) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(testing::directoryEntries("."), std::vector<std::string>{"dipole.s1p"});
    EXPECT_EQ(support::readFile("dipole.s1p"), support::readFile(DIPOLE));
  }
}

TEST(SearchRun, AnswersHelpAndVersion) {
  const ToolResult help = searchWith({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const std::string line :
       {"Usage: bandmatch-search [OPTIONS] SOURCE LOAD F1 F2",
        "  sL|C pL|C  an inductor and a capacitor in parallel, in the series or the shunt arm",
        "  X          an ideal transformer (not counted as a part)",
        "  Best: TOPOLOGY worst |Gamma| R worst gain G dB"}) {
    EXPECT_TRUE(hasLine(help.out, line)) << line;
  }
  const ToolResult version = searchWith({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("bandmatch-search ", 0), 0u);
}

}  // namespace
}  // namespace bandmatch
