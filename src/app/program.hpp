// The command line of bandmatch: no argument runs the dialogue, --help and --version answer and
// end, anything else is refused with a usage line.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "report/credits.hpp"

namespace bandmatch {

// A whole run on the arguments after the program name; returns the exit status.
int runProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, const LocalClock& clock);

}  // namespace bandmatch
