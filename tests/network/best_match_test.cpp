// The table of the best match against published and closed-form figures: for a decrement of 1,
// |Gamma| max 0.4142, 0.1716, 0.1110, 0.0862, 0.0733 for N = 1 to 5, 0.0532 for N = 10 and
// 0.0432 for infinitely many; N = 1 is sqrt(1 + d^2) - d; the limit is exp(-pi d).
#include "network/best_match.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace bandmatch {
namespace {

TEST(BestMatch, GivesThePublishedFiguresForDecrementOne) {
  const std::vector<BestMatchRow> rows = bestMatchTable(1.0);
  ASSERT_EQ(rows.size(), 11u);
  const std::vector<std::pair<std::size_t, double>> published = {
      {0, 0.4142}, {1, 0.1716}, {2, 0.1110}, {3, 0.0862}, {4, 0.0733}, {9, 0.0532}, {10, 0.0432}};
  for (const auto& [index, rhoMax] : published) {
    EXPECT_NEAR(rows[index].rhoMax, rhoMax, 0.00005) << "row " << index;
    EXPECT_TRUE(rows[index].solved) << "row " << index;
  }
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(rows[i].n, static_cast<int>(i) + 1);
  }
  EXPECT_EQ(rows[10].n, 0);
}

TEST(BestMatch, FollowsTheClosedFormsForOneResonatorAndTheLimit) {
  for (const double d : {0.05, 0.3, 1.0, 2.5, 7.0, 20.0}) {
    const std::vector<BestMatchRow> rows = bestMatchTable(d);
    const double single = std::sqrt(1.0 + d * d) - d;
    // The solver stops at a squared residual of 1e-9, good to a few parts in 10^7.
    EXPECT_NEAR(rows[0].rhoMax, single, 2e-6 * single) << d;
    const double limit = std::exp(-std::numbers::pi * d);
    const BestMatchRow& bound = rows.back();
    EXPECT_DOUBLE_EQ(bound.rhoMin, limit) << d;
    EXPECT_DOUBLE_EQ(bound.rhoMax, limit) << d;
    EXPECT_NEAR(bound.worstReturnLossDb, -20.0 * std::numbers::pi * d / std::log(10.0), 1e-9 * d)
        << d;
    EXPECT_NEAR(bound.worstSwr, (1.0 + limit) / (1.0 - limit), 1e-12) << d;
    // More resonators match better, and none beats the bound.
    for (std::size_t i = 0; i + 1 < 10; ++i) {
      EXPECT_LT(rows[i + 1].rhoMax, rows[i].rhoMax) << d << " N " << i + 2;
      EXPECT_GT(rows[i].rhoMax, limit) << d;
      EXPECT_NEAR(rows[i].worstSwr, (1.0 + rows[i].rhoMax) / (1.0 - rows[i].rhoMax),
                  1e-9 * rows[i].worstSwr);
      EXPECT_NEAR(rows[i].worstReturnLossDb, 20.0 * std::log10(rows[i].rhoMax), 1e-9);
    }
  }
}

TEST(BestMatch, MarksRowsTheSolverCannotReach) {
  // Far beyond the recommended decrements the hyperbolic functions overflow.
  const std::vector<BestMatchRow> rows = bestMatchTable(1e300);
  ASSERT_EQ(rows.size(), 11u);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_FALSE(rows[i].solved) << i;
  }
}

}  // namespace
}  // namespace bandmatch
