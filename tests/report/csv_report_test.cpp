// The CSV rendering of a design, on hand-filled records (tests/report/hand_filled_design.hpp).
#include "report/csv_report.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "hand_filled_design.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using support::splitLines;
using testing::sampleDesign;

const std::string METHOD_PLACEHOLDER(47, ' ');
const std::string LOAD_PLACEHOLDER(41, ' ');

std::string csvOf(const DesignCase& design) {
  std::ostringstream out;
  writeCsvReport(out, design, support::FIXED_DATE_STAMP);
  return out.str();
}

// Method Q, parallel load, N = 1.
std::string expectedSampleCsv() {
  return support::expectedCreditsBlock(true) + R"(Inputs:
   Text Result File Name:                ,case.txt
   CSV Result File Name:                 ,case.csv
   N =                                   ,1
   Q ,Load Decrement from Q and Fractional Bandwidth
   P ,Parallel Load or Parallel Equivalent Load Parameters
   Low Frequency (f1) (MHz) =            ,0.500000
   High Frequency (f2) (MHz) =           ,300.000000
   Load Decrement obtained from Q and Fractional Bandwidth
)" + METHOD_PLACEHOLDER +
         R"(
      Load Q =                           ,2.500000e-001
      Parallel Load
         average conductance (Siemens) = ,4.000000e-002
)" + LOAD_PLACEHOLDER +
         "\n" + LOAD_PLACEHOLDER + R"(

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      ,12.250000
   Match Bandwidth      (f2-f1) (MHz) =      ,299.500000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  ,0.125000000
   No Susceptance Slope Parameter Calculated because Load Q entered
   Load Decrement =                         ,2.500000000e+000
   Load Q entered at input                   

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   ,4.500e-010
   IT (iterations in Newton - Raphson Solution) = ,12
   A  =                   ,1.250000000
   B  =                   ,0.375000000
   Magnitude of Reflection Coefficient Min = ,0.062500000
   Magnitude of Reflection Coefficient Max = ,0.125000000
   Mismatch Loss Min (dB) = ,-0.017000000
   Mismatch Loss Max (dB) = ,-0.068000000
   Return Loss Min (dB) = ,-24.080000000
   Return Loss Max (dB) = ,-18.060000000
   SWR Min =              ,1.133000000
   SWR Max =              ,1.286000000

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     ,1.000000000
   G(1)          =     ,1.125000000
   G(2) (source) =     ,1.250000000

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   ,2.000000000e+001
   L(1) (H) =                 ,1.000000000e-007
   C(1) (F) =                 ,1.000000000e-011
   Source Resistance (ohms) = ,6.250000000e+001
)";
}

TEST(CsvReport, WritesEveryRowAndNumberFormatInPlace) {
  const std::string csv = csvOf(sampleDesign(Method::fromQ, LoadType::parallel, 1));
  EXPECT_EQ(csv, expectedSampleCsv());
  EXPECT_EQ(splitLines(csv).size(), 61u);
}

// Rows 18, 19, 22 to 28 and 34 to 36 depend on the method and the load type.
constexpr int CHOICE_LINES[] = {18, 19, 22, 23, 24, 25, 26, 27, 28, 34, 35, 36};

