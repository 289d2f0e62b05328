#include "network/network_end.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

TEST(NetworkEnd, ReadsResistancesAndModelsAndRefusesWithTheText) {
  struct Case {
    std::string text;
    EndKind kind;
    double resistance;
    double inductance;   // 0 when left out
    double capacitance;  // 0 when left out
    std::string error;   // beginning of the refusal; empty when read
  };
  const std::vector<Case> cases = {
      {"50", EndKind::resistance, 50.0, 0.0, 0.0, ""},
      {"1.5k", EndKind::resistance, 1500.0, 0.0, 0.0, ""},
      {"series:R=12.5,L=1.2u,C=80p", EndKind::seriesModel, 12.5, 1.2e-6, 80e-12, ""},
      {"series:C=1e-9,R=3", EndKind::seriesModel, 3.0, 0.0, 1e-9, ""},
      {"parallel:R=200,C=5p", EndKind::parallelModel, 200.0, 0.0, 5e-12, ""},
      {"parallel:L=33n,R=1M", EndKind::parallelModel, 1e6, 33e-9, 0.0, ""},
      {"", EndKind::resistance, 0, 0, 0, "\"\" is not a number"},
      {"50 ohm", EndKind::resistance, 0, 0, 0, "\"50 ohm\" is not a number"},
      {"-50", EndKind::resistance, 0, 0, 0, "\"-50\" must be a finite value above zero"},
      {"inf", EndKind::resistance, 0, 0, 0, "\"inf\" must be a finite value above zero"},
      {"5pp", EndKind::resistance, 0, 0, 0, "\"5pp\" is not a number"},
      {"series:L=1u,C=1n", EndKind::resistance, 0, 0, 0, "the model has no resistance R="},
      {"series:R=5,Q=3", EndKind::resistance, 0, 0, 0, "\"Q=3\" is not R=, L= or C="},
      {"parallel:R=5,,C=1p", EndKind::resistance, 0, 0, 0, "\"\" is not R=, L= or C="},
      {"parallel:R=5,R=6", EndKind::resistance, 0, 0, 0, "R is given twice"},
      {"series:R=5,C=-1p", EndKind::resistance, 0, 0, 0, "\"C=-1p\" must be a finite value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const EndParse parse = parseNetworkEnd(c.text);
    if (!c.error.empty()) {
      EXPECT_FALSE(parse.end.has_value());
      EXPECT_EQ(parse.error.substr(0, c.error.size()), c.error) << parse.error;
      continue;
    }
    ASSERT_TRUE(parse.end.has_value()) << parse.error;
    EXPECT_EQ(parse.end->kind, c.kind);
    EXPECT_DOUBLE_EQ(parse.end->resistance, c.resistance);
    EXPECT_DOUBLE_EQ(parse.end->inductance.value_or(0.0), c.inductance);
    EXPECT_DOUBLE_EQ(parse.end->capacitance.value_or(0.0), c.capacitance);
  }
}

// Impedances worked by hand at 10 MHz (w = 6.2831853e7 rad/s).
TEST(NetworkEnd, GivesTheModelsImpedance) {
  const double w = 2.0 * std::numbers::pi * 1e7;
  const std::complex<double> j(0.0, 1.0);
  struct Case {
    std::string text;
    std::complex<double> impedance;
  };
  const std::vector<Case> cases = {
      {"75", 75.0},
      {"series:R=12.5,L=1.2u,C=80p", 12.5 + j * (w * 1.2e-6 - 1.0 / (w * 80e-12))},
      {"parallel:R=200,C=5p", 1.0 / (1.0 / 200.0 + j * w * 5e-12)},
      {"parallel:R=200,L=2u,C=5p", 1.0 / (1.0 / 200.0 + j * w * 5e-12 + 1.0 / (j * w * 2e-6))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<std::complex<double>> z = endImpedance(*parseNetworkEnd(c.text).end, 10.0);
    ASSERT_TRUE(z.has_value());
    EXPECT_NEAR(std::abs(*z - c.impedance), 0.0, 1e-12 * std::abs(c.impedance));
  }
  EXPECT_FALSE(endImpedance(NetworkEnd{EndKind::measured, 50.0, {}, {}, {}}, 10.0).has_value());
}

// Three points at 10, 20 and 30 MHz (lines 3 to 5); the middle resistance is varied to make the
// data active. Interpolated values worked by hand: at 15 MHz half-way between the first two.
TEST(NetworkEnd, TakesMeasuredDataThatCoverTheBandAndArePassive) {
  const auto data = [](double middleResistance) {
    return MeasuredLoad{{10.0, 20.0, 30.0},
                        {{40.0, -20.0}, {middleResistance, 10.0}, {80.0, 30.0}},
                        {3, 4, 5}};
  };
  struct Case {
    double middleResistance;
    double f1, f2, from, to;
    std::string error;  // beginning of the refusal; empty when taken
  };
  const std::vector<Case> cases = {
      {60.0, 10.0, 30.0, 10.0, 30.0, ""},
      {60.0, 9.0, 30.0, 9.0, 30.0, "line 3: the data start at 10.000000 MHz, above"},
      {60.0, 12.0, 31.0, 12.0, 31.0, "line 5: the data end at 30.000000 MHz, below"},
      {-5.0, 12.0, 28.0, 12.0, 28.0, "the load is active at 20.000000 MHz (resistance"},
      // Active only in the sweep beside the band: refused too; beyond the sweep: taken.
      {-5.0, 22.0, 28.0, 15.0, 29.0, "the load is active at"},
      {-5.0, 25.0, 28.0, 24.0, 29.0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.f1);
    const EndParse parse = measuredEnd(data(c.middleResistance), c.f1, c.f2, c.from, c.to);
    if (!c.error.empty()) {
      EXPECT_FALSE(parse.end.has_value());
      EXPECT_EQ(parse.error.substr(0, c.error.size()), c.error) << parse.error;
      continue;
    }
    ASSERT_TRUE(parse.end.has_value()) << parse.error;
    EXPECT_EQ(parse.end->kind, EndKind::measured);
    const std::complex<double> middle = (data(c.middleResistance).impedance[0] +
                                         data(c.middleResistance).impedance[1]) / 2.0;
    EXPECT_NEAR(std::abs(*endImpedance(*parse.end, 15.0) - middle), 0.0, 1e-12);
    // Beyond the data the nearest point holds.
    EXPECT_EQ(*endImpedance(*parse.end, 35.0), std::complex<double>(80.0, 30.0));
  }
}

}  // namespace
}  // namespace bandmatch
