// The files of a network program: which it writes for which request; the parts list rebuilt into
// a network by a ladder walk written here, which must give the worst |Gamma| printed for the
// measured load; the Smith chart's points against the Touchstone file's; the sensitivities of the
// summary against the parts list's; and a measured load's curves and comment.
#include "runs/network_files.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <map>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "formats/touchstone_reader.hpp"
#include "runs/tolerance_summary.hpp"
#include "support/measured_loads.hpp"
#include "support/network_files.hpp"
#include "support/report_files.hpp"
#include "support/sample_design.hpp"
#include "support/smith_points.hpp"

namespace bandmatch {
namespace {

using Complex = std::complex<double>;
using testing::networkFilesOf;
using testing::NetworkFilesRequest;

std::vector<std::string> suffixes(const std::map<std::string, std::string>& files) {
  std::vector<std::string> names;
  for (const auto& [suffix, content] : files) {
    names.push_back(suffix);
  }
  return names;
}

// Nothing asked: the netlist, the Touchstone file and the plot, the netlist printing the
// reflection. Building (--parts alone): the parts list and the schematic too, of the report's own
// network, and the netlist prints the load's power as well. The Smith chart on request.
TEST(NetworkFiles, WritesTheFilesTheRequestAsksFor) {
  const ReportedDesign design = testing::handDesign();
  const Sweep sweep = sweepAroundBand(0.5, 2.0, 1.0, 3);
  const struct {
    NetworkFilesRequest request;
    std::vector<std::string> suffixes;
    std::string printed;
  } cases[] = {
      {{}, {".cir", ".s1p", ".svg"}, "print col rho\n"},
      {{.building = true},
       {"-parts.csv", "-schematic.svg", ".cir", ".s1p", ".svg"},
       "print col rho pload\n"},
      {{.smithGoal = 2.0}, {"-smith.svg", ".cir", ".s1p", ".svg"}, "print col rho\n"},
  };
  for (const auto& c : cases) {
    const testing::NetworkFilesOutcome outcome = networkFilesOf(design, sweep, c.request);
    EXPECT_EQ(suffixes(outcome.files), c.suffixes);
    const std::string& netlist = outcome.files.at(".cir");
    EXPECT_NE(netlist.find(c.printed), std::string::npos) << netlist;
    EXPECT_EQ(netlist.find("Built with"), std::string::npos);
  }
}

// Near the top of the frequency range a narrow band's sweep points lie a few parts in 1e16
// apart; each must keep its own frequency in the Touchstone file and the netlist. The expected
// ends are the closed form f1 - 4.5 (f2 - f1) and f2 + 4.5 (f2 - f1) of a span of 10.
TEST(NetworkFiles, KeepDistinctSweepFrequenciesDistinct) {
  testing::HandReport hand;
  hand.f1 = "999999.999900";
  hand.f2 = "999999.999990";
  const ReportedDesign design = testing::handDesign(hand);
  const testing::NetworkFilesOutcome outcome =
      networkFilesOf(design, sweepAroundBand(design.f1, design.f2, 10.0, 2001), {});
  std::vector<double> frequencies;
  for (const std::string& line : support::splitLines(outcome.files.at(".s1p"))) {
    if (!line.empty() && line[0] != '!' && line[0] != '#') {
      frequencies.push_back(std::stod(line.substr(0, line.find(' '))));
    }
  }
  ASSERT_EQ(frequencies.size(), 2001u);
  const double f1 = 999999.9999;
  const double f2 = 999999.99999;
  EXPECT_DOUBLE_EQ(frequencies.front(), f1 - 4.5 * (f2 - f1));
  EXPECT_DOUBLE_EQ(frequencies.back(), f2 + 4.5 * (f2 - f1));
  for (std::size_t i = 1; i < frequencies.size(); ++i) {
    ASSERT_LT(frequencies[i - 1], frequencies[i]) << "point " << i;
  }

  const std::string& netlist = outcome.files.at(".cir");
  const std::size_t sweep = netlist.find("\n.ac lin 2001 ");
  ASSERT_NE(sweep, std::string::npos);
  std::istringstream words(netlist.substr(sweep + 14));
  double lowerHz = 0.0;
  double upperHz = 0.0;
  words >> lowerHz >> upperHz;
  EXPECT_EQ(lowerHz, frequencies.front() * 1e6);
  EXPECT_EQ(upperHz, frequencies.back() * 1e6);
}

// The measured load: the plot draws the model load's curve and the measured load's, its subtitle
// names the load; the Touchstone file says its position 1 is the measured load.
TEST(NetworkFiles, DrawAndListTheNetworkOnTheMeasuredLoad) {
  const MeasuredLoad load =
      testing::exactMeasuredLoad({LoadType::series, 60.0, 3.6, 9.0}, 3.2, 4.3, 221);
  const ReportedDesign design = testing::designForLoad(load, 3.5, 4.0, 3);
  const LoadOnNetwork measured = testing::loadOnDesign(load, design);
  const testing::NetworkFilesOutcome outcome =
      networkFilesOf(design, sweepAroundBand(3.5, 4.0, 1.5, 101), {.measured = &measured});
  const std::string& svg = outcome.files.at(".svg");
  const std::size_t first = svg.find("<polyline");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(svg.find("<polyline", first + 1), std::string::npos);
  for (const char* text :
       {">Model load</text>", ">Measured load</text>", "measured load load.s1p</text>"}) {
    EXPECT_NE(svg.find(text), std::string::npos) << text;
  }
  const std::vector<std::string> touchstone = support::splitLines(outcome.files.at(".s1p"));
  ASSERT_EQ(touchstone.size(), 6u + 101u);
  EXPECT_EQ(touchstone[3],
            "! Position 1 is the measured load load.s1p with its retuning element, not the "
            "model load.");
}

struct Row {
  std::string kind;
  int position = 0;
  bool series = false;
  char element = ' ';
  double value = 0.0;
  double q = 0.0;  // 0: lossless
};

std::vector<Row> buildRows(const std::string& csv) {
  std::vector<Row> rows;
  const std::vector<std::string> lines = support::splitLines(csv);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string> cells;
    std::istringstream line(lines[i]);
    for (std::string cell; std::getline(line, cell, ',');) {
      cells.push_back(cell);
    }
    if (cells.at(0) == "load resonator" || cells.at(0) == "load") {
      continue;  // the load's own: the measured data stand for it
    }
    rows.push_back({cells[0], cells[1].empty() ? 0 : std::stoi(cells[1]), cells[2] == "series",
                    cells[3][0], std::stod(cells.at(10)),
                    cells[8].empty() ? 0.0 : std::stod(cells[8])});
  }
  return rows;
}

// The measured impedance, linear in its real and imaginary parts between the file's points.
struct Data {
  std::vector<double> f;
  std::vector<Complex> z;
  Complex at(double mhz) const {
    const std::size_t i =
        static_cast<std::size_t>(std::upper_bound(f.begin(), f.end(), mhz) - f.begin());
    const std::size_t hi = std::clamp<std::size_t>(i, 1, f.size() - 1);
    const double t = (mhz - f[hi - 1]) / (f[hi] - f[hi - 1]);
    return z[hi - 1] + t * (z[hi] - z[hi - 1]);
  }
};

// |Gamma| of the rebuilt network at a frequency, walking from the load to the source.
double rebuiltReflection(const std::vector<Row>& rows, const Data& data, double f0, double mhz) {
  const double w = 2.0 * std::numbers::pi * 1e6 * mhz;
  const double w0 = 2.0 * std::numbers::pi * 1e6 * f0;
  const auto part = [&](const Row& row) {
    const double loss = row.q == 0.0         ? 0.0
                        : row.element == 'L' ? w0 * row.value / row.q
                                             : 1.0 / (w0 * row.value * row.q);
    return row.element == 'L' ? Complex(loss, w * row.value)
                              : Complex(loss, -1.0 / (w * row.value));
  };
  Complex z = data.at(mhz);
  double source = 0.0;
  double ratio = 1.0;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    if (row->kind == "source") {
      source = row->value;
    } else if (row->kind == "transformer") {
      ratio = row->value * row->value;
    } else if (row->series) {
      z += part(*row);
    } else {
      // A shunt position's L and C (or the retuning element alone) across the line: the rows of
      // one position are summed as admittances before the next position is added.
      Complex y = 1.0 / part(*row);
      const auto next = std::next(row);
      if (next != rows.rend() && next->kind == "part" && next->position == row->position) {
        y += 1.0 / part(*next);
        row = next;
      }
      z = 1.0 / (1.0 / z + y);
    }
  }
  const double reference = source * ratio;
  return std::abs((z - reference) / (z + reference));
}

