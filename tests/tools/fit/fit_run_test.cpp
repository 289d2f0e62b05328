// Whole runs of bandmatch-fit: the report of a load, the table for a decrement alone, the answer
// words taken by the real dialogue, and every refusal as status 2 with one line on standard
// error, nothing on standard output and no file left behind.
#include "tools/fit/fit_run.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/measured_loads.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::directoryEntries;
using testing::ExactLoad;
using testing::exactLoadFile;
using testing::fitWith;
using testing::ToolResult;
using testing::writeTextFile;

TEST(FitRun, PrintsTheUsageAndTheVersion) {
  const ToolResult help = fitWith({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* text : {"Usage: bandmatch-fit [OPTIONS] [LOAD] [F1] [F2]", "--model M",
                           "--answers N", "--name NAME", "--decrement D", "--version"}) {
    EXPECT_NE(help.out.find(text), std::string::npos) << text << "\n" << help.out;
  }
  const ToolResult version = fitWith({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "bandmatch-fit 1.0.0\n");
}

TEST(FitRun, ReportsTheExactLoadAndItsBestMatch) {
  support::ScratchDirectory scratch;
  const ExactLoad load{LoadType::series, 72.0, 3.75, 11.0};
  writeTextFile("ant.s1p", exactLoadFile(load, 3.0, 4.5, 301));
  const ToolResult result = fitWith({"ant.s1p", "3.5", "4.0"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::string& out = result.out;
  EXPECT_EQ(out.rfind("Load: ant.s1p, 101 measured points in the band 3.500000 to 4.000000 MHz "
                      "(301 in the file)\n\nModel: series R-L-C, the better of the two models\n",
                      0),
            0u)
      << out;
  EXPECT_NE(out.find("\n   inf   "), std::string::npos);
  EXPECT_EQ(out.find("WARNING"), std::string::npos);
}

TEST(FitRun, PrintsTheTableForADecrementAlone) {
  const ToolResult one = fitWith({"--decrement", "1"});
  ASSERT_EQ(one.status, 0) << one.err;
  const std::vector<std::string> lines = support::splitLines(one.out);
  ASSERT_EQ(lines.size(), 13u) << one.out;
  EXPECT_EQ(lines[0],
            "Best match for Load Decrement 1.000000000e+000 (Fano; N resonators, inf for "
            "infinitely many):");
  EXPECT_EQ(one.err, "");
}

// The answer words, one a line, take the console program's dialogue through the design.
TEST(FitRun, PrintsTheAnswersTheDialogueTakes) {
  support::ScratchDirectory scratch;
  writeTextFile("ant.s1p", exactLoadFile({LoadType::series, 72.0, 3.75, 11.0}, 3.0, 4.5, 151));
  const ToolResult answers = fitWith({"ant.s1p", "3.5", "4.0", "--answers", "4", "--name", "a"});
  ASSERT_EQ(answers.status, 0) << answers.err;
  EXPECT_EQ(answers.err, "");
  EXPECT_EQ(support::splitLines(answers.out).size(), 10u) << answers.out;
  EXPECT_EQ(answers.out.rfind("a\n4\nl\ns\n", 0), 0u) << answers.out;
  EXPECT_EQ(support::runSession(answers.out).status, 0);
  EXPECT_NE(support::readFile("a.csv"), "");
}

// Loads whose description lies outside what the dialogue takes: refused in --answers mode with
// the reason, and shown as "none" in the report.
TEST(FitRun, RefusesAnswersTheDialogueCannotTake) {
  struct Case {
    ExactLoad load;
    double low;
    double high;
    std::vector<std::string> band;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{LoadType::series, 72.0, 8e5, 11.0},
       6e5,
       1.2e6,
       {"650000", "1000000"},
       "the upper band edge (MHz) 1.000000e+006 lies outside the dialogue's range"},
      {{LoadType::series, 72.0, 3e-7, 2.0},
       1e-7,
       9e-7,
       {"0.0000002", "0.0000005"},
       "the lower band edge (MHz) 2.000000e-007 lies outside the dialogue's range"},
      {{LoadType::series, 2e6, 3.75, 11.0},
       3.0,
       4.5,
       {"3.5", "4"},
       "the average resistance (ohms) 2.000000e+006 lies outside the dialogue's range"},
      {{LoadType::parallel, 1e-45, 3.75, 11.0},
       3.0,
       4.5,
       {"3.5", "4"},
       "the average conductance (S) 1.000000e-045 lies outside the dialogue's range"},
      {{LoadType::parallel, 1e-30, 3.75, 11.0},
       3.0,
       4.5,
       {"3.5", "4"},
       "the load cannot be written in the dialogue's plain decimals of at most 39 characters"},
  };
  for (const Case& c : cases) {
    support::ScratchDirectory scratch;
    writeTextFile("load.s1p", exactLoadFile(c.load, c.low, c.high, 61));
    std::vector<std::string> args = {"load.s1p", c.band[0], c.band[1], "--model", "parallel"};
    if (c.load.type == LoadType::series) {
      args.back() = "series";
    }
    const ToolResult report = fitWith(args);
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_NE(report.out.find("   none: " + c.error), std::string::npos) << report.out;
    args.insert(args.end(), {"--answers", "2", "--name", "x"});
    const ToolResult answers = fitWith(args);
    EXPECT_EQ(answers.status, 2);
    EXPECT_EQ(answers.out, "");
    EXPECT_EQ(answers.err.rfind("bandmatch-fit: load.s1p: " + c.error, 0), 0u) << answers.err;
  }
}

// A load of Q 8 resonating at f0 = sqrt(14) MHz itself, which the fit's rounding once gave a
// series capacitor of 3.7e5 F: no element in any program.
TEST(FitRun, EveryProgramGivesNoElementToALoadResonatingAtTheCentre) {
  support::ScratchDirectory scratch;
  writeTextFile("load.s1p",
                exactLoadFile({LoadType::series, 72.0, std::sqrt(14.0), 8.0}, 3.15, 4.4, 101));
  EXPECT_NE(fitWith({"load.s1p", "3.5", "4"}).out.find("none, the load resonates at f0"),
            std::string::npos);
  support::runSession(fitWith({"load.s1p", "3.5", "4", "--answers", "3", "--name", "n"}).out);
  const std::string line = "\nMeasured load load.s1p at position 1, retuned by no element\n";
  EXPECT_NE(testing::exportWith({"n.csv", "--load", "load.s1p"}).out.find(line), std::string::npos);
  EXPECT_NE(testing::tuneWith({"n.csv", "--load", "load.s1p"}).out.find(line), std::string::npos);
}

struct Refusal {
  std::vector<std::string> args;
  std::string error;
};

TEST(FitRun, RefusesBadCommandLinesAndFilesWithOneLine) {
  support::ScratchDirectory scratch;
  writeTextFile("ant.s1p", exactLoadFile({}, 3.0, 4.5, 31));
  writeTextFile("two.s2p", "# MHz S RI R 50\n3 0 0 1 0 1 0 0 0\n");
  writeTextFile("falling.s1p", "# MHz Z RI R 50\n3.5 1 0\n3.6 1 0\n3.55 1 0\n");
  writeTextFile("active.s1p", "# MHz Z RI R 50\n3.5 1 1\n3.75 -0.4 0\n4 1 -1\n");
  const std::vector<Refusal> cases = {
      {{}, "bandmatch-fit: give a load file and the band edges F1 F2 in MHz, or --decrement D"},
      {{"ant.s1p", "3.5"}, "bandmatch-fit: give a load file and the band edges"},
      {{"ant.s1p", "0", "4"}, "bandmatch-fit: F1 must be a frequency above 0 MHz, found \"0\""},
      {{"ant.s1p", "4", "3.5"}, "bandmatch-fit: F2 must be a frequency above F1, found \"3.5\""},
      {{"ant.s1p", "3.5", "4", "--model", "both"},
       "bandmatch-fit: --model must be series, parallel or auto, found \"both\""},
      {{"ant.s1p", "3.5", "4", "--answers", "3"}, "bandmatch-fit: --answers and --name go"},
      {{"ant.s1p", "3.5", "4", "--answers", "11", "--name", "a"},
       "bandmatch-fit: --answers must be a whole number from 1 to 10, found \"11\""},
      {{"ant.s1p", "3.5", "4", "--answers", "3", "--name", "a b"},
       "bandmatch-fit: --name must be one word without blanks"},
      {{"ant.s1p", "3.5", "4", "--answers", "3", "--name", ""},
       "bandmatch-fit: --name must be one word without blanks"},
      {{"ant.s1p", "3.5", "4", "--answers", "x", "--name", "a"},
       "bandmatch-fit: --answers must be a whole number from 1 to 10, found \"x\""},
      {{"", "3.5", "4"}, "bandmatch-fit: the load file name is empty"},
      {{"ant.s1p", "x", "4"}, "bandmatch-fit: F1 must be a frequency above 0 MHz, found \"x\""},
      {{"--decrement", "0"}, "bandmatch-fit: --decrement must be a number above 0"},
      {{"ant.s1p", "--decrement", "1"}, "bandmatch-fit: --decrement takes no load file"},
      {{"missing.s1p", "3.5", "4"}, "bandmatch-fit: cannot read missing.s1p: No such file"},
      {{"two.s2p", "3.5", "4"}, "bandmatch-fit: two.s2p: line 2: 9 values on one line"},
      {{"falling.s1p", "3.5", "4"},
       "bandmatch-fit: falling.s1p: line 4: frequencies not strictly increasing"},
      {{"ant.s1p", "2.5", "4"}, "bandmatch-fit: ant.s1p: line 3: the data start at 3.000000 MHz"},
      {{"active.s1p", "3.5", "4"},
       "bandmatch-fit: active.s1p: the load is active at 3.750000 MHz (resistance -2.0000e+001 "
       "ohms); only a passive load can be matched\n"},
      {{"ant.s1p", "3.5", "4.6"}, "bandmatch-fit: ant.s1p: line 33: the data end at 4.500000"},
      {{"ant.s1p", "3.51", "3.59"},
       "bandmatch-fit: ant.s1p: line 14: only 1 measured points lie in"},
      {{"ant.s1p", "3.5", "4", "--unknown"}, "bandmatch-fit: The following argument"},
      {{"ant.s1p", "3.5", "4", "--model", "series", "--model", "parallel"},
       "bandmatch-fit: --model is given 2 times; it takes one value (try --help)\n"},
  };
  const std::vector<std::string> before = directoryEntries(scratch.path());
  for (const Refusal& c : cases) {
    const ToolResult result = fitWith(c.args);
    const std::string what = c.args.empty() ? "no arguments" : c.args.front();
    EXPECT_EQ(result.status, 2) << what;
    EXPECT_EQ(result.out, "") << what;
    EXPECT_EQ(result.err.rfind(c.error, 0), 0u) << what << ": " << result.err;
    EXPECT_EQ(support::splitLines(result.err).size(), 1u) << result.err;
  }
  EXPECT_EQ(directoryEntries(scratch.path()), before);
}

}  // namespace
}  // namespace bandmatch
