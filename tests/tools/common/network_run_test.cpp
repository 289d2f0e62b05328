// The end of every network program's run: its files written under the base name with the "Wrote"
// line, or one line of refusal and the folder as it was, when a file would replace an input or
// cannot be written.
#include "tools/common/network_run.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/report_files.hpp"
#include "support/session.hpp"
#include "tools/common/command_line.hpp"

namespace bandmatch {
namespace {

TEST(NetworkRun, WritesEveryFileOrRefusesWithOneLine) {
  const struct {
    std::string outBase;
    std::string loadPath;
    std::vector<NetworkFile> files;
    std::string out;
    std::string err;
  } cases[] = {
      {"net",
       "",
       {{".cir", "netlist\n"}, {"-parts.csv", "parts\n"}},
       "Wrote net.cir and net-parts.csv: 3 points from 0.500000 to 2.000000 MHz\n",
       ""},
      {"net",
       "load.s1p",
       {{".cir", "netlist\n"}, {".s1p", "s\n"}, {".svg", "<svg/>\n"}},
       "Wrote net.cir, net.s1p and net.svg: 3 points from 0.500000 to 2.000000 MHz\n",
       ""},
      {"report",
       "",
       {{".cir", "netlist\n"}, {".csv", "report\n"}},
       "",
       "bandmatch-tune: report.csv would replace the report report.csv; choose another --out\n"},
      {"load",
       "load.s1p",
       {{".s1p", "s\n"}},
       "",
       "bandmatch-tune: load.s1p would replace the measured load load.s1p; choose another "
       "--out\n"},
      {"missing/net",
       "",
       {{".cir", "netlist\n"}},
       "",
       "bandmatch-tune: cannot write missing/net.cir: No such file or directory\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.outBase);
    support::ScratchDirectory scratch;
    testing::writeTextFile("report.csv", "report of the design\n");
    testing::writeTextFile("load.s1p", "# MHz Z RI R 50\n");
    const std::vector<std::string> before = testing::directoryEntries(scratch.path());
    NetworkFileOptions options;
    options.reportPath = "report.csv";
    options.loadPath = c.loadPath;
    options.outBase = c.outBase;
    ReportInput report;
    report.identity = identityOf("report.csv").value();
    std::ostringstream out;
    std::ostringstream err;
    const int status =
        writeNetworkRun("bandmatch-tune", options, report, c.files, {0.5, 2.0, 3}, out, err);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
    if (c.err.empty()) {
      EXPECT_EQ(status, TOOL_SUCCESS);
      for (const NetworkFile& file : c.files) {
        EXPECT_EQ(support::readFile(c.outBase + file.suffix), file.content) << file.suffix;
      }
    } else {
      EXPECT_EQ(status, TOOL_FAILURE);
      EXPECT_EQ(testing::directoryEntries(scratch.path()), before);
      EXPECT_EQ(support::readFile("report.csv"), "report of the design\n");
      EXPECT_EQ(support::readFile("load.s1p"), "# MHz Z RI R 50\n");
    }
  }
}

}  // namespace
}  // namespace bandmatch
