// The axes of the plots against frequency, worked by hand: ticks of 1, 2 or 5 times a power of
// ten nearest (on a log scale) to the range over the target count, the decibel axis's bottom on
// a whole tick below the deepest level and its margin, and the mapping onto the plot area.
#include "drawing/plot_axes.hpp"

#include <gtest/gtest.h>

namespace bandmatch {
namespace {

TEST(PlotAxes, StepsAndBottomsAreWholeTicks) {
  // 2.25 / 8 = 0.28: 0.2 is nearer than 0.5 on a log scale; 30 / 7 = 4.3: 5; 100 / 5 = 20.
  EXPECT_DOUBLE_EQ(niceStep(2.25, 8), 0.2);
  EXPECT_DOUBLE_EQ(niceStep(30.0, 7), 5.0);
  EXPECT_DOUBLE_EQ(niceStep(100.0, 5), 20.0);
  EXPECT_DOUBLE_EQ(niceStep(7.0, 7), 1.0);
  const struct {
    double deepest;
    double margin;
    double bottom;
  } cases[] = {
      {-22.93, 1.0, -30.0},   // 15 % below is -26.37, ticks of 5 dB
      {-0.4576, 1.0, -1.6},   // the margin of 1 dB wins: -1.4576, ticks of 0.2 dB
      {-300.0, 1.0, -140.0},  // held at -120 dB, 18 dB below that: ticks of 20 dB
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(decibelAxisBottom(c.deepest, c.margin), c.bottom, 1e-12) << c.deepest;
  }
}

// The response plot's area: x 90 to 740 for 0.125 to 2.375 MHz, y 80 (0 dB) to 520 (-30 dB).
TEST(PlotAxes, MapFrequencyAcrossAndDecibelsDownTheArea) {
  const DecibelAxes axes{{90.0, 740.0, 80.0, 520.0}, 0.125, 2.375, -30.0};
  EXPECT_NEAR(axes.x(0.5), 90.0 + 0.375 / 2.25 * 650.0, 1e-9);  // 198.33
  EXPECT_NEAR(axes.x(2.375), 740.0, 1e-9);
  EXPECT_NEAR(axes.y(-19.0927), 80.0 + 19.0927 / 30.0 * 440.0, 1e-9);  // 360.03
  EXPECT_EQ(axes.y(5.0), 80.0);     // above 0 dB: held at the top
  EXPECT_EQ(axes.y(-40.0), 520.0);  // below the bottom: held there
}

}  // namespace
}  // namespace bandmatch
