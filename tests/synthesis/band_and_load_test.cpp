// Band quantities and the conversions between decrement, load Q and load parameters.
#include "synthesis/band_and_load.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "support/printed_values.hpp"

namespace bandmatch {
namespace {

// Worked band examples: f0 is the geometric mean of the edges, never the arithmetic one.
TEST(BandQuantities, FollowTheWorkedBandExamples) {
  struct Case {
    double f1, f2, f0, matchBandwidth, wm, omega0;
  };
  const double pi = std::acos(-1.0);
  const Case cases[] = {
      {1.0, 4.0, 2.0, 3.0, 1.5, 4.0 * pi * 1e6},
      // 14.142136 and 0.707107 as printed; the other columns follow from them.
      {10.0, 20.0, std::sqrt(200.0), 10.0, 10.0 / std::sqrt(200.0), 2.0 * pi * 1e6 * 14.1421356},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.f1);
    DesignCase design;
    design.f1 = c.f1;
    design.f2 = c.f2;
    computeBand(design);
    EXPECT_NEAR(design.f0, c.f0, 1e-12 * c.f0);
    EXPECT_NEAR(design.matchBandwidth, c.matchBandwidth, 1e-12);
    EXPECT_NEAR(design.wm, c.wm, 1e-12);
    EXPECT_NEAR(design.omega0, c.omega0, 1e-7 * c.omega0);
  }

  DesignCase design;
  design.f1 = 10.0;
  design.f2 = 20.0;
  computeBand(design);
  EXPECT_TRUE(testing::matchesPrinted(design.f0, 14.142136, 8));
  EXPECT_TRUE(testing::matchesPrinted(design.wm, 0.707107, 6));
  EXPECT_TRUE(testing::matchesPrinted(design.omega0, 8.88577e7, 6));
}

// The four conversion examples, one per way the decrement is obtained.
TEST(LoadQuantities, ConvertBetweenDecrementQAndLoadParameters) {
  DesignCase direct;
  direct.wm = 0.5;
  direct.decrement = 1.0;
  qFromDecrement(direct);
  EXPECT_DOUBLE_EQ(direct.loadQ, 2.0);

  DesignCase fromQ;
  fromQ.wm = 0.1;
  fromQ.loadQ = 10.0;
  decrementFromQ(fromQ);
  EXPECT_DOUBLE_EQ(fromQ.decrement, 1.0);

  DesignCase series;
  series.loadType = LoadType::series;
  series.f0 = 10.0;
  series.wm = 0.5;
  series.deltaBandwidth = 1.0;
  series.deltaReactance = 10.0;
  series.averageResistance = 50.0;
  series.susceptanceSlope = -7.0;  // the other load type's slope stays as it was
  decrementFromLoad(series);
  EXPECT_DOUBLE_EQ(series.reactanceSlope, 50.0);
  EXPECT_DOUBLE_EQ(series.decrement, 2.0);
  EXPECT_DOUBLE_EQ(series.loadQ, 1.0);
  EXPECT_EQ(series.susceptanceSlope, -7.0);

  DesignCase parallel;
  parallel.loadType = LoadType::parallel;
  parallel.f0 = 10.0;
  parallel.wm = 0.2;
  parallel.deltaBandwidth = 2.0;
  parallel.deltaSusceptance = 0.04;
  parallel.averageConductance = 0.02;
  parallel.reactanceSlope = -7.0;
  decrementFromLoad(parallel);
  EXPECT_DOUBLE_EQ(parallel.susceptanceSlope, 0.1);
  EXPECT_DOUBLE_EQ(parallel.decrement, 1.0);
  EXPECT_DOUBLE_EQ(parallel.loadQ, 5.0);
  EXPECT_EQ(parallel.reactanceSlope, -7.0);
}

// decrement * loadQ * wm = 1 whichever way the pair was obtained, over many bands.
TEST(LoadQuantities, DecrementTimesQTimesBandwidthIsOne) {
  const double bands[][2] = {{0.5, 30.0}, {10.0, 20.0}, {144.0, 148.0}, {1000.0, 1000.5}};
  const double values[] = {1e-6, 0.01, 0.37, 1.0, 4.2, 20.0, 3e4};
  for (const auto& band : bands) {
    for (double value : values) {
      DesignCase design;
      design.f1 = band[0];
      design.f2 = band[1];
      computeBand(design);

      design.decrement = value;
      qFromDecrement(design);
      EXPECT_NEAR(design.decrement * design.loadQ * design.wm, 1.0, 1e-14);

      design.loadQ = value;
      decrementFromQ(design);
      EXPECT_NEAR(design.decrement * design.loadQ * design.wm, 1.0, 1e-14);

      design.loadType = LoadType::parallel;
      design.deltaBandwidth = 0.3;
      design.deltaSusceptance = value;
      design.averageConductance = 0.02;
      decrementFromLoad(design);
      EXPECT_NEAR(design.decrement * design.loadQ * design.wm, 1.0, 1e-14);
    }
  }
}

}  // namespace
}  // namespace bandmatch
