// What every companion program answers for a request other than a run: the usage, its version,
// or a refusal as one line whatever bytes its reason holds.
#include "tools/common/command_line.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace bandmatch {
namespace {

TEST(CommandLine, AnswersTheUsageTheVersionOrARefusalOnOneLine) {
  const struct {
    CommandAction action;
    const char* reason;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {CommandAction::help, "", TOOL_SUCCESS, "Usage: tool REPORT\n", ""},
      {CommandAction::version, "", TOOL_SUCCESS, "bandmatch-tool 1.0.0\n", ""},
      {CommandAction::fail, "REPORT is required", TOOL_FAILURE, "",
       "bandmatch-tool: REPORT is required\n"},
      {CommandAction::fail, "cannot read a\nb\r\v.csv", TOOL_FAILURE, "",
       "bandmatch-tool: cannot read a?b??.csv\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(answerRequest({c.action, c.reason}, "Usage: tool REPORT\n", "bandmatch-tool", out,
                            err),
              c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
}

}  // namespace
}  // namespace bandmatch
