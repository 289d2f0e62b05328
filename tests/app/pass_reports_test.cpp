// What the pass loop does with its report files and its two output streams when something goes
// wrong: an unfinished pass, a report that cannot be written, something odd at the report's
// name, a console that cannot be written, and a solver that found no design.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "app/pass_driver.hpp"
#include "support/golden.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

namespace fs = std::filesystem;
using support::golden;
using support::readFile;
using support::runSession;
using support::ScratchDirectory;
using testing::directoryEntries;
using testing::writeTextFile;

// A console that takes `limit` characters and then fails, as a full disk or a closed pipe does.
class FailingConsole : public std::streambuf {
 public:
  explicit FailingConsole(std::size_t limit) : limit_(limit) {}
  const std::string& taken() const { return taken_; }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof()) || taken_.size() >= limit_) {
      return traits_type::eof();
    }
    taken_ += traits_type::to_char_type(c);
    return c;
  }

 private:
  std::size_t limit_;
  std::string taken_;
};

// The console as a terminal shows it: what the program flushed, and the error lines, in the
// order they reached the screen.
struct Screen {
  std::string shown;
};

class BufferedConsole : public std::stringbuf {
 public:
  explicit BufferedConsole(Screen& screen) : screen_(screen) {}

 protected:
  int sync() override {
    screen_.shown += str().substr(flushed_);
    flushed_ = str().size();
    return 0;
  }

 private:
  Screen& screen_;
  std::size_t flushed_ = 0;
};

class ErrorStream : public std::streambuf {
 public:
  explicit ErrorStream(Screen& screen) : screen_(screen) {}

 protected:
  int_type overflow(int_type c) override {
    screen_.shown += traits_type::to_char_type(c);
    return c;
  }

 private:
  Screen& screen_;
};

// Writes run1's reports as the golden transcripts have them.
void writeEarlierRun1() {
  ASSERT_EQ(runSession(golden("run1", "answers.txt")).status, 0);
}

TEST(PassReports, AnUnfinishedPassLeavesTheEarlierReportByteForByte) {
  const std::string started = "run1 3 d s 10";
  const struct {
    const char* name;
    std::size_t consoleLimit;  // characters the console takes before it fails
    std::string error;
  } endings[] = {
      {"input ends in the dialogue", std::string::npos,
       "bandmatch: the input ended before the design was complete\n"},
      {"console fails in the dialogue", 1200, "bandmatch: cannot write standard output\n"},
  };
  for (const auto& ending : endings) {
    SCOPED_TRACE(ending.name);
    ScratchDirectory scratch;
    writeEarlierRun1();
    FailingConsole console(ending.consoleLimit);
    std::ostream out(&console);
    std::istringstream in(started);
    std::ostringstream err;
    EXPECT_EQ(runPasses(in, out, err, support::fixedClock()), 1);
    EXPECT_EQ(err.str(), ending.error);
    EXPECT_EQ(readFile("run1.txt"), golden("run1", "run1.txt"));
    EXPECT_EQ(readFile("run1.csv"), golden("run1", "run1.csv"));
    EXPECT_EQ(directoryEntries(scratch.path()), (std::vector<std::string>{"run1.csv", "run1.txt"}));
  }
}

// Answers served a character at a time; `happen` runs when the reader first asks for the
// character at `at`, so that something changes on disk while the dialogue is under way.
class AnswersWithAnEvent : public std::streambuf {
 public:
  AnswersWithAnEvent(std::string answers, std::size_t at, std::function<void()> happen)
      : answers_(std::move(answers)), at_(at), happen_(std::move(happen)) {}

 protected:
  int_type underflow() override {
    if (next_ == answers_.size()) {
      return traits_type::eof();
    }
    if (next_ == at_ && happen_) {
      std::exchange(happen_, nullptr)();
    }
    char* const current = answers_.data() + next_++;
    setg(current, current, current + 1);
    return traits_type::to_int_type(*current);
  }

 private:
  std::string answers_;
  std::size_t at_;
  std::function<void()> happen_;
  std::size_t next_ = 0;
};

// A name that could be written when it was typed, but not at the end of the pass (here a folder
// appears at it during the dialogue): the design is shown as ever and the failure said.
TEST(PassReports, AReportThatCannotBeWrittenLeavesTheConsoleUnchanged) {
  ScratchDirectory scratch;
  const std::string answers = golden("run1", "answers.txt");
  AnswersWithAnEvent events(answers, answers.find('\n') + 1,
                            [] { fs::create_directory("run1.txt"); });
  std::istream in(&events);
  std::ostringstream out;
  std::ostringstream err;
  support::SessionResult result;
  result.status = runPasses(in, out, err, support::fixedClock());
  result.console = out.str();
  result.errors = err.str();
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "bandmatch: cannot write run1.txt: Is a directory\n");
  EXPECT_EQ(result.console, golden("run1", "console.txt"));
  EXPECT_EQ(readFile("run1.csv"), golden("run1", "run1.csv"));
  EXPECT_TRUE(fs::is_directory("run1.txt"));
  EXPECT_EQ(directoryEntries(scratch.path()), (std::vector<std::string>{"run1.csv", "run1.txt"}));
}

