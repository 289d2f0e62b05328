// The tuner's command line: every option of the exporter with the same meaning and defaults,
// and its own range and retuning options with their refusals.
#include "tools/tune/tune_options.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tools/export/export_options.hpp"

namespace bandmatch {
namespace {

// The same words read by both programs give the same options.
TEST(TuneOptions, ReadsTheExportersOptionsAsTheExporterDoes) {
  const std::vector<std::vector<std::string>> cases = {
      {"run1.csv"},
      {"dir/Run1.CSV", "--points", "2"},
      {"--out=b", "a.csv", "--span", "2.25", "--load", "ant.s1p"},
      {"a.csv", "--source-ohms", "50", "--series", "e24", "--q-inductor", "100", "--q-capacitor",
       "500", "--parts"},
  };
  for (const std::vector<std::string>& args : cases) {
    const TuneOptions tune = parseTuneOptions(args);
    const ExportOptions exported = parseExportOptions(args);
    ASSERT_EQ(tune.action, CommandAction::run) << tune.error;
    ASSERT_EQ(exported.action, CommandAction::run) << exported.error;
    EXPECT_EQ(tune.reportPath, exported.reportPath);
    EXPECT_EQ(tune.points, exported.points);
    EXPECT_EQ(tune.span, exported.span);
    // Beside the exporter's files unless --out names them.
    const bool named = std::any_of(args.begin(), args.end(), [](const std::string& word) {
      return word.rfind("--out", 0) == 0;
    });
    EXPECT_EQ(tune.outBase, exported.outBase + (named ? "" : "-tuned"));
    EXPECT_EQ(tune.loadPath, exported.loadPath);
    EXPECT_EQ(tune.build.sourceOhms, exported.build.sourceOhms);
    EXPECT_EQ(tune.build.series, exported.build.series);
    EXPECT_EQ(tune.build.inductorQ, exported.build.inductorQ);
    EXPECT_EQ(tune.build.capacitorQ, exported.build.capacitorQ);
    EXPECT_EQ(tune.parts, exported.parts);
    EXPECT_EQ(tune.rangePercent, 50.0);
    EXPECT_FALSE(tune.tuneRetuning);
  }
}

TEST(TuneOptions, ReadsTheRangeAndTheRetuning) {
  const TuneOptions options =
      parseTuneOptions({"a.csv", "--range", "12.5", "--load", "l.s1p", "--tune-retuning"});
  ASSERT_EQ(options.action, CommandAction::run) << options.error;
  EXPECT_EQ(options.rangePercent, 12.5);
  EXPECT_TRUE(options.tuneRetuning);
  EXPECT_EQ(parseTuneOptions({"a.csv", "--range=1000"}).rangePercent, 1000.0);
  EXPECT_EQ(parseTuneOptions({"a.csv", "--range", "0.001"}).rangePercent, 0.001);
}

TEST(TuneOptions, RefusesBadArgumentsWithOneReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "REPORT is required (try --help)"},
      {{"a.csv", "--points", "1"}, "--points must be a whole number from 2 to 100000, found \"1\""},
      {{"a.csv", "--series", "E6"},
       "--series must be one of E12, E24, E48, E96 and E192, found \"E6\""},
      {{"a.csv", "--range", "0"}, "--range must be a number above 0 and at most 1000, found \"0\""},
      {{"a.csv", "--range", "1000.5"},
       "--range must be a number above 0 and at most 1000, found \"1000.5\""},
      {{"a.csv", "--range", "-5"}, "--range must be a number above 0 and at most 1000, found \"-5\""},
      {{"a.csv", "--range", "10%"},
       "--range must be a number above 0 and at most 1000, found \"10%\""},
      {{"a.csv", "--range"}, "--range: 1 required PCT missing (try --help)"},
      {{"a.csv", "--range", "10", "--range", "20"},
       "--range is given 2 times; it takes one value (try --help)"},
      {{"a.csv", "--out", ""}, "the base name of the files (--out) is empty"},
      {{"a.csv", "--tune-retuning"}, "--tune-retuning needs a measured load (--load)"},
      {{"a.csv", "--tune-retuning=maybe"},
       "Could not convert: --tune-retuning = maybe (try --help)"},
  };
  for (const auto& [args, expected] : cases) {
    const TuneOptions options = parseTuneOptions(args);
    EXPECT_EQ(options.action, CommandAction::fail) << expected;
    EXPECT_EQ(options.error, expected);
  }
  EXPECT_EQ(parseTuneOptions({"--help", "--range", "0"}).action, CommandAction::help);
  EXPECT_EQ(parseTuneOptions({"--version"}).action, CommandAction::version);
}

std::set<std::string> optionNames(const std::string& usage) {
  std::set<std::string> names;
  const std::regex option("--[a-z-]+");
  for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option);
       it != std::sregex_iterator(); ++it) {
    names.insert(it->str());
  }
  return names;
}

// Every option that says which network to write and how; the exporter's own analyses of its
// network (tolerance trials and the Smith chart) are not the tuner's.
TEST(TuneOptions, UsageListsEveryOptionOfTheExporter) {
  const std::set<std::string> tune = optionNames(tuneUsage());
  const std::set<std::string> exporterOnly = {"--tolerance", "--tolerance-l", "--tolerance-c",
                                              "--trials",    "--seed",        "--goal-swr",
                                              "--smith"};
  for (const std::string& name : optionNames(exportUsage())) {
    EXPECT_TRUE(tune.count(name) == 1 || exporterOnly.count(name) == 1) << name;
  }
  EXPECT_TRUE(tune.count("--range") == 1 && tune.count("--tune-retuning") == 1);
}

}  // namespace
}  // namespace bandmatch
