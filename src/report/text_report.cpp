#include "report/text_report.hpp"

namespace bandmatch {

void writeReportBody(std::ostream&, const DesignCase&) {}
void writeConsoleReport(std::ostream&, const DesignCase&) {}
void writeTextReport(std::ostream&, const DesignCase&, std::string_view) {}

}  // namespace bandmatch
