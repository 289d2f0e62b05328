// The parts list is the build: the network rebuilt here from BASE-parts.csv alone (every row that
// is not the load's own: source, transformer, parts and a measured load's retuning element, with
// their exact values and the losses of their Q at the band centre), analysed by a ladder walk
// written here on the measured data interpolated as the program does, must give the worst
// in-band |Gamma| the exporter printed for the measured load, on a 20,001-point logarithmic grid
// refined about its peaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "formats/touchstone_reader.hpp"
#include "support/measured_loads.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"

namespace bandmatch {
namespace {

using Complex = std::complex<double>;

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
                    cells[3][0], std::stod(cells.at(10)), cells[8].empty() ? 0.0 : std::stod(cells[8])});
  }
  return rows;
}

// The measured impedance, linear in its real and imaginary parts between the file's points.
struct Data {
  std::vector<double> f;
  std::vector<Complex> z;
  Complex at(double mhz) const {
    const std::size_t i = static_cast<std::size_t>(
        std::upper_bound(f.begin(), f.end(), mhz) - f.begin());
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
    const double loss = row.q == 0.0       ? 0.0
                        : row.element == 'L' ? w0 * row.value / row.q
                                             : 1.0 / (w0 * row.value * row.q);
    return row.element == 'L' ? Complex(loss, w * row.value) : Complex(loss, -1.0 / (w * row.value));
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

TEST(PartsListRebuild, GivesThePrintedFiguresOnTheMeasuredLoad) {
  const testing::ExactLoad parallel{LoadType::parallel, 0.004, 3.65, 6.0};
  const struct {
    std::string name;
    std::string file;  // empty: the shipped dipole
    double f1, f2;
    int n;
    std::vector<std::string> options;
  } cases[] = {
      {"dipole, 3.2 to 3.6 MHz", "", 3.2, 3.6, 3, {"--parts"}},
      {"dipole, built", "", 3.5, 4.0, 3,
       {"--source-ohms", "50", "--series", "E24", "--q-inductor", "100", "--q-capacitor", "400"}},
      {"parallel load, shunt retuning", testing::exactLoadFile(parallel, 3.0, 4.5, 301), 3.5, 4.0,
       4, {"--series", "E12", "--q-capacitor", "200"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    support::ScratchDirectory scratch;
    const std::string load = c.file.empty() ? std::string(BANDMATCH_EXAMPLES) + "/dipole-80m.s1p"
                                            : "load.s1p";
    if (!c.file.empty()) {
      testing::writeTextFile(load, c.file);
    }
    const testing::ToolResult answers = testing::fitWith(
        {load, std::to_string(c.f1), std::to_string(c.f2), "--answers", std::to_string(c.n),
         "--name", "net"});
    ASSERT_EQ(answers.status, 0) << answers.err;
    ASSERT_EQ(support::runSession(answers.out).status, 0);
    std::vector<std::string> args = {"net.csv", "--load", load};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const testing::ToolResult exported = testing::exportWith(args);
    ASSERT_EQ(exported.status, 0) << exported.err;
    std::smatch printed;
    const std::string out = exported.out;
    ASSERT_TRUE(std::regex_search(out, printed,
                                  std::regex("on the measured load: min \\S+, max (\\S+),")))
        << out;

    const std::vector<Row> rows = buildRows(support::readFile("net-parts.csv"));
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const Row& r) { return r.position == 1; }))
        << "the retuning element is a part";
    Data data;
    const std::optional<MeasuredLoad> read = readTouchstone(support::readFile(load)).load;
    ASSERT_TRUE(read);
    data.f = read->frequencyMHz;
    data.z = read->impedance;
    EXPECT_NEAR(bruteWorst(rows, data, c.f1, c.f2), std::stod(printed[1]), 1e-6);
  }
}

}  // namespace
}  // namespace bandmatch
