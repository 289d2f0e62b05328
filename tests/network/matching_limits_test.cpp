#include "network/matching_limits.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "formats/touchstone_reader.hpp"
#include "support/measured_loads.hpp"

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

// A measured end made of an exact series R-L-C (resonant at 3.75 MHz, Q 10, 50 ohms, 151 points
// from 3.0 to 4.5 MHz) fits that resonator, so its Fano bound is the model's Bode-Fano limit; a
// plain resistance fits no resonator. With two ends the larger limit holds: 20 pF across 50 ohms
// over 100 to 300 MHz gives exp(-2.5), 100 nH with 50 ohms exp(-1.25).
TEST(MatchingLimits, GivesTheLargerLimitOfTheTwoEndsAndFanosBoundOfAFittedOne) {
  const testing::ExactLoad resonator;
  const NetworkEnd measured =
      *measuredEnd(*readTouchstone(testing::exactLoadFile(resonator, 3.0, 4.5, 151)).load, 3.5,
                   4.0, 3.5, 4.0)
           .end;
  const NetworkEnd model = *parseNetworkEnd("series:R=50,L=" +
                                            std::to_string(resonator.inductance() * 1e6) + "u,C=" +
                                            std::to_string(resonator.capacitance() * 1e12) + "p")
                                .end;
  const std::optional<MatchingLimit> fitted = matchingLimit(parseNetworkEnd("50").end.value(),
                                                            measured, 3.5, 4.0);
  ASSERT_TRUE(fitted.has_value());
  ASSERT_TRUE(fitted->fit.has_value());
  EXPECT_LT(fitted->fit->fitError, 1e-6);
  EXPECT_NEAR(fitted->reflection, *bodeFanoLimit(model, 3.5, 4.0), 1e-6);
  EXPECT_FALSE(fitted->atSource);

  NetworkEnd flat = measured;
  std::fill(flat.measured.impedance.begin(), flat.measured.impedance.end(), 50.0);
  EXPECT_FALSE(matchingLimit(flat, flat, 3.5, 4.0).has_value());

  const NetworkEnd capacitive = *parseNetworkEnd("parallel:R=50,C=20p").end;
  const NetworkEnd inductive = *parseNetworkEnd("series:R=50,L=100n").end;
  for (const bool capacitiveSource : {false, true}) {
    const std::optional<MatchingLimit> limit =
        capacitiveSource ? matchingLimit(capacitive, inductive, 100.0, 300.0)
                         : matchingLimit(inductive, capacitive, 100.0, 300.0);
    ASSERT_TRUE(limit.has_value());
    EXPECT_NEAR(limit->reflection, std::exp(-1.25), 1e-9);
    EXPECT_EQ(limit->atSource, !capacitiveSource);
    EXPECT_FALSE(limit->fit.has_value());
  }
}

}  // namespace
}  // namespace bandmatch
