// The web page's topology search against bandmatch-search run in-process on the same inputs
// (its standard output and its refusals are the reference), the page's own refusals written out
// by hand, and the chosen network's files against the Best line they must agree with.
#include "web/search_page.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::searchWith;
using testing::ToolResult;

const auto STILL_CLOCK = [] { return 0.0; };
const std::string DIPOLE = std::string(BANDMATCH_EXAMPLES) + "/dipole-80m.s1p";

TEST(SearchPage, RanksAsTheProgramPrints) {
  struct Case {
    FormValues values;
    bool measuredLoad;  // the dipole's file chosen for the load, named dipole.s1p
    std::vector<std::string> args;
  };
  const std::vector<Case> cases = {
      {{{"source", "50"}, {"load", "parallel:R=200,C=5p"}, {"f1", "100"}, {"f2", "300"},
        {"maxParts", "3"}},
       false,
       {"50", "parallel:R=200,C=5p", "100", "300", "--max-parts", "3"}},
      {{{"source", " series:R=12.5,L=120n "}, {"load", "50"}, {"f1", "100"}, {"f2", "200"},
        {"maxParts", "9"}, {"topology", "pC sL"}, {"series", "E24"}, {"qInductor", "100"}},
       false,
       {"series:R=12.5,L=120n", "50", "100", "200", "--topology", "pC sL", "--series", "E24",
        "--q-inductor", "100"}},
      {{{"source", "50"}, {"f1", "3.5"}, {"f2", "4"}, {"topology", "pC sL|C"},
        {"qCapacitor", "500"}},
       true,
       {"50", "dipole.s1p", "3.5", "4", "--topology", "pC sL|C", "--q-capacitor", "500"}},
  };
  const support::ScratchDirectory scratch;
  const EndFile dipole{"dipole.s1p", support::readFile(DIPOLE)};
  testing::writeTextFile("dipole.s1p", dipole.text);
  for (const Case& c : cases) {
    const ToolResult program = searchWith(c.args);
    ASSERT_EQ(program.status, 0) << program.err;
    const PageSearch page =
        pageSearch(c.values, nullptr, c.measuredLoad ? &dipole : nullptr, STILL_CLOCK);
    EXPECT_EQ(page.error, "");
    // The page shows the ranking; the program's line naming the files it wrote is its own.
    std::string ranking;
    for (const std::string& line : support::splitLines(program.out)) {
      if (!line.starts_with("Wrote ")) {
        ranking += line + "\n";
      }
    }
    EXPECT_EQ(page.ranking, ranking) << c.args[1];
    EXPECT_EQ(page.best, support::splitLines(program.out).back());
  }
}

