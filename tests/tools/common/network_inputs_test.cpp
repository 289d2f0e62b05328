// What the exporter and the tuner read alike: a measured load active where the network is
// analysed on it is refused, and the names written are shown with control characters as '?'.
#include "tools/common/network_inputs.hpp"

#include <gtest/gtest.h>

#include "core/number_format.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

// 50 ohms with a reactance rising through zero at 13.5 MHz, every 0.5 MHz from 11 to 16 MHz, but
// -20 ohms from `from` to `to` MHz.
std::string partlyActiveLoad(double from, double to) {
  std::string text = "# MHz Z RI R 50\n";
  for (double f = 11.0; f <= 16.0; f += 0.5) {
    text += formatFixed(f, 1) + (f >= from && f <= to ? " -0.4 " : " 1 ") +
            formatFixed((f - 13.5) / 2.5, 2) + "\n";
  }
  return text;
}

// The band is 12 to 15 MHz, the default sweep 11.25 to 15.75 MHz.
TEST(NetworkInputs, RefusesALoadActiveInTheBandOrTheSweepAndShowsNamesOnOneLine) {
  support::ScratchDirectory scratch;
  ASSERT_EQ(support::runSession("net 2 d s 12 15 1 50 e").status, 0);
  testing::writeTextFile("band.s1p", partlyActiveLoad(13.0, 14.0));
  testing::writeTextFile("sweep.s1p", partlyActiveLoad(15.5, 15.5));
  const std::string reason =
      " MHz (resistance -2.0000e+001 ohms); only a passive load can be matched\n";
  const struct {
    std::vector<std::string> args;
    std::string error;  // after "PROGRAM: "; empty when the files are written
  } cases[] = {
      {{"net.csv", "--load", "band.s1p"}, "band.s1p: the load is active at 13.000000" + reason},
      {{"net.csv", "--load", "sweep.s1p"}, "sweep.s1p: the load is active at 15.500000" + reason},
      {{"net.csv", "--load", "sweep.s1p", "--span", "1"}, ""},
  };
  for (const std::string program : {"bandmatch-export", "bandmatch-tune"}) {
    const auto run = [&program](const std::vector<std::string>& args) {
      return program == "bandmatch-export" ? testing::exportWith(args) : testing::tuneWith(args);
    };
    for (const auto& c : cases) {
      const testing::ToolResult result = run(c.args);
      EXPECT_EQ(result.status, c.error.empty() ? 0 : 2) << program << c.args[2];
      EXPECT_EQ(result.err, c.error.empty() ? "" : program + ": " + c.error);
    }
    const testing::ToolResult named = run({"net.csv", "--out", "a\tb\nc"});
    EXPECT_EQ(named.out.rfind("Wrote a?b?c.cir, a?b?c.s1p", 0), 0u) << named.out;
  }
}

}  // namespace
}  // namespace bandmatch
