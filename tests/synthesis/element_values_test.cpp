// Element values: the worked table for both load types with their terminations, the indices
// filled, resonance at the center frequency, and the load's own resonator.
#include "synthesis/element_values.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/printed_values.hpp"

namespace bandmatch {
namespace {

using testing::matchesPrinted;
using testing::synthesizedDesign;

// Band 10..20 MHz, 50 ohms or 0.02 siemens; values to 6 significant digits.
TEST(ElementValues, ReproduceTheWorkedTable) {
  struct Case {
    int n;
    double decrement;
    LoadType loadType;
    std::vector<double> inductance;   // positions 1..N
    std::vector<double> capacitance;  // positions 1..N
    double loadResistance;
    double sourceResistance;
  };
  const Case cases[] = {
      {3,
       1.0,
       LoadType::series,
       {7.95775e-07, 4.12064e-07, 6.07367e-07},
       {1.59155e-10, 3.07359e-10, 2.08526e-10},
       50.0,
       57.6868},
      {3,
       1.0,
       LoadType::parallel,
       {3.97887e-07, 7.68398e-07, 5.21314e-07},
       {3.18310e-10, 1.64825e-10, 2.42947e-10},
       50.0,
       43.3375},
      {4, 2.0, LoadType::series, {}, {}, 50.0, 51.3724},
      {4, 2.0, LoadType::parallel, {}, {}, 50.0, 48.6642},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "N=" << c.n << " decrement=" << c.decrement << " "
                                      << (c.loadType == LoadType::series ? "series" : "parallel"));
    const DesignCase design = synthesizedDesign(c.n, c.decrement, c.loadType, 10.0, 20.0);
    for (std::size_t index = 0; index < c.inductance.size(); ++index) {
      const std::size_t k = index + 1;
      EXPECT_TRUE(matchesPrinted(design.L[k], c.inductance[index], 6)) << "L(" << k << ")";
      EXPECT_TRUE(matchesPrinted(design.C[k], c.capacitance[index], 6)) << "C(" << k << ")";
    }
    EXPECT_NEAR(design.loadResistance, c.loadResistance, 1e-12);
    EXPECT_TRUE(matchesPrinted(design.sourceResistance, c.sourceResistance, 6));
  }
}

// Positions 1..N are set; index 0 and the positions above N keep what was there.
TEST(ElementValues, FillOnlyPositionsOneToN) {
  constexpr double SENTINEL = -12345.0;
  for (LoadType loadType : {LoadType::series, LoadType::parallel}) {
    for (int n : {1, 2, 7, 10}) {
      DesignCase design = synthesizedDesign(n, 1.3, loadType, 10.0, 20.0);
      design.L.fill(SENTINEL);
      design.C.fill(SENTINEL);
      computeElementValues(design);
      for (int k = 0; k < VALUE_CAPACITY; ++k) {
        const bool filled = k >= 1 && k <= n;
        EXPECT_EQ(design.L[k] != SENTINEL, filled) << "N=" << n << " k=" << k;
        EXPECT_EQ(design.C[k] != SENTINEL, filled) << "N=" << n << " k=" << k;
      }
    }
  }
}

// Every position is a resonator tuned to the center frequency, L(k) C(k) omega0^2 = 1, and the
// load resistance is the load's own, over many designs of both load types.
TEST(ElementValues, EveryResonatorIsTunedToTheCenterFrequency) {
  const double bands[][2] = {{0.5, 30.0}, {10.0, 20.0}, {144.0, 148.0}};
  for (LoadType loadType : {LoadType::series, LoadType::parallel}) {
    for (const auto& band : bands) {
      for (int n = 1; n <= 10; ++n) {
        for (double decrement : {0.01, 0.2, 1.0, 3.3, 20.0}) {
          const DesignCase design = synthesizedDesign(n, decrement, loadType, band[0], band[1]);
          SCOPED_TRACE(::testing::Message() << "N=" << n << " decrement=" << decrement);
          for (int k = 1; k <= n; ++k) {
            EXPECT_NEAR(design.L[k] * design.C[k] * design.omega0 * design.omega0, 1.0, 1e-13);
          }
          EXPECT_NEAR(design.loadResistance, 50.0, 1e-12);
          EXPECT_GT(design.sourceResistance, 0.0);
        }
      }
    }
  }
}

// A load described by its slope parameters comes back as position 1: with a series load
// L(1) = reactanceSlope / omega0, with a parallel load C(1) = susceptanceSlope / omega0.
TEST(ElementValues, PositionOneReproducesTheLoadParameters) {
  for (int n : {1, 4}) {
    DesignCase series;
    series.N = n;
    series.method = Method::loadParameters;
    series.loadType = LoadType::series;
    series.f1 = 10.0;
    series.f2 = 20.0;
    computeBand(series);
    series.averageResistance = 35.0;
    series.deltaBandwidth = 2.0;
    series.deltaReactance = 12.0;
    decrementFromLoad(series);
    synthesize(series);
    EXPECT_NEAR(series.L[1], series.reactanceSlope / series.omega0, 1e-12 * series.L[1]);

    DesignCase parallel;
    parallel.N = n;
    parallel.method = Method::loadParameters;
    parallel.loadType = LoadType::parallel;
    parallel.f1 = 144.0;
    parallel.f2 = 148.0;
    computeBand(parallel);
    parallel.averageConductance = 0.01;
    parallel.deltaBandwidth = 1.0;
    parallel.deltaSusceptance = 0.004;
    decrementFromLoad(parallel);
    synthesize(parallel);
    EXPECT_NEAR(parallel.C[1], parallel.susceptanceSlope / parallel.omega0, 1e-12 * parallel.C[1]);
  }
}

}  // namespace
}  // namespace bandmatch
