// Whole runs of the pass loop, driven in-process with a fixed clock in a scratch directory.
#include "app/pass_driver.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/session.hpp"

namespace bandmatch {
namespace {

namespace fs = std::filesystem;
using support::readFile;
using support::runSession;

// Answers of one complete design after the file name: N = 3, method D, series load, 10 to 20 MHz,
// decrement 1, 50 ohms.
constexpr const char* DESIGN_ANSWERS = " 3 d s 10 20 1 50 ";

constexpr const char* CLOSING_QUESTION = R"(
Enter "e" or "E" to exit  
Enter "c" or "C" to continue  
Enter: )";

std::string pass(const std::string& name) {
  return name + DESIGN_ANSWERS;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

TEST(PassDriver, PassOpensWithCreditsBlockAndFileNamePrompt) {
  support::ScratchDirectory scratch;
  const auto result = runSession(pass("run1") + "e");
  const std::string opening =
      support::expectedCreditsBlock() + "Enter Result File Name without suffix: \n";
  EXPECT_EQ(result.console.substr(0, opening.size()), opening);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.errors, "");
  EXPECT_TRUE(fs::exists("run1.txt"));
  EXPECT_TRUE(fs::exists("run1.csv"));
}

TEST(PassDriver, ClosingQuestionRepeatsUntilExitOrContinue) {
  support::ScratchDirectory scratch;
  const auto wrongThenExit = runSession(pass("run1") + "x\nE");
  EXPECT_EQ(count(wrongThenExit.console, CLOSING_QUESTION), 2U);
  EXPECT_TRUE(wrongThenExit.console.ends_with(std::string(CLOSING_QUESTION) + CLOSING_QUESTION));
  EXPECT_EQ(wrongThenExit.status, 0);

  // Blanks before the answer are skipped; c starts a new pass with the credits block again.
  const auto continued = runSession(pass("run1") + " c\n" + pass("run2") + "e");
  EXPECT_EQ(count(continued.console, "Current local date and time: "), 2U);
  EXPECT_EQ(count(continued.console, "Enter Result File Name without suffix: "), 2U);
  EXPECT_TRUE(fs::exists("run2.txt"));
  EXPECT_EQ(continued.status, 0);
}

TEST(PassDriver, RestOfTheContinueWordBecomesTheNextFileName) {
  support::ScratchDirectory scratch;
  const auto result = runSession(pass("run1") + "continue" + DESIGN_ANSWERS + "e");
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(fs::exists("ontinue.txt"));
  EXPECT_TRUE(fs::exists("ontinue.csv"));
}

TEST(PassDriver, ResultFilesAreNamedAsTyped) {
  support::ScratchDirectory scratch;
  // A suffix typed by the user is kept; a second word on the name line answers the N prompt.
  const auto result =
      runSession("out.txt" + std::string(DESIGN_ANSWERS) + "c run1 5\n" + "d s 10 20 1 50 e");
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(fs::exists("out.txt.txt"));
  EXPECT_TRUE(fs::exists("out.txt.csv"));
  EXPECT_FALSE(fs::exists("out.csv"));
  EXPECT_NE(readFile("run1.txt").find("   N =                                   5\n"),
            std::string::npos);
  EXPECT_NE(readFile("out.txt.txt").find("Text Result File Name:                out.txt.txt\n"),
            std::string::npos);
}

TEST(PassDriver, SameNameTwiceKeepsOnlyTheSecondPass) {
  support::ScratchDirectory scratch;
  const auto result = runSession(pass("same") + "c same 1 d s 10 20 1 50 e");
  EXPECT_EQ(result.status, 0);
  const std::string text = readFile("same.txt");
  EXPECT_EQ(count(text, "Current local date and time: "), 1U);
  EXPECT_NE(text.find("   N =                                   1\n"), std::string::npos);
  EXPECT_EQ(count(readFile("same.csv"), "Inputs:"), 1U);
}

TEST(PassDriver, UnopenableResultFilesAreSkippedSilently) {
  support::ScratchDirectory scratch;
  const auto result = runSession(pass("missing/run1") + "e");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.errors, "");
  EXPECT_FALSE(fs::exists("missing"));
  // The console report is still shown.
  EXPECT_NE(result.console.find("Output Part 4: Network Element Values Calculated"),
            std::string::npos);

  // A NUL byte cannot be part of a file name: nothing is created under the shorter name.
  const auto withNul = runSession(std::string("ab\0cd", 5) + DESIGN_ANSWERS + "e");
  EXPECT_EQ(withNul.status, 0);
  EXPECT_TRUE(fs::is_empty(scratch.path()));
}

TEST(PassDriver, EachPassCarriesItsOwnStamp) {
  support::ScratchDirectory scratch;
  int calls = 0;
  const LocalClock ticking = [&calls]() -> std::optional<std::tm> {
    std::tm time = support::fixedLocalTime();
    time.tm_sec += calls++;
    return time;
  };
  const auto result = runSession(pass("first") + "c" + pass("second") + "e", ticking);
  EXPECT_EQ(calls, 2);
  EXPECT_NE(result.console.find("Mon Mar 01 2027 09:05:07"), std::string::npos);
  EXPECT_NE(result.console.find("Mon Mar 01 2027 09:05:08"), std::string::npos);
  EXPECT_NE(readFile("first.txt").find("09:05:07"), std::string::npos);
  EXPECT_NE(readFile("second.csv").find("09:05:08"), std::string::npos);
  EXPECT_EQ(readFile("second.csv").find("09:05:07"), std::string::npos);
}

TEST(PassDriver, EndOfInputEndsTheProgramWithTheRightStatus) {
  const std::string inputEnded = "bandmatch: the input ended before the design was complete\n";
  enum class TextFile { absent, empty, report };
  const struct {
    std::string input;
    int status;
    TextFile run1;
  } cases[] = {
      {"", 1, TextFile::absent},                   // at the first name prompt: no files
      {"  \n\n", 1, TextFile::absent},             // only white space
      {"run1", 1, TextFile::empty},                // in the dialogue, right after the name
      {"run1 3 d s 10", 1, TextFile::empty},       // at the f2 prompt
      {"run1 3 d s 10 20 1", 1, TextFile::empty},  // at the resistance prompt
      {pass("run1"), 0, TextFile::report},         // at the closing question: design complete
      {pass("run1") + "c", 1, TextFile::report},   // at the next pass's name prompt
  };
  for (const auto& c : cases) {
    support::ScratchDirectory scratch;
    const auto result = runSession(c.input);
    EXPECT_EQ(result.status, c.status) << "input '" << c.input << "'";
    EXPECT_EQ(result.errors, c.status == 0 ? "" : inputEnded) << "input '" << c.input << "'";
    EXPECT_EQ(fs::exists("run1.txt"), c.run1 != TextFile::absent) << "input '" << c.input << "'";
    EXPECT_EQ(readFile("run1.txt").empty(), c.run1 != TextFile::report)
        << "input '" << c.input << "'";
  }
}

}  // namespace
}  // namespace bandmatch
