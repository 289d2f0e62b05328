// The Smith chart's geometry read back from its SVG text: the points of each curve mapped back
// to reflections through the unit circle the file itself declares, the in-band part between
// its marks, the goal circle's radius (SWR - 1) / (SWR + 1), and the resistance circles that
// pass through the open circuit.
#include "drawing/smith_chart.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <regex>
#include <string>
#include <vector>

#include "support/smith_points.hpp"

namespace bandmatch {
namespace {

using testing::chartReflection;
using testing::smithPoints;
using testing::UnitCircle;
using testing::unitCircle;

// A series resonator of Q 2 on 50 ohms, normalised to 50 ohms: its reflection runs along the
// resistance circle r = 1.
std::complex<double> resonatorReflection(double f) {
  const std::complex<double> z(1.0, 2.0 * (f / 10.0 - 10.0 / f));
  return (z - 1.0) / (z + 1.0);
}

SmithChart resonatorChart() {
  SmithChart chart;
  chart.title = "Resonator <test> & chart";
  chart.subtitle = "by hand";
  chart.f1 = 8.0;
  chart.f2 = 12.5;
  chart.goalSwr = 3.0;
  chart.referenceOhms = 50.0;
  std::vector<std::complex<double>> reflection;
  for (int i = 0; i <= 40; ++i) {
    chart.frequencyMHz.push_back(5.0 + 0.25 * i);
    reflection.push_back(resonatorReflection(chart.frequencyMHz.back()));
  }
  chart.curves.push_back(
      {"Resonator",
       reflection,
       {resonatorReflection(8.0), resonatorReflection(10.0), resonatorReflection(12.5)}});
  std::vector<std::complex<double>> open(chart.frequencyMHz.size(), {1.0, 0.0});
  chart.curves.push_back({"Open", open, {1.0, 1.0, 1.0}});
  return chart;
}

TEST(SmithChart, PointsReadBackAsTheReflections) {
  const SmithChart chart = resonatorChart();
  const std::string svg = renderSmithChart(chart);
  for (std::size_t c = 0; c < chart.curves.size(); ++c) {
    const std::string id = "curve" + std::to_string(c + 1);
    const std::vector<std::complex<double>> sweep = smithPoints(svg, id + "-sweep");
    ASSERT_EQ(sweep.size(), chart.frequencyMHz.size());
    for (std::size_t i = 0; i < sweep.size(); ++i) {
      EXPECT_LT(std::abs(sweep[i] - chart.curves[c].reflection[i]), 1e-6) << id << " " << i;
    }
    // The band: the mark at f1, the points strictly inside (8.25 to 12.25 MHz), the mark at f2.
    const std::vector<std::complex<double>> band = smithPoints(svg, id + "-band");
    ASSERT_EQ(band.size(), 17u + 2u);
    EXPECT_LT(std::abs(band.front() - chart.curves[c].bandMarks[0]), 1e-6);
    EXPECT_LT(std::abs(band.back() - chart.curves[c].bandMarks[2]), 1e-6);
    EXPECT_LT(std::abs(band[1] - chart.curves[c].reflection[13]), 1e-6);
  }
  // On the resistance circle r = 1: centre 1/2, radius 1/2.
  for (const std::complex<double> point : smithPoints(svg, "curve1-sweep")) {
    EXPECT_NEAR(std::abs(point - 0.5), 0.5, 1e-6);
  }
}

TEST(SmithChart, DrawsTheGoalAndTheResistanceCirclesToScale) {
  const std::string svg = renderSmithChart(resonatorChart());
  const UnitCircle unit = unitCircle(svg);
  EXPECT_GT(unit.r, 250.0);  // most of the page
  static const std::regex circle(
      R"re(<circle cx="([-0-9.]+)" cy="([-0-9.]+)" r="([0-9.]+)" fill="none" stroke="([^"]+)"([^>]*)/>)re");
  std::vector<std::pair<std::complex<double>, double>> grid;
  double goalRadius = -1.0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), circle); it != std::sregex_iterator();
       ++it) {
    const std::complex<double> centre =
        chartReflection(unit, std::stod((*it)[1]), std::stod((*it)[2]));
    const double radius = std::stod((*it)[3]) / unit.r;
    if ((*it)[5].str().find("dasharray") != std::string::npos) {
      EXPECT_LT(std::abs(centre), 1e-4);
      goalRadius = radius;
    } else {
      grid.emplace_back(centre, radius);
    }
  }
  EXPECT_NEAR(goalRadius, 0.5, 1e-4);  // SWR 3: |Gamma| = 2 / 4
  // Every resistance circle touches the open circuit and holds its resistance's reflection.
  ASSERT_EQ(grid.size(), 5u);
  const double resistances[] = {0.2, 0.5, 1.0, 2.0, 5.0};
  for (std::size_t k = 0; k < grid.size(); ++k) {
    const auto& [centre, radius] = grid[k];
    EXPECT_NEAR(std::abs(1.0 - centre), radius, 2e-5) << resistances[k];
    const double onAxis = (resistances[k] - 1.0) / (resistances[k] + 1.0);
    EXPECT_NEAR(std::abs(onAxis - centre), radius, 2e-5) << resistances[k];
  }
  // Each reactance arc runs from the open circuit to jx on the rim, on a circle of radius 1/|x|.
  static const std::regex arc(
      R"re(<path d="M ([-0-9.]+) ([-0-9.]+) A ([0-9.]+) [0-9.]+ 0 0 [01] ([-0-9.]+) ([-0-9.]+)")re");
  std::vector<double> reactances;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), arc); it != std::sregex_iterator();
       ++it) {
    const std::complex<double> start =
        chartReflection(unit, std::stod((*it)[1]), std::stod((*it)[2]));
    EXPECT_LT(std::abs(start - 1.0), 1e-4);
    const std::complex<double> end =
        chartReflection(unit, std::stod((*it)[4]), std::stod((*it)[5]));
    EXPECT_NEAR(std::abs(end), 1.0, 1e-4);
    // On the rim the reflection of jx is (jx - 1) / (jx + 1): x = sin / (1 - cos).
    const double x = end.imag() / (1.0 - end.real());
    EXPECT_NEAR(std::stod((*it)[3]) / unit.r, 1.0 / std::fabs(x), 1e-3 / std::fabs(x));
    reactances.push_back(x);
  }
  ASSERT_EQ(reactances.size(), 10u);
  for (std::size_t k = 0; k < 5; ++k) {
    EXPECT_NEAR(reactances[2 * k], resistances[k], 1e-3 * resistances[k]);
    EXPECT_NEAR(reactances[2 * k + 1], -resistances[k], 1e-3 * resistances[k]);
  }
  // Text is escaped; the title names the chart.
  EXPECT_NE(svg.find("<title>Resonator &lt;test&gt; &amp; chart</title>"), std::string::npos);
  EXPECT_NE(svg.find(">SWR 3.00, the goal<"), std::string::npos);
  EXPECT_NE(svg.find(">f0 = 10.000000 MHz<"), std::string::npos);
}

}  // namespace
}  // namespace bandmatch