// On a 20,001-point logarithmic grid with the measured points, each point refined by golden
// sections between its neighbours.
double bruteWorst(const std::vector<Row>& rows, const Data& data, double f1, double f2) {
  const double f0 = std::sqrt(f1 * f2);
  const auto g = [&](double f) { return rebuiltReflection(rows, data, f0, f); };
  std::vector<double> f;
  for (int i = 0; i <= 20000; ++i) {
    f.push_back(f1 * std::pow(f2 / f1, i / 20000.0));
  }
  f.back() = f2;
  for (const double point : data.f) {
    if (point > f1 && point < f2) {
      f.push_back(point);
    }
  }
  std::sort(f.begin(), f.end());
  double worst = 0.0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    double a = f[i == 0 ? 0 : i - 1];
    double b = f[std::min(i + 1, f.size() - 1)];
    for (int step = 0; step < 50; ++step) {
      const double x1 = b - 0.618 * (b - a);
      const double x2 = a + 0.618 * (b - a);
      if (g(x1) > g(x2)) {
        b = x2;
      } else {
        a = x1;
      }
    }
    worst = std::max({worst, g(f[i]), g(0.5 * (a + b))});
  }
  return worst;
}

// The parts list is the build: every row that is not the load's own (source, transformer, parts
// and the retuning element, exact values, the losses of their Q at the band centre), on the
// measured data, gives the worst in-band |Gamma| printed for the measured load.
TEST(NetworkFiles, PartsListRebuildsThePrintedFigureOnTheMeasuredLoad) {
  const testing::ExactLoad parallel{LoadType::parallel, 0.004, 3.65, 6.0};
  const MeasuredLoad dipole =
      *readTouchstone(support::readFile(std::string(BANDMATCH_EXAMPLES) + "/dipole-80m.s1p")).load;
  const struct {
    std::string name;
    MeasuredLoad load;
    double f1, f2;
    int n;
    BuildOptions build;
  } cases[] = {
      {"dipole, 3.2 to 3.6 MHz", dipole, 3.2, 3.6, 3, {}},
      {"dipole, built", dipole, 3.5, 4.0, 3, {50.0, PreferredSeries::e24, 100.0, 400.0}},
      {"parallel load, shunt retuning",
       testing::exactMeasuredLoad(parallel, 3.0, 4.5, 301),
       3.5,
       4.0,
       4,
       {{}, PreferredSeries::e12, {}, 200.0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ReportedDesign design = testing::designForLoad(c.load, c.f1, c.f2, c.n);
    const LoadOnNetwork measured = testing::loadOnDesign(c.load, design);
    const Sweep wanted = sweepAroundBand(c.f1, c.f2, 1.5, 101);
    const testing::NetworkFilesOutcome outcome =
        networkFilesOf(design, wanted, {.build = c.build, .building = true, .measured = &measured});
    const std::string summary =
        renderMeasuredLoadSummary(design, outcome.analysis, measured, "load.s1p", wanted);
    std::smatch printed;
    ASSERT_TRUE(std::regex_search(summary, printed,
                                  std::regex("on the measured load: min \\S+, max (\\S+),")))
        << summary;
    const std::vector<Row> rows = buildRows(outcome.files.at("-parts.csv"));
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const Row& r) { return r.position == 1; }))
        << "the retuning element is a part";
    const Data data{c.load.frequencyMHz, c.load.impedance};
    EXPECT_NEAR(bruteWorst(rows, data, c.f1, c.f2), std::stod(printed[1]), 1e-6);
  }
}

