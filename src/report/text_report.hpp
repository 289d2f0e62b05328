// The console and text renderings of a design: one body of five sections, preceded by an empty
// line on the console and by the credits block in the text report file.
#pragma once

#include <ostream>
#include <string_view>

#include "core/design_case.hpp"
#include "report/report_rows.hpp"

namespace bandmatch {

// The slope line of Output Part 1: the slope parameter for load parameters, otherwise the text
// saying why there is none.
ReportLine slopeLine(Method method, LoadType loadType);

// Output Part 1 shows the decrement and the load Q only where they were derived, not entered.
bool showsDerivedDecrement(Method method);
bool showsDerivedLoadQ(Method method);

// Output Parts 2 to 4, the same in the text and the CSV report but for the separator written
// between each label and its value (none, or the comma of a CSV row).
void writeSolutionSections(std::ostream& out, const DesignCase& design, std::string_view separator);

void writeReportBody(std::ostream& out, const DesignCase& design);

// One empty line, then the body.
void writeConsoleReport(std::ostream& console, const DesignCase& design);

// The credits block, then the body.
void writeTextReport(std::ostream& file, const DesignCase& design, std::string_view dateStamp);

}  // namespace bandmatch
