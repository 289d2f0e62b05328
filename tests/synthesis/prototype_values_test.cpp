// Levy's prototype values g(0)..g(N+1): the worked table, hand-evaluated terms, the indices
// filled, and the terminations over many designs.
#include "synthesis/prototype_values.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/printed_values.hpp"
#include "synthesis/fano_solver.hpp"

namespace bandmatch {
namespace {

using testing::matchesPrinted;

constexpr double SENTINEL = -12345.0;

DesignCase prototypeOf(int n, double decrement) {
  DesignCase design;
  design.N = n;
  design.decrement = decrement;
  design.g.fill(SENTINEL);
  applyFanoSolution(design);
  computePrototypeValues(design);
  return design;
}

// Hand-evaluated: 4 sin(pi/4) sin(3pi/4) = 2, 4 sin(pi/6) sin(pi/2) = 2,
// 4 sin(3pi/8) sin(5pi/8) = 2 + sqrt(2); with sinh(a) = 2, sinh(b) = 1 and n = 3, i = 1:
// 0.75 + 1 + 4 - 2 * 0.5 * 2 * 1 = 3.75; swapped, at i = 2 (cos = -0.5): 0.75 + 4 + 1 + 2 = 7.75.
TEST(PrototypeValues, LevyTermsMatchHandEvaluation) {
  EXPECT_NEAR(levyNumerator(1, 2), 2.0, 1e-14);
  EXPECT_NEAR(levyNumerator(1, 3), 2.0, 1e-14);
  EXPECT_NEAR(levyNumerator(2, 4), 2.0 + std::sqrt(2.0), 1e-14);
  EXPECT_NEAR(levyDenominator(0.0, 0.0, 1, 2), 1.0, 1e-14);
  EXPECT_NEAR(levyDenominator(std::asinh(2.0), std::asinh(1.0), 1, 3), 3.75, 1e-13);
  EXPECT_NEAR(levyDenominator(std::asinh(1.0), std::asinh(2.0), 2, 3), 7.75, 1e-13);
}

// The worked table, 6 significant digits; the last value of each row is the source.
TEST(PrototypeValues, ReproduceTheWorkedTable) {
  struct Case {
    int n;
    double decrement;
    std::vector<double> g;
  };
  const Case cases[] = {
      {1, 1.0, {1.0, 1.0, 0.707092}},
      {3, 1.0, {1.0, 1.0, 0.965597, 0.763239, 0.866749}},
      {4, 2.0, {1.0, 0.5, 0.947778, 0.941792, 0.409642, 1.02745}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "N=" << c.n << " decrement=" << c.decrement);
    const DesignCase design = prototypeOf(c.n, c.decrement);
    for (std::size_t k = 0; k < c.g.size(); ++k) {
      EXPECT_TRUE(matchesPrinted(design.g[k], c.g[k], 6)) << "g(" << k << ")";
    }
  }
}

// Indices 0..N+1 are set and nothing above them; N = 10 fills the whole array.
TEST(PrototypeValues, FillExactlyTheIndicesUpToTheSource) {
  for (int n = 1; n <= 10; ++n) {
    const DesignCase design = prototypeOf(n, 0.7);
    for (int k = 0; k < VALUE_CAPACITY; ++k) {
      if (k <= n + 1) {
        EXPECT_NE(design.g[k], SENTINEL) << "N=" << n << " k=" << k;
      } else {
        EXPECT_EQ(design.g[k], SENTINEL) << "N=" << n << " k=" << k;
      }
    }
  }
}

// g(0) = 1 and g(1) = 1 / decrement for every design, and all values are positive and finite.
TEST(PrototypeValues, TerminationsHoldOverManyDesigns) {
  for (int n = 1; n <= 10; ++n) {
    for (int i = 0; i < 40; ++i) {
      const double decrement = 0.01 * std::pow(2000.0, i / 39.0);
      const DesignCase design = prototypeOf(n, decrement);
      SCOPED_TRACE(::testing::Message() << "N=" << n << " decrement=" << decrement);
      EXPECT_EQ(design.g[0], 1.0);
      EXPECT_EQ(design.g[1], 1.0 / decrement);
      for (int k = 0; k <= n + 1; ++k) {
        EXPECT_GT(design.g[k], 0.0);
        EXPECT_TRUE(std::isfinite(design.g[k]));
      }
    }
  }
}

}  // namespace
}  // namespace bandmatch
