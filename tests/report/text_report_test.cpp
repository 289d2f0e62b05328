// The console and text renderings of a design, on hand-filled records
// (tests/report/hand_filled_design.hpp).
#include "report/text_report.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "hand_filled_design.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using support::splitLines;
using testing::sampleDesign;

constexpr Method ALL_METHODS[] = {Method::direct, Method::loadParameters, Method::fromQ};
constexpr LoadType ALL_LOAD_TYPES[] = {LoadType::series, LoadType::parallel};

std::string bodyOf(const DesignCase& design) {
  std::ostringstream out;
  writeReportBody(out, design);
  return out.str();
}

std::string joinedLines(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to && i < lines.size(); ++i) {
    text += lines[i] + "\n";
  }
  return text;
}

std::size_t nextEmptyLine(const std::vector<std::string>& lines, std::size_t from) {
  while (from < lines.size() && !lines[from].empty()) {
    ++from;
  }
  return from;
}

TEST(ReportBody, WritesEveryLabelAndNumberFormatInPlace) {
  // 0.5 MHz, 0.5 MHz delta bandwidth, a million ohms, twenty ohms, negative losses, IT of 12.
  const char* expected = R"(Inputs:
   Text Result File Name:                case.txt
   CSV Result File Name:                 case.csv
   N =                                   2
   Low Frequency (f1) (MHz) =            0.500000
   High Frequency (f2) (MHz) =           300.000000
   Load Decrement obtained from Load Parameters
      Series Load Parameters entered
         average resistance (ohms) =     1.000000e+006
         delta bandwidth (MHz) =         5.000000e-001
         delta reactance (ohms) =        3.000000e+001

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      12.250000
   Match Bandwidth      (f2-f1) (MHz) =      299.500000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  0.125000000
   Reactance Slope Parameter =               3.500000000e+002
   Load Decrement =                          2.500000000e+000
   Load Q =                                  2.500000000e-001

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   4.500e-010
   IT (iterations in Newton - Raphson Solution) = 12
   A  =                   1.250000000
   B  =                   0.375000000
   Magnitude of Reflection Coefficient Min = 0.062500000
   Magnitude of Reflection Coefficient Max = 0.125000000
   Mismatch Loss Min (dB) = -0.017000000
   Mismatch Loss Max (dB) = -0.068000000
   Return Loss Min (dB) = -24.080000000
   Return Loss Max (dB) = -18.060000000
   SWR Min =              1.133000000
   SWR Max =              1.286000000

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     1.000000000
   G(1)          =     1.125000000
   G(2)          =     1.250000000
   G(3) (source) =     1.375000000

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   2.000000000e+001
   L(1) (H) =                 1.000000000e-007
   C(1) (F) =                 1.000000000e-011
   L(2) (H) =                 2.000000000e-007
   C(2) (F) =                 2.000000000e-011
   Source Resistance (ohms) = 6.250000000e+001
)";
  EXPECT_EQ(bodyOf(sampleDesign(Method::loadParameters, LoadType::series, 2)), expected);
}

TEST(ReportBody, ShowsTheDecrementBlockAndDerivedQuantitiesOfEachMethodAndLoadType) {
  const struct {
    Method method;
    LoadType loadType;
    const char* decrementBlock;
    const char* derivedLines;  // Output Part 1 after the fractional bandwidth
  } cases[] = {
      {Method::direct, LoadType::series, R"(   Load Decrement entered directly
      Load Decrement =                   2.500000e+000
      Series Load
         average resistance (ohms) =     1.000000e+006
)",
       R"(   No Reactance Slope Parameter Calculated because Load Decrement entered
   Load Q =                                  2.500000000e-001
)"},
      {Method::direct, LoadType::parallel, R"(   Load Decrement entered directly
      Load Decrement =                   2.500000e+000
      Parallel Load
         average conductance (Siemens) = 4.000000e-002
)",
       R"(   No Susceptance Slope Parameter Calculated because Load Decrement entered
   Load Q =                                  2.500000000e-001
)"},
      {Method::fromQ, LoadType::series,
       R"(   Load Decrement obtained from Q and Fractional Bandwidth
      Load Q =                           2.500000e-001
      Series Load
         average resistance (ohms) =     1.000000e+006
)",
       R"(   No Reactance Slope Parameter Calculated because Load Q entered
   Load Decrement =                          2.500000000e+000
)"},
      {Method::fromQ, LoadType::parallel,
       R"(   Load Decrement obtained from Q and Fractional Bandwidth
      Load Q =                           2.500000e-001
      Parallel Load
         average conductance (Siemens) = 4.000000e-002
)",
       R"(   No Susceptance Slope Parameter Calculated because Load Q entered
   Load Decrement =                          2.500000000e+000
)"},
      {Method::loadParameters, LoadType::series, R"(   Load Decrement obtained from Load Parameters
      Series Load Parameters entered
         average resistance (ohms) =     1.000000e+006
         delta bandwidth (MHz) =         5.000000e-001
         delta reactance (ohms) =        3.000000e+001
)",
       R"(   Reactance Slope Parameter =               3.500000000e+002
   Load Decrement =                          2.500000000e+000
   Load Q =                                  2.500000000e-001
)"},
      {Method::loadParameters, LoadType::parallel,
       R"(   Load Decrement obtained from Load Parameters
      Parallel Load Parameters entered
         average conductance (Siemens) = 4.000000e-002
         delta bandwidth (MHz) =         5.000000e-001
         delta susceptance (Siemens) =   6.000000e-003
)",
       R"(   Susceptance Slope Parameter =             7.500000000e-003
   Load Decrement =                          2.500000000e+000
   Load Q =                                  2.500000000e-001
)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("method " + std::to_string(static_cast<int>(c.method)) + ", load " +
                 std::to_string(static_cast<int>(c.loadType)));
    const std::vector<std::string> lines =
        splitLines(bodyOf(sampleDesign(c.method, c.loadType, 3)));
    ASSERT_GT(lines.size(), 20u);
    // The block follows the f2 line (body line 6) and runs to the empty line ending the inputs.
    EXPECT_EQ(joinedLines(lines, 6, nextEmptyLine(lines, 6)), c.decrementBlock);
    const std::size_t heading = nextEmptyLine(lines, 6) + 1;
    ASSERT_EQ(lines[heading], "Output Part 1: Preliminary");
    const std::size_t derived = heading + 4;  // after f0, the match bandwidth and wm
    EXPECT_EQ(joinedLines(lines, derived, nextEmptyLine(lines, derived)), c.derivedLines);
  }
}

