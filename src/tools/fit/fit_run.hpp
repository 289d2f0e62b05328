// The whole run of bandmatch-fit on its arguments: read the load file, fit it over the band,
// and print the report, the designer's answer words, or the table for a decrement alone.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace bandmatch {

// `args` are the arguments after the program name. Everything printed goes to `out`; a failure
// is one line on `err` and status 2, with nothing on `out`.
int runFit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bandmatch
