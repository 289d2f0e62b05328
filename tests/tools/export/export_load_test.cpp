// bandmatch-export --load: the designed network on a measured load. Loads generated from exact
// models and resonating 3 % off the band's centre are fitted by bandmatch-fit, designed by the
// console dialogue from its answers and exported on the data; with the retuning element the
// network must reach the reflection the report promises (Fano's figures), to 1e-4.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
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
using testing::exportWith;
using testing::fitWith;
using testing::ToolResult;
using testing::tuneWith;
using testing::writeTextFile;

struct Extremes {
  double rhoMin = std::nan("");
  double rhoMax = std::nan("");
};

// "In-band |Gamma| on the WHAT: min X, max Y, worst SWR Z" of the exporter's summary.
Extremes printedExtremes(const std::string& out, const std::string& what) {
  const std::regex line("In-band \\|Gamma\\| on the " + what + ": min (\\S+), max (\\S+), worst");
  std::smatch match;
  if (!std::regex_search(out, match, line)) {
    return {};
  }
  return {std::stod(match[1]), std::stod(match[2])};
}

// The reported magnitudes of NAME.csv.
Extremes reportedExtremes(const std::string& csv) {
  const auto value = [&csv](const std::string& label) {
    const std::size_t at = csv.find(label);
    return at == std::string::npos ? std::nan("") : std::stod(csv.substr(csv.find(',', at) + 1));
  };
  return {value("Reflection Coefficient Min"), value("Reflection Coefficient Max")};
}

void expectRelative(double actual, double expected, double tolerance, const std::string& what) {
  EXPECT_LE(std::fabs(actual - expected), tolerance * expected)
      << what << ": " << actual << " instead of " << expected;
}

TEST(ExportLoad, ReachesTheReportedMatchOnLoadsResonatingOffCentre) {
  const double f0 = std::sqrt(3.5 * 4.0);
  struct Case {
    ExactLoad load;
    int n;
    const char* retuning;
  };
  const std::vector<Case> cases = {
      {{LoadType::series, 72.0, 0.97 * f0, 11.0}, 3, "series capacitor (F)"},
      {{LoadType::series, 72.0, 1.03 * f0, 11.0}, 4, "series inductor (H)"},
      {{LoadType::parallel, 0.004, 0.97 * f0, 6.0}, 2, "shunt inductor (H)"},
      {{LoadType::parallel, 0.004, 1.03 * f0, 6.0}, 5, "shunt capacitor (F)"},
  };
  for (const Case& c : cases) {
    support::ScratchDirectory scratch;
    writeTextFile("load.s1p", exactLoadFile(c.load, 3.0, 4.5, 1501));
    const ToolResult answers =
        fitWith({"load.s1p", "3.5", "4", "--answers", std::to_string(c.n), "--name", "net"});
    ASSERT_EQ(answers.status, 0) << answers.err;
    ASSERT_EQ(support::runSession(answers.out).status, 0);
    const Extremes reported = reportedExtremes(support::readFile("net.csv"));

    const ToolResult exported = exportWith({"net.csv", "--load", "load.s1p"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string what = std::string(c.retuning) + " N = " + std::to_string(c.n);
    EXPECT_NE(exported.out.find("Measured load load.s1p at position 1, retuned by " +
                                std::string(c.retuning)),
              std::string::npos)
        << what << "\n"
        << exported.out;
    EXPECT_EQ(exported.out.find("Note:"), std::string::npos) << exported.out;
    for (const char* curve : {"model load", "measured load"}) {
      const Extremes found = printedExtremes(exported.out, curve);
      expectRelative(found.rhoMin, reported.rhoMin, 1e-4, what + " " + curve + " min");
      expectRelative(found.rhoMax, reported.rhoMax, 1e-4, what + " " + curve + " max");
    }
  }
}

TEST(ExportLoad, PlotsBothCurvesAndWritesTheMeasuredResponse) {
  support::ScratchDirectory scratch;
  writeTextFile("load.s1p", exactLoadFile({LoadType::series, 60.0, 3.6, 9.0}, 3.2, 4.3, 221));
  ASSERT_EQ(
      support::runSession(fitWith({"load.s1p", "3.5", "4", "--answers", "3", "--name", "net"}).out)
          .status,
      0);
  const ToolResult result = exportWith({"net.csv", "--load", "load.s1p", "--span", "4"});
  ASSERT_EQ(result.status, 0) << result.err;
  // A span of 4 asks for 2.5 to 5 MHz; the data end the sweep.
  EXPECT_EQ(result.out.rfind("Wrote net.cir, net.s1p and net.svg: 801 points from 3.200000 to "
                             "4.300000 MHz\nNote: the sweep is clipped to the measured data, "
                             "which cover 3.200000 to 4.300000 MHz\n",
                             0),
            0u)
      << result.out;
  const std::string svg = support::readFile("net.svg");
  const std::size_t first = svg.find("<polyline");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(svg.find("<polyline", first + 1), std::string::npos);
  EXPECT_NE(svg.find(">Model load</text>"), std::string::npos);
  EXPECT_NE(svg.find(">Measured load</text>"), std::string::npos);
  EXPECT_NE(svg.find("measured load load.s1p</text>"), std::string::npos);
  const std::vector<std::string> touchstone = support::splitLines(support::readFile("net.s1p"));
  ASSERT_EQ(touchstone.size(), 6u + 801u);
  EXPECT_EQ(touchstone[3],
            "! Position 1 is the measured load load.s1p with its retuning element, not the "
            "model load.");
}

TEST(ExportLoad, NotesAReportMadeForAnotherLoad) {
  support::ScratchDirectory scratch;
  writeTextFile("load.s1p", exactLoadFile({LoadType::series, 60.0, 3.74, 9.0}, 3.2, 4.3, 111));
  ASSERT_EQ(support::runSession("other 3 d s 3.5 4 1 50 e").status, 0);
  const ToolResult result = exportWith({"other.csv", "--load", "load.s1p"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Note: the report's L(1) and C(1) differ by "), std::string::npos)
      << result.out;
  const Extremes measured = printedExtremes(result.out, "measured load");
  EXPECT_TRUE(measured.rhoMax > 0.0 && measured.rhoMax < 1.0) << result.out;
}

TEST(ExportLoad, RefusesLoadsThatCannotServeAndWritesNothing) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("net 2 d s 3.5 4 1 50 e").status, 0);
  writeTextFile("narrow.s1p", exactLoadFile({}, 3.6, 4.5, 31));
  writeTextFile("falling.s1p", "# MHz Z RI R 50\n3.5 1 1\n3.75 1 0\n4 1 -1\n");
  writeTextFile("bad.s1p", "# MHz Z RI R 50\n3.5 1 x\n");
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"net.csv", "--load", "missing.s1p"}, "bandmatch-export: cannot read missing.s1p: No such"},
      {{"net.csv", "--load", "bad.s1p"},
       "bandmatch-export: bad.s1p: line 2: \"x\" is not a number"},
      {{"net.csv", "--load", "narrow.s1p"},
       "bandmatch-export: narrow.s1p: line 3: the data start at 3.600000 MHz, above the band's"},
      {{"net.csv", "--load", "falling.s1p"},
       "bandmatch-export: falling.s1p: the series model does not fit: its reactance does not "
       "rise"},
      {{"net.csv", "--load", ""}, "bandmatch-export: the load file name is empty"},
  };
  const std::vector<std::string> before = directoryEntries(scratch.path());
  for (const Case& c : cases) {
    const ToolResult result = exportWith(c.args);
    EXPECT_EQ(result.status, 2) << c.args.back();
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(c.error, 0), 0u) << result.err;
    EXPECT_EQ(support::splitLines(result.err).size(), 1u);
  }
  EXPECT_EQ(directoryEntries(scratch.path()), before);
}

