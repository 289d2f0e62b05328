// The Touchstone 1.0 one-port file of a design's input reflection, referenced to its source
// resistance: frequency in MHz, magnitude and angle in degrees.
#pragma once

#include <string>
#include <string_view>

#include "export/csv_report_reader.hpp"
#include "export/sweep.hpp"

namespace bandmatch {

// The whole file text, one data line per point of the response.
std::string renderTouchstone(const ReportedDesign& design, const FrequencyResponse& response,
                             std::string_view reportName);

}  // namespace bandmatch
