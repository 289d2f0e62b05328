// What the fit prints of a load generated from an exact series R-L-C: its values, the retuning
// element and the decrement by closed forms; and the table of the best match for a decrement
// alone, with its rows beyond the solver's reach and the dialogue's warning.
#include "fitting/fit_report.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "support/measured_loads.hpp"
#include "support/printed_values.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using testing::printedValue;

TEST(FitReport, ReportsTheExactLoadItsRetuningAndItsDecrement) {
  const testing::ExactLoad exact{LoadType::series, 72.0, 3.75, 11.0};
  const MeasuredLoad load = testing::exactMeasuredLoad(exact, 3.0, 4.5, 301);
  const BandPoints band = pointsInBand(load, 3.5, 4.0);
  const LoadFit fit = fitLoad(load, band, 3.5, 4.0, LoadModelChoice::automatic);
  ASSERT_EQ(fit.error, "");
  std::ostringstream report;
  writeFitReport(report, "ant.s1p", load, band, fit, dialogueAnswers(fit, 1, ""));
  const std::string out = report.str();
  EXPECT_EQ(out.rfind("Load: ant.s1p, 101 measured points in the band 3.500000 to 4.000000 MHz "
                      "(301 in the file)\n\nModel: series R-L-C, the better of the two models\n",
                      0),
            0u)
      << out;
  EXPECT_NEAR(printedValue(out, "R (ohms)"), 72.0, 1e-8);
  EXPECT_NEAR(printedValue(out, "L (H)") / exact.inductance(), 1.0, 1e-9);
  EXPECT_NEAR(printedValue(out, "C (F)") / exact.capacitance(), 1.0, 1e-9);
  EXPECT_NEAR(printedValue(out, "Own resonance (MHz)"), 3.75, 1e-6);
  // Resonating above f0 = sqrt(14) MHz, the load takes a series inductor.
  const double w0 = 2.0 * std::numbers::pi * 1e6 * std::sqrt(14.0);
  const double retunedL = 1.0 / (w0 * w0 * exact.capacitance());
  EXPECT_NEAR(printedValue(out, "series inductor (H)") / (retunedL - exact.inductance()), 1.0,
              1e-7);
  const double decrement = 72.0 / (w0 * retunedL) / (0.5 / std::sqrt(14.0));
  EXPECT_NEAR(printedValue(out, "Load Decrement") / decrement, 1.0, 1e-9);
  EXPECT_NE(out.find("   delta bandwidth (MHz) =                0.25\n"), std::string::npos);
  EXPECT_NE(out.find("\n   1     "), std::string::npos);
  EXPECT_NE(out.find("\n   inf   "), std::string::npos);
  EXPECT_EQ(out.find("WARNING"), std::string::npos);
}

// The limit of infinitely many resonators is Fano's exp(-pi * decrement): 0.04321392, return loss
// -27.28753 dB, SWR 1.090331 at decrement 1.
TEST(FitReport, TablesTheBestMatchForADecrementAlone) {
  std::ostringstream one;
  writeBestMatch(one, 1.0);
  const std::vector<std::string> lines = support::splitLines(one.str());
  ASSERT_EQ(lines.size(), 13u) << one.str();
  EXPECT_EQ(lines[0],
            "Best match for Load Decrement 1.000000000e+000 (Fano; N resonators, inf for "
            "infinitely many):");
  EXPECT_EQ(lines[2].substr(0, 42), "   1     1.715834e-001    4.142138e-001   ");
  EXPECT_EQ(lines[12],
            "   inf   4.321392e-002    4.321392e-002    -2.728753e+001        1.090331e+000");

  // Beyond the solver's reach the rows say so instead of printing numbers.
  std::ostringstream beyond;
  writeBestMatch(beyond, 1e300);
  EXPECT_NE(beyond.str().find("\n   10    no solution: the solver does not converge"),
            std::string::npos)
      << beyond.str();

  std::ostringstream steep;
  writeBestMatch(steep, 25.0);
  EXPECT_EQ(steep.str().rfind("\n----------------------------------------------------------------"
                              "----------------\n WARNING: Load Decrement > Recommended maximum "
                              "Load Decrement (20.000000) \n-------------------------------------"
                              "-------------------------------------------\n\nBest match",
                              0),
            0u)
      << steep.str();
}

}  // namespace
}  // namespace bandmatch
