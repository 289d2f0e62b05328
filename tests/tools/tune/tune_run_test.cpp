// Whole runs of the tuner in a scratch directory: the files of the tuned network and the table on
// the model load, on the shipped nec2c dipole and with standard values; its report read back by
// the exporter; and for every bad input the exit status 2, one line on standard error and no file
// written.
#include "tools/tune/tune_run.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/report_files.hpp"
#include "core/number_format.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::directoryEntries;
using testing::fitWith;
using testing::ToolResult;
using testing::tuneWith;
using testing::writeTextFile;

const std::string DIPOLE = std::string(BANDMATCH_TEST_DATA) + "/../../examples/dipole-80m.s1p";

// The cells of a table row that starts with `label`, split at runs of two or more blanks.
std::vector<std::string> tableRow(const std::string& out, const std::string& label) {
  for (const std::string& line : support::splitLines(out)) {
    if (line.rfind(label + "  ", 0) == 0) {
      std::vector<std::string> cells;
      const std::regex gap(" {2,}");
      for (auto it = std::sregex_token_iterator(line.begin(), line.end(), gap, -1);
           it != std::sregex_token_iterator(); ++it) {
        cells.push_back(*it);
      }
      return cells;
    }
  }
  return {};
}

double worstOf(const std::string& out, const std::string& label) {
  const std::vector<std::string> row = tableRow(out, label);
  return row.size() >= 2 ? std::stod(row[1]) : std::nan("");
}

// The values file as label -> cells after the label.
std::map<std::string, std::vector<double>> valuesFile(const std::string& text) {
  std::map<std::string, std::vector<double>> values;
  const std::vector<std::string> lines = support::splitLines(text);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::istringstream cells(lines[i]);
    std::string label;
    std::getline(cells, label, ',');
    for (std::string cell; std::getline(cells, cell, ',');) {
      values[label].push_back(std::stod(cell));
    }
  }
  return values;
}

TEST(TuneRun, WritesTheTunedNetworksFilesAndTable) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("run1 3 d s 10 20 1 50 e").status, 0);
  const ToolResult result = tuneWith({"run1.csv", "--points", "401"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"run1-tuned-values.csv", "run1-tuned.cir", "run1-tuned.csv",
                                      "run1-tuned.s1p", "run1-tuned.svg", "run1.csv",
                                      "run1.txt"}));
  const std::vector<std::string> lines = support::splitLines(result.out);
  ASSERT_EQ(lines.size(), 9u) << result.out;
  EXPECT_EQ(lines[0],
            "Wrote run1-tuned.cir, run1-tuned.s1p, run1-tuned.svg, run1-tuned.csv and "
            "run1-tuned-values.csv: 401 points from 7.500000 to 22.500000 MHz");
  EXPECT_EQ(lines[1],
            "Tuned on 2001 points of the model load in the band 10.000000 to 20.000000 MHz: L and "
            "C of positions 2 to 3 and the source resistance, each within a factor of 1.5 of its "
            "start either way (--range 50)");
  EXPECT_EQ(lines[2],
            "network                            worst |Gamma|  SWR     return loss (dB)  "
            "change (%)");
  EXPECT_EQ(lines[8], "Tuning: " + lines[8].substr(8, lines[8].find(' ', 8) - 8) +
                          " iterations (NLopt SLSQP); 0.0 ms");

  EXPECT_EQ(tableRow(result.out, "report: model load, N = 3").size(), 4u);
  EXPECT_LT(worstOf(result.out, "tuned on the model load"),
            worstOf(result.out, "untuned on the model load"));
  EXPECT_EQ(support::splitLines(support::readFile("run1-tuned.s1p")).size(), 6u + 401u);
}

