// The inputs every network program reads alike, through the exporter and the tuner: a measured
// load that is active where the network is analysed on it is refused, and the names of the
// files written are shown on standard output as on standard error.
#include "tools/common/network_inputs.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using testing::directoryEntries;
using testing::exportWith;
using testing::ToolResult;
using testing::ToolRun;
using testing::tuneWith;
using testing::writeTextFile;

// A series R-L-C of 50 ohms resonating at 13.4 MHz with a Q of 5, every 0.1 MHz from 10 to 17
// MHz, but with -20 ohms from activeFrom to activeTo MHz: written by its closed form, over 50.
std::string partlyActiveLoad(double activeFrom, double activeTo) {
  const double w0 = 2.0 * std::numbers::pi * 13.4e6;
  const double inductance = 5.0 * 50.0 / w0;
  const double capacitance = 1.0 / (w0 * w0 * inductance);
  std::string text = "# MHz Z RI R 50\n";
  for (int i = 100; i <= 170; ++i) {
    const double f = i / 10.0;
    const double w = 2.0 * std::numbers::pi * 1e6 * f;
    const double resistance = f >= activeFrom && f <= activeTo ? -20.0 : 50.0;
    char line[80];
    std::snprintf(line, sizeof line, "%.1f %.17g %.17g\n", f, resistance / 50.0,
                  (w * inductance - 1.0 / (w * capacitance)) / 50.0);
    text += line;
  }
  return text;
}

ToolResult runWith(const std::string& program, const std::vector<std::string>& args) {
  return program == "bandmatch-export" ? exportWith(args) : tuneWith(args);
}

// The report's band is 12 to 15 MHz; the default sweep reaches 11.25 to 15.75 MHz.
TEST(NetworkInputs, RefusesALoadActiveInTheBandOrTheSweep) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("net 2 d s 12 15 1 50 e").status, 0);
  writeTextFile("inband.s1p", partlyActiveLoad(13.0, 14.0));
  writeTextFile("insweep.s1p", partlyActiveLoad(15.5, 15.6));
  const std::string inBand =
      "inband.s1p: the load is active at 13.000000 MHz (resistance -2.0000e+001 ohms); only a "
      "passive load can be matched\n";
  const struct {
    std::vector<std::string> args;
    std::string error;  // after "PROGRAM: "; empty when the run succeeds
  } cases[] = {
      {{"net.csv", "--load", "inband.s1p"}, inBand},
      {{"net.csv", "--load", "inband.s1p", "--span", "1"}, inBand},
      {{"net.csv", "--load", "insweep.s1p"},
       "insweep.s1p: the load is active at 15.500000 MHz (resistance -2.0000e+001 ohms); only a "
       "passive load can be matched\n"},
      {{"net.csv", "--load", "insweep.s1p", "--span", "1"}, ""},  // the band alone is passive
  };
  for (const std::string program : {"bandmatch-export", "bandmatch-tune"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(program + " " + c.args[2] + " " + c.args.back());
      const std::vector<std::string> before = directoryEntries(scratch.path());
      const ToolResult result = runWith(program, c.args);
      if (c.error.empty()) {
        EXPECT_EQ(result.status, 0) << result.err;
        continue;
      }
      EXPECT_EQ(result.status, 2);
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err, program + ": " + c.error);
      EXPECT_EQ(directoryEntries(scratch.path()), before);
    }
  }
}

// A tab and a line feed in the base name are written as they are, and shown as '?'.
TEST(NetworkInputs, ShowsControlCharactersInWrittenNamesAsQuestionMarks) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("net 2 d s 12 15 1 50 e").status, 0);
  for (const std::string program : {"bandmatch-export", "bandmatch-tune"}) {
    SCOPED_TRACE(program);
    const ToolResult result = runWith(program, {"net.csv", "--out", "a\tb\nc"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Wrote a?b?c.cir, a?b?c.s1p", 0), 0u) << result.out;
    EXPECT_EQ(result.out.find('\t'), std::string::npos);
    EXPECT_FALSE(support::readFile("a\tb\nc.s1p").empty());
  }
}

}  // namespace
}  // namespace bandmatch
