#include "network/matching_limits.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

// Each exponent worked by hand from the Bode-Fano integrals with w = 2 pi f.
TEST(MatchingLimits, GivesTheBodeFanoLimitOfEachModel) {
  const double pi2 = std::numbers::pi * std::numbers::pi;
  struct Case {
    std::string end;
    double f1, f2;    // MHz
    double exponent;  // the limit is exp(-exponent); below zero: no limit
  };
  const std::vector<Case> cases = {
      // pi / (R C (w2 - w1)) = pi / (1e-9 * 4 pi 1e8) = 2.5: exp(-2.5) = 0.0821
      {"parallel:R=50,C=20p", 100.0, 300.0, 2.5},
      // pi R / (L (w2 - w1)) = 50 pi / (1e-7 * 4 pi 1e8) = 1.25
      {"series:R=50,L=100n", 100.0, 300.0, 1.25},
      // pi R C / (1/w1 - 1/w2) = pi 1e-9 / (0.5e-8 / (2 pi)) = 0.4 pi^2
      {"series:R=10,C=100p", 100.0, 200.0, 0.4 * pi2},
      // pi L / (R (1/w1 - 1/w2)) = pi 5e-8 / (100 * 0.5e-8 / (2 pi)) = 0.2 pi^2
      {"parallel:R=100,L=50n", 100.0, 200.0, 0.2 * pi2},
      // Resonant at sqrt(100 * 400) = 200 MHz: w0^2 L C = 1 with L = 1 uH, C = 1 / (w0^2 L);
      // both integrals give 50 pi / (1e-6 * 6 pi 1e8) = 1 / 12.
      {"series:R=50,L=1u,C=" +
           std::to_string(1e12 / (std::pow(2 * std::numbers::pi * 2e8, 2) * 1e-6)) + "p",
       100.0, 400.0, 1.0 / 12.0},
      // Off centre the smaller budget binds: the C of 0.5 pF gives pi 50 0.5e-12 / (1/w1 - 1/w2)
      // = pi 2.5e-11 / (0.75e-8 / (2 pi)) = pi^2 / 150, below the L's 1 / 12.
      {"series:R=50,L=1u,C=0.5p", 100.0, 400.0, pi2 / 150.0},
      // Parallel R-L-C: the C's pi / (1e-9 * 4 pi 1e8) = 2.5 and the L's
      // pi 1e-6 / (50 (1/w1 - 1/w2)) = 2 pi^2 1e-6 / (50 * (2/3) 1e-8) = 6 pi^2: the C binds.
      {"parallel:R=50,L=1u,C=20p", 100.0, 300.0, 2.5},
      {"75", 100.0, 300.0, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.end);
    const std::optional<double> limit = bodeFanoLimit(*parseNetworkEnd(c.end).end, c.f1, c.f2);
    if (c.exponent < 0.0) {
      EXPECT_FALSE(limit.has_value());
      continue;
    }
    ASSERT_TRUE(limit.has_value());
    EXPECT_NEAR(*limit, std::exp(-c.exponent), 1e-6 * std::exp(-c.exponent));
  }
  EXPECT_FALSE(bodeFanoLimit(NetworkEnd{EndKind::measured, 50.0, 1e-6, {}, {}}, 1.0, 2.0));
}

}  // namespace
}  // namespace bandmatch
