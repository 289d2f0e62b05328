// bandmatch-export --tolerance and --smith: every refusal (exit 2, one line, no file), the
// yield line's form and its figures at tolerance 0 against the nominal SWR the variants' table
// prints, the sensitivities in BASE-parts.csv and the summary, the Smith chart's points against
// the Touchstone file's values, and the files the new options must leave as they were.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <map>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "runs/tolerance_summary.hpp"
#include "support/measured_loads.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/smith_points.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using support::readFile;
using support::splitLines;
using testing::directoryEntries;
using testing::exportWith;
using testing::ToolResult;
using testing::writeTextFile;

void writeReport(const std::string& name, int n, LoadType loadType, double f1, double f2) {
  writeTextFile(name,
                testing::realReportText(testing::synthesizedDesign(n, 1.0, loadType, f1, f2)));
}

TEST(ExportTolerance, RefusesBadValuesWithOneLineAndNoFile) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--smith", "--tolerance", "-1"},
       "--tolerance must be a number of percent from 0 to 50, found \"-1\""},
      {{"--tolerance", "50.01"},
       "--tolerance must be a number of percent from 0 to 50, found \"50.01\""},
      {{"--tolerance", "5%"}, "--tolerance must be a number of percent from 0 to 50, found \"5%\""},
      {{"--tolerance", "nan"},
       "--tolerance must be a number of percent from 0 to 50, found \"nan\""},
      {{"--tolerance-l", "-0.5"},
       "--tolerance-l must be a number of percent from 0 to 50, found \"-0.5\""},
      {{"--tolerance-c", "51"},
       "--tolerance-c must be a number of percent from 0 to 50, found \"51\""},
      {{"--tolerance", "5", "--smith", "--trials", "0"},
       "--trials must be a whole number from 1 to 1000000, found \"0\""},
      {{"--tolerance", "5", "--trials", "1000001"},
       "--trials must be a whole number from 1 to 1000000, found \"1000001\""},
      {{"--tolerance", "5", "--trials", "1e3"},
       "--trials must be a whole number from 1 to 1000000, found \"1e3\""},
      {{"--tolerance", "5", "--seed", "-1"},
       "--seed must be a whole number from 0 to 18446744073709551615, found \"-1\""},
      {{"--tolerance", "5", "--seed", "18446744073709551616"},
       "--seed must be a whole number from 0 to 18446744073709551615, found "
       "\"18446744073709551616\""},
      {{"--tolerance", "5", "--goal-swr", "0.99"},
       "--goal-swr must be a number of 1 or more, found \"0.99\""},
      {{"--smith", "--goal-swr", "inf"}, "--goal-swr must be a number of 1 or more, found \"inf\""},
      {{"--trials", "10"},
       "--trials needs a tolerance: --tolerance, --tolerance-l or --tolerance-c"},
      {{"--seed", "3"}, "--seed needs a tolerance: --tolerance, --tolerance-l or --tolerance-c"},
      {{"--goal-swr", "3"},
       "--goal-swr needs a tolerance (--tolerance, --tolerance-l or --tolerance-c) or --smith"},
      {{"--smith=maybe"}, "Could not convert: --smith = maybe (try --help)"},
  };
  support::ScratchDirectory scratch;
  writeReport("run.csv", 3, LoadType::series, 10.0, 20.0);
  for (const auto& [options, message] : cases) {
    std::vector<std::string> args = {"run.csv", "--parts"};
    args.insert(args.end(), options.begin(), options.end());
    const ToolResult result = exportWith(args);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.err, "bandmatch-export: " + message + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(directoryEntries("."), std::vector<std::string>{"run.csv"}) << message;
  }
}

// "Yield: ..." with its figures, taken apart.
struct YieldText {
  std::string share, trials, goal, lower, upper;
};

YieldText yieldText(const std::string& out) {
  static const std::regex line(
      R"(\nYield: (\d+\.\d) % of (\d+) trials with SWR <= (\d+\.\d\d), 95 % interval (\d+\.\d) to (\d+\.\d) %\n)");
  std::smatch match;
  if (!std::regex_search(out, match, line)) {
    ADD_FAILURE() << "no yield line in\n" << out;
    return {};
  }
  return {match[1], match[2], match[3], match[4], match[5]};
}

// The SWR the variants' table prints for the network to build (its last row), as printed.
std::string tableSwr(const std::string& out) {
  const std::vector<std::string> lines = splitLines(out);
  static const std::regex row(R"(^\S.*\s+(0\.\d{6})\s+(\d\.\d{4})\s+-)");
  for (std::size_t i = lines.size(); i-- > 0;) {
    std::smatch match;
    if (std::regex_search(lines[i], match, row)) {
      return match[2];
    }
  }
  ADD_FAILURE() << "no table row in\n" << out;
  return {};
}

// The line of the worst SWR's percentiles.
std::string percentilesLine(const std::string& out) {
  const std::size_t at = out.find("Worst in-band SWR of the trials: ");
  return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
}

