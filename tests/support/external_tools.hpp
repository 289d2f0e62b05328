// The independent programs some tests use as clients of the files we write (ngspice, xmllint):
// a missing one skips those tests with the reason outside CI and fails them under CI (CI=true),
// where the tools are always installed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bandmatch::support {

// Whether a command of that name is on the PATH.
bool commandInstalled(const std::string& name);

bool runningInCi();

// Exit status of a shell command; 127 when the command is not installed.
int runCommand(const std::string& command);

// The rows "index<TAB>value<TAB>value..." of ngspice's "print col" output, as the values after
// the index (the frequency first); other lines are left out.
std::vector<std::vector<double>> ngspiceRows(const std::string& printout);

// ngspice's rows for the netlist in the file `netlistPath` with its AC sweep replaced by at least
// `points` points logarithmic in frequency from f1 to f2 MHz (".ac dec"), both edges included:
// the independent check of a printed worst figure. Empty when ngspice fails.
std::vector<std::vector<double>> ngspiceOnLogSweep(const std::string& netlistPath, double f1,
                                                   double f2, int points);

}  // namespace bandmatch::support

#define BANDMATCH_REQUIRE_TOOL(command, package)                                                 \
  do {                                                                                           \
    if (!::bandmatch::support::commandInstalled(command)) {                                      \
      if (::bandmatch::support::runningInCi()) {                                                 \
        FAIL() << (command) << " is not installed (Debian package " << (package) << ")";         \
      }                                                                                          \
      GTEST_SKIP() << (command) << " is not installed; install the Debian package " << (package) \
                   << " to run this check";                                                      \
    }                                                                                            \
  } while (false)
