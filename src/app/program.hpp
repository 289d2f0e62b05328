// The command line of bandmatch: no argument runs the dialogue, --help (or -h) and --version
// answer and end, anything else is refused with a usage line.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "report/credits.hpp"

namespace bandmatch {

// A whole run on the arguments after the program name; returns the exit status.
// `inputIsTerminal` says a person types the answers, who is told why an answer is refused.
int runProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, const LocalClock& clock, bool inputIsTerminal = false);

}  // namespace bandmatch