// The Touchstone file's |S11| and angle as reflections, in file order.
std::vector<Complex> touchstoneReflections(const std::string& file) {
  std::vector<Complex> values;
  for (const std::string& line : support::splitLines(file)) {
    if (line.empty() || line[0] == '!' || line[0] == '#') {
      continue;
    }
    std::istringstream words(line);
    double f = 0.0, magnitude = 0.0, degrees = 0.0;
    words >> f >> magnitude >> degrees;
    values.push_back(std::polar(magnitude, degrees * std::numbers::pi / 180.0));
  }
  return values;
}

// The chart's curve of the network each file describes holds the Touchstone file's reflections:
// the network as designed, as built, and on a measured load (its second of three curves).
TEST(NetworkFiles, SmithChartPointsAreTheTouchstoneValues) {
  const ReportedDesign design = support::reportedDesign(4, 1.0, LoadType::series, 3.5, 4.0);
  const LoadOnNetwork measured = testing::loadOnDesign(
      testing::exactMeasuredLoad({LoadType::series, 70.0, 3.7, 9.0}, 3.0, 4.5, 801), design);
  const struct {
    NetworkFilesRequest request;
    int points;
    std::string curve;  // the curve the Touchstone file holds
    std::size_t curves;
  } cases[] = {
      {{.smithGoal = 2.0}, 157, "curve1", 1},
      {{.build = {50.0, PreferredSeries::e12, 90.0, {}}, .smithGoal = 2.0}, 801, "curve1", 1},
      {{.measured = &measured, .smithGoal = 2.0}, 301, "curve2", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.curve + " of " + std::to_string(c.curves));
    const testing::NetworkFilesOutcome outcome =
        networkFilesOf(design, sweepAroundBand(3.5, 4.0, 1.5, c.points), c.request);
    const std::string& svg = outcome.files.at("-smith.svg");
    const std::vector<Complex> expected = touchstoneReflections(outcome.files.at(".s1p"));
    const std::vector<Complex> plotted = testing::smithPoints(svg, c.curve + "-sweep");
    ASSERT_EQ(plotted.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_LT(std::abs(plotted[i] - expected[i]), 1e-6) << i;
    }
    const std::string lastCurve = "curve" + std::to_string(c.curves) + "-sweep";
    EXPECT_NE(svg.find("<polyline id=\"" + lastCurve + "\""), std::string::npos);
    EXPECT_EQ(svg.find("curve" + std::to_string(c.curves + 1)), std::string::npos);
  }
}

