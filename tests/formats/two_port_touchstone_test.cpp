#include "formats/two_port_touchstone.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "support/matched_cascades.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using Complex = std::complex<double>;
constexpr double PI = std::numbers::pi;

// Closed forms at f0 = 100 MHz, both ports referenced to 50 ohms.
// A quarter-wave line of 70 ohms: S11 = S22 = (z - 1/z) / (z + 1/z) with z = 70 / 50, S21 = S12
// = -j 2 (70)(50) / (70^2 + 50^2). A series impedance Z: S11 = S22 = Z / (Z + 2 R0), S21 = S12 =
// 2 R0 / (Z + 2 R0). An ideal transformer showing the load 4 times larger (n = 2): S11 =
// (n^2 - 1) / (n^2 + 1) = -S22, S21 = S12 = 2 n / (n^2 + 1).
TEST(TwoPortTouchstone, ScatteringParametersMatchClosedForms) {
  const double z = 70.0 / 50.0;
  const Complex series(0.0, 2.0 * PI * 1e8 * 100e-9);
  struct Case {
    const char* name;
    Section section;
    SParameters expected;
  };
  const std::vector<Case> cases = {
      {"quarter-wave line",
       {.kind = SectionKind::line, .impedance = 70.0, .length = PI / 2.0},
       {(z - 1.0 / z) / (z + 1.0 / z), Complex(0.0, -2.0 * 70.0 * 50.0 / (70.0 * 70.0 + 50.0 * 50.0)),
        Complex(0.0, -2.0 * 70.0 * 50.0 / (70.0 * 70.0 + 50.0 * 50.0)), (z - 1.0 / z) / (z + 1.0 / z)}},
      {"series inductor",
       {.kind = SectionKind::seriesInductor, .inductance = 100e-9},
       {series / (series + 100.0), 100.0 / (series + 100.0), 100.0 / (series + 100.0),
        series / (series + 100.0)}},
      {"transformer", {.kind = SectionKind::transformer, .turnsRatio = 2.0}, {0.6, 0.8, 0.8, -0.6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SParameters s = scatteringParameters(sectionMatrix(c.section, 100.0, 100.0), 50.0);
    EXPECT_NEAR(std::abs(s.s11 - c.expected.s11), 0.0, 1e-14);
    EXPECT_NEAR(std::abs(s.s21 - c.expected.s21), 0.0, 1e-14);
    EXPECT_NEAR(std::abs(s.s12 - c.expected.s12), 0.0, 1e-14);
    EXPECT_NEAR(std::abs(s.s22 - c.expected.s22), 0.0, 1e-14);
  }
}

std::vector<double> dataLine(const std::string& text, std::size_t index) {
  std::vector<std::string> data;
  for (const std::string& line : support::splitLines(text)) {
    if (!line.empty() && line[0] != '!' && line[0] != '#') {
      data.push_back(line);
    }
  }
  std::istringstream words(data.at(index));
  std::vector<double> values;
  for (double value = 0.0; words >> value;) {
    values.push_back(value);
  }
  return values;
}

// The transformer's S11 = 0.6 and S22 = -0.6 tell the order of the columns apart; a quarter-wave
// line of 70 ohms shows 100 ohms as 49 ohms, (49 - 50) / 99 from a 50 ohm source.
TEST(TwoPortTouchstone, FilesCarryTheirReferenceAndColumnOrder) {
  const Sweep sweep{100.0, 200.0, 3};
  MatchedCascade cascade = support::matchedCascade(
      {{.kind = SectionKind::transformer, .turnsRatio = 2.0}}, 100.0, "50", "100", 90.0, 110.0);
  const std::string s2p = renderTwoPortTouchstone(cascade, sweep, 50.0, "bandmatch-search");
  EXPECT_NE(s2p.find("\n# MHZ S MA R 5.0000000000000000e+001\n"), std::string::npos) << s2p;
  const std::vector<double> first = dataLine(s2p, 0);
  const std::vector<double> expected = {100.0, 0.6, 0.0, 0.8, 0.0, 0.8, 0.0, 0.6, 180.0};
  ASSERT_EQ(first.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    // An angle of 180 degrees may read -180.
    EXPECT_NEAR(expected[k] == 180.0 ? std::fabs(first[k]) : first[k], expected[k], 1e-12) << k;
  }

  cascade.network.sections = {{.kind = SectionKind::line, .impedance = 70.0, .length = PI / 2.0}};
  const std::string s1p = renderSourceSideTouchstone(cascade, sweep, 50.0, "bandmatch-search");
  EXPECT_EQ(s1p.find("power-wave"), std::string::npos);
  const std::vector<double> point = dataLine(s1p, 0);
  ASSERT_EQ(point.size(), 3u);
  EXPECT_NEAR(point[1], 1.0 / 99.0, 1e-14);
  EXPECT_NEAR(std::fabs(point[2]), 180.0, 1e-9);

  // A complex source: the file is referenced to 50 ohms and says it is not the power-wave
  // reflection towards the source.
  cascade.source = support::endFromText("series:R=50,L=10n");
  EXPECT_EQ(touchstoneReference(cascade.source), 50.0);
  EXPECT_NE(renderSourceSideTouchstone(cascade, sweep, 50.0, "bandmatch-search")
                .find("not the power-wave reflection"),
            std::string::npos);
}

}  // namespace
}  // namespace bandmatch
