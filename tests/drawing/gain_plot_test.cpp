#include "drawing/gain_plot.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

// The y of a horizontal dashed level line of that colour, or -1.
double levelY(const std::string& svg, const std::string& colour) {
  const std::regex level("<line x1=\"90.00\" y1=\"([0-9.]+)\" x2=\"740.00\" y2=\"[0-9.]+\" stroke=\"" +
                         colour + "\" stroke-width=\"1.5\" stroke-dasharray=\"10 5\"/>");
  std::smatch match;
  return std::regex_search(svg, match, level) ? std::stod(match[1]) : -1.0;
}

// Levels worked by hand: a gain of 0.9 is -0.4576 dB, |Gamma| 0.316228 is -10.00 dB of return
// loss and SWR 1.316228 / 0.683772 = 1.9250. The gain axis reaches the first tick of 0.2 dB
// below -0.4576 less its 1 dB margin: -1.6 dB. The return loss axis the first tick of 2 dB below
// the deepest in-band point (|Gamma| 0.2, -13.98 dB) less 15 %: -18 dB.
TEST(GainPlot, DrawsBothCurvesAndLabelsEachWorstLevelBesideIt) {
  GainPlot plot;
  plot.title = "Transducer gain and return loss: sL pC";
  plot.subtitle = "by bandmatch-search";
  plot.f1 = 10.0;
  plot.f2 = 20.0;
  for (int i = 0; i <= 30; ++i) {
    plot.frequencyMHz.push_back(5.0 + 0.5 * i);
    plot.transducerGain.push_back(i % 2 == 0 ? 0.95 : 0.9);
    plot.reflection.push_back(i % 2 == 0 ? 0.2 : 0.316228);
  }
  plot.worstGain = 0.9;
  plot.worstReflection = 0.316228;
  const std::string svg = renderGainPlot(plot);
  for (const char* text : {">worst in band -0.4576 dB</text>",
                           ">worst in band -10.00 dB, |\xce\x93| 0.316228</text>",
                           ">Worst: -0.4576 dB</text>", ">Worst: -10.00 dB</text>",
                           ">SWR max = 1.9250</text>", ">Transducer gain (dB)</text>",
                           ">Return loss (dB)</text>", ">f1 = 10.000000 MHz</text>"}) {
    EXPECT_NE(svg.find(text), std::string::npos) << text;
  }
  for (const char* id : {"gain", "return-loss"}) {
    const std::regex curve(std::string("<polyline id=\"") + id + "\"[^>]*points=\"([^\"]*)\"");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(svg, match, curve)) << id;
    const std::string points = match[1];
    EXPECT_EQ(std::count(points.begin(), points.end(), ','), 31) << id;
  }
  // Each level on its own panel's scale: the gain panel from y 90 (0 dB) to 330 (-1.6 dB), the
  // return loss panel from 420 (0 dB) to 660 (-18 dB).
  const double gainY = levelY(svg, "#1f4fbf");
  const double lossY = levelY(svg, "#d35400");
  EXPECT_NEAR(gainY, 90.0 + -0.457575 / -1.6 * 240.0, 0.01);
  EXPECT_NEAR(lossY, 420.0 + 10.0 / 18.0 * 240.0, 0.01);
}

}  // namespace
}  // namespace bandmatch
