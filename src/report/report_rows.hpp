// The row writers that the text and the CSV report share: a label with its value, a line of the
// case tables, and the number formats the reports use.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "core/design_case.hpp"

namespace bandmatch {

// A report line: its label, and the field written right after it (none for a line of text).
struct ReportLine {
  std::string_view label;
  double DesignCase::*value = nullptr;
};

// The report formats: fixed-point and scientific with the given digits after the point.
using ValueFormat = std::string (*)(double);
std::string fixed6(double value);
std::string fixed9(double value);
std::string scientific3(double value);
std::string scientific6(double value);
std::string scientific9(double value);

// The label, the separator (none in the text report, the comma in the CSV report), the value.
void writeValueLine(std::ostream& out, std::string_view label, std::string_view separator,
                    std::string_view value);

// A line of text, or a label with its field's value in the given format.
void writeReportLine(std::ostream& out, const ReportLine& line, const DesignCase& design,
                     std::string_view separator, ValueFormat format);

// "   G(" 3 ") (load)   =     ": the index has no field width, so two digits shift the value.
std::string indexedLabel(std::string_view open, int index, std::string_view close);

}  // namespace bandmatch
