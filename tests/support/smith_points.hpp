// The points of a Smith chart's curve read back out of its SVG text, mapped to reflections
// through the unit circle the file itself declares: x = cx + r Re, y = cy - r Im.
#pragma once

#include <gtest/gtest.h>

#include <complex>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace bandmatch::testing {

struct UnitCircle {
  double cx = 0.0;
  double cy = 0.0;
  double r = 0.0;
};

inline UnitCircle unitCircle(const std::string& svg) {
  static const std::regex circle(
      R"re(<circle id="unit-circle" cx="([-0-9.]+)" cy="([-0-9.]+)" r="([0-9.]+)")re");
  std::smatch match;
  if (!std::regex_search(svg, match, circle)) {
    ADD_FAILURE() << "no unit circle";
    return {};
  }
  return {std::stod(match[1]), std::stod(match[2]), std::stod(match[3])};
}

// The reflection a drawing point stands for.
inline std::complex<double> chartReflection(const UnitCircle& unit, double x, double y) {
  return {(x - unit.cx) / unit.r, (unit.cy - y) / unit.r};
}

// The reflections of the polyline with that id, in drawing order.
inline std::vector<std::complex<double>> smithPoints(const std::string& svg,
                                                     const std::string& id) {
  const std::regex polyline("<polyline id=\"" + id + "\"[^>]* points=\"([^\"]*)\"");
  std::smatch match;
  if (!std::regex_search(svg, match, polyline)) {
    ADD_FAILURE() << "no polyline " << id;
    return {};
  }
  const UnitCircle unit = unitCircle(svg);
  std::vector<std::complex<double>> points;
  std::istringstream vertices(match[1].str());
  for (std::string vertex; vertices >> vertex;) {
    const std::size_t comma = vertex.find(',');
    points.push_back(chartReflection(unit, std::stod(vertex.substr(0, comma)),
                                     std::stod(vertex.substr(comma + 1))));
  }
  return points;
}

}  // namespace bandmatch::testing