// At tolerance 0 each trial is the nominal network: all pass a goal above its SWR, none below.
// With 7 trials all passing, Wilson's lower end is 7 / (7 + 1.96^2) = 0.64566, shown 64.5.
TEST(ExportTolerance, ZeroToleranceYieldsAllOrNothingByTheNominalSwr) {
  support::ScratchDirectory scratch;
  writeReport("run.csv", 3, LoadType::series, 10.0, 20.0);
  const ToolResult nominal = exportWith({"run.csv", "--series", "E24", "--parts"});
  ASSERT_EQ(nominal.status, 0) << nominal.err;
  const std::string swr = tableSwr(nominal.out);
  EXPECT_EQ(swr, "1.3545");
  const struct {
    std::string goal;
    YieldText expected;
  } cases[] = {
      {"1.3546", {"100.0", "7", "1.35", "64.5", "100.0"}},
      {"1.3544", {"0.0", "7", "1.35", "0.0", "35.5"}},
  };
  for (const auto& c : cases) {
    const ToolResult result = exportWith(
        {"run.csv", "--series", "E24", "--tolerance", "0", "--trials", "7", "--goal-swr", c.goal});
    ASSERT_EQ(result.status, 0) << result.err;
    const YieldText yield = yieldText(result.out);
    EXPECT_EQ(yield.share, c.expected.share) << c.goal;
    EXPECT_EQ(yield.trials, c.expected.trials);
    EXPECT_EQ(yield.goal, c.expected.goal);
    EXPECT_EQ(yield.lower, c.expected.lower) << c.goal;
    EXPECT_EQ(yield.upper, c.expected.upper) << c.goal;
    EXPECT_EQ(percentilesLine(result.out), "Worst in-band SWR of the trials: " + swr +
                                               " (50th percentile), " + swr + " (90th), " + swr +
                                               " (99th)");
    // The table and the files are those of the network without trials.
    EXPECT_EQ(result.out.substr(0, nominal.out.size()), nominal.out);
  }
}

TEST(ExportTolerance, YieldLineRoundsTheShareInAndTheIntervalOut) {
  const struct {
    YieldFigures figures;
    std::string line;
  } cases[] = {
      {{973, 1000, 0.973, 0.96116, 0.98163},
       "Yield: 97.3 % of 1000 trials with SWR <= 2.00, 95 % interval 96.1 to 98.2 %"},
      {{9999, 10000, 0.9999, 0.99943, 0.99998},
       "Yield: 99.9 % of 10000 trials with SWR <= 2.00, 95 % interval 99.9 to 100.0 %"},
      {{1, 100000, 0.00001, 0.0000017, 0.0000566},
       "Yield: 0.1 % of 100000 trials with SWR <= 2.00, 95 % interval 0.0 to 0.1 %"},
      {{10000, 10000, 1.0, 0.99962, 1.0},
       "Yield: 100.0 % of 10000 trials with SWR <= 2.00, 95 % interval 99.9 to 100.0 %"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(yieldLine(c.figures, 2.0), c.line);
  }
}

// The summary lists every part once, largest change first, and BASE-parts.csv shows the same
// change on each part's row and nothing on the others.
TEST(ExportTolerance, SensitivitiesAgreeBetweenSummaryAndPartsList) {
  support::ScratchDirectory scratch;
  writeReport("run.csv", 5, LoadType::parallel, 3.5, 4.0);
  const ToolResult result = exportWith(
      {"run.csv", "--tolerance-l", "2", "--tolerance-c", "5", "--trials", "300", "--seed", "9"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Tolerance: L +-2 %, C +-5 % at positions 2 to 5, uniform draws from "
                            "seed 9; interval by Wilson's score\n"),
            std::string::npos)
      << result.out;
  static const std::regex summaryRow(R"(\n([LC])\((\d+)\)\s+(-?\d\.\d{3}e[-+]\d{3}))");
  std::map<std::string, std::string> summary;
  double previous = 1e300;
  for (auto it = std::sregex_iterator(result.out.begin(), result.out.end(), summaryRow);
       it != std::sregex_iterator(); ++it) {
    const double change = std::fabs(std::stod((*it)[3]));
    EXPECT_LE(change, previous);
    previous = change;
    summary[(*it)[1].str() + (*it)[2].str()] = (*it)[3];
  }
  EXPECT_EQ(summary.size(), 8u);
  const std::vector<std::string> rows = splitLines(readFile("run-parts.csv"));
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front().substr(rows.front().rfind(',') + 1), "worst |S11| change per +1 %");
  std::size_t listed = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    std::vector<std::string> cells;
    std::stringstream row(rows[i] + ",");
    for (std::string cell; std::getline(row, cell, ',');) {
      cells.push_back(cell);
    }
    ASSERT_EQ(cells.size(), 12u) << rows[i];
    if (cells[0] == "part") {
      EXPECT_EQ(cells[11], summary[cells[3] + cells[1]]) << rows[i];
      ++listed;
    } else {
      EXPECT_EQ(cells[11], "") << rows[i];
    }
  }
  EXPECT_EQ(listed, 8u);
  // The same seed gives the same figures; another seed other trials.
  const std::string again = exportWith({"run.csv", "--tolerance-l", "2", "--tolerance-c", "5",
                                        "--trials", "300", "--seed", "9"})
                                .out;
  EXPECT_EQ(again, result.out);
  const std::string other = exportWith({"run.csv", "--tolerance-l", "2", "--tolerance-c", "5",
                                        "--trials", "300", "--seed", "10"})
                                .out;
  EXPECT_NE(percentilesLine(other), percentilesLine(result.out));
}

