// bandmatch-export --load: a run on a load fitted by bandmatch-fit and designed by the console
// dialogue from its answers, the refusals of loads that cannot serve and of an output over the
// load, and the charts naming the load as it was typed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/measured_loads.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::directoryEntries;
using testing::exactLoadFile;
using testing::exportWith;
using testing::fitWith;
using testing::ToolResult;
using testing::tuneWith;
using testing::writeTextFile;

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
  EXPECT_NE(result.out.find("\nIn-band |Gamma| on the measured load: min "), std::string::npos);
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"load.s1p", "net.cir", "net.csv", "net.s1p", "net.svg",
                                      "net.txt"}));
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
