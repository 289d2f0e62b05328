// Reads the matching network back out of a CSV report written by bandmatch: the rows it needs,
// found by their labels at their fixed line numbers, checked before any use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/design_case.hpp"
#include "rf/ladder_analysis.hpp"

namespace bandmatch {

// What the exporter takes from a report; everything else in the file is ignored.
struct ReportedDesign {
  int N = 0;
  LoadType loadType = LoadType::series;
  double f1 = 0.0;      // MHz
  double f2 = 0.0;      // MHz
  double rhoMin = 0.0;  // smallest reflection magnitude over the band, as reported
  double rhoMax = 0.0;  // largest reflection magnitude over the band, as reported
  LadderNetwork ladder;
};

// A design, or the reason the text is refused (one line, no trailing full stop).
struct ReportReading {
  std::optional<ReportedDesign> design;
  std::string error;
};

// Interprets the whole text of a report file. Line ends may be "\n" or "\r\n".
ReportReading readCsvReport(std::string_view text);

// "series load" or "parallel load".
std::string_view loadTypeName(LoadType loadType);

// "N = 3, band 10.000000 to 20.000000 MHz, series load".
std::string designSummary(const ReportedDesign& design);

}  // namespace bandmatch
