// Reading the network back from a CSV report: the rows it needs at their fixed lines, refusals of
// files that are not reports or carry unusable values, and reports of the real writer.
#include "formats/csv_report_reader.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/report_files.hpp"

namespace bandmatch {
namespace {

using testing::HandReport;
using testing::handReportLines;
using testing::handReportText;
using testing::joinLines;

TEST(CsvReportReader, ReadsTheRowsOfAHandWrittenReport) {
  HandReport hand;
  hand.n = 3;
  hand.loadType = LoadType::parallel;
  hand.f1 = "10.000000";
  hand.f2 = "20.000000";
  hand.inductance = {"3.978873577e-007", "7.683984037e-007", "5.213141412e-007"};
  hand.capacitance = {"3.183098862e-010", "1.648247960e-010", "2.429474660e-010"};
  hand.sourceResistance = "4.333745020e+001";
  const ReportReading reading = readCsvReport(handReportText(hand));
  ASSERT_TRUE(reading.design) << reading.error;
  const ReportedDesign& design = *reading.design;
  EXPECT_EQ(design.N, 3);
  EXPECT_EQ(design.loadType, LoadType::parallel);
  EXPECT_EQ(design.ladder.loadType, LoadType::parallel);
  EXPECT_EQ(design.f1, 10.0);
  EXPECT_EQ(design.f2, 20.0);
  EXPECT_EQ(design.rhoMin, 0.0713812);
  EXPECT_EQ(design.rhoMax, 0.111010597);
  EXPECT_EQ(design.ladder.inductance,
            (std::vector<double>{3.978873577e-7, 7.683984037e-7, 5.213141412e-7}));
  EXPECT_EQ(design.ladder.capacitance,
            (std::vector<double>{3.183098862e-10, 1.64824796e-10, 2.42947466e-10}));
  EXPECT_EQ(design.ladder.loadResistance, 50.0);
  EXPECT_EQ(design.ladder.sourceResistance, 43.3374502);
}

// Files saved on another system end their lines with a carriage return as well.
TEST(CsvReportReader, AcceptsCarriageReturnLineEnds) {
  const ReportReading reading = readCsvReport(joinLines(handReportLines({}), "\r\n"));
  ASSERT_TRUE(reading.design) << reading.error;
  EXPECT_EQ(reading.design->N, 2);
  EXPECT_EQ(reading.design->ladder.sourceResistance, 62.5);
}

TEST(CsvReportReader, ReadsTwoDigitIndicesOfTenElements) {
  HandReport hand;
  hand.n = 10;
  hand.inductance.assign(10, "1.000000000e-006");
  hand.capacitance.assign(10, "1.000000000e-010");
  hand.inductance[9] = "2.000000000e-006";
  hand.capacitance[9] = "3.000000000e-010";
  const ReportReading reading = readCsvReport(handReportText(hand));
  ASSERT_TRUE(reading.design) << reading.error;
  EXPECT_EQ(reading.design->ladder.inductance.size(), 10u);
  EXPECT_EQ(reading.design->ladder.inductance.back(), 2e-6);
  EXPECT_EQ(reading.design->ladder.capacitance.back(), 3e-10);
}

// A report whose reflection printed as zero still describes a network: the best one at a null,
// both when the whole ripple lies below the printed resolution (a large decrement).
TEST(CsvReportReader, AcceptsReflectionsThatPrintedAsZero) {
  const struct {
    const char* rhoMin;
    const char* rhoMax;
    double max;
  } cases[] = {
      {"0.000000000", "0.111010597", 0.111010597},
      {"0.000000000", "0.000000000", 0.0},
  };
  for (const auto& c : cases) {
    HandReport hand;
    hand.rhoMin = c.rhoMin;
    hand.rhoMax = c.rhoMax;
    const ReportReading reading = readCsvReport(handReportText(hand));
    ASSERT_TRUE(reading.design) << reading.error;
    EXPECT_EQ(reading.design->rhoMin, 0.0);
    EXPECT_EQ(reading.design->rhoMax, c.max);
  }
}

struct Refusal {
  const char* name;
  int line;  // 1-based line of the two-element hand report to replace
  std::string replacement;
  std::string expectedError;
};

TEST(CsvReportReader, RefusesFilesThatAreNotReportsAndUnusableValues) {
  // Two elements: Output Part 4 on line 58, load resistance 59, L(1) 60, C(1) 61, L(2) 62,
  // C(2) 63, source resistance 64.
  const std::vector<Refusal> refusals = {
      {"no Inputs heading", 14,
       "Input:", "not a bandmatch CSV report: line 14 is not the \"Inputs:\" heading"},
      {"N label shifted", 17, "   N =                                  ,2",
       "not a bandmatch CSV report: line 17 is not the N row"},
      {"N zero", 17, "   N =                                   ,0",
       "line 17: N must be a whole number from 1 to 10, found \"0\""},
      {"N eleven", 17, "   N =                                   ,11",
       "line 17: N must be a whole number from 1 to 10, found \"11\""},
      {"N not whole", 17, "   N =                                   ,2.0",
       "line 17: N must be a whole number from 1 to 10, found \"2.0\""},
      {"unknown load type", 19, "   X ,Some Other Load",
       "not a bandmatch CSV report: line 19 is not the load type row"},
      {"f1 not a number", 20, "   Low Frequency (f1) (MHz) =            ,ten",
       "line 20: low frequency (f1) is not a number: \"ten\""},
      {"f1 with trailing cell", 20, "   Low Frequency (f1) (MHz) =            ,0.500000,",
       "line 20: low frequency (f1) is not a number: \"0.500000,\""},
      {"f1 empty", 20, "   Low Frequency (f1) (MHz) =            ,",
       "line 20: low frequency (f1) is not a number: \"\""},
      {"f1 not finite", 20, "   Low Frequency (f1) (MHz) =            ,nan",
       "line 20: low frequency (f1) is not finite: \"nan\""},
      {"f1 zero", 20, "   Low Frequency (f1) (MHz) =            ,0.000000",
       "line 20: low frequency (f1) is not positive: \"0.000000\""},
      {"f2 negative", 21, "   High Frequency (f2) (MHz) =           ,-2.000000",
       "line 21: high frequency (f2) is not positive: \"-2.000000\""},
      {"f2 below f1", 21, "   High Frequency (f2) (MHz) =           ,0.400000",
       "line 21: high frequency (f2) is not above low frequency (f1)"},
      {"f2 beyond double range", 21, "   High Frequency (f2) (MHz) =           ,1e999",
       "line 21: high frequency (f2) is not finite: \"1e999\""},
      {"no Output Part 2 heading", 38, "Output Part 2:",
       "not a bandmatch CSV report: line 38 is not the \"Output Part 2\" heading"},
      {"rho min negative", 43, "   Magnitude of Reflection Coefficient Min = ,-0.100000000",
       "line 43: smallest reflection magnitude is negative: \"-0.100000000\""},
      {"rho max infinite", 44, "   Magnitude of Reflection Coefficient Max = ,inf",
       "line 44: largest reflection magnitude is not finite: \"inf\""},
      {"rho max negative", 44, "   Magnitude of Reflection Coefficient Max = ,-0.000000001",
       "line 44: largest reflection magnitude is negative: \"-0.000000001\""},
      {"rho max above one", 44, "   Magnitude of Reflection Coefficient Max = ,1.500000000",
       "lines 43 and 44: the reflection magnitudes must satisfy 0 <= min <= max <= 1"},
      {"rho min above max", 43, "   Magnitude of Reflection Coefficient Min = ,0.200000000",
       "lines 43 and 44: the reflection magnitudes must satisfy 0 <= min <= max <= 1"},
      {"no Output Part 4 heading", 58, "",
       "not a bandmatch CSV report: line 58 is not the \"Output Part 4\" heading"},
      {"load resistance zero", 59, "   Load Resistance (ohms) =   ,0.000000000e+000",
       "line 59: load resistance is not positive: \"0.000000000e+000\""},
      {"L(2) negative", 62, "   L(2) (H) =                 ,-1.000000000e+000",
       "line 62: L(2) is not positive: \"-1.000000000e+000\""},
      {"C(1) not finite", 61, "   C(1) (F) =                 ,-inf",
       "line 61: C(1) is not finite: \"-inf\""},
      {"C row where L belongs", 60, "   C(1) (F) =                 ,2.500000000e-001",
       "not a bandmatch CSV report: line 60 is not the L(1) row"},
      {"source resistance not finite", 64, "   Source Resistance (ohms) = ,nan",
       "line 64: source resistance is not finite: \"nan\""},
  };
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> lines = handReportLines({});
    ASSERT_EQ(lines.size(), 64u);
    lines.at(static_cast<std::size_t>(refusal.line) - 1) = refusal.replacement;
    const ReportReading reading = readCsvReport(joinLines(lines));
    EXPECT_FALSE(reading.design) << refusal.name;
    EXPECT_EQ(reading.error, refusal.expectedError) << refusal.name;
  }
}

TEST(CsvReportReader, RefusesTextsThatEndTooEarly) {
  std::vector<std::string> lines = handReportLines({});
  lines.pop_back();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "not a bandmatch CSV report: it ends before line 14 (\"Inputs:\" heading)"},
      {"N,M\n1,2\n", "not a bandmatch CSV report: it ends before line 14 (\"Inputs:\" heading)"},
      {joinLines(lines),
       "not a bandmatch CSV report: it ends before line 64 (source resistance "
       "row)"},
      {joinLines(std::vector<std::string>(lines.begin(), lines.begin() + 20)),
       "not a bandmatch CSV report: it ends before line 21 (high frequency (f2) row)"},
  };
  for (const auto& [text, expected] : cases) {
    const ReportReading reading = readCsvReport(text);
    EXPECT_FALSE(reading.design);
    EXPECT_EQ(reading.error, expected);
  }
}

