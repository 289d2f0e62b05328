// The whole run of bandmatch-tune on its arguments: read the report (and a measured load), tune
// the network, write the files of the tuned network and print the comparison.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/common/seconds_clock.hpp"

namespace bandmatch {

// `args` are the arguments after the program name. The usage, the version and the summary go
// to `out`; a failure is one line on `err`, status 2, and no file is written.
int runTune(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const SecondsClock& clock);

}  // namespace bandmatch
