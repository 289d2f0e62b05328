// The real executable with its standard input on a pseudo-terminal, as when a person types the
// answers: each refused answer is explained in one line on standard error while standard output
// stays what a pipe gets; piped, the same answers give no reason at all.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <string>

#include "support/golden.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

struct ExecutableRun {
  std::string out;
  std::string err;
  int status = -1;
};

// Runs bandmatch in the current folder, its standard input the slave side of a pseudo-terminal
// (echo off: the program alone reads what is typed) or a pipe; its output goes to two files.
ExecutableRun runExecutable(const std::string& answers, bool onTerminal) {
  std::array<int, 2> input{};  // read end, write end
  if (onTerminal) {
    EXPECT_EQ(::openpty(&input[0], &input[1], nullptr, nullptr, nullptr), 0);
    std::swap(input[0], input[1]);  // openpty gives the master, the typing side, first
    termios mode{};
    ::tcgetattr(input[0], &mode);
    mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(input[0], TCSANOW, &mode);
  } else {
    EXPECT_EQ(::pipe(input.data()), 0);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(input[1]);
    ::dup2(input[0], STDIN_FILENO);
    ::dup2(::open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    ::dup2(::open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    ::execl(BANDMATCH_EXECUTABLE, "bandmatch", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(input[0]);
  EXPECT_EQ(::write(input[1], answers.data(), answers.size()),
            static_cast<ssize_t>(answers.size()));
  int status = 0;
  // A program still waiting after 10 s would wait for ever: the answers end with "e".
  for (int tenths = 0; ::waitpid(child, &status, WNOHANG) == 0; ++tenths) {
    if (tenths == 100) {
      ADD_FAILURE() << "bandmatch did not end within 10 s";
      ::kill(child, SIGKILL);
    }
    ::usleep(100000);
  }
  ::close(input[1]);
  return {support::readFile("out.txt"), support::readFile("err.txt"),
          WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// Console text without the date line of each pass, which names the second it was written.
std::string undated(const std::string& console) {
  std::string kept;
  for (const std::string& line : support::splitLines(console)) {
    kept += line.starts_with("Current local date and time: ") ? "" : line + "\n";
  }
  return kept;
}

TEST(TerminalSession, RefusedAnswersAreExplainedOnStandardErrorOnlyAtATerminal) {
  support::ScratchDirectory scratch;
  // N, the method, f1, the decrement and the closing answer each refused once; the bounds are
  // those of the prompts they follow.
  const std::string answers = "run1\n11\n3\nx\nd\ns\n0\n10\n20\nabc\n1\n50\nz\ne\n";
  const ExecutableRun typed = runExecutable(answers, true);
  const ExecutableRun piped = runExecutable(answers, false);
  EXPECT_EQ(typed.status, 0);
  EXPECT_EQ(typed.err,
            "bandmatch: not a whole number from 1 to 10\n"
            "bandmatch: answer d, l or q\n"
            "bandmatch: not a number above 0.000001 and below 1000000.000000\n"
            "bandmatch: not a number from 0.010 to 20.000\n"
            "bandmatch: answer e or c\n");
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(undated(typed.out), undated(piped.out));

  // Answers without a refusal: at a terminal the golden transcript, and nothing else.
  const ExecutableRun golden = runExecutable(support::golden("run1", "answers.txt"), true);
  EXPECT_EQ(golden.err, "");
  EXPECT_EQ(undated(golden.out), undated(support::golden("run1", "console.txt")));
}

}  // namespace
}  // namespace bandmatch
