// The loop over design passes: each pass takes a date stamp, names its two result files, runs
// the dialogue and the synthesis, writes the three reports and asks to go on.
#pragma once

#include <istream>
#include <ostream>

#include "report/credits.hpp"

namespace bandmatch {

enum class PassOutcome { continueDesign, exitProgram, inputEnded, outputFailed };

// Exit statuses of the program.
inline constexpr int EXIT_STATUS_DONE = 0;
// The input ended before a design was complete, a report could not be written, or the console
// output failed.
inline constexpr int EXIT_STATUS_FAILED = 1;
// The command line was not understood.
inline constexpr int EXIT_STATUS_USAGE = 2;

// How a pass ended; reportFailed when one of its report files could not be written.
struct PassEnd {
  PassOutcome outcome = PassOutcome::exitProgram;
  bool reportFailed = false;
  int outputError = 0;  // errno of the console failure (outputFailed), 0 when unknown
};

// Runs passes until the user exits, the input ends or the console fails; returns the process
// exit status. Every failure is one line on `err`, written after `out` is flushed. When the
// answers are typed at a terminal (`inputIsTerminal`), each refused answer is explained on `err`
// too; from a pipe or a file they are asked again without a word, as scripts expect.
int runPasses(std::istream& in, std::ostream& out, std::ostream& err, const LocalClock& clock,
              bool inputIsTerminal = false);

// One design pass. A result name whose files cannot be created is reported on `err` and asked
// again, so that no design is made that cannot be saved.
PassEnd runPass(std::istream& in, std::ostream& out, std::ostream& err, const LocalClock& clock,
                bool inputIsTerminal);

// The closing question: continueDesign, exitProgram, or inputEnded; another letter is explained
// on `reasons` (see tellRefusal).
PassOutcome askContinue(std::istream& in, std::ostream& out, std::ostream* reasons = nullptr);

}  // namespace bandmatch
