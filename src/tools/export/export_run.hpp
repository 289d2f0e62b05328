// The whole run of bandmatch-export on its arguments: read the report, analyse the ladder over
// the sweep, write the netlist, the Touchstone file and the plot.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace bandmatch {

// `args` are the arguments after the program name. The usage, the version and a one-line
// summary go to `out`; a failure is one line on `err`, status 2, and no file is written.
int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bandmatch
