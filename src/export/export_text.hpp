// Text pieces shared by the exporter's three files: full-precision numbers, the one-line summary
// of a design, and file names made safe to quote inside a comment.
#pragma once

#include <string>
#include <string_view>

#include "export/csv_report_reader.hpp"

namespace bandmatch {

// Seventeen significant digits, enough to read back the same double.
std::string formatFullPrecision(double value);

// "N = 3, band 10.000000 to 20.000000 MHz, series load".
std::string designSummary(const ReportedDesign& design);

// The text with every control character (line ends included) shown as '?', so a file name
// cannot break the line it is quoted in.
std::string printableText(std::string_view text);

// The text between double quotes, for error messages that show what was found.
std::string quoted(std::string_view text);

}  // namespace bandmatch