// The Touchstone file's |S11| and angle as reflections, in file order.
std::vector<std::complex<double>> touchstoneReflections(const std::string& path) {
  std::vector<std::complex<double>> values;
  for (const std::string& line : splitLines(readFile(path))) {
    if (line.empty() || line[0] == '!' || line[0] == '#') {
      continue;
    }
    std::istringstream words(line);
    double f = 0.0, magnitude = 0.0, degrees = 0.0;
    words >> f >> magnitude >> degrees;
    values.push_back(std::polar(magnitude, degrees * std::numbers::pi / 180.0));
  }
  return values;
}

TEST(ExportSmith, ChartPointsAreTheTouchstoneValues) {
  const testing::ExactLoad load{LoadType::series, 70.0, 3.7, 9.0};
  const struct {
    std::vector<std::string> args;
    std::string curve;  // the curve the Touchstone file holds
    std::size_t curves;
  } cases[] = {
      {{"--points", "157"}, "curve1", 1},
      {{"--source-ohms", "50", "--series", "E12", "--q-inductor", "90"}, "curve1", 1},
      {{"--load", "load.s1p", "--points", "301"}, "curve2", 3},
  };
  for (const auto& c : cases) {
    support::ScratchDirectory scratch;
    writeReport("run.csv", 4, LoadType::series, 3.5, 4.0);
    writeTextFile("load.s1p", testing::exactLoadFile(load, 3.0, 4.5, 801));
    std::vector<std::string> args = {"run.csv", "--smith"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolResult result = exportWith(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string svg = readFile("run-smith.svg");
    const std::vector<std::complex<double>> expected = touchstoneReflections("run.s1p");
    const std::vector<std::complex<double>> plotted = testing::smithPoints(svg, c.curve + "-sweep");
    ASSERT_EQ(plotted.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_LT(std::abs(plotted[i] - expected[i]), 1e-6) << i;
    }
    const std::string lastCurve = "curve" + std::to_string(c.curves) + "-sweep";
    EXPECT_NE(svg.find("<polyline id=\"" + lastCurve + "\""), std::string::npos);
    EXPECT_EQ(svg.find("curve" + std::to_string(c.curves + 1)), std::string::npos);
  }
}

// --smith and --goal-swr add a file and change no other byte; the tolerance options change the
// plot (the band of the trials) and add the sensitivity column, nothing else of the files.
TEST(ExportSmith, NewOptionsLeaveTheOtherFilesAsTheyWere) {
  support::ScratchDirectory scratch;
  writeReport("run.csv", 3, LoadType::parallel, 10.0, 20.0);
  const auto filesOf = [](const std::vector<std::string>& args) {
    std::map<std::string, std::string> files;
    const ToolResult result = exportWith(args);
    EXPECT_EQ(result.status, 0) << result.err;
    for (const std::string& name : directoryEntries(".")) {
      if (name.rfind("out", 0) == 0) {
        files[name] = readFile(name);
        std::filesystem::remove(name);
      }
    }
    files["stdout"] = result.out.substr(result.out.find(':'));
    return files;
  };
  std::map<std::string, std::string> plain = filesOf({"run.csv", "--out", "out"});
  std::map<std::string, std::string> smith =
      filesOf({"run.csv", "--out", "out", "--smith", "--goal-swr", "3"});
  EXPECT_EQ(smith.count("out-smith.svg"), 1u);
  smith.erase("out-smith.svg");
  EXPECT_EQ(smith, plain);

  std::map<std::string, std::string> parts =
      filesOf({"run.csv", "--out", "out", "--parts", "--series", "E48"});
  std::map<std::string, std::string> trials =
      filesOf({"run.csv", "--out", "out", "--series", "E48", "--tolerance", "1", "--trials", "20"});
  for (const char* same : {"out.cir", "out.s1p", "out-schematic.svg"}) {
    EXPECT_EQ(trials[same], parts[same]) << same;
  }
  EXPECT_EQ(trials["stdout"].substr(0, parts["stdout"].size()), parts["stdout"]);
  EXPECT_NE(trials["out.svg"].find("90 % of 20 trials"), std::string::npos);
  // BASE-parts.csv with its last column taken off.
  std::string stripped;
  for (const std::string& row : splitLines(trials["out-parts.csv"])) {
    stripped += row.substr(0, row.rfind(',')) + "\n";
  }
  EXPECT_EQ(stripped, parts["out-parts.csv"]);
}

}  // namespace
}  // namespace bandmatch
