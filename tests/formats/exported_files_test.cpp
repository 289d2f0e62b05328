// The three files of a design: the SPICE netlist line by line, the Touchstone file against the
// closed form of one resonator, and the plot's drawing elements.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <sstream>
#include <string>
#include <vector>

#include "formats/csv_report_reader.hpp"
#include "drawing/response_plot.hpp"
#include "formats/spice_netlist.hpp"
#include "network/sweep.hpp"
#include "formats/touchstone.hpp"
#include "support/report_files.hpp"

namespace bandmatch {
namespace {

using testing::HandReport;

ReportedDesign readHand(const HandReport& hand) {
  const ReportReading reading = readCsvReport(testing::handReportText(hand));
  EXPECT_TRUE(reading.design) << reading.error;
  return reading.design.value_or(ReportedDesign{});
}

// Element values that are exact in binary, so their full-precision text is known by hand.
HandReport exactThreeElementParallel() {
  HandReport hand;
  hand.n = 3;
  hand.loadType = LoadType::parallel;
  hand.inductance = {"5.000000000e-001", "1.000000000e+000", "2.000000000e+000"};
  hand.capacitance = {"2.500000000e-001", "1.250000000e-001", "6.250000000e-002"};
  return hand;
}

TEST(SpiceNetlist, SeriesLoadStartsWithASeriesBranchToTheLoad) {
  const ReportedDesign design = readHand({});
  const std::string expected =
      R"(* bandmatch-export 1.0.0: matching network of hand.csv
* N = 2, band 0.500000 to 2.000000 MHz, series load
* Positions count from the load. The source of AC amplitude 2 V drives node in
* through the source resistance, so 2*V(in)/V(src) - 1 is the input reflection
* referenced to the source resistance.
VSOURCE src 0 DC 0 AC 2
RSOURCE src in 6.2500000000000000e+001
* position 2: shunt parallel L-C
L2 in 0 1.0000000000000000e+000
C2 in 0 1.2500000000000000e-001
* position 1: series L-C, the load's own resonator
L1 in m1 5.0000000000000000e-001
C1 m1 n0 2.5000000000000000e-001
* load resistance
RLOAD n0 0 5.0000000000000000e+001
.ac lin 4 1.2500000000000000e+005 2.3750000000000000e+006
.control
set numdgt=16
set nobreak
run
let rho = mag(2*v(in)/v(src) - 1)
print col rho
quit
.endc
.end
)";
  EXPECT_EQ(renderSpiceNetlist(design, design.ladder, sweepAroundBand(0.5, 2.0, 1.5, 4),
                               FileOrigin{"bandmatch-export", "hand.csv"}),
            expected);
}

TEST(SpiceNetlist, ParallelLoadStartsWithAShuntAcrossTheLoad) {
  const ReportedDesign design = readHand(exactThreeElementParallel());
  const std::string expected =
      R"(* bandmatch-export 1.0.0: matching network of a?b.csv
* N = 3, band 0.500000 to 2.000000 MHz, parallel load
* Positions count from the load. The source of AC amplitude 2 V drives node in
* through the source resistance, so 2*V(in)/V(src) - 1 is the input reflection
* referenced to the source resistance.
VSOURCE src 0 DC 0 AC 2
RSOURCE src in 6.2500000000000000e+001
* position 3: shunt parallel L-C
L3 in 0 2.0000000000000000e+000
C3 in 0 6.2500000000000000e-002
* position 2: series L-C
L2 in m2 1.0000000000000000e+000
C2 m2 n0 1.2500000000000000e-001
* position 1: shunt parallel L-C, the load's own resonator
L1 n0 0 5.0000000000000000e-001
C1 n0 0 2.5000000000000000e-001
* load resistance
RLOAD n0 0 5.0000000000000000e+001
.ac lin 100000 5.0000000000000000e+005 2.0000000000000000e+006
.control
set numdgt=16
set nobreak
run
let rho = mag(2*v(in)/v(src) - 1)
print col rho
quit
.endc
.end
)";
  // A line end in the report's name must not end the comment line.
  EXPECT_EQ(renderSpiceNetlist(design, design.ladder, sweepAroundBand(0.5, 2.0, 1.0, 100000),
                               FileOrigin{"bandmatch-export", "a\nb.csv"}),
            expected);
}