// On the shipped nec2c dipole: the plot's levels are the tuned network's on the dipole, labelled
// so; and with --tune-retuning the table names the retuning element among the variables.
TEST(TuneRun, TunesOnAMeasuredLoad) {
  support::ScratchDirectory scratch;
  const ToolResult answers = fitWith({DIPOLE, "3.5", "4.0", "--answers", "3", "--name", "ant"});
  ASSERT_EQ(answers.status, 0) << answers.err;
  ASSERT_EQ(support::runSession(answers.out).status, 0);
  const ToolResult plain = tuneWith({"ant.csv", "--load", DIPOLE, "--out", "plain"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  const std::string plot = support::readFile("plain.svg");
  EXPECT_NE(plot.find(">Tuned, on the measured load:</text>"), std::string::npos);
  EXPECT_NE(plot.find(">|S11| max = " + tableRow(plain.out, "tuned on the measured load")[1] +
                      "</text>"),
            std::string::npos);
  const auto before = valuesFile(support::readFile("plain-values.csv"));
  EXPECT_EQ(before.at("Retuning series inductor (H)")[2], 0.0);

  const ToolResult retuned =
      tuneWith({"ant.csv", "--load", DIPOLE, "--out", "retuned", "--tune-retuning"});
  ASSERT_EQ(retuned.status, 0) << retuned.err;
  EXPECT_NE(retuned.out.find("and the retuning element, each within a factor of 1.5"),
            std::string::npos);
  const auto after = valuesFile(support::readFile("retuned-values.csv"));
  EXPECT_NE(after.at("Retuning series inductor (H)")[2], 0.0);
}

TEST(TuneRun, RoundsToStandardValuesAndReportsBoth) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("run1 3 d s 10 20 1 50 e").status, 0);
  const ToolResult result = tuneWith({"run1.csv", "--source-ohms", "50", "--series", "E24",
                                      "--q-inductor", "100", "--out", "built"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(
      directoryEntries(scratch.path()),
      (std::vector<std::string>{"built-parts.csv", "built-schematic.svg", "built-values.csv",
                                "built.cir", "built.csv", "built.s1p", "built.svg", "run1.csv",
                                "run1.txt"}));
  EXPECT_NE(result.out.find("\nNetwork: E24 values; inductor Q 100; ideal transformer to a 50 "
                            "ohm source\n"),
            std::string::npos);
  EXPECT_NE(result.out.find("L and C of positions 2 to 3 and the transformer's turns ratio,"),
            std::string::npos);
  EXPECT_NE(result.out.find(" with E24 values for the transformer's turns ratio; 0.0 ms\n"),
            std::string::npos);
  const double untuned = worstOf(result.out, "untuned, E24 values, on the model load");
  const double tuned = worstOf(result.out, "tuned, E24 values, on the model load");
  EXPECT_LE(tuned, untuned);
  EXPECT_LT(worstOf(result.out, "tuned on the model load"),
            worstOf(result.out, "untuned on the model load"));
  const std::vector<std::string> values =
      support::splitLines(support::readFile("built-values.csv"));
  EXPECT_EQ(values[0],
            "element,untuned,tuned,change (%),untuned E24 values,tuned E24 values,change (%)");
  EXPECT_EQ(values.back().rfind("Turns Ratio n,", 0), 0u);
  EXPECT_EQ(values[values.size() - 2].rfind("Source Resistance (ohms),5.000000000e+001,", 0), 0u);
}

TEST(TuneRun, RefusesBadInputAndWritesNothing) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("net 2 d s 3.5 4 1 50 e").status, 0);
  writeTextFile("bad.s1p", "# MHz Z RI R 50\n3.5 1 x\n");
  writeTextFile("broken.csv", "not a report\n");
  writeTextFile("run-values.csv", support::readFile("net.csv"));
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"missing.csv"}, "bandmatch-tune: cannot read missing.csv: No such file or directory"},
      {{"broken.csv"}, "bandmatch-tune: broken.csv: "},
      {{"net.csv", "--load", "bad.s1p"}, "bandmatch-tune: bad.s1p: line 2: \"x\" is not a number"},
      {{"net.csv", "--range", "1001"}, "bandmatch-tune: --range must be a number above 0"},
      {{"net.csv", "--tune-retuning"},
       "bandmatch-tune: --tune-retuning needs a measured load (--load)"},
      {{"run-values.csv", "--out", "run"},
       "bandmatch-tune: run-values.csv would replace the report run-values.csv; choose another "
       "--out"},
      {{"net.csv", "--bogus"}, "bandmatch-tune: The following argument was not expected: --bogus"},
  };
  const std::vector<std::string> before = directoryEntries(scratch.path());
  for (const auto& [args, error] : cases) {
    const ToolResult result = tuneWith(args);
    EXPECT_EQ(result.status, 2) << error;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(error, 0), 0u) << result.err;
    EXPECT_EQ(support::splitLines(result.err).size(), 1u);
  }
  EXPECT_EQ(directoryEntries(scratch.path()), before);
  const ToolResult help = tuneWith({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Reads a CSV report written by bandmatch, tunes", 0), 0u);
}

}  // namespace
}  // namespace bandmatch

