// The network of a design as the companion programs take it from a report: the band, the load
// type and the ladder with the reported reflection figures; and how it is named in files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/design_case.hpp"
#include "network/ladder_analysis.hpp"
#include "network/load_fit.hpp"

namespace bandmatch {

// What the companion programs take from a report; everything else in the file is ignored.
struct ReportedDesign {
  int N = 0;
  LoadType loadType = LoadType::series;
  double f1 = 0.0;      // MHz
  double f2 = 0.0;      // MHz
  double rhoMin = 0.0;  // smallest reflection magnitude over the band, as reported
  double rhoMax = 0.0;  // largest reflection magnitude over the band, as reported
  LadderNetwork ladder;
  // The retuning element of the measured load a tuner tuned the report's network on, when the
  // report is a tuned network's; the fit of the load gives it otherwise.
  std::optional<Retuning> retuning;
};

// "series load" or "parallel load".
std::string_view loadTypeName(LoadType loadType);

// "N = 3, band 10.000000 to 20.000000 MHz, series load".
std::string designSummary(const ReportedDesign& design);

}  // namespace bandmatch
