// The Smith chart of a network's input reflection as SVG, readable on one page: the unit circle
// with circles of constant resistance and arcs of constant reactance, each curve's reflection
// over the sweep with its in-band part drawn heavier and f1, f0 and f2 marked, and the circle of
// the goal SWR.
#pragma once

#include <array>
#include <complex>
#include <string>
#include <vector>

#include "network/reported_design.hpp"
#include "core/file_origin.hpp"

namespace bandmatch {

// Where the chart's unit circle lies, in the drawing's user units.
inline constexpr double SMITH_CENTRE_X = 380.0;
inline constexpr double SMITH_CENTRE_Y = 425.0;
inline constexpr double SMITH_RADIUS = 315.0;

// One curve of the chart: a reflection per frequency of the chart, and the reflection at f1, f0
// and f2 for its marks (taken at those frequencies, not read off the sweep).
struct SmithCurve {
  std::string label;
  std::vector<std::complex<double>> reflection;
  std::array<std::complex<double>, 3> bandMarks;
};

// What the chart shows, in plain values, so that any front end can draw it: the network's
// reflection first, then with a measured load the network on it and the load alone.
struct SmithChart {
  std::string title;
  std::string subtitle;
  std::vector<double> frequencyMHz;  // of every curve's points, ascending
  double f1 = 0.0;                   // MHz
  double f2 = 0.0;                   // MHz
  double goalSwr = 2.0;
  double referenceOhms = 50.0;  // what the reflections are referenced to, named in the legend
  std::vector<SmithCurve> curves;
};

// The whole SVG document. Curve k (counted from 1) is the polyline with id "curveK-sweep", one
// vertex per point to seven decimals, and the heavier "curveK-band" from the mark at f1 through
// the points inside the band to the mark at f2. The unit circle is the circle with id
// "unit-circle". A reflection beyond the rim is drawn where it lies.
std::string renderSmithChart(const SmithChart& chart);

// "Smith chart of the matching network: " and the design's summary.
std::string smithChartTitle(const ReportedDesign& design);

// Where the chart comes from, its number of points and its reference resistance.
std::string smithChartSubtitle(const FileOrigin& origin, std::size_t points, double referenceOhms);

}  // namespace bandmatch
