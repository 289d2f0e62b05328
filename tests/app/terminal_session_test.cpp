// The real executable with its standard input on a pseudo-terminal, as when a person types the
// answers: each refused answer is explained in one line on standard error while standard output
// stays what a pipe gets; piped, the same answers give no reason at all.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

void keepFromChild(int descriptor) {
  ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
}

// Runs bandmatch in the current folder on `answers`, its standard input the slave side of a
// pseudo-terminal (echo off: the program alone reads what is typed) or a pipe.
ExecutableRun runExecutable(const std::string& answers, bool onTerminal) {
  std::array<int, 2> input{};
  if (onTerminal) {
    int master = -1;
    int slave = -1;
    EXPECT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    termios mode{};
    ::tcgetattr(slave, &mode);
    mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(slave, TCSANOW, &mode);
    input = {slave, master};
  } else {
    EXPECT_EQ(::pipe(input.data()), 0);
  }
  std::array<int, 2> out{};
  std::array<int, 2> err{};
  EXPECT_EQ(::pipe(out.data()), 0);
  EXPECT_EQ(::pipe(err.data()), 0);
  for (const int descriptor : {input[0], input[1], out[0], out[1], err[0], err[1]}) {
    keepFromChild(descriptor);
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(input[0], STDIN_FILENO);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    ::execl(BANDMATCH_EXECUTABLE, "bandmatch", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(input[0]);
  ::close(out[1]);
  ::close(err[1]);
  EXPECT_EQ(::write(input[1], answers.data(), answers.size()),
            static_cast<ssize_t>(answers.size()));
  if (!onTerminal) {
    ::close(input[1]);  // the pipe's end is the input's end; the terminal stays open
  }
  ExecutableRun run;
  std::array<pollfd, 2> streams = {{{out[0], POLLIN, 0}, {err[0], POLLIN, 0}}};
  std::array<std::string*, 2> texts = {&run.out, &run.err};
  for (int open = 2; open > 0;) {
    if (::poll(streams.data(), streams.size(), 10000) <= 0) {
      ADD_FAILURE() << "bandmatch neither wrote nor ended within 10 s";
      ::kill(child, SIGKILL);
      break;
    }
    for (std::size_t i = 0; i < streams.size(); ++i) {
      if (streams[i].fd >= 0 && streams[i].revents != 0) {
        std::array<char, 4096> chunk{};
        const ssize_t got = ::read(streams[i].fd, chunk.data(), chunk.size());
        if (got > 0) {
          texts[i]->append(chunk.data(), static_cast<std::size_t>(got));
        } else {
          ::close(streams[i].fd);
          streams[i].fd = -1;
          --open;
        }
      }
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (onTerminal) {
    ::close(input[1]);
  }
  return run;
}

// Console text without the date line of each pass, which names the second it was written.
std::string undated(const std::string& console) {
  std::string kept;
  for (const std::string& line : support::splitLines(console)) {
    if (!line.starts_with("Current local date and time: ")) {
      kept += line + "\n";
    }
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
  EXPECT_EQ(golden.status, 0);
  EXPECT_EQ(golden.err, "");
  EXPECT_EQ(undated(golden.out), undated(support::golden("run1", "console.txt")));
}

}  // namespace
}  // namespace bandmatch
