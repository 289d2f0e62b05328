// The SVG plot of a design's return loss against frequency, readable on its own: band edges,
// the reported best and worst return loss, labelled axes with ticks, and a title.
#pragma once

#include <string>
#include <string_view>

#include "rf/csv_report_reader.hpp"
#include "rf/file_origin.hpp"
#include "rf/sweep.hpp"

namespace bandmatch {

// The whole SVG document; the response is drawn as one polyline with a vertex per point.
std::string renderResponsePlot(const ReportedDesign& design, const FrequencyResponse& response,
                               const FileOrigin& origin);

}  // namespace bandmatch
