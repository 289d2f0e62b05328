// The Touchstone 1.0 one-port file of a network's input reflection, referenced to the resistance
// of the source that drives it: frequency in MHz, magnitude and angle in degrees.
#pragma once

#include <string>

#include "rf/csv_report_reader.hpp"
#include "rf/file_origin.hpp"
#include "rf/sweep.hpp"

namespace bandmatch {

// The whole file text, one data line per point of the response.
std::string renderTouchstone(const ReportedDesign& design, const LadderNetwork& network,
                             const FrequencyResponse& response, const FileOrigin& origin);

}  // namespace bandmatch
