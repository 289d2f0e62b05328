// Whole runs of the exporter in a scratch directory: the files and the summary of a good run,
// and for every bad input the exit status 2, one line on standard error and no file written.
#include "tools/export/export_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/report_files.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::directoryEntries;
using testing::exportWith;
using testing::HandReport;
using testing::handReportText;
using testing::ToolResult;
using testing::writeTextFile;

TEST(ExportRun, WritesTheThreeFilesBesideTheReport) {
  support::ScratchDirectory scratch;
  writeTextFile("good.csv", handReportText());
  writeTextFile("good.cir", "an older netlist\n");
  const ToolResult result = exportWith({"good.csv"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "Wrote good.cir, good.s1p and good.svg: 801 points from 0.125000 to 2.375000 MHz\n");
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"good.cir", "good.csv", "good.s1p", "good.svg"}));
  EXPECT_EQ(support::readFile("good.cir").rfind("* bandmatch-export 1.0.0", 0), 0u);
  // Five comment and option lines, then one line per point.
  EXPECT_EQ(support::splitLines(support::readFile("good.s1p")).size(), 5u + 801u);
}

TEST(ExportRun, WritesUnderTheChosenBaseName) {
  support::ScratchDirectory scratch;
  std::filesystem::create_directory("out");
  writeTextFile("good.csv", handReportText());
  const ToolResult result =
      exportWith({"--points", "3", "good.csv", "--span", "1", "--out", "out/filter"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Wrote out/filter.cir, out/filter.s1p and out/filter.svg: 3 points from "
            "0.500000 to 2.000000 MHz\n");
  EXPECT_EQ(directoryEntries("out"),
            (std::vector<std::string>{"filter.cir", "filter.s1p", "filter.svg"}));
}

// All build options: five files, the transformer line and one summary row per variant.
TEST(ExportRun, BuildsTheNetworkAndSummarizesEachVariant) {
  support::ScratchDirectory scratch;
  const DesignCase design = testing::synthesizedDesign(3, 1.0, LoadType::series, 10.0, 20.0);
  writeTextFile("run1.csv", testing::realReportText(design));
  const ToolResult result =
      exportWith({"run1.csv", "--source-ohms", "50", "--series", "E24", "--q-inductor", "100",
                  "--q-capacitor", "500", "--points", "201", "--span", "1"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"run1-parts.csv", "run1-schematic.svg", "run1.cir",
                                      "run1.csv", "run1.s1p", "run1.svg"}));
  const std::vector<std::string> lines = support::splitLines(result.out);
  ASSERT_EQ(lines.size(), 7u) << result.out;
  EXPECT_EQ(lines[0],
            "Wrote run1.cir, run1.s1p, run1.svg, run1-parts.csv and run1-schematic.svg: 201 "
            "points from 10.000000 to 20.000000 MHz");
  EXPECT_EQ(lines[1].rfind("Transformer: turns ratio n = 1.07412 ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], "Worst over the band 10.000000 to 20.000000 MHz:");
  EXPECT_EQ(lines[3].rfind("variant ", 0), 0u);
  EXPECT_EQ(lines[4].rfind("ideal ", 0), 0u);
  EXPECT_EQ(lines[5].rfind("E24 values ", 0), 0u);
  EXPECT_EQ(lines[6].rfind("E24 values with losses ", 0), 0u);
}

// --parts alone lists and draws the report's own network: one variant, no transformer line.
TEST(ExportRun, PartsAloneDescribesTheIdealNetwork) {
  support::ScratchDirectory scratch;
  writeTextFile("good.csv", handReportText());
  const ToolResult result = exportWith({"good.csv", "--parts", "--points", "3", "--span", "1"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = support::splitLines(result.out);
  ASSERT_EQ(lines.size(), 4u) << result.out;
  EXPECT_EQ(lines[1], "Worst over the band 0.500000 to 2.000000 MHz:");
  EXPECT_EQ(lines[3].rfind("ideal ", 0), 0u);
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"good-parts.csv", "good-schematic.svg", "good.cir",
                                      "good.csv", "good.s1p", "good.svg"}));
}

// --power lists each part's stress in the summary and in the parts list; a hundred times the
// power is ten times every voltage and current.
TEST(ExportRun, PowerGivesEachPartsStressInTheSummaryAndTheList) {
  support::ScratchDirectory scratch;
  writeTextFile("good.csv", handReportText());
  const auto stressRows = [](const std::string& out) {
    std::vector<std::string> rows;
    bool table = false;
    for (const std::string& line : support::splitLines(out)) {
      table = table || line.rfind("part  peak voltage (V)", 0) == 0;
      if (table) {
        rows.push_back(line);
      }
    }
    return rows;
  };
  const ToolResult one = exportWith({"good.csv", "--power", "1", "--out", "one"});
  const ToolResult hundred = exportWith({"good.csv", "--power", "100", "--out", "hundred"});
  ASSERT_EQ(one.status, 0) << one.err;
  ASSERT_EQ(hundred.status, 0) << hundred.err;
  EXPECT_NE(one.out.find("Part stress with 1 W available from the source, worst over the band:"),
            std::string::npos);
  const std::vector<std::string> low = stressRows(one.out);
  const std::vector<std::string> high = stressRows(hundred.out);
  ASSERT_EQ(low.size(), 3u) << one.out;  // the heading, L(2) and C(2)
  ASSERT_EQ(high.size(), low.size());
  for (std::size_t i = 1; i < low.size(); ++i) {
    std::istringstream a(low[i]);
    std::istringstream b(high[i]);
    std::string nameA, nameB;
    double voltageA = 0.0, currentA = 0.0, voltageB = 0.0, currentB = 0.0;
    a >> nameA >> voltageA >> currentA;
    b >> nameB >> voltageB >> currentB;
    EXPECT_EQ(nameA, nameB);
    EXPECT_NEAR(voltageB / voltageA, 10.0, 1e-3);
    EXPECT_NEAR(currentB / currentA, 10.0, 1e-3);
  }
  const std::string parts = support::readFile("one-parts.csv");
  EXPECT_NE(parts.find(",peak voltage (V),RMS current (A)\n"), std::string::npos) << parts;
  const ToolResult refused = exportWith({"good.csv", "--power", "0"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err,
            "bandmatch-export: --power must be a number of watts from 1e-9 to 1e9, found \"0\"\n");
}

TEST(ExportRun, PrintsTheUsageAndTheVersion) {
  const ToolResult help = exportWith({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_NE(help.out.find("Usage: bandmatch-export [OPTIONS] REPORT\n"), std::string::npos);
  for (const char* option :
       {"--points N", "--span F", "--out BASE", "--source-ohms R", "--series E", "--q-inductor Q",
        "--q-capacitor Q", "--parts", "--help", "--version", "constant over the sweep"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const ToolResult version = exportWith({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "bandmatch-export 1.0.0\n");
  EXPECT_EQ(version.err, "");
}

struct BadRun {
  const char* name;
  std::vector<std::string> args;
  std::string error;  // the whole line on standard error, without its line end
};

TEST(ExportRun, RefusesEveryBadInputWithStatusTwoAndWritesNothing) {
  support::ScratchDirectory scratch;
  writeTextFile("good.csv", handReportText());
  writeTextFile("notes.csv", "name,value\nwidth,3\n");
  HandReport infinite;
  infinite.f2 = "inf";
  writeTextFile("infinite.csv", handReportText(infinite));
  HandReport negative;
  negative.capacitance[1] = "-1.250000000e-001";
  writeTextFile("negative.csv", handReportText(negative));
  // One series resonator whose reactance overflows: no usable reflection at any frequency.
  HandReport overflowing;
  overflowing.n = 1;
  overflowing.inductance = {"1.000000000e+308"};
  overflowing.capacitance = {"1.000000000e+000"};
  writeTextFile("overflow.csv", handReportText(overflowing));
  // A part at position 2 whose nearest E24 value lies beyond the range of numbers.
  HandReport enormous;
  enormous.capacitance[1] = "1.750000000e+308";
  writeTextFile("enormous.csv", handReportText(enormous));
  writeTextFile("huge.csv", handReportText() + std::string(2 << 20, ' '));
  writeTextFile("plain.txt", "not a directory\n");
  std::filesystem::create_directory("folder.csv");
  const std::vector<std::string> before = directoryEntries(scratch.path());

  const std::vector<BadRun> runs = {
      {"no report", {}, "REPORT is required (try --help)"},
      {"missing report", {"missing.csv"}, "cannot read missing.csv: No such file or directory"},
      {"report is a folder", {"folder.csv"}, "cannot read folder.csv: Is a directory"},
      {"not a report",
       {"notes.csv"},
       "notes.csv: not a bandmatch CSV report: it ends before line 14 (\"Inputs:\" heading)"},
      {"far too large",
       {"huge.csv"},
       "huge.csv: not a bandmatch CSV report: the file is far "
       "too large"},
      {"value not finite",
       {"infinite.csv"},
       "infinite.csv: line 21: high frequency (f2) is not finite: \"inf\""},
      {"value not positive",
       {"negative.csv"},
       "negative.csv: line 63: C(2) is not positive: \"-1.250000000e-001\""},
      {"reflection not finite",
       {"overflow.csv"},
       "overflow.csv: the network's reflection is not finite at 1.2500000000000000e-001 MHz"},
      {"no standard value",
       {"enormous.csv", "--series", "E24"},
       "enormous.csv: C(2) = 1.7500000000000000e+308 has no E24 value within the range of "
       "numbers"},
      {"zero Q",
       {"good.csv", "--q-inductor", "0"},
       "--q-inductor must be a number above 0, found \"0\""},
      {"negative Q",
       {"good.csv", "--q-capacitor=-5"},
       "--q-capacitor must be a number above 0, found \"-5\""},
      {"unknown series",
       {"good.csv", "--series", "E25"},
       "--series must be one of E12, E24, E48, E96 and E192, found \"E25\""},
      {"source too small",
       {"good.csv", "--source-ohms", "0.0001"},
       "--source-ohms must be a number from 0.001 to 1000000, found \"0.0001\""},
      {"source too large",
       {"good.csv", "--source-ohms", "2e6", "--parts"},
       "--source-ohms must be a number from 0.001 to 1000000, found \"2e6\""},
      {"parts list into a missing folder",
       {"good.csv", "--parts", "--out", "nowhere/filter"},
       "cannot write nowhere/filter.cir: No such file or directory"},
      {"too few points",
       {"good.csv", "--points", "1"},
       "--points must be a whole number from 2 to 100000, found \"1\""},
      {"too many points",
       {"good.csv", "--points=100001"},
       "--points must be a whole number from 2 to 100000, found \"100001\""},
      {"span too small",
       {"good.csv", "--span", "0.5"},
       "--span must be a number from 1 to 10, found \"0.5\""},
      {"span too large",
       {"good.csv", "--span", "11"},
       "--span must be a number from 1 to 10, found \"11\""},
      {"unknown option",
       {"good.csv", "--plot"},
       "The following argument was not expected: --plot (try --help)"},
      {"missing folder",
       {"good.csv", "--out", "nowhere/filter"},
       "cannot write nowhere/filter.cir: No such file or directory"},
      {"file as folder",
       {"good.csv", "--out", "plain.txt/filter"},
       "cannot write plain.txt/filter.cir: Not a directory"},
  };
  for (const BadRun& run : runs) {
    const ToolResult result = exportWith(run.args);
    EXPECT_EQ(result.status, 2) << run.name;
    EXPECT_EQ(result.out, "") << run.name;
    EXPECT_EQ(result.err, "bandmatch-export: " + run.error + "\n") << run.name;
    EXPECT_EQ(directoryEntries(scratch.path()), before) << run.name;
  }
}

// The plot's name is taken by a folder: the run fails before any file is replaced, and the
// netlist and Touchstone file of an earlier run keep their content.
TEST(ExportRun, AFailedRunLeavesEarlierFilesAsTheyWere) {
  support::ScratchDirectory scratch;
  writeTextFile("good.csv", handReportText());
  writeTextFile("good.cir", "earlier netlist\n");
  writeTextFile("good.s1p", "earlier touchstone\n");
  std::filesystem::create_directory("good.svg");
  const ToolResult result = exportWith({"good.csv"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "bandmatch-export: cannot write good.svg: it is a directory\n");
  EXPECT_EQ(support::readFile("good.cir"), "earlier netlist\n");
  EXPECT_EQ(support::readFile("good.s1p"), "earlier touchstone\n");
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"good.cir", "good.csv", "good.s1p", "good.svg"}));
}

// Outputs that would land on the report itself are refused, however the names are spelled: the
// same path, another spelling of it, a hard link or a symlink to it.
TEST(ExportRun, RefusesAnOutputThatWouldReplaceTheReport) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } runs[] = {
      {{"victim.svg", "--out", "victim"},
       "victim.svg would replace the report victim.svg; choose another --out"},
      {{"./victim.svg", "--out", "victim"},
       "victim.svg would replace the report ./victim.svg; choose another --out"},
      {{"victim.svg", "--out", "sub/../hard"},
       "sub/../hard.cir would replace the report victim.svg; choose another --out"},
      {{"victim.svg", "--out", "soft"},
       "soft.s1p would replace the report victim.svg; choose another --out"},
  };
  support::ScratchDirectory scratch;
  const std::string report = handReportText();
  writeTextFile("victim.svg", report);
  std::filesystem::create_directory("sub");
  std::filesystem::create_hard_link("victim.svg", "hard.cir");
  std::filesystem::create_symlink("victim.svg", "soft.s1p");
  const std::vector<std::string> before = directoryEntries(scratch.path());
  for (const auto& run : runs) {
    SCOPED_TRACE(run.error);
    const ToolResult result = exportWith(run.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "bandmatch-export: " + run.error + "\n");
    EXPECT_EQ(support::readFile("victim.svg"), report);
    EXPECT_EQ(directoryEntries(scratch.path()), before);
  }
}

// Whatever bytes the names hold, a refusal is one line.
TEST(ExportRun, ErrorMessagesStayOnOneLine) {
  support::ScratchDirectory scratch;
  writeTextFile("good.csv", handReportText());
  const std::vector<std::vector<std::string>> runs = {
      {"miss\ning.csv"},
      {"good.csv", "--out", "no\nwhere/x"},
      {"good.csv", "--points", "1\r\n2"},
      {"good.csv", "--sp\nan", "2"},
      {"good.csv", "extra\vword"},
  };
  for (const std::vector<std::string>& args : runs) {
    const ToolResult result = exportWith(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    EXPECT_EQ(result.err.find_first_of("\r\v"), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace bandmatch
