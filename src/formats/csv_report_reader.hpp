// Reads the matching network back out of a CSV report written by bandmatch: the rows it needs,
// found by their labels at their fixed line numbers, checked before any use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "network/reported_design.hpp"

namespace bandmatch {

// A design, or the reason the text is refused (one line, no trailing full stop).
struct ReportReading {
  std::optional<ReportedDesign> design;
  std::string error;
};

// Interprets the whole text of a report file. Line ends may be "\n" or "\r\n".
ReportReading readCsvReport(std::string_view text);

}  // namespace bandmatch
