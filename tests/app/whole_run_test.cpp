// Whole runs of the program on typed answers: the console, the text report file and the CSV report
// file of complete designs, compared byte for byte with the golden transcripts in tests/data/,
// texts written out by hand.
//
// Where the numbers come from: every value in the transcripts was computed outside this program by
// a short double-precision script (Python's math module) that evaluates the band quantities, the
// load conversions, the half-step Newton - Raphson iteration from its empirical start, the match
// figures, Levy's prototype values and the element scaling in the order the formulas are stated,
// with the typed answers converted digit by digit as the console reader does, and prints them as
// fixed-point and three-digit-exponent scientific texts. The N = 3 design also agrees with the
// published worked values: A = 1.0512, B = 0.25310, IT = 13, g(4) = 0.866749,
// L(1) = 7.95775e-07 H, C(1) = 1.59155e-10 F and a source resistance of 57.6868 ohms.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/golden.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using support::golden;
using support::readFile;
using support::runSession;
using support::ScratchDirectory;

// run1: N = 3, decrement 1 entered directly, series load of 50 ohms, 10 to 20 MHz.
// run2: N = 4, load Q of 2, parallel load of 0.02 siemens, 8 to 12.5 MHz.
// run3: N = 10, series load parameters: 75 ohms, a reactance change of 40 ohms over 2 MHz,
//       10 to 20 MHz.
constexpr std::string_view RUNS[] = {"run1", "run2", "run3"};

TEST(WholeRunReports, ConsoleTextAndCsvFilesMatchTheGoldenTranscripts) {
  for (const std::string_view run : RUNS) {
    SCOPED_TRACE(std::string(run));
    ScratchDirectory scratch;
    const support::SessionResult result = runSession(golden(run, "answers.txt"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.console, golden(run, "console.txt"));
    EXPECT_EQ(readFile(std::string(run) + ".txt"), golden(run, std::string(run) + ".txt"));
    EXPECT_EQ(readFile(std::string(run) + ".csv"), golden(run, std::string(run) + ".csv"));
  }
}

// A direct-entry series design after a load-parameter parallel design shows nothing of the first
// pass: no parallel load parameters, no slope parameter, no stale element values.
TEST(WholeRunReports, SecondPassShowsNothingOfTheFirst) {
  ScratchDirectory scratch;
  const std::string firstPass = "first\n2\nl\np\n100\n150\n0.01\n5\n0.02\nc\n";
  const support::SessionResult result = runSession(firstPass + golden("run1", "answers.txt"));
  EXPECT_EQ(result.status, 0);

  // The first pass really was a parallel load-parameter design with a slope parameter.
  const std::string firstText = readFile("first.txt");
  EXPECT_NE(firstText.find("\n      Parallel Load Parameters entered\n"), std::string::npos);
  EXPECT_NE(firstText.find("\n   Susceptance Slope Parameter =             2.449489743e-001\n"),
            std::string::npos);

  const std::string secondConsole = golden("run1", "console.txt");
  ASSERT_GE(result.console.size(), secondConsole.size());
  EXPECT_EQ(result.console.substr(result.console.size() - secondConsole.size()), secondConsole);
  EXPECT_EQ(readFile("run1.txt"), golden("run1", "run1.txt"));
  EXPECT_EQ(readFile("run1.csv"), golden("run1", "run1.csv"));
}

}  // namespace
}  // namespace bandmatch