// ngspice sweeps a two-point linear range at its start only, so two points are two analyses.
TEST(SpiceNetlist, TwoPointsAreTwoAnalysesOfOnePoint) {
  const ReportedDesign design = readHand({});
  const std::string netlist =
      renderSpiceNetlist(design, design.ladder, sweepAroundBand(0.5, 2.0, 1.0, 2),
                         FileOrigin{"bandmatch-export", "hand.csv"});
  EXPECT_EQ(netlist.find(".ac"), std::string::npos);
  const std::string expectedTail =
      R"(RLOAD n0 0 5.0000000000000000e+001
* Each of the two points is an analysis of its own.
.control
set numdgt=16
set nobreak
ac lin 1 5.0000000000000000e+005 5.0000000000000000e+005
let rho = mag(2*v(in)/v(src) - 1)
print col rho
ac lin 1 2.0000000000000000e+006 2.0000000000000000e+006
let rho = mag(2*v(in)/v(src) - 1)
print col rho
quit
.endc
.end
)";
  const std::size_t tail = netlist.find("RLOAD");
  ASSERT_NE(tail, std::string::npos);
  EXPECT_EQ(netlist.substr(tail), expectedTail);
}

// One series resonator, L = 1 uH and C = 100 pF, between a 50 ohm load and a 40 ohm source:
// Zin = 50 + j(wL - 1/(wC)), S11 = (Zin - 40) / (Zin + 40).
TEST(Touchstone, ListsMagnitudeAndAngleOfOneResonatorsReflection) {
  HandReport hand;
  hand.n = 1;
  hand.f1 = "10.000000";
  hand.f2 = "20.000000";
  hand.inductance = {"1.000000000e-006"};
  hand.capacitance = {"1.000000000e-010"};
  hand.sourceResistance = "4.000000000e+001";
  const ReportedDesign design = readHand(hand);
  const Sweep sweep = sweepAroundBand(10.0, 20.0, 1.0, 11);
  const std::vector<std::string> lines = support::splitLines(
      renderTouchstone(design, design.ladder, analyseSweep(design.ladder, sweep),
                       FileOrigin{"bandmatch-export", "hand.csv"}));

  const std::vector<std::string> header = {
      "! bandmatch-export 1.0.0: input reflection of the matching network of hand.csv",
      "! N = 1, band 10.000000 to 20.000000 MHz, series load",
      "! Seen from the source and referenced to the source resistance.",
      "# MHZ S MA R 4.0000000000000000e+001",
      "! frequency (MHz)  |S11|  angle of S11 (degrees)",
  };
  ASSERT_EQ(lines.size(), header.size() + 11);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5), header);

  const double pi = std::acos(-1.0);
  for (int i = 0; i <= 10; ++i) {
    std::istringstream data(lines[header.size() + static_cast<std::size_t>(i)]);
    double frequency = 0.0;
    double magnitude = 0.0;
    double angle = 0.0;
    std::string rest;
    data >> frequency >> magnitude >> angle;
    EXPECT_FALSE(data.fail());
    EXPECT_FALSE(data >> rest);
    const double expectedFrequency = 10.0 + i;
    const double omega = 2.0 * pi * expectedFrequency * 1e6;
    const std::complex<double> zin(50.0, omega * 1e-6 - 1.0 / (omega * 1e-10));
    const std::complex<double> s11 = (zin - 40.0) / (zin + 40.0);
    EXPECT_NEAR(frequency, expectedFrequency, 1e-12);
    EXPECT_NEAR(magnitude, std::abs(s11), 1e-12);
    EXPECT_NEAR(angle, std::arg(s11) * 180.0 / pi, 1e-9);
  }
  // Below resonance the input is capacitive: S11 leads with a negative angle.
  std::istringstream first(lines[header.size()]);
  double frequency = 0.0;
  double magnitude = 0.0;
  double angle = 0.0;
  first >> frequency >> magnitude >> angle;
  EXPECT_LT(angle, 0.0);
}

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
  const ReportedDesign design = readHand({});
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
    const ReportedDesign design = readHand(hand);
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

}  // namespace
}  // namespace bandmatch
