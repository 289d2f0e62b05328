// The exporter's command line: the usage and the version win over whatever follows them; the
// options it shares with the tuner are tested at tools/common/network_options.
#include "tools/export/export_options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bandmatch {
namespace {

TEST(ExportOptions, HelpAndVersionWinOverWhatFollows) {
  EXPECT_EQ(parseExportOptions({"--help"}).action, CommandAction::help);
  EXPECT_EQ(parseExportOptions({"a.csv", "--help", "--bogus"}).action, CommandAction::help);
  EXPECT_EQ(parseExportOptions({"--version"}).action, CommandAction::version);
  EXPECT_EQ(parseExportOptions({"--version", "--points", "0"}).action, CommandAction::version);
}

// The shared options reach the exporter's, their refusals too.
TEST(ExportOptions, ReadsTheNetworkOptions) {
  const ExportOptions options = parseExportOptions({"a.csv", "--points", "7", "--parts"});
  ASSERT_EQ(options.action, CommandAction::run) << options.error;
  EXPECT_EQ(options.points, 7);
  EXPECT_TRUE(options.parts);
  EXPECT_EQ(options.outBase, "a");
  const ExportOptions refused = parseExportOptions({"a.csv", "--span", "11"});
  EXPECT_EQ(refused.action, CommandAction::fail);
  EXPECT_EQ(refused.error, "--span must be a number from 1 to 10, found \"11\"");
}

}  // namespace
}  // namespace bandmatch
