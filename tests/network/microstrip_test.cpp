#include "network/microstrip.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

// Wheeler's published closed-form synthesis of w / h for a thin strip (quoted to about 1 %),
// written out here as a reference independent of the analysis.
double wheelerRatio(double z0, double er) {
  const double a =
      z0 / 60.0 * std::sqrt((er + 1.0) / 2.0) + (er - 1.0) / (er + 1.0) * (0.23 + 0.11 / er);
  const double narrow = 8.0 * std::exp(a) / (std::exp(2.0 * a) - 2.0);
  if (narrow < 2.0) {
    return narrow;
  }
  const double b = 377.0 * std::numbers::pi / (2.0 * z0 * std::sqrt(er));
  return 2.0 / std::numbers::pi *
         (b - 1.0 - std::log(2.0 * b - 1.0) +
          (er - 1.0) / (2.0 * er) * (std::log(b - 1.0) + 0.39 - 0.61 / er));
}

TEST(Microstrip, AgreesWithPublishedValuesWithinOnePercent) {
  // The worked example of a widely used microwave-engineering textbook: 50 ohms on er = 2.20,
  // h = 1.27 mm, a quarter wave at 2.5 GHz: w / h = 3.081, eps_eff = 1.87, length 2.19 cm.
  const Substrate textbook{2.2, 1.27e-3, 0.0};
  const double width = microstripWidth(textbook, 50.0).value();
  EXPECT_NEAR(width / 1.27e-3, 3.081, 0.01 * 3.081);
  EXPECT_NEAR(microstripLine(textbook, width).effectivePermittivity, 1.87, 0.01 * 1.87);
  EXPECT_NEAR(microstripLength(textbook, width, std::numbers::pi / 2.0, 2500.0), 2.19e-2,
              0.01 * 2.19e-2);
  // Wheeler's synthesis over the substrates and impedances most boards use.
  for (const double er : {2.2, 4.4, 9.8}) {
    for (const double z0 : {25.0, 50.0, 75.0, 100.0}) {
      SCOPED_TRACE(::testing::Message() << "er " << er << " Z0 " << z0);
      const Substrate substrate{er, 1e-3, 0.0};
      const double ratio = microstripWidth(substrate, z0).value() / 1e-3;
      EXPECT_NEAR(ratio, wheelerRatio(z0, er), 0.01 * ratio);
    }
  }
}

// The synthesis inverts the analysis, copper thickness included; thickness makes the strip look
// wider (lower impedance), and vanishing thickness gives the thin strip's figures.
TEST(Microstrip, WidthOfAnImpedanceInvertsTheAnalysis) {
  for (const double thickness : {0.0, 1e-9, 35e-6, 0.2e-3}) {
    const Substrate substrate{4.4, 1.6e-3, thickness};
    for (const double z0 : {20.0, 50.0, 90.0, 150.0}) {
      const double width = microstripWidth(substrate, z0).value();
      EXPECT_NEAR(microstripLine(substrate, width).impedance, z0, 1e-10 * z0);
      const MicrostripLine thin = microstripLine({4.4, 1.6e-3, 0.0}, width);
      if (thickness == 0.0 || thickness == 1e-9) {
        EXPECT_NEAR(thin.impedance, z0, 1e-5 * z0);
      } else {
        EXPECT_GT(thin.impedance, z0);
      }
    }
  }
  EXPECT_FALSE(microstripWidth({4.4, 1.6e-3, 0.0}, 0.01).has_value());
  EXPECT_FALSE(microstripWidth({4.4, 1.6e-3, 0.0}, 1000.0).has_value());
}

TEST(Microstrip, ReadsSubstratesAndRefusesWithTheText) {
  struct Case {
    std::string text;
    double er, h, t;    // metres
    std::string error;  // beginning of the refusal; empty when read
  };
  const std::vector<Case> cases = {
      {"er=4.4,h=1.6mm,t=35um", 4.4, 1.6e-3, 35e-6, ""},
      {"h=62mil,er=3.38", 3.38, 62 * 25.4e-6, 0.0, ""},
      {"er=4.4", 0, 0, 0, "the substrate has no height h="},
      {"er=0.5,h=1mm", 0, 0, 0, "\"er=0.5\" is not a relative permittivity"},
      {"er=4.4,h=1.6", 0, 0, 0, "\"h=1.6\" is not a length above zero"},
      {"er=4.4,h=1.6cm", 0, 0, 0, "\"h=1.6cm\" is not a length"},
      {"er=4.4,h=1mm,t=-1um", 0, 0, 0, "\"t=-1um\" is not a length of at least zero"},
      {"er=4.4,h=1mm,t=1mm", 0, 0, 0, "the strip thickness t is not below the height h"},
      {"er=4.4,h=1mm,w=2mm", 0, 0, 0, "\"w=2mm\" is not er=, h= or t="},
      {"er=4.4,er=4.5,h=1mm", 0, 0, 0, "er is given twice"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const SubstrateParse parse = parseSubstrate(c.text);
    if (!c.error.empty()) {
      EXPECT_FALSE(parse.substrate.has_value());
      EXPECT_EQ(parse.error.substr(0, c.error.size()), c.error) << parse.error;
      continue;
    }
    ASSERT_TRUE(parse.substrate.has_value()) << parse.error;
    EXPECT_DOUBLE_EQ(parse.substrate->permittivity, c.er);
    EXPECT_DOUBLE_EQ(parse.substrate->height, c.h);
    EXPECT_DOUBLE_EQ(parse.substrate->thickness, c.t);
  }
}

}  // namespace
}  // namespace bandmatch
