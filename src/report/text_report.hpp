// The console and text renderings of a design: one body of five sections, preceded by an empty
// line on the console and by the credits block in the text report file.
#pragma once

#include <ostream>
#include <string_view>

#include "run/design_case.hpp"

namespace bandmatch {

void writeReportBody(std::ostream& out, const DesignCase& design);

// One empty line, then the body.
void writeConsoleReport(std::ostream& console, const DesignCase& design);

// The credits block, then the body.
void writeTextReport(std::ostream& file, const DesignCase& design, std::string_view dateStamp);

}  // namespace bandmatch
