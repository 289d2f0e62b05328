#include "report/report_rows.hpp"

#include "core/number_format.hpp"
#include "core/text_sink.hpp"

namespace bandmatch {

std::string fixed6(double value) {
  return formatFixed(value, 6);
}
std::string fixed9(double value) {
  return formatFixed(value, 9);
}
std::string scientific3(double value) {
  return formatScientific(value, 3);
}
std::string scientific6(double value) {
  return formatScientific(value, 6);
}
std::string scientific9(double value) {
  return formatScientific(value, 9);
}

void writeValueLine(std::ostream& out, std::string_view label, std::string_view separator,
                    std::string_view value) {
  // Written piece by piece: no line is assembled in memory.
  writeText(out, label);
  writeText(out, separator);
  writeLine(out, value);
}

void writeReportLine(std::ostream& out, const ReportLine& line, const DesignCase& design,
                     std::string_view separator, ValueFormat format) {
  if (line.value == nullptr) {
    writeLine(out, line.label);
  } else {
    writeValueLine(out, line.label, separator, format(design.*line.value));
  }
}

std::string indexedLabel(std::string_view open, int index, std::string_view close) {
  std::string label(open);
  label += formatInteger(index);
  label += close;
  return label;
}

}  // namespace bandmatch
