// The response plot's drawing elements: one curve with the band and the reported levels, no level
// line for a reflection of zero, one labelled curve per variant of a built network.
#include "drawing/response_plot.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "network/network_build.hpp"
#include "network/sweep.hpp"
#include "support/report_files.hpp"

namespace bandmatch {
namespace {

const BuildOptions ALL_OPTIONS{50.0, PreferredSeries::e12, 100.0, 500.0};

using testing::HandReport;

// The vertices of the one polyline, as (x, y) pairs.
std::vector<std::pair<double, double>> polylineVertices(const std::string& svg) {
  const std::size_t start = svg.find("points=\"", svg.find("<polyline"));
  const std::size_t end = svg.find('"', start + 8);
  std::istringstream points(svg.substr(start + 8, end - start - 8));
  std::vector<std::pair<double, double>> vertices;
  std::string vertex;
  while (points >> vertex) {
    const std::size_t comma = vertex.find(',');
    vertices.emplace_back(std::stod(vertex.substr(0, comma)), std::stod(vertex.substr(comma + 1)));
  }
  return vertices;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(ResponsePlot, DrawsOneCurveWithTheBandAndTheReportedLevels) {
  const ReportedDesign design = testing::handDesign();
  const Sweep sweep = sweepAroundBand(0.5, 2.0, 1.5, 57);
  const std::string svg =
      renderResponsePlot(design, {{"network", analyseSweep(design.ladder, sweep)}},
                         FileOrigin{"bandmatch-export", "a&b<c>.csv"});

  EXPECT_EQ(svg.rfind(R"(<?xml version="1.0" encoding="UTF-8"?>)", 0), 0u);
  EXPECT_EQ(occurrences(svg, "<polyline"), 1u);
  const std::vector<std::pair<double, double>> vertices = polylineVertices(svg);
  ASSERT_EQ(vertices.size(), 57u);
  // The plot area runs from x 90 to 740 and from y 80 (0 dB) to 520 (axis bottom).
  EXPECT_EQ(vertices.front().first, 90.0);
  EXPECT_EQ(vertices.back().first, 740.0);
  for (const auto& [x, y] : vertices) {
    EXPECT_GE(y, 80.0);
    EXPECT_LE(y, 520.0);
  }

  EXPECT_NE(svg.find(">Return loss of the matching network: N = 2, band 0.500000 to 2.000000 "
                     "MHz, series load</text>"),
            std::string::npos);
  EXPECT_NE(svg.find(">Frequency (MHz)</text>"), std::string::npos);
  EXPECT_NE(svg.find(">Return loss (dB)</text>"), std::string::npos);
  // Report rows 47 and 48: -22.928323112 and -19.092711232 dB.
  EXPECT_NE(svg.find(">Worst: -19.09 dB</text>"), std::string::npos);
  EXPECT_NE(svg.find(">Best: -22.93 dB</text>"), std::string::npos);
  // Band edges 0.5 and 2 MHz on an axis from 0.125 to 2.375 MHz.
  EXPECT_NE(svg.find(R"(<line x1="198.33" y1="80.00" x2="198.33" y2="520.00")"), std::string::npos);
  EXPECT_NE(svg.find(R"(<line x1="631.67" y1="80.00" x2="631.67" y2="520.00")"), std::string::npos);
  // 22.93 dB plus a 15 % margin, down to the next 5 dB tick: the axis ends at -30 dB, so the
  // worst level lies 19.0927/30 of the way down and the best 22.9283/30.
  EXPECT_NE(svg.find(">-30</text>"), std::string::npos);
  EXPECT_NE(svg.find(">0</text>"), std::string::npos);
  EXPECT_NE(svg.find(R"(<line x1="90.00" y1="360.03" x2="740.00" y2="360.03" stroke="#c0392b")"),
            std::string::npos);
  EXPECT_NE(svg.find(R"(<line x1="90.00" y1="416.28" x2="740.00" y2="416.28" stroke="#1e8449")"),
            std::string::npos);
  // Frequency ticks every 0.2 MHz from 0.2 to 2.2.
  EXPECT_NE(svg.find(">0.2</text>"), std::string::npos);
  EXPECT_NE(svg.find(">2.2</text>"), std::string::npos);

  EXPECT_NE(svg.find("a&amp;b&lt;c&gt;.csv"), std::string::npos);
  EXPECT_EQ(svg.find("a&b"), std::string::npos);
}

// A level printed as zero has no return loss to draw: its line is left out, its legend says so,
// and the axis still ends on a whole tick below the curve.
TEST(ResponsePlot, AReflectionOfZeroDrawsNoLevelLine) {
  const struct {
    const char* rhoMin;
    const char* rhoMax;
    bool worstDrawn;
  } cases[] = {
      {"0.000000000", "0.111010597", true},
      {"0.000000000", "0.000000000", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rhoMax);
    HandReport hand;
    hand.rhoMin = c.rhoMin;
    hand.rhoMax = c.rhoMax;
    const ReportedDesign design = testing::handDesign(hand);
    const std::string svg = renderResponsePlot(
        design, {{"network", analyseSweep(design.ladder, sweepAroundBand(0.5, 2.0, 1.0, 9))}},
        FileOrigin{"bandmatch-export", "hand.csv"});
    EXPECT_EQ(svg.find("stroke=\"#1e8449\""), std::string::npos);
    EXPECT_NE(svg.find(">Best: no reflection</text>"), std::string::npos);
    EXPECT_EQ(svg.find("stroke=\"#c0392b\"") != std::string::npos, c.worstDrawn);
    EXPECT_EQ(svg.find(">Worst: no reflection</text>") == std::string::npos, c.worstDrawn);
    EXPECT_EQ(polylineVertices(svg).size(), 9u);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
  }
}

TEST(ResponsePlot, DrawsOneLabelledCurvePerVariant) {
  const ReportedDesign design = testing::handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const Sweep sweep = sweepAroundBand(0.5, 2.0, 1.5, 31);
  std::vector<FrequencyResponse> responses;
  for (const NetworkVariant& variant : variants.variants) {
    responses.push_back(analyseSweep(variant.ladder, sweep));
  }
  std::vector<PlotCurve> curves;
  for (std::size_t i = 0; i < responses.size(); ++i) {
    curves.push_back({variants.variants[i].label, responses[i]});
  }
  const std::string svg =
      renderResponsePlot(design, curves, FileOrigin{"bandmatch-export", "hand.csv"});
  std::vector<std::string> strokes;
  static const std::regex polyline(R"re(<polyline fill="none" stroke="(#[0-9a-f]{6})")re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), polyline);
       it != std::sregex_iterator(); ++it) {
    strokes.push_back((*it)[1]);
  }
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_NE(strokes[0], strokes[1]);
  EXPECT_NE(strokes[1], strokes[2]);
  for (const char* label :
       {">ideal</text>", ">E12 values</text>", ">E12 values with losses</text>"}) {
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  }
  EXPECT_EQ(svg.find("20 log10 |S11|"), std::string::npos);
}

}  // namespace
}  // namespace bandmatch
