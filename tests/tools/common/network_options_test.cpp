// The options of every network program, declared and read as bandmatch-export and bandmatch-tune
// declare and read them: accepted forms and defaults, what to build, the tolerance trials and the
// Smith chart, and every refusal with its message.
#include "tools/common/network_options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/command_line.hpp"

namespace bandmatch {
namespace {

// The words after the program name, parsed into the options; the refusal, if any, of the command
// line or of the values.
struct Parsed {
  CommandRequest request;
  NetworkFileOptions options;
  std::string valueError;
  std::string refusal() const { return request.error + valueError; }
};

Parsed parse(const std::vector<std::string>& args) {
  CLI::App app("network program", "bandmatch-export");
  addStandardFlags(app);
  TypedNetworkOptions typed;
  addNetworkFileOptions(app, typed);
  Parsed parsed{parseCommandLine(app, args), {}, {}};
  if (parsed.request.action == CommandAction::run) {
    parsed.valueError = readNetworkFileOptions(app, typed, parsed.options);
  }
  return parsed;
}

struct Accepted {
  std::vector<std::string> args;
  std::string reportPath;
  int points;
  double span;
  std::string outBase;
};

TEST(NetworkOptions, AcceptsTheReportWithOptionsInAnyOrder) {
  const std::vector<Accepted> cases = {
      {{"run1.csv"}, "run1.csv", 801, 1.5, "run1"},
      {{"dir/Run1.CSV"}, "dir/Run1.CSV", 801, 1.5, "dir/Run1"},
      {{"report"}, "report", 801, 1.5, "report"},
      {{"notes.txt"}, "notes.txt", 801, 1.5, "notes.txt"},
      {{".csv"}, ".csv", 801, 1.5, ".csv"},
      {{"--points", "2", "a.csv"}, "a.csv", 2, 1.5, "a"},
      {{"a.csv", "--points=100000"}, "a.csv", 100000, 1.5, "a"},
      {{"a.csv", "--span", "1"}, "a.csv", 801, 1.0, "a"},
      {{"a.csv", "--span=10"}, "a.csv", 801, 10.0, "a"},
      {{"a.csv", "--span", "2.25", "--out", "out/b"}, "a.csv", 801, 2.25, "out/b"},
      {{"--out=b", "a.csv", "--points", "7"}, "a.csv", 7, 1.5, "b"},
      {{"a.csv", "--parts", "--parts"}, "a.csv", 801, 1.5, "a"},  // a flag may be repeated
      {{"--", "-odd.csv"}, "-odd.csv", 801, 1.5, "-odd"},
      {{"-"}, "-", 801, 1.5, "-"},
  };
  for (const Accepted& expected : cases) {
    const Parsed parsed = parse(expected.args);
    ASSERT_EQ(parsed.refusal(), "");
    const NetworkFileOptions& options = parsed.options;
    EXPECT_EQ(options.reportPath, expected.reportPath);
    EXPECT_EQ(options.points, expected.points) << expected.reportPath;
    EXPECT_EQ(options.span, expected.span) << expected.reportPath;
    EXPECT_EQ(options.outBase, expected.outBase);
  }
}

// What to build: nothing by default, each option on its own, and all of them.
TEST(NetworkOptions, ReadsWhatToBuild) {
  const struct {
    std::vector<std::string> args;
    BuildOptions build;
    bool parts;
  } cases[] = {
      {{"a.csv"}, {}, false},
      {{"a.csv", "--parts"}, {}, true},
      {{"a.csv", "--source-ohms", "0.001"}, {0.001, {}, {}, {}}, false},
      {{"a.csv", "--source-ohms=1e6"}, {1e6, {}, {}, {}}, false},
      {{"a.csv", "--series", "e96"}, {{}, PreferredSeries::e96, {}, {}}, false},
      {{"a.csv", "--q-inductor", "1e9"}, {{}, {}, 1e9, {}}, false},
      {{"--q-capacitor=0.5", "a.csv"}, {{}, {}, {}, 0.5}, false},
      {{"a.csv", "--source-ohms", "50", "--series", "E24", "--q-inductor", "100", "--q-capacitor",
        "500", "--parts"},
       {50.0, PreferredSeries::e24, 100.0, 500.0},
       true},
  };
  for (const auto& c : cases) {
    const Parsed parsed = parse(c.args);
    ASSERT_EQ(parsed.refusal(), "");
    const NetworkFileOptions& options = parsed.options;
    EXPECT_EQ(options.build.sourceOhms, c.build.sourceOhms);
    EXPECT_EQ(options.build.series, c.build.series);
    EXPECT_EQ(options.build.inductorQ, c.build.inductorQ);
    EXPECT_EQ(options.build.capacitorQ, c.build.capacitorQ);
    EXPECT_EQ(options.parts, c.parts);
    EXPECT_EQ(buildsNetwork(options), c.args.size() > 1);
  }
}

// The tolerance trials: none without a tolerance; --tolerance for both kinds of part, the
// separate options over it; the defaults of the trials, the seed and the goal.
TEST(NetworkOptions, ReadsTheToleranceTrialsAndTheSmithChart) {
  const struct {
    std::vector<std::string> args;
    bool tolerated;
    ToleranceOptions tolerance;
    double goal;
    bool smith;
  } cases[] = {
      {{"a.csv"}, false, {}, 2.0, false},
      {{"a.csv", "--smith", "--goal-swr", "1"}, false, {}, 1.0, true},
      {{"a.csv", "--tolerance", "5"}, true, {5.0, 5.0, 1000, 1}, 2.0, false},
      {{"a.csv", "--tolerance-c", "50"}, true, {0.0, 50.0, 1000, 1}, 2.0, false},
      {{"a.csv", "--tolerance-l", "2", "--tolerance", "10"},
       true,
       {2.0, 10.0, 1000, 1},
       2.0,
       false},
      {{"a.csv", "--tolerance", "1", "--trials", "1", "--seed", "0", "--goal-swr", "1.5"},
       true,
       {1.0, 1.0, 1, 0},
       1.5,
       false},
      {{"a.csv", "--tolerance", "1", "--trials", "1000000", "--seed", "18446744073709551615",
        "--smith"},
       true,
       {1.0, 1.0, 1000000, 18446744073709551615ULL},
       2.0,
       true},
  };
  for (const auto& c : cases) {
    const Parsed parsed = parse(c.args);
    ASSERT_EQ(parsed.refusal(), "");
    const NetworkFileOptions& options = parsed.options;
    ASSERT_EQ(options.tolerance.has_value(), c.tolerated) << c.args.size();
    if (c.tolerated) {
      EXPECT_EQ(options.tolerance->inductorPercent, c.tolerance.inductorPercent);
      EXPECT_EQ(options.tolerance->capacitorPercent, c.tolerance.capacitorPercent);
      EXPECT_EQ(options.tolerance->trials, c.tolerance.trials);
      EXPECT_EQ(options.tolerance->seed, c.tolerance.seed);
    }
    EXPECT_EQ(options.goalSwr, c.goal);
    EXPECT_EQ(options.smith, c.smith);
    // A tolerance analysis builds the network (its parts list carries the sensitivities).
    EXPECT_EQ(buildsNetwork(options), c.tolerated);
  }
}

TEST(NetworkOptions, RefusesBadArgumentsWithOneReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "REPORT is required (try --help)"},
      {{""}, "the report name is empty"},
      {{"--points", "5"}, "REPORT is required (try --help)"},
      {{"a.csv", "b.csv"}, "The following argument was not expected: b.csv (try --help)"},
      {{"a.csv", "-x"}, "The following argument was not expected: -x (try --help)"},
      {{"a.csv", "--point=5"}, "The following argument was not expected: --point=5 (try --help)"},
      {{"a.csv", "--points"}, "--points: 1 required N missing (try --help)"},
      {{"a.csv", "--points", "1"}, "--points must be a whole number from 2 to 100000, found \"1\""},
      {{"a.csv", "--points=100001"},
       "--points must be a whole number from 2 to 100000, found \"100001\""},
      {{"a.csv", "--points", "8e2"},
       "--points must be a whole number from 2 to 100000, found \"8e2\""},
      {{"a.csv", "--points", "-5"},
       "--points must be a whole number from 2 to 100000, found \"-5\""},
      {{"a.csv", "--points="}, "--points: 1 required N missing (try --help)"},
      {{"a.csv", "--points", "99999999999999999999"},
       "--points must be a whole number from 2 to 100000, found \"99999999999999999999\""},
      {{"a.csv", "--span", "0.999"}, "--span must be a number from 1 to 10, found \"0.999\""},
      {{"a.csv", "--span", "10.001"}, "--span must be a number from 1 to 10, found \"10.001\""},
      {{"a.csv", "--span", "nan"}, "--span must be a number from 1 to 10, found \"nan\""},
      {{"a.csv", "--span", "inf"}, "--span must be a number from 1 to 10, found \"inf\""},
      {{"a.csv", "--span", "2x"}, "--span must be a number from 1 to 10, found \"2x\""},
      {{"a.csv", "--span"}, "--span: 1 required F missing (try --help)"},
      {{"a.csv", "--out="}, "--out: 1 required BASE missing (try --help)"},
      {{"a.csv", "--out"}, "--out: 1 required BASE missing (try --help)"},
      {{"a.csv", "--out", ""}, "the base name of the files (--out) is empty"},
      {{"--out=b", "a.csv", "--points", "5", "--points", "7"},
       "--points is given 2 times; it takes one value (try --help)"},
      {{"a.csv", "--out", "a", "--out=b", "--out", "a"},
       "--out is given 3 times; it takes one value (try --help)"},
      {{"a.csv", "--trials", "10", "--trials", "10"},
       "--trials is given 2 times; it takes one value (try --help)"},
      {{"a.csv", "--source-ohms", "0.0009"},
       "--source-ohms must be a number from 0.001 to 1000000, found \"0.0009\""},
      {{"a.csv", "--source-ohms=1000000.1"},
       "--source-ohms must be a number from 0.001 to 1000000, found \"1000000.1\""},
      {{"a.csv", "--source-ohms", "-50"},
       "--source-ohms must be a number from 0.001 to 1000000, found \"-50\""},
      {{"a.csv", "--source-ohms", "50ohm"},
       "--source-ohms must be a number from 0.001 to 1000000, found \"50ohm\""},
      {{"a.csv", "--series", "E6"},
       "--series must be one of E12, E24, E48, E96 and E192, found \"E6\""},
      {{"a.csv", "--series", ""},
       "--series must be one of E12, E24, E48, E96 and E192, found \"\""},
      {{"a.csv", "--q-inductor", "0"}, "--q-inductor must be a number above 0, found \"0\""},
      {{"a.csv", "--q-inductor", "-100"}, "--q-inductor must be a number above 0, found \"-100\""},
      {{"a.csv", "--q-capacitor", "inf"}, "--q-capacitor must be a number above 0, found \"inf\""},
      {{"a.csv", "--q-capacitor", "1e3x"},
       "--q-capacitor must be a number above 0, found \"1e3x\""},
      {{"a.csv", "--q-inductor", "-1", "--q-capacitor", "-2"},
       "--q-inductor must be a number above 0, found \"-1\""},
      {{"a.csv", "--parts=maybe"}, "Could not convert: --parts = maybe (try --help)"},
  };
  for (const auto& [args, expected] : cases) {
    EXPECT_EQ(parse(args).refusal(), expected);
  }
}

}  // namespace
}  // namespace bandmatch
