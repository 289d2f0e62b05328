// The report of a tuned network, written from a hand-written report: the rows the reader takes
// rewritten for the tuned values (figures of reflection worked by hand), the note and the
// retuning element after them, the line ends kept; and read back as the tuned network.
#include "formats/tuned_report.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/report_files.hpp"

namespace bandmatch {
namespace {

ReportedDesign tunedDesign() {
  ReportedDesign tuned = testing::handDesign();
  tuned.ladder.inductance = {0.5, 1.25};
  tuned.ladder.capacitance = {0.25, 0.1};
  tuned.ladder.sourceResistance = 70.0;
  tuned.rhoMin = 0.05;
  tuned.rhoMax = 0.1;
  return tuned;
}

// |Gamma| 0.05 and 0.1: mismatch loss 10 log10(1 - r^2) = -0.010870956 and -0.043648054 dB,
// return loss 20 log10 r = -26.020599913 and -20 dB, SWR (1 + r) / (1 - r) = 1.105263158 and
// 1.222222222.
TEST(TunedReport, RewritesTheRowsOfTheTunedNetwork) {
  Retuning retuning;
  retuning.kind = RetuningKind::seriesCapacitor;
  retuning.value = 1.5e-9;
  for (const std::string end : {"\n", "\r\n"}) {
    SCOPED_TRACE(end.size());
    const std::string report = testing::joinLines(testing::handReportLines({}), end);
    const std::string text =
        tunedReportText(report, tunedDesign(), retuning, "net-tuned.csv", "bandmatch-tune");
    std::vector<std::string> expected = testing::handReportLines({});
    expected[15] = "   CSV Result File Name:                 ,net-tuned.csv";
    expected[42] = "   Magnitude of Reflection Coefficient Min = ,0.050000000";
    expected[43] = "   Magnitude of Reflection Coefficient Max = ,0.100000000";
    expected[44] = "   Mismatch Loss Min (dB) = ,-0.010870956";
    expected[45] = "   Mismatch Loss Max (dB) = ,-0.043648054";
    expected[46] = "   Return Loss Min (dB) = ,-26.020599913";
    expected[47] = "   Return Loss Max (dB) = ,-20.000000000";
    expected[48] = "   SWR Min =              ,1.105263158";
    expected[49] = "   SWR Max =              ,1.222222222";
    expected[expected.size() - 3] = "   L(2) (H) =                 ,1.250000000e+000";
    expected[expected.size() - 2] = "   C(2) (F) =                 ,1.000000000e-001";
    expected.back() = "   Source Resistance (ohms) = ,7.000000000e+001";
    expected.insert(expected.end(), {"", "Values tuned by bandmatch-tune 1.0.0",
                                     "   Retuning series capacitor (F) = ,1.500000000e-009"});
    EXPECT_EQ(text, testing::joinLines(expected, end));

    const ReportReading reading = readCsvReport(text);
    ASSERT_TRUE(reading.design) << reading.error;
    EXPECT_EQ(reading.design->ladder.inductance, tunedDesign().ladder.inductance);
    EXPECT_EQ(reading.design->ladder.capacitance, tunedDesign().ladder.capacitance);
    EXPECT_EQ(reading.design->ladder.sourceResistance, 70.0);
    EXPECT_EQ(reading.design->rhoMax, 0.1);
    ASSERT_TRUE(reading.design->retuning);
    EXPECT_EQ(reading.design->retuning->kind, RetuningKind::seriesCapacitor);
    EXPECT_EQ(reading.design->retuning->value, 1.5e-9);
  }
}

}  // namespace
}  // namespace bandmatch