// The real writer's report gives back the synthesized network to the ten digits it prints.
TEST(CsvReportReader, ReadsBackWhatTheProgramWrote) {
  for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
    for (const int n : {1, 4, 10}) {
      const DesignCase written = testing::synthesizedDesign(n, 1.0, loadType, 10.0, 20.0);
      const ReportReading reading = readCsvReport(testing::realReportText(written));
      ASSERT_TRUE(reading.design) << reading.error;
      const ReportedDesign& design = *reading.design;
      const double printed = 1e-9;  // relative precision of ten significant digits
      EXPECT_EQ(design.N, n);
      EXPECT_EQ(design.loadType, loadType);
      EXPECT_EQ(design.f1, 10.0);
      EXPECT_EQ(design.f2, 20.0);
      EXPECT_NEAR(design.rhoMin, written.rhoMin, 5e-10);
      EXPECT_NEAR(design.rhoMax, written.rhoMax, 5e-10);
      ASSERT_EQ(design.ladder.inductance.size(), static_cast<std::size_t>(n));
      for (int k = 1; k <= n; ++k) {
        const auto at = static_cast<std::size_t>(k - 1);
        EXPECT_NEAR(design.ladder.inductance[at], written.L[k], written.L[k] * printed);
        EXPECT_NEAR(design.ladder.capacitance[at], written.C[k], written.C[k] * printed);
      }
      EXPECT_NEAR(design.ladder.loadResistance, written.loadResistance, 50.0 * printed);
      EXPECT_NEAR(design.ladder.sourceResistance, written.sourceResistance,
                  written.sourceResistance * printed);
    }
  }
}

}  // namespace
}  // namespace bandmatch