TEST(ReportBody, RenderingsHoldTheirLineCountsForEveryCase) {
  for (const Method method : ALL_METHODS) {
    for (const LoadType loadType : ALL_LOAD_TYPES) {
      for (const int n : {1, 10}) {
        SCOPED_TRACE("method " + std::to_string(static_cast<int>(method)) + ", load " +
                     std::to_string(static_cast<int>(loadType)) + ", N " + std::to_string(n));
        const DesignCase design = sampleDesign(method, loadType, n);
        const int extra = method == Method::loadParameters ? 2 : 0;
        const std::string body = bodyOf(design);
        EXPECT_EQ(splitLines(body).size(), static_cast<std::size_t>(39 + 3 * n + extra));
        ASSERT_EQ(body.back(), '\n');
        EXPECT_NE(body.substr(body.size() - 2), "\n\n");  // no empty line after the last one

        std::ostringstream console;
        writeConsoleReport(console, design);
        EXPECT_EQ(console.str(), "\n" + body);

        std::ostringstream text;
        writeTextReport(text, design, support::FIXED_DATE_STAMP);
        EXPECT_EQ(text.str(), support::expectedCreditsBlock() + body);
        const std::vector<std::string> textLines = splitLines(text.str());
        EXPECT_EQ(textLines.size(), static_cast<std::size_t>(52 + 3 * n + extra));
        EXPECT_EQ(textLines[13], "Inputs:");
      }
    }
  }
}

TEST(ReportBody, TwoDigitIndicesShiftOnlyTheirOwnValues) {
  const std::vector<std::string> lines =
      splitLines(bodyOf(sampleDesign(Method::direct, LoadType::series, 10)));
  const std::string expectedTail = R"(Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     1.000000000
   G(1)          =     1.125000000
   G(2)          =     1.250000000
   G(3)          =     1.375000000
   G(4)          =     1.500000000
   G(5)          =     1.625000000
   G(6)          =     1.750000000
   G(7)          =     1.875000000
   G(8)          =     2.000000000
   G(9)          =     2.125000000
   G(10)          =     2.250000000
   G(11) (source) =     2.375000000

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   2.000000000e+001
   L(1) (H) =                 1.000000000e-007
   C(1) (F) =                 1.000000000e-011
   L(2) (H) =                 2.000000000e-007
   C(2) (F) =                 2.000000000e-011
   L(3) (H) =                 3.000000000e-007
   C(3) (F) =                 3.000000000e-011
   L(4) (H) =                 4.000000000e-007
   C(4) (F) =                 4.000000000e-011
   L(5) (H) =                 5.000000000e-007
   C(5) (F) =                 5.000000000e-011
   L(6) (H) =                 6.000000000e-007
   C(6) (F) =                 6.000000000e-011
   L(7) (H) =                 7.000000000e-007
   C(7) (F) =                 7.000000000e-011
   L(8) (H) =                 8.000000000e-007
   C(8) (F) =                 8.000000000e-011
   L(9) (H) =                 9.000000000e-007
   C(9) (F) =                 9.000000000e-011
   L(10) (H) =                 1.000000000e-006
   C(10) (F) =                 1.000000000e-010
   Source Resistance (ohms) = 6.250000000e+001
)";
  ASSERT_EQ(lines.size(), 69u);
  EXPECT_EQ(joinedLines(lines, 69 - 37, 69), expectedTail);
}

TEST(ReportBody, NonFiniteValuesPrintAsTheFormatterWritesThem) {
  DesignCase design = sampleDesign(Method::direct, LoadType::series, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  design.FV = nan;
  design.A = inf;
  design.B = -inf;
  design.g[2] = -nan;
  design.sourceResistance = inf;
  const std::string body = bodyOf(design);
  for (const char* line :
       {"\n   FV =                   nan\n", "\n   A  =                   inf\n",
        "\n   B  =                   -inf\n", "\n   G(2) (source) =     nan\n"}) {
    EXPECT_NE(body.find(line), std::string::npos) << line;
  }
  EXPECT_TRUE(body.ends_with("\n   Source Resistance (ohms) = inf\n"));
}

}  // namespace
}  // namespace bandmatch