namespace bandmatch {
namespace {

// The figure a program printed in a line that starts with `prefix`, up to the next comma or blank.
std::string printedAfter(const std::string& out, const std::string& prefix) {
  const std::size_t at = out.find(prefix);
  if (at == std::string::npos) {
    return "(no line " + prefix + ")";
  }
  const std::size_t from = at + prefix.size();
  return out.substr(from, out.find_first_of(", \n", from) - from);
}

// The tuned network's report, read back by the exporter with the same options (and by the tuner
// again), gives the figures the tuner printed for it: the network of the report is the network
// the tuner judged.
TEST(TuneRun, ItsReportReadsBackWithTheSameFigures) {
  const std::string dipole = std::string(BANDMATCH_EXAMPLES) + "/dipole-80m.s1p";
  const struct {
    std::string name;
    std::string session;
    std::vector<std::string> options;
    std::string tunedRow;     // the tuner's row of the network it writes
    std::string exportedRow;  // where the exporter prints the same network's worst |Gamma|
  } cases[] = {
      {"model load, N = 5", "run 5 d p 10 20 1 50 e", {}, "tuned on the model load", ""},
      {"built, N = 4", "run 4 d s 3.5 4 0.8 75 e",
       {"--source-ohms", "50", "--series", "E24", "--q-inductor", "100"},
       "tuned, E24 values, on the model load", "E24 values with losses"},
      {"dipole, retuning tuned", "",
       {"--load", dipole, "--tune-retuning", "--range", "200"}, "tuned on the measured load",
       "In-band |Gamma| on the measured load: min "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    support::ScratchDirectory scratch;
    const std::string session =
        c.session.empty()
            ? testing::fitWith({dipole, "3.5", "4", "--answers", "3", "--name", "run"}).out
            : c.session;
    ASSERT_EQ(support::runSession(session).status, 0);
    std::vector<std::string> args = {"run.csv"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ToolResult tuned = tuneWith(args);
    ASSERT_EQ(tuned.status, 0) << tuned.err;
    const double figure = worstOf(tuned.out, c.tunedRow);

    // Tuned again from its own report: the untuned network is the one just written.
    args[0] = "run-tuned.csv";
    std::vector<std::string> again = args;
    again.insert(again.end(), {"--out", "again"});
    const ToolResult retuned = tuneWith(again);
    ASSERT_EQ(retuned.status, 0) << retuned.err;
    const std::string untunedRow = c.tunedRow.substr(0, c.tunedRow.find(" on the")).replace(0, 5, "untuned") +
                                   c.tunedRow.substr(c.tunedRow.find(" on the"));
    EXPECT_EQ(worstOf(retuned.out, untunedRow), figure) << retuned.out;

    if (c.exportedRow.empty()) {
      // On the model load the report's own worst |Gamma| is the tuned network's.
      EXPECT_NEAR(std::stod(support::readFile("run-tuned.csv")
                                .substr(support::readFile("run-tuned.csv").find("Coefficient Max = ,") + 19)),
                  figure, 0.5e-6);
      continue;
    }
    std::vector<std::string> exportArgs = args;
    exportArgs.erase(std::remove(exportArgs.begin(), exportArgs.end(), "--tune-retuning"),
                     exportArgs.end());
    const auto range = std::find(exportArgs.begin(), exportArgs.end(), "--range");
    if (range != exportArgs.end()) {
      exportArgs.erase(range, range + 2);
    }
    exportArgs.insert(exportArgs.end(), {"--out", "exported"});
    const ToolResult exported = testing::exportWith(exportArgs);
    ASSERT_EQ(exported.status, 0) << exported.err;
    const bool measured = c.exportedRow.rfind("In-band", 0) == 0;
    const double printed =
        measured ? std::stod(printedAfter(exported.out,
                                          printedAfter(exported.out, c.exportedRow) + ", max "))
                 : worstOf(exported.out, c.exportedRow);
    EXPECT_NEAR(printed, figure, 0.5e-6) << exported.out;
  }
}

}  // namespace
}  // namespace bandmatch

namespace bandmatch {
namespace {

// The exporter's tolerance trials and Smith chart, on the tuned network.
TEST(TuneRun, RunsTheTrialsAndDrawsTheSmithChartOfTheTunedNetwork) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("run1 3 d s 10 20 1 50 e").status, 0);
  const ToolResult result = tuneWith(
      {"run1.csv", "--tolerance", "2", "--trials", "50", "--smith", "--goal-swr", "1.3"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"run1-tuned-parts.csv", "run1-tuned-schematic.svg",
                                      "run1-tuned-smith.svg", "run1-tuned-values.csv",
                                      "run1-tuned.cir", "run1-tuned.csv", "run1-tuned.s1p",
                                      "run1-tuned.svg", "run1.csv", "run1.txt"}));
  EXPECT_NE(result.out.find("\nYield: "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("of 50 trials with SWR <= 1.30"), std::string::npos);
  // The nominal network of the trials is the tuned one.
  const double tuned = worstOf(result.out, "tuned on the model load");
  EXPECT_NE(result.out.find("worst in-band SWR " + formatFixed((1 + tuned) / (1 - tuned), 4)),
            std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace bandmatch
