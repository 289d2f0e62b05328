#include "network/closed_form_starts.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace bandmatch {
namespace {

using Complex = std::complex<double>;

double reflectionOf(const CascadeNetwork& network, double frequencyMHz, Complex source,
                    Complex load) {
  CascadeWorkspace workspace;
  return std::abs(cascadeResponse(network, frequencyMHz, source, load, workspace).reflection);
}

// A network of inductors and capacitors only, each with w0 L or w0 C as given, w0 at 100 MHz.
void expectLowPass(const CascadeNetwork& network, const std::vector<double>& scaledValues) {
  const double w0 = 2.0 * std::numbers::pi * 1e8;
  ASSERT_EQ(network.sections.size(), scaledValues.size());
  for (std::size_t k = 0; k < scaledValues.size(); ++k) {
    const Section& s = network.sections[k];
    ASSERT_TRUE(s.kind == SectionKind::seriesInductor || s.kind == SectionKind::shuntCapacitor);
    const double value = s.kind == SectionKind::seriesInductor ? s.inductance : s.capacitance;
    EXPECT_NEAR(value * w0, scaledValues[k], 1e-12 * scaledValues[k]);
  }
}

// How many L networks each pair of ends has, worked by hand: series arm at the source needs
// Rs <= 1 / Re(1 / ZL), shunt arm at the source needs RL <= 1 / Re(1 / Zs); two roots each.
TEST(ClosedFormStarts, LNetworksMatchComplexEndsAtTheCentre) {
  struct Case {
    Complex source, load;
    std::size_t count;
  };
  const std::vector<Case> cases = {
      {50.0, 200.0, 2},                  // 50 <= 200, but 200 > 50
      {200.0, 50.0, 2},                  // the mirror
      {{50.0, -20.0}, {10.0, 30.0}, 4},  // 50 <= 1000 / 10 and 10 <= 2900 / 50
      // Conjugate ends: either orientation has the empty network (kept once) and one other.
      {{30.0, 40.0}, {30.0, -40.0}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.source << " to " << c.load);
    const std::vector<CascadeNetwork> networks = lNetworkMatches(c.source, c.load, 100.0);
    EXPECT_EQ(networks.size(), c.count);
    for (const CascadeNetwork& network : networks) {
      EXPECT_NEAR(reflectionOf(network, 100.0, c.source, c.load), 0.0, 1e-12);
    }
  }
  // 50 to 200 ohms: Q = sqrt(200 / 50 - 1); the first network is the low-pass one, a series
  // reactance w0 L = 50 Q and a shunt susceptance w0 C = Q / 200.
  expectLowPass(lNetworkMatches(50.0, 200.0, 100.0).front(),
                {50.0 * std::sqrt(3.0), std::sqrt(3.0) / 200.0});
}

// Pi and Tee networks from 50 to 200 ohms with a loaded Q of 5, worked by hand. Pi: Rv = 200 / 26,
// the 200 ohm side's Q is 5 and the 50 ohm side's sqrt(50 / Rv - 1) = sqrt(5.5); the low-pass
// one has w0 C = Q / R at each end and w0 L = Rv (5 + sqrt(5.5)). Tee: Rv = 50 * 26, Qs 5 and
// sqrt(Rv / 200 - 1) = sqrt(5.5); the low-pass one has w0 L = 50 * 5, w0 C = (5 + sqrt(5.5)) / Rv
// and w0 L = 200 sqrt(5.5).
TEST(ClosedFormStarts, PiAndTeeNetworksHaveTheLoadedQ) {
  const double q2 = std::sqrt(5.5);
  const std::vector<CascadeNetwork> pi = piNetworkMatches(50.0, 200.0, 100.0, 5.0);
  const std::vector<CascadeNetwork> tee = teeNetworkMatches(50.0, 200.0, 100.0, 5.0);
  ASSERT_EQ(pi.size(), 4u);
  ASSERT_EQ(tee.size(), 4u);
  for (const CascadeNetwork& network : pi) {
    EXPECT_NEAR(reflectionOf(network, 100.0, 50.0, 200.0), 0.0, 1e-12);
  }
  for (const CascadeNetwork& network : tee) {
    EXPECT_NEAR(reflectionOf(network, 100.0, 50.0, 200.0), 0.0, 1e-12);
  }
  expectLowPass(pi.front(), {q2 / 50.0, 200.0 / 26.0 * (5.0 + q2), 5.0 / 200.0});
  expectLowPass(tee.front(), {250.0, (5.0 + q2) / 1300.0, 200.0 * q2});
  // A Q below sqrt(200 / 50 - 1) cannot reach the smaller resistance.
  EXPECT_TRUE(piNetworkMatches(50.0, 200.0, 100.0, 1.5).empty());
  EXPECT_TRUE(teeNetworkMatches(50.0, 200.0, 100.0, 1.5).empty());
}

// The Chebyshev transformer's ripple is |Gamma|^2 = eps / (1 + eps), eps T_N(1 / mu)^2 =
// (R - 1)^2 / (4 R), mu = cos(theta) at the band edge; for 50 to 150 ohms over an octave,
// mu = 1 / 2 and T_2(2) = 7, T_3(2) = 26 give the worked 0.0822 and 0.0222. The response is
// worked out by the cascade: its worst |Gamma| on a fine grid is the ripple, reached at both
// band edges, and zero at the centre for odd N; the sections are antimetric, Zk Z(N+1-k) = Rs RL.
TEST(ClosedFormStarts, ChebyshevTransformersHaveTheEqualRipple) {
  struct Case {
    double source, load, f1, f2;
  };
  // The octave of the worked numbers, a narrow band to a large ratio, a 5:1 band downwards.
  const std::vector<Case> cases = {
      {50.0, 150.0, 100.0, 200.0}, {10.0, 200.0, 90.0, 110.0}, {100.0, 12.0, 50.0, 250.0}};
  for (const Case& c : cases) {
    for (int n = 1; n <= 4; ++n) {
      SCOPED_TRACE(::testing::Message() << c.source << " to " << c.load << ", " << n);
      const std::optional<SteppedTransformer> transformer =
          chebyshevTransformer(c.source, c.load, n, c.f1, c.f2);
      ASSERT_TRUE(transformer.has_value());
      const double r = c.load / c.source;
      const double mu = std::cos(std::numbers::pi / 2.0 * c.f1 / ((c.f1 + c.f2) / 2.0));
      const double edge = std::cosh(n * std::acosh(1.0 / mu));
      const double eps = (r - 1.0) * (r - 1.0) / (4.0 * r) / (edge * edge);
      const double ripple = std::sqrt(eps / (1.0 + eps));
      EXPECT_NEAR(transformer->worstReflection, ripple, 1e-12);
      double worst = 0.0;
      for (int i = 0; i <= 10000; ++i) {
        const double f = c.f1 + (c.f2 - c.f1) * i / 10000.0;
        worst = std::max(worst, reflectionOf(transformer->network, f, c.source, c.load));
      }
      EXPECT_NEAR(worst, ripple, 1e-9);
      EXPECT_NEAR(reflectionOf(transformer->network, c.f1, c.source, c.load), ripple, 1e-9);
      EXPECT_NEAR(reflectionOf(transformer->network, c.f2, c.source, c.load), ripple, 1e-9);
      if (n % 2 == 1) {
        const double centre = (c.f1 + c.f2) / 2.0;
        EXPECT_NEAR(reflectionOf(transformer->network, centre, c.source, c.load), 0.0, 1e-9);
      }
      const std::vector<double>& z = transformer->impedances;
      for (int k = 0; k < n; ++k) {
        EXPECT_NEAR(z[k] * z[n - 1 - k], c.source * c.load, 1e-9 * c.source * c.load);
      }
    }
  }
  EXPECT_NEAR(chebyshevTransformer(50.0, 150.0, 2, 100.0, 200.0)->worstReflection, 0.0822, 5e-5);
  EXPECT_NEAR(chebyshevTransformer(50.0, 150.0, 3, 100.0, 200.0)->worstReflection, 0.0222, 5e-5);
  // Two sections, at the centre where T_2(0)^2 = 1: (x - 1)^2 / (4 x) = eps with x = Zin / 50 =
  // Z1^2 150 / (Z2^2 50) = Z1^4 150 / (7500^2 50), so (x - 1)^2 = 4 eps x; the larger
  // root is the equal-ripple one (the smaller leaves |Gamma| = 0.2 at the band edges).
  const double eps2 = 1.0 / 3.0 / 49.0;
  const double x = 1.0 + 2.0 * eps2 + 2.0 * std::sqrt(eps2 * (1.0 + eps2));
  const double z1 = std::pow(x * 50.0 * 7500.0 * 7500.0 / 150.0, 0.25);
  EXPECT_NEAR(chebyshevTransformer(50.0, 150.0, 2, 100.0, 200.0)->impedances[0], z1, 1e-9);
  EXPECT_FALSE(chebyshevTransformer(50.0, 150.0, 5, 100.0, 200.0).has_value());
  EXPECT_FALSE(chebyshevTransformer(50.0, 150.0, 2, 200.0, 100.0).has_value());
}

}  // namespace
}  // namespace bandmatch
