// Whole runs of the pass loop, driven in-process with a fixed clock in a scratch directory.
#include "app/pass_driver.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/golden.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

namespace fs = std::filesystem;
using support::readFile;
using support::runSession;
using testing::directoryEntries;

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

// A name whose reports cannot be created is refused before the dialogue, with one line saying
// why, and asked again from its line end; the design that follows is saved under the next name.
TEST(PassDriver, ResultNameThatCannotBeWrittenIsAskedAgain) {
  const std::string prompt = "Enter Result File Name without suffix: ";
  const struct {
    std::string refused;  // the name typed first
    const char* folder;   // made beforehand, or nothing
    const char* error;    // the one line on standard error
  } cases[] = {
      {"missing/run1", nullptr,
       "bandmatch: cannot write missing/run1.txt: No such file or directory\n"},
      {std::string("ab\0cd", 5), nullptr, "bandmatch: cannot write ab?cd.txt: Invalid argument\n"},
      {"old", "old.txt", "bandmatch: cannot write old.txt: Is a directory\n"},
      // The text report's temporary is created, and removed again.
      {"old", "old.csv", "bandmatch: cannot write old.csv: Is a directory\n"},
  };
  // The golden console with the name question asked twice, the second time from its line end.
  std::string expected = support::golden("run1", "console.txt");
  const std::size_t first = expected.find(prompt);
  ASSERT_NE(first, std::string::npos);
  expected.insert(first + prompt.size(), "\n" + prompt);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    support::ScratchDirectory scratch;
    std::vector<std::string> entries = {"run1.csv", "run1.txt"};
    if (c.folder != nullptr) {
      fs::create_directory(c.folder);
      entries.insert(entries.begin(), c.folder);
    }
    const auto result = runSession(c.refused + "\n" + support::golden("run1", "answers.txt"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errors, c.error);
    EXPECT_EQ(result.console, expected);
    EXPECT_EQ(readFile("run1.txt"), support::golden("run1", "run1.txt"));
    EXPECT_EQ(directoryEntries(scratch.path()), entries);
  }

  // Input that ends after a refused name ends the session; the name is not asked without end.
  support::ScratchDirectory scratch;
  const auto ended = runSession("missing/a missing/b");
  EXPECT_EQ(ended.status, 1);
  EXPECT_EQ(ended.errors,
            "bandmatch: cannot write missing/a.txt: No such file or directory\n"
            "bandmatch: cannot write missing/b.txt: No such file or directory\n"
            "bandmatch: the input ended before the design was complete\n");
  EXPECT_EQ(count(ended.console, prompt), 3U);
  EXPECT_EQ(directoryEntries(scratch.path()), std::vector<std::string>{});
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
  const struct {
    std::string input;
    int status;
    bool reported;  // run1's report files are on disk
  } cases[] = {
      {"", 1, false},                    // at the first name prompt
      {"  \n\n", 1, false},              // only white space
      {"run1", 1, false},                // in the dialogue, right after the name
      {"run1 3 d s 10", 1, false},       // at the f2 prompt
      {"run1 3 d s 10 20 1", 1, false},  // at the resistance prompt
      {pass("run1"), 0, true},           // at the closing question: design complete
      {pass("run1") + "c", 1, true},     // at the next pass's name prompt
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("input '" + c.input + "'");
    support::ScratchDirectory scratch;
    const auto result = runSession(c.input);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.errors, c.status == 0 ? "" : inputEnded);
    // An unfinished pass leaves nothing behind, not even an empty file or a temporary one.
    const std::vector<std::string> expected =
        c.reported ? std::vector<std::string>{"run1.csv", "run1.txt"} : std::vector<std::string>{};
    EXPECT_EQ(directoryEntries(scratch.path()), expected);
  }
}

}  // namespace
}  // namespace bandmatch
