// bandmatch-export --tolerance and --smith: every refusal (exit 2, one line, no file), the
// yield line's figures at tolerance 0 against the nominal SWR the variants' table prints, and
// the files the new options must leave as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/report_files.hpp"
#include "support/session.hpp"
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