// The summary lists every part once, largest change first, and the parts list shows the same
// change on each part's row and nothing on the others. The same seed gives the same trials.
TEST(NetworkFiles, SensitivitiesAgreeBetweenSummaryAndPartsList) {
  const ReportedDesign design = support::reportedDesign(5, 1.0, LoadType::parallel, 3.5, 4.0);
  const Sweep sweep = sweepAroundBand(3.5, 4.0, 1.5, 201);
  const auto outcomeOf = [&](std::uint64_t seed) {
    return networkFilesOf(design, sweep,
                          {.building = true, .tolerance = ToleranceOptions{2.0, 5.0, 300, seed}});
  };
  const testing::NetworkFilesOutcome outcome = outcomeOf(9);
  ASSERT_TRUE(outcome.tolerance);
  const std::string summary =
      renderToleranceSummary({2.0, 5.0, 300, 9}, design.N, false, outcome.tolerance->trials, 2.0,
                             outcome.tolerance->sensitivities);
  static const std::regex summaryRow(R"(\n([LC])\((\d+)\)\s+(-?\d\.\d{3}e[-+]\d{3}))");
  std::map<std::string, std::string> changes;
  double previous = 1e300;
  for (auto it = std::sregex_iterator(summary.begin(), summary.end(), summaryRow);
       it != std::sregex_iterator(); ++it) {
    const double change = std::fabs(std::stod((*it)[3]));
    EXPECT_LE(change, previous);
    previous = change;
    changes[(*it)[1].str() + (*it)[2].str()] = (*it)[3];
  }
  EXPECT_EQ(changes.size(), 8u);
  const std::vector<std::string> rows = support::splitLines(outcome.files.at("-parts.csv"));
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front().substr(rows.front().rfind(',') + 1), "worst |S11| change per +1 %");
  std::size_t listed = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    std::vector<std::string> cells;
    std::stringstream row(rows[i] + ",");
    for (std::string cell; std::getline(row, cell, ',');) {
      cells.push_back(cell);
    }
    ASSERT_EQ(cells.size(), 12u) << rows[i];
    if (cells[0] == "part") {
      EXPECT_EQ(cells[11], changes[cells[3] + cells[1]]) << rows[i];
      ++listed;
    } else {
      EXPECT_EQ(cells[11], "") << rows[i];
    }
  }
  EXPECT_EQ(listed, 8u);
  EXPECT_EQ(outcomeOf(9).tolerance->trials.worstSwr, outcome.tolerance->trials.worstSwr);
  EXPECT_NE(outcomeOf(10).tolerance->trials.worstSwr, outcome.tolerance->trials.worstSwr);
  EXPECT_NE(outcome.files.at(".svg").find("90 % of 300 trials"), std::string::npos);
}

}  // namespace
}  // namespace bandmatch
