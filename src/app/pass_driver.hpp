// The loop over design passes: each pass takes a date stamp, names and opens its two result
// files, runs the dialogue and the synthesis, writes the three reports and asks to go on.
#pragma once

#include <istream>
#include <ostream>

#include "report/credits.hpp"

namespace bandmatch {

enum class PassOutcome { continueDesign, exitProgram, inputEnded };

// Exit statuses of the program.
inline constexpr int EXIT_STATUS_DONE = 0;
inline constexpr int EXIT_STATUS_INPUT_ENDED = 1;

// Runs passes until the user exits or the input ends; returns the process exit status. A
// message goes to `err` when the input ends before a design is complete.
int runPasses(std::istream& in, std::ostream& out, std::ostream& err, const LocalClock& clock);

// One design pass.
PassOutcome runPass(std::istream& in, std::ostream& out, const LocalClock& clock);

// The closing question: continueDesign, exitProgram, or inputEnded.
PassOutcome askContinue(std::istream& in, std::ostream& out);

}  // namespace bandmatch
