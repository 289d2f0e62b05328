// What a network program works out before it writes a file: the worst in-band figures of each
// variant against the synthesis' own, and a measured load in place of position 1 against the
// reflection the report promises for it.
#include "runs/network_analysis.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "support/measured_loads.hpp"
#include "support/network_files.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

using testing::ExactLoad;

// The ideal variant's worst |S11| over the closed band is the largest reflection magnitude the
// synthesis reports (Fano's equal ripple); the built ones come after it in their order.
TEST(NetworkAnalysis, JudgesTheIdealVariantAtTheReportedReflection) {
  for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
    const ReportedDesign design = support::reportedDesign(3, 1.0, loadType, 10.0, 20.0);
    const NetworkAnalysis analysis =
        analyseNetwork(design, sweepAroundBand(10.0, 20.0, 1.0, 201),
                       {50.0, PreferredSeries::e24, 100.0, 500.0}, nullptr);
    ASSERT_EQ(analysis.error, "");
    ASSERT_EQ(analysis.variants.size(), 3u);
    ASSERT_EQ(analysis.responses.size(), 3u);
    EXPECT_TRUE(analysis.onLoad.frequencyMHz.empty());
    const std::vector<JudgedBand> figures = variantFigures(design, analysis);
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_NEAR(figures[0].worstReflection, design.rhoMax, 1e-6);
    const std::vector<PlotCurve> curves = networkCurves(analysis);
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(curves[0].label, "ideal");
    EXPECT_EQ(curves[2].label, "E24 values with losses");
  }
}

struct Extremes {
  double rhoMin = std::nan("");
  double rhoMax = std::nan("");
};

// "In-band |Gamma| on the WHAT: min X, max Y, worst SWR Z" of the summary.
Extremes printedExtremes(const std::string& text, const std::string& what) {
  const std::regex line("In-band \\|Gamma\\| on the " + what + ": min (\\S+), max (\\S+), worst");
  std::smatch match;
  if (!std::regex_search(text, match, line)) {
    return {};
  }
  return {std::stod(match[1]), std::stod(match[2])};
}

void expectRelative(double actual, double expected, double tolerance, const std::string& what) {
  EXPECT_LE(std::fabs(actual - expected), tolerance * expected)
      << what << ": " << actual << " instead of " << expected;
}

// Loads generated from exact models resonating 3 % off the band's centre, designed by the
// console dialogue from the fit's answers: with the retuning element the network must reach the
// reflection the report promises (Fano's figures) on the model and on the measured load, to 1e-4.
TEST(NetworkAnalysis, ReachesTheReportedMatchOnLoadsResonatingOffCentre) {
  const double f0 = std::sqrt(3.5 * 4.0);
  const struct {
    ExactLoad load;
    int n;
    const char* retuning;
  } cases[] = {
      {{LoadType::series, 72.0, 0.97 * f0, 11.0}, 3, "series capacitor (F)"},
      {{LoadType::series, 72.0, 1.03 * f0, 11.0}, 4, "series inductor (H)"},
      {{LoadType::parallel, 0.004, 0.97 * f0, 6.0}, 2, "shunt inductor (H)"},
      {{LoadType::parallel, 0.004, 1.03 * f0, 6.0}, 5, "shunt capacitor (F)"},
  };
  for (const auto& c : cases) {
    const std::string what = std::string(c.retuning) + " N = " + std::to_string(c.n);
    SCOPED_TRACE(what);
    const MeasuredLoad load = testing::exactMeasuredLoad(c.load, 3.0, 4.5, 1501);
    const ReportedDesign design = testing::designForLoad(load, 3.5, 4.0, c.n);
    const LoadOnNetwork measured = testing::loadOnDesign(load, design);
    const Sweep wanted = sweepAroundBand(3.5, 4.0, DEFAULT_SWEEP_SPAN, 201);
    const NetworkAnalysis analysis = analyseNetwork(design, wanted, {}, &measured);
    ASSERT_EQ(analysis.error + analysis.loadError, "");
    const std::string summary =
        renderMeasuredLoadSummary(design, analysis, measured, "load.s1p", wanted);
    EXPECT_EQ(
        summary.rfind(
            "Measured load load.s1p at position 1, retuned by " + std::string(c.retuning) + " ", 0),
        0u)
        << summary;
    EXPECT_EQ(summary.find("Note:"), std::string::npos) << summary;
    for (const char* curve : {"model load", "measured load"}) {
      const Extremes found = printedExtremes(summary, curve);
      expectRelative(found.rhoMin, design.rhoMin, 1e-4, std::string(curve) + " min");
      expectRelative(found.rhoMax, design.rhoMax, 1e-4, std::string(curve) + " max");
    }
    const std::vector<PlotCurve> curves = networkCurves(analysis);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0].label, "Model load");
    EXPECT_EQ(curves[1].label, "Measured load");
  }
}

// A report designed for a 50 ohm load, on a 60 ohm load resonating at 3.74 MHz: its position 1
// is not the load's retuned resonator, which the summary notes; the measured figures still are a
// reflection. Data narrower than the sweep clip it, and that is noted first.
TEST(NetworkAnalysis, NotesAReportMadeForAnotherLoadAndAClippedSweep) {
  const ReportedDesign design = support::reportedDesign(3, 1.0, LoadType::series, 3.5, 4.0);
  const MeasuredLoad load =
      testing::exactMeasuredLoad({LoadType::series, 60.0, 3.74, 9.0}, 3.2, 4.3, 111);
  const LoadOnNetwork measured = testing::loadOnDesign(load, design);
  // A span of 4 asks for 2.5 to 5 MHz; the data end the sweep.
  const Sweep wanted = sweepAroundBand(3.5, 4.0, 4.0, 101);
  const NetworkAnalysis analysis = analyseNetwork(design, wanted, {}, &measured);
  ASSERT_EQ(analysis.error + analysis.loadError, "");
  EXPECT_EQ(analysis.sweep.lowerMHz, 3.2);
  EXPECT_EQ(analysis.sweep.upperMHz, 4.3);
  const std::string summary =
      renderMeasuredLoadSummary(design, analysis, measured, "load.s1p", wanted);
  EXPECT_EQ(summary.rfind("Note: the sweep is clipped to the measured data, which cover 3.200000 "
                          "to 4.300000 MHz\nMeasured load load.s1p at position 1, retuned by ",
                          0),
            0u)
      << summary;
  EXPECT_NE(summary.find("\nNote: the report's L(1) and C(1) differ by "), std::string::npos)
      << summary;
  const Extremes found = printedExtremes(summary, "measured load");
  EXPECT_TRUE(found.rhoMax > 0.0 && found.rhoMax < 1.0) << summary;
}

}  // namespace
}  // namespace bandmatch
