// The command line of bandmatch: no argument is the dialogue, --help and --version answer and
// end without asking anything, anything else is one usage line and status 2.
#include "app/program.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/golden.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

ProgramRun runWith(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  ProgramRun run;
  run.status = runProgram(args, in, out, err, support::fixedClock());
  run.out = out.str();
  run.err = err.str();
  return run;
}

TEST(Program, WithoutArgumentsRunsTheDialogue) {
  support::ScratchDirectory scratch;
  const ProgramRun run = runWith({}, support::golden("run1", "answers.txt"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, support::golden("run1", "console.txt"));
  EXPECT_EQ(run.err, "");
}

TEST(Program, AnswersHelpAndVersionWithoutAsking) {
  const ProgramRun version = runWith({"--version"}, "run1 3 d s 10 20 1 50 e");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "bandmatch 1.0.0\n");
  EXPECT_EQ(version.err, "");

  const ProgramRun help = runWith({"--help"}, "run1 3 d s 10 20 1 50 e");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("Usage: bandmatch [-h | --help | --version]\n", 0), 0u);
  // What it does, where the reports go, and every exit status.
  for (const char* part : {"matching network", "NAME.txt", "NAME.csv", "\n  0  ", "\n  1  ",
                           "\n  2  ", "-h, --help", "--version"}) {
    EXPECT_NE(help.out.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(help.out.find("Enter"), std::string::npos);

  const ProgramRun shortHelp = runWith({"-h"}, "run1 3 d s 10 20 1 50 e");
  EXPECT_EQ(shortHelp.status, 0);
  EXPECT_EQ(shortHelp.out, help.out);
  EXPECT_EQ(shortHelp.err, "");
}

TEST(Program, RefusesAnyOtherArgumentWithAUsageLine) {
  const struct {
    std::vector<std::string> args;
    std::string found;
  } runs[] = {
      {{"run1"}, "run1"},
      {{"-v"}, "-v"},
      {{"--help", "extra"}, "extra"},
      {{"-h", "-h"}, "-h"},
      {{"--version", "--help"}, "--help"},
      {{"--verbose"}, "--verbose"},
      {{"a\nb"}, "a?b"},
      {{""}, ""},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.found);
    const ProgramRun result = runWith(run.args, "run1 3 d s 10 20 1 50 e");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "bandmatch: unexpected argument \"" + run.found +
                              "\"; usage: bandmatch [-h | --help | --version]\n");
  }
}

}  // namespace
}  // namespace bandmatch