TEST(CsvReport, RowsDependingOnTheChoicesStandAtTheirFixedLines) {
  const struct {
    Method method;
    LoadType loadType;
    std::vector<std::string> rows;  // at CHOICE_LINES
  } cases[] = {
      {Method::direct,
       LoadType::series,
       {"   D ,Load Decrement entered directly",
        "   S ,Series Load or Series Equivalent Load Parameters",
        "   Load Decrement entered directly",
        "      Load Decrement =                   ,2.500000e+000", METHOD_PLACEHOLDER,
        "      Series Load", "         average resistance (ohms) =     ,1.000000e+006",
        LOAD_PLACEHOLDER, LOAD_PLACEHOLDER,
        "   No Reactance Slope Parameter Calculated because Load Decrement entered",
        "   Load Decrement entered at input           ",
        "   Load Q =                                 ,2.500000000e-001"}},
      {Method::direct,
       LoadType::parallel,
       {"   D ,Load Decrement entered directly",
        "   P ,Parallel Load or Parallel Equivalent Load Parameters",
        "   Load Decrement entered directly",
        "      Load Decrement =                   ,2.500000e+000", METHOD_PLACEHOLDER,
        "      Parallel Load", "         average conductance (Siemens) = ,4.000000e-002",
        LOAD_PLACEHOLDER, LOAD_PLACEHOLDER,
        "   No Susceptance Slope Parameter Calculated because Load Decrement entered",
        "   Load Decrement entered at input           ",
        "   Load Q =                                 ,2.500000000e-001"}},
      {Method::fromQ,
       LoadType::series,
       {"   Q ,Load Decrement from Q and Fractional Bandwidth",
        "   S ,Series Load or Series Equivalent Load Parameters",
        "   Load Decrement obtained from Q and Fractional Bandwidth", METHOD_PLACEHOLDER,
        "      Load Q =                           ,2.500000e-001", "      Series Load",
        "         average resistance (ohms) =     ,1.000000e+006", LOAD_PLACEHOLDER,
        LOAD_PLACEHOLDER, "   No Reactance Slope Parameter Calculated because Load Q entered",
        "   Load Decrement =                         ,2.500000000e+000",
        "   Load Q entered at input                   "}},
      {Method::fromQ,
       LoadType::parallel,
       {"   Q ,Load Decrement from Q and Fractional Bandwidth",
        "   P ,Parallel Load or Parallel Equivalent Load Parameters",
        "   Load Decrement obtained from Q and Fractional Bandwidth", METHOD_PLACEHOLDER,
        "      Load Q =                           ,2.500000e-001", "      Parallel Load",
        "         average conductance (Siemens) = ,4.000000e-002", LOAD_PLACEHOLDER,
        LOAD_PLACEHOLDER, "   No Susceptance Slope Parameter Calculated because Load Q entered",
        "   Load Decrement =                         ,2.500000000e+000",
        "   Load Q entered at input                   "}},
      {Method::loadParameters,
       LoadType::series,
       {"   L ,Load Decrement from Load Parameters",
        "   S ,Series Load or Series Equivalent Load Parameters",
        "   Load Decrement obtained from Load Parameters", METHOD_PLACEHOLDER, METHOD_PLACEHOLDER,
        "      Series Load Parameters entered",
        "         average resistance (ohms) =     ,1.000000e+006",
        "         delta bandwidth (MHz) =         ,5.000000e-001",
        "         delta reactance (ohms) =        ,3.000000e+001",
        "   Reactance Slope Parameter =               ,3.500000000e+002",
        "   Load Decrement =                         ,2.500000000e+000",
        "   Load Q =                                 ,2.500000000e-001"}},
      {Method::loadParameters,
       LoadType::parallel,
       {"   L ,Load Decrement from Load Parameters",
        "   P ,Parallel Load or Parallel Equivalent Load Parameters",
        "   Load Decrement obtained from Load Parameters", METHOD_PLACEHOLDER, METHOD_PLACEHOLDER,
        "      Parallel Load Parameters entered",
        "         average conductance (Siemens) = ,4.000000e-002",
        "         delta bandwidth (MHz) =         ,5.000000e-001",
        "         delta susceptance (Siemens) =   ,6.000000e-003",
        "   Susceptance Slope Parameter =             ,7.500000000e-003",
        "   Load Decrement =                         ,2.500000000e+000",
        "   Load Q =                                 ,2.500000000e-001"}},
  };
  const std::vector<std::string> sampleLines = splitLines(expectedSampleCsv());
  const std::set<int> choiceLines(std::begin(CHOICE_LINES), std::end(CHOICE_LINES));
  for (const auto& c : cases) {
    for (const int n : {1, 10}) {
      SCOPED_TRACE("method " + std::to_string(static_cast<int>(c.method)) + ", load " +
                   std::to_string(static_cast<int>(c.loadType)) + ", N " + std::to_string(n));
      const std::vector<std::string> lines =
          splitLines(csvOf(sampleDesign(c.method, c.loadType, n)));
      ASSERT_EQ(lines.size(), static_cast<std::size_t>(58 + 3 * n));
      for (std::size_t i = 0; i < c.rows.size(); ++i) {
        EXPECT_EQ(lines[CHOICE_LINES[i] - 1], c.rows[i]) << "line " << CHOICE_LINES[i];
      }
      // Every other row up to the prototype heading is the same for every design of this N.
      for (int line = 1; line <= 52; ++line) {
        if (choiceLines.contains(line)) {
          continue;
        }
        const std::string expected =
            line == 17 ? "   N =                                   ," + std::to_string(n)
                       : sampleLines[line - 1];
        EXPECT_EQ(lines[line - 1], expected) << "line " << line;
      }
      EXPECT_EQ(lines[52], "   G(0) (load)   =     ,1.000000000");
      EXPECT_EQ(lines[55 + n - 1], "");
      EXPECT_EQ(lines[56 + n - 1], "Output Part 4: Network Element Values Calculated");
      EXPECT_EQ(lines.back(), "   Source Resistance (ohms) = ,6.250000000e+001");
    }
  }
}

TEST(CsvReport, CreditsBlockHasNoCommaAndEveryRowAtMostOne) {
  for (const Method method : {Method::direct, Method::loadParameters, Method::fromQ}) {
    for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
      const std::vector<std::string> lines = splitLines(csvOf(sampleDesign(method, loadType, 10)));
      ASSERT_EQ(lines.size(), 88u);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto commas = std::count(lines[i].begin(), lines[i].end(), ',');
        EXPECT_LE(commas, i < 13 ? 0 : 1) << "line " << i + 1 << ": " << lines[i];
      }
      EXPECT_EQ(lines[10], "Rev: n January 30 2009");
    }
  }
}

TEST(CsvReport, TwoDigitIndicesLengthenOnlyTheirOwnLabels) {
  const std::vector<std::string> lines =
      splitLines(csvOf(sampleDesign(Method::direct, LoadType::parallel, 10)));
  ASSERT_EQ(lines.size(), 88u);
  const std::vector<std::string> expected = {
      "   G(9)          =     ,2.125000000",
      "   G(10)          =     ,2.250000000",
      "   G(11) (source) =     ,2.375000000",
      "",
      "Output Part 4: Network Element Values Calculated",
      "   Load Resistance (ohms) =   ,2.000000000e+001",
      "   L(1) (H) =                 ,1.000000000e-007",
      "   C(1) (F) =                 ,1.000000000e-011",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 61, lines.begin() + 69), expected);
  EXPECT_EQ(lines[85], "   L(10) (H) =                 ,1.000000000e-006");
  EXPECT_EQ(lines[86], "   C(10) (F) =                 ,1.000000000e-010");
  EXPECT_EQ(lines[87], "   Source Resistance (ohms) = ,6.250000000e+001");
}

}  // namespace
}  // namespace bandmatch