TEST(PassReports, WhateverStandsAtTheReportNameIsReplacedNotWrittenThrough) {
  const struct {
    const char* name;
    void (*prepare)();
    fs::perms expected;  // of the new run1.txt
  } targets[] = {
      // A FIFO nobody reads would block a program that opened it.
      {"fifo", [] { ASSERT_EQ(::mkfifo("run1.txt", 0644), 0); }, fs::perms(0644)},
      {"symlink",
       [] {
         writeTextFile("other.txt", "not a report\n");
         fs::create_symlink("other.txt", "run1.txt");
       },
       fs::perms(0644)},
      {"private report",
       [] {
         writeTextFile("run1.txt", "earlier\n");
         fs::permissions("run1.txt", fs::perms(0600));
       },
       fs::perms(0600)},
      {"read-only report",
       [] {
         writeTextFile("run1.txt", "earlier\n");
         fs::permissions("run1.txt", fs::perms(0444));
       },
       fs::perms(0444)},
  };
  const mode_t previousMask = ::umask(022);
  for (const auto& target : targets) {
    SCOPED_TRACE(target.name);
    ScratchDirectory scratch;
    target.prepare();
    const support::SessionResult result = runSession(golden("run1", "answers.txt"));
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("run1.txt")));
    EXPECT_EQ(fs::status("run1.txt").permissions(), target.expected);
    EXPECT_EQ(readFile("run1.txt"), golden("run1", "run1.txt"));
    if (fs::exists("other.txt")) {
      EXPECT_EQ(readFile("other.txt"), "not a report\n");
    }
  }
  ::umask(previousMask);
}

TEST(PassReports, AConsoleThatCannotBeWrittenEndsTheSessionAtOnce) {
  ScratchDirectory scratch;
  // Endless wrong answers would keep the N question coming back on a working console.
  std::string answers = "run1";
  for (int i = 0; i < 1000; ++i) {
    answers += " x";
  }
  const std::size_t limits[] = {0, 400, 2000};
  for (const std::size_t limit : limits) {
    SCOPED_TRACE(limit);
    FailingConsole console(limit);
    std::ostream out(&console);
    std::istringstream in(answers);
    std::ostringstream err;
    EXPECT_EQ(runPasses(in, out, err, support::fixedClock()), 1);
    EXPECT_EQ(err.str(), "bandmatch: cannot write standard output\n");
    // The first flush that fails ends the run: most of the answers are never read.
    EXPECT_LT(in.tellg(), static_cast<std::streamoff>(100));
    EXPECT_EQ(directoryEntries(scratch.path()), std::vector<std::string>{});
  }
}

// The solver's result is no design: far outside the recommended decrements it ends without
// converging, or converges to a reflection that no passive network has. The decrements are the
// closed forms of the answers: method L gives R / ((dX / dB) (f0 / 2) wm) = 1e6 / 5e-7 for the
// first, method Q gives 1 / (Q wm) with wm = (f2 - f1) / sqrt(f1 f2) for the others.
TEST(PassReports, SaysOnStandardErrorWhenTheFiguresAreNoDesign) {
  const struct {
    const char* answers;
    std::string warning;  // before the FV value or the magnitude, where the line names them
  } cases[] = {
      {"nc 1 l s 10 20 1000000 10 0.000001 e",
       "bandmatch: warning: N = 1, decrement 2.000000000e+012: the Newton - Raphson solution "
       "did not converge (FV = "},
      {"nc 1 q s 1 150 300 50 e",
       "bandmatch: warning: N = 1, decrement 2.739921413e-004: the Newton - Raphson solution "
       "did not converge (FV = "},
      {"nc 1 q s 1 120 300 50 e",
       "bandmatch: warning: N = 1, decrement 3.068473712e-004: the largest reflection magnitude "
       "is "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    ScratchDirectory scratch;
    const support::SessionResult result = runSession(c.answers);
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(result.errors.rfind(c.warning, 0), 0u) << result.errors;
    EXPECT_EQ(support::splitLines(result.errors).size(), 1u);
    EXPECT_TRUE(result.errors.ends_with("; the figures of this pass are not a design\n"));
    // The figure the warning names is the one the report shows.
    const std::string named = result.errors.substr(c.warning.size());
    const std::string value = named.substr(0, named.find_first_of(" ,"));
    const bool convergence = c.warning.ends_with("(FV = ");
    EXPECT_NE(result.console.find(convergence ? "   FV =                   " + value + "\n"
                                              : "Coefficient Max = " + value + "\n"),
              std::string::npos)
        << value;
    EXPECT_TRUE(fs::exists("nc.csv"));
  }
}

// On a terminal the error lines stand after everything the console was given before them.
TEST(PassReports, ErrorLinesFollowTheConsoleTextWrittenBeforeThem) {
  ScratchDirectory scratch;
  Screen screen;
  BufferedConsole console(screen);
  ErrorStream errors(screen);
  std::ostream out(&console);
  std::ostream err(&errors);
  std::istringstream in("nc 1 l s 10 20 1000000 10 0.000001 e");
  EXPECT_EQ(runPasses(in, out, err, support::fixedClock()), 0);

  const std::string consoleText = console.str();
  const std::size_t reportEnd = consoleText.find("\n\nEnter \"e\" or \"E\" to exit") + 1;
  ASSERT_NE(reportEnd, 0u);
  const std::size_t warningStart = screen.shown.find("bandmatch: warning:");
  ASSERT_NE(warningStart, std::string::npos);
  EXPECT_EQ(screen.shown.substr(0, warningStart), consoleText.substr(0, reportEnd));
  const std::size_t warningEnd = screen.shown.find('\n', warningStart) + 1;
  EXPECT_EQ(screen.shown.substr(warningEnd), consoleText.substr(reportEnd));
}

}  // namespace
}  // namespace bandmatch