// The measured load is an input too: an --out that would write over it is refused, under any
// spelling of its name.
TEST(ExportLoad, RefusesAnOutputThatWouldReplaceTheMeasuredLoad) {
  support::ScratchDirectory scratch;
  const std::string load = exactLoadFile({LoadType::series, 60.0, 3.6, 9.0}, 3.2, 4.3, 221);
  writeTextFile("load.s1p", load);
  ASSERT_EQ(
      support::runSession(fitWith({"load.s1p", "3.5", "4", "--answers", "3", "--name", "net"}).out)
          .status,
      0);
  const std::vector<std::string> before = directoryEntries(scratch.path());
  for (const char* base : {"load", "./load"}) {
    SCOPED_TRACE(base);
    const ToolResult result = exportWith({"net.csv", "--load", "load.s1p", "--out", base});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "bandmatch-export: " + std::string(base) +
                              ".s1p would replace the measured load load.s1p; choose another "
                              "--out\n");
    EXPECT_EQ(support::readFile("load.s1p"), load);
    EXPECT_EQ(directoryEntries(scratch.path()), before);
  }
}

// The subtitles of the plot and the Smith chart name the measured load as it was typed: a path
// with "..", a "." and a folder stays that path, never made absolute or resolved.
TEST(ExportLoad, ChartsNameTheMeasuredLoadAsTyped) {
  support::ScratchDirectory scratch;
  std::filesystem::create_directories("loads");
  std::filesystem::create_directories("work");
  writeTextFile("loads/load.s1p", exactLoadFile({LoadType::series, 60.0, 3.6, 9.0}, 3.2, 4.3, 221));
  std::filesystem::current_path("work");
  const std::string typed = "../loads/./load.s1p";
  ASSERT_EQ(support::runSession(fitWith({typed, "3.5", "4", "--answers", "3", "--name", "net"}).out)
                .status,
            0);
  ASSERT_EQ(exportWith({"net.csv", "--load", typed, "--smith"}).status, 0);
  ASSERT_EQ(tuneWith({"net.csv", "--load", typed, "--out", "tuned"}).status, 0);
  for (const char* chart : {"net.svg", "net-smith.svg", "tuned.svg"}) {
    SCOPED_TRACE(chart);
    const std::string svg = support::readFile(chart);
    EXPECT_NE(svg.find("; measured load " + typed + "</text>"), std::string::npos);
    EXPECT_EQ(svg.find(scratch.path().string()), std::string::npos);
  }
}

}  // namespace
}  // namespace bandmatch
