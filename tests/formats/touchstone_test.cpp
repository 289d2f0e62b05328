// The Touchstone file of a network against the closed form of one resonator, and its reference
// resistance that of the source the network is built for.
#include "formats/touchstone.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <sstream>
#include <string>
#include <vector>

#include "network/network_build.hpp"
#include "network/sweep.hpp"
#include "support/report_files.hpp"

namespace bandmatch {
namespace {

using testing::HandReport;

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
  const ReportedDesign design = testing::handDesign(hand);
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

TEST(Touchstone, IsReferencedToTheRequiredSource) {
  const ReportedDesign design = testing::handDesign();
  const LadderNetwork network = withSourceResistance(design.ladder, 75.0);
  const Sweep sweep = sweepAroundBand(0.5, 2.0, 1.0, 3);
  const std::vector<std::string> lines = support::splitLines(renderTouchstone(
      design, network, analyseSweep(network, sweep),
      FileOrigin{
          .program = "bandmatch-export", .reportName = "hand.csv", .network = "a transformer"}));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[2], "! Built with a transformer.");
  EXPECT_EQ(lines[4], "# MHZ S MA R 7.5000000000000000e+001");
}

}  // namespace
}  // namespace bandmatch
