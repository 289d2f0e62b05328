// The Touchstone 1.0 one-port file of a network's input reflection, referenced to the resistance
// of the source that drives it: frequency in MHz, magnitude and angle in degrees.
#pragma once

#include <string>

#include "network/reported_design.hpp"
#include "core/file_origin.hpp"
#include "network/sweep.hpp"

namespace bandmatch {

// The whole file text, one data line per point of the response.
std::string renderTouchstone(const ReportedDesign& design, const LadderNetwork& network,
                             const FrequencyResponse& response, const FileOrigin& origin);

}  // namespace bandmatch