TEST(SearchPage, RefusesAsTheProgramDoes) {
  struct Case {
    FormValues values;
    std::vector<std::string> args;  // the program's refusal is the page's message
    std::string message;            // or, where the program has no such refusal, this one
  };
  const FormValues good = {{"source", "50"}, {"load", "75"}, {"f1", "100"}, {"f2", "200"}};
  const auto with = [&](std::string key, std::string value) {
    FormValues values = good;
    values[key] = std::move(value);
    return values;
  };
  const std::vector<Case> cases = {
      {with("f1", "abc"), {"50", "75", "abc", "200"}, ""},
      {with("f2", "0"), {"50", "75", "100", "0"}, ""},
      {with("f2", "50"), {"50", "75", "100", "50"}, ""},
      {with("load", "series:L=5n"), {"50", "series:L=5n", "100", "200"}, ""},
      {with("source", "parallel:R=-3"), {"parallel:R=-3", "75", "100", "200"}, ""},
      {with("topology", "pQ"), {"50", "75", "100", "200", "--topology", "pQ"}, ""},
      {with("source", ""), {}, "the source is empty"},
      {with("load", "antenna.s1p"),
       {},
       "the load \"antenna.s1p\" is no resistance, series: or parallel: model; choose a "
       "Touchstone one-port file (.s1p) for a measured end"},
      {with("maxParts", "21"), {},
       "the max parts must be a whole number from 1 to 20, found \"21\""},
      {with("maxParts", "0"), {}, "the max parts must be a whole number from 1 to 20, found \"0\""},
      {with("series", "E7"), {},
       "the standard values must be one of E12, E24, E48, E96, E192, found \"E7\""},
      {with("qInductor", "0"), {}, "the inductor Q must be a number above 0, found \"0\""},
      {with("qCapacitor", "x"), {}, "the capacitor Q must be a number above 0, found \"x\""},
  };
  for (const Case& c : cases) {
    std::string expected = c.message;
    if (!c.args.empty()) {
      const ToolResult program = searchWith(c.args);
      ASSERT_EQ(program.status, 2) << c.args[0];
      const std::string prefix = "bandmatch-search: ";
      ASSERT_TRUE(program.err.starts_with(prefix)) << program.err;
      expected = program.err.substr(prefix.size(), program.err.size() - prefix.size() - 1);
      if (expected.starts_with("--topology: ")) {
        expected = "the topology: " + expected.substr(12);  // the form's label for the option
      }
    }
    const PageSearch page = pageSearch(c.values, nullptr, nullptr, STILL_CLOCK);
    EXPECT_EQ(page.error, expected);
    EXPECT_FALSE(page.outcome.has_value());
  }
}

// The .s1p the source sees: "f |S11| angle" lines after the option line. Its in-band points
// cannot be worse than the judge's worst |Gamma| over the band, which the Best line gives to
// six decimals; and one of them comes within the judge's refinement of it.
TEST(SearchPage, ChosenNetworkFilesAgreeWithTheBestLine) {
  const FormValues values = {{"source", "50"}, {"load", "parallel:R=200,C=5p"},
                             {"f1", "100"},    {"f2", "300"},
                             {"maxParts", "3"}};
  const PageSearch page = pageSearch(values, nullptr, nullptr, STILL_CLOCK);
  ASSERT_TRUE(page.outcome.has_value()) << page.error;
  const SearchNetworkView view = searchNetworkView(*page.outcome, 1);
  ASSERT_EQ(view.error, "");
  std::vector<std::string> names;
  for (const DownloadFile& file : view.files) {
    names.push_back(file.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"search.cir", "search.s2p", "search.s1p",
                                             "search.svg", "search-parts.csv",
                                             "search-schematic.svg"}));
  const std::string worstText = page.best.substr(page.best.find("|Gamma| ") + 8);
  const double bestWorst = std::stod(worstText);
  double worst = 0.0;
  for (const std::string& line : support::splitLines(view.files[2].content)) {
    double mhz = 0.0;
    double magnitude = 0.0;
    if (line.empty() || line[0] == '!' || line[0] == '#' ||
        std::sscanf(line.c_str(), "%lf %lf", &mhz, &magnitude) != 2) {
      continue;
    }
    if (mhz >= 100.0 && mhz <= 300.0) {
      worst = std::max(worst, magnitude);
    }
  }
  EXPECT_LE(worst, bestWorst + 5e-7);
  EXPECT_GT(worst, bestWorst - 0.01);
  EXPECT_NE(view.plot.find("<svg"), std::string::npos);
  EXPECT_NE(view.schematic.find("<svg"), std::string::npos);
  ASSERT_GT(view.parts.size(), 1u);

  const std::size_t ranked = page.outcome->result.candidates.size();
  const SearchNetworkView beyond = searchNetworkView(*page.outcome, static_cast<int>(ranked) + 1);
  EXPECT_EQ(beyond.error, "rank " + std::to_string(ranked + 1) + ": only " +
                              std::to_string(ranked) + " candidates are ranked");
  EXPECT_TRUE(beyond.files.empty());
}

}  // namespace
}  // namespace bandmatch
