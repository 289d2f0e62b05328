// The SVG plot of a design's return loss against frequency, readable on its own: band edges,
// the reported best and worst return loss, one labelled curve per network variant (the network
// on its model load, on a measured load), labelled axes with ticks, and a title.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "network/reported_design.hpp"
#include "core/file_origin.hpp"
#include "network/sweep.hpp"
#include "network/tolerance.hpp"

namespace bandmatch {

// One curve of the plot: a network's response and the name its legend entry shows.
struct PlotCurve {
  std::string label;
  const FrequencyResponse& response;
};

// A band of return loss drawn behind the curves (the spread of tolerance trials), if any.
struct PlotBand {
  std::string label;
  const ReturnLossBand* band = nullptr;
};

// The best and worst |S11| over the band drawn as levels, and the legend's heading that says
// which network they are of.
struct PlotLevels {
  std::string heading;
  double rhoMin = 0.0;
  double rhoMax = 0.0;
};

// The report's own figures: those of the designed network on its model load.
PlotLevels reportedLevels(const ReportedDesign& design);

// The whole SVG document; each response is drawn as one polyline with a vertex per point, the
// curves over the same sweep. A lone curve's legend names what it shows instead of its label.
// The levels are the report's unless others are given.
std::string renderResponsePlot(const ReportedDesign& design, const std::vector<PlotCurve>& curves,
                               const FileOrigin& origin, const PlotBand& band = {},
                               const std::optional<PlotLevels>& levels = std::nullopt);

}  // namespace bandmatch
