// Match figures from the Fano solution: the worked table, the closed forms of the equal-ripple
// optimum for one and two elements, and the figures of a nearly perfect match.
#include "synthesis/match_figures.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "support/printed_values.hpp"
#include "synthesis/fano_solver.hpp"

namespace bandmatch {
namespace {

using testing::matchesPrinted;

DesignCase solvedFigures(int n, double decrement) {
  DesignCase design;
  design.N = n;
  design.decrement = decrement;
  applyFanoSolution(design);
  computeMatchFigures(design);
  return design;
}

TEST(MatchFigures, SwrFollowsFromTheReflectionMagnitude) {
  EXPECT_DOUBLE_EQ(swrFromRho(0.0), 1.0);
  EXPECT_DOUBLE_EQ(swrFromRho(1.0 / 3.0), 2.0);
  EXPECT_DOUBLE_EQ(swrFromRho(0.5), 3.0);
  EXPECT_DOUBLE_EQ(swrFromRho(0.8), 9.0);
}

// The worked table, 5 significant digits. Three of its entries were rounded twice
// (-15.311, 1.2498, 1.0275) and get one unit of the last digit; the rest half a unit.
TEST(MatchFigures, ReproduceTheWorkedTable) {
  struct Figure {
    double printed;
    double slackUnits = 0.5;
  };
  struct Case {
    int n;
    double decrement;
    Figure rhoMin, rhoMax, mismatchLossMin, mismatchLossMax, returnLossMin, returnLossMax, swrMin,
        swrMax;
  };
  const Case cases[] = {
      {1,
       1.0,
       {0.17158},
       {0.41421},
       {-0.12978},
       {-0.81746},
       {-15.311, 1.0},
       {-7.6555},
       {1.4142},
       {2.4142}},
      {3,
       1.0,
       {0.071381},
       {0.11101},
       {-0.022185},
       {-0.053852},
       {-22.928},
       {-19.093},
       {1.1537},
       {1.2498, 1.0}},
      {4,
       2.0,
       {0.0070124},
       {0.013539},
       {-0.00021356},
       {-0.00079610},
       {-43.083},
       {-37.369},
       {1.0141},
       {1.0275, 1.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "N=" << c.n << " decrement=" << c.decrement);
    const DesignCase design = solvedFigures(c.n, c.decrement);
    const auto check = [](double actual, const Figure& figure) {
      return matchesPrinted(actual, figure.printed, 5, figure.slackUnits);
    };
    EXPECT_TRUE(check(design.rhoMin, c.rhoMin));
    EXPECT_TRUE(check(design.rhoMax, c.rhoMax));
    EXPECT_TRUE(check(design.mismatchLossMin, c.mismatchLossMin));
    EXPECT_TRUE(check(design.mismatchLossMax, c.mismatchLossMax));
    EXPECT_TRUE(check(design.returnLossMin, c.returnLossMin));
    EXPECT_TRUE(check(design.returnLossMax, c.returnLossMax));
    EXPECT_TRUE(check(design.swrMin, c.swrMin));
    EXPECT_TRUE(check(design.swrMax, c.swrMax));
  }
}

// Closed forms of the equal-ripple optimum: for one element rhoMax = sqrt(1 + d^2) - d, for two
// elements its square (d the decrement). The solver's tolerance allows about 2e-5 relative.
TEST(MatchFigures, MatchTheClosedFormsForOneAndTwoElements) {
  const int gridPoints = 120;
  for (int i = 0; i < gridPoints; ++i) {
    const double decrement = 0.01 * std::pow(2000.0, i / (gridPoints - 1.0));
    SCOPED_TRACE(decrement);
    const double single = std::sqrt(1.0 + decrement * decrement) - decrement;
    EXPECT_NEAR(solvedFigures(1, decrement).rhoMax, single, 2e-5 * single);
    EXPECT_NEAR(solvedFigures(2, decrement).rhoMax, single * single, 2e-5 * single * single);
  }
}

// Ten elements and decrement 20: both magnitudes are about 1e-11, so 1 - rho^2 is 1 in double
// precision and the mismatch losses are exactly zero.
TEST(MatchFigures, NearlyPerfectMatchHasZeroMismatchLoss) {
  const DesignCase design = solvedFigures(10, 20.0);
  EXPECT_LT(design.rhoMin, design.rhoMax);
  EXPECT_LT(design.rhoMax, 1e-10);
  EXPECT_EQ(design.mismatchLossMin, 0.0);
  EXPECT_EQ(design.mismatchLossMax, 0.0);
  EXPECT_NEAR(design.returnLossMin, -230.0, 1.0);
  EXPECT_NEAR(design.returnLossMax, -214.0, 1.0);
  EXPECT_NEAR(design.swrMin, 1.0, 1e-9);
  EXPECT_NEAR(design.swrMax, 1.0, 1e-9);
}

// Each Min figure comes from rhoMin and each Max figure from rhoMax, whatever their sizes.
TEST(MatchFigures, MinAndMaxFiguresFollowTheirOwnMagnitude) {
  for (int n = 1; n <= 10; ++n) {
    for (double decrement : {0.01, 0.3, 1.0, 7.0}) {
      const DesignCase design = solvedFigures(n, decrement);
      EXPECT_LT(0.0, design.rhoMin);
      EXPECT_LT(design.rhoMin, design.rhoMax);
      EXPECT_LT(design.rhoMax, 1.0);
      EXPECT_LT(design.returnLossMin, design.returnLossMax);      // more negative
      EXPECT_GT(design.mismatchLossMin, design.mismatchLossMax);  // nearer to zero
      EXPECT_LT(design.swrMin, design.swrMax);
    }
  }
}

}  // namespace
}  // namespace bandmatch
