// The load decrement entry on its own: which block a rejected value repeats, and which bounds
// are included.
#include "entry/load_decrement_entry.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace bandmatch {
namespace {

// The band 8 to 12.5 MHz: f0 = 10, match bandwidth 4.5, wm = 0.45.
DesignCase bandCase(Method method, LoadType loadType) {
  DesignCase design;
  design.method = method;
  design.loadType = loadType;
  design.f1 = 8.0;
  design.f2 = 12.5;
  design.f0 = 10.0;
  design.matchBandwidth = 4.5;
  design.wm = 0.45;
  return design;
}

std::string repeated(std::string_view block, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) {
    text += block;
  }
  return text;
}

constexpr std::string_view DECREMENT_BLOCK = R"txt(
Enter Load Decrement with a value >= 0.010 and <= 20.000:  )txt";

constexpr std::string_view LOAD_Q_HEADING = R"txt(
Calculate Load Decrement from Q and Fractional Match Bandwidth ((f2-f1)/f0)
)txt";

constexpr std::string_view LOAD_Q_BLOCK = R"txt(
Enter Load Q with a value >= 0.03330 and <= 300.00000:  )txt";

constexpr std::string_view RESISTANCE_AFTER_D_OR_Q = R"txt(
'average resistance' is used to impedance scale network values
'average resistance' is average series load resistance over the match band (f1 to f2)
Enter 'average resistance' with a value between 0 and 1000000 ohms: )txt";

constexpr std::string_view CONDUCTANCE_AFTER_D_OR_Q = R"txt(
'average conductance' is used to admittance scale network values
'average conductance' is average parallel load conductance over the match band (f1 to f2)
Enter 'average conductance' with a value between 0 and 1000000 Siemens: )txt";

constexpr std::string_view SERIES_PARAMETER_LINES = R"txt(
Calculate Load Decrement from the following series load slope parameters to be entered:
   'average resistance' is average series load resistance over the match band (f1 to f2)
   'delta bandwidth' is bandwidth in MHz used to calculate 'delta reactance' 
   'delta reactance' is change in load series reactance over 'delta bandwidth' evaluted at f0
   Note: 'delta bandwidth' is not 'match bandwidth'  
)txt";

constexpr std::string_view PARALLEL_PARAMETER_LINES = R"txt(
Calculate Load Decrement from the following parallel load slope parameters to be entered:
   'average conductance' is average parallel load conductance over the match band (f1 to f2)
   'delta bandwidth' is bandwidth in MHz used to calculate 'delta susceptance' 
   'delta susceptance' is change in load parallel susceptance over 'delta bandwidth' evaluted at f0
   Note: 'delta bandwidth' is not 'match bandwidth' 
)txt";

constexpr std::string_view RESISTANCE_OF_L = R"txt(
Enter 'average resistance' with a value between 0.000000 and 1000000.000000 ohms: )txt";

constexpr std::string_view CONDUCTANCE_OF_L = R"txt(
Enter 'average conductance' with a value between 0.000000 and 1000000.000000 Siemens: )txt";

constexpr std::string_view DELTA_BANDWIDTH = R"txt(
Enter 'delta bandwidth' in MHz with a value between 0 and (4.500000): )txt";

constexpr std::string_view DELTA_REACTANCE = R"txt(
Enter 'delta reactance' with a value between 0.000000 and 1000000.000000 ohms: )txt";

constexpr std::string_view DELTA_SUSCEPTANCE = R"txt(
Enter 'delta susceptance' with a value between 0.000000 and 1000000.000000 Siemens: )txt";

TEST(LoadDecrementEntry, RejectedValueRepeatsOnlyItsOwnBlock) {
  const struct {
    const char* name;
    Method method;
    LoadType loadType;
    const char* answers;
    std::string expected;
  } cases[] = {
      {"D series", Method::direct, LoadType::series, "0.009 20.001 20 0 1000000",
       repeated(DECREMENT_BLOCK, 3) + repeated(RESISTANCE_AFTER_D_OR_Q, 2)},
      {"D parallel", Method::direct, LoadType::parallel, "abc 0.01 -2 . 3",
       repeated(DECREMENT_BLOCK, 2) + repeated(CONDUCTANCE_AFTER_D_OR_Q, 3)},
      // The heading stands once however often the Q is asked.
      {"Q series", Method::fromQ, LoadType::series, "0.0332 300.5 1e2 0.0333 50",
       std::string(LOAD_Q_HEADING) + repeated(LOAD_Q_BLOCK, 4) +
           std::string(RESISTANCE_AFTER_D_OR_Q)},
      {"Q parallel", Method::fromQ, LoadType::parallel, "300 -1 1000000.5 0.5",
       std::string(LOAD_Q_HEADING) + std::string(LOAD_Q_BLOCK) +
           repeated(CONDUCTANCE_AFTER_D_OR_Q, 3)},
      // The five explanation lines stand once; each parameter repeats only its prompt.
      {"L series", Method::loadParameters, LoadType::series, "0 50 4.6 0 4.5 0 1000000",
       std::string(SERIES_PARAMETER_LINES) + repeated(RESISTANCE_OF_L, 2) +
           repeated(DELTA_BANDWIDTH, 3) + repeated(DELTA_REACTANCE, 2)},
      {"L parallel", Method::loadParameters, LoadType::parallel, "1000000.5 1 abc 1 0 1",
       std::string(PARALLEL_PARAMETER_LINES) + repeated(CONDUCTANCE_OF_L, 2) +
           repeated(DELTA_BANDWIDTH, 2) + repeated(DELTA_SUSCEPTANCE, 2)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DesignCase design = bandCase(c.method, c.loadType);
    std::istringstream in(c.answers);
    std::ostringstream out;
    EXPECT_EQ(enterLoadDecrement(in, out, design), EntryStatus::complete);
    EXPECT_EQ(out.str(), c.expected);
  }
}

TEST(LoadDecrementEntry, LowerBoundsAreIncludedOrExcludedUpperBoundsIncluded) {
  // A rejected value is followed by a fallback answer, which is what the field then holds.
  const struct {
    Method method;
    LoadType loadType;
    const char* answers;
    double DesignCase::*field;
    double expected;
  } cases[] = {
      {Method::direct, LoadType::series, "0.01 50", &DesignCase::decrement, 0.01},
      {Method::direct, LoadType::series, "20 50", &DesignCase::decrement, 20.0},
      {Method::direct, LoadType::series, "0.009 1 50", &DesignCase::decrement, 1.0},
      {Method::direct, LoadType::series, "20.001 1 50", &DesignCase::decrement, 1.0},
      {Method::fromQ, LoadType::series, "0.0333 50", &DesignCase::loadQ, 0.0333},
      {Method::fromQ, LoadType::series, "300 50", &DesignCase::loadQ, 300.0},
      {Method::fromQ, LoadType::series, "0.0332 5 50", &DesignCase::loadQ, 5.0},
      {Method::fromQ, LoadType::series, "300.5 5 50", &DesignCase::loadQ, 5.0},
      {Method::direct, LoadType::series, "1 1000000", &DesignCase::averageResistance, 1e6},
      {Method::direct, LoadType::series, "1 0 50", &DesignCase::averageResistance, 50.0},
      {Method::direct, LoadType::series, "1 1000000.5 50", &DesignCase::averageResistance, 50.0},
      {Method::fromQ, LoadType::parallel, "1 1000000", &DesignCase::averageConductance, 1e6},
      {Method::fromQ, LoadType::parallel, "1 0 2", &DesignCase::averageConductance, 2.0},
      {Method::loadParameters, LoadType::series, "0 50 1 10", &DesignCase::averageResistance, 50.0},
      {Method::loadParameters, LoadType::series, "1000000 1 10", &DesignCase::averageResistance,
       1e6},
      {Method::loadParameters, LoadType::series, "50 4.5 10", &DesignCase::deltaBandwidth, 4.5},
      {Method::loadParameters, LoadType::series, "50 4.6 0 1 10", &DesignCase::deltaBandwidth, 1.0},
      {Method::loadParameters, LoadType::series, "50 1 1000000", &DesignCase::deltaReactance, 1e6},
      {Method::loadParameters, LoadType::series, "50 1 0 10", &DesignCase::deltaReactance, 10.0},
      {Method::loadParameters, LoadType::parallel, "1000000 1 1", &DesignCase::averageConductance,
       1e6},
      {Method::loadParameters, LoadType::parallel, "0.02 2 1000000", &DesignCase::deltaSusceptance,
       1e6},
      {Method::loadParameters, LoadType::parallel, "0.02 2 1000000.5 0.04",
       &DesignCase::deltaSusceptance, 0.04},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    DesignCase design = bandCase(c.method, c.loadType);
    std::istringstream in(c.answers);
    std::ostringstream out;
    ASSERT_EQ(enterLoadDecrement(in, out, design), EntryStatus::complete);
    EXPECT_EQ(design.*c.field, c.expected);
    EXPECT_EQ(in.peek(), std::istream::traits_type::eof()) << "every answer is taken";
  }
}

TEST(LoadDecrementEntry, DeltaBandwidthIsBoundedByThisPassMatchBandwidth) {
  DesignCase design = bandCase(Method::loadParameters, LoadType::series);
  design.f2 = 18.0;
  design.matchBandwidth = 10.0;
  std::istringstream in("50 10.5 10 10");
  std::ostringstream out;
  ASSERT_EQ(enterLoadDecrement(in, out, design), EntryStatus::complete);
  constexpr std::string_view boundOfTen = R"txt(
Enter 'delta bandwidth' in MHz with a value between 0 and (10.000000): )txt";
  EXPECT_EQ(out.str(), std::string(SERIES_PARAMETER_LINES) + std::string(RESISTANCE_OF_L) +
                           repeated(boundOfTen, 2) + std::string(DELTA_REACTANCE));
  EXPECT_EQ(design.deltaBandwidth, 10.0);
}

// The band 7 to 7.3 MHz: in double precision f2 - f1 is 0.2999999999999998, and the prompt shows
// 0.300000. The value shown is taken; anything visibly above it is asked again.
TEST(LoadDecrementEntry, DeltaBandwidthAsShownInThePromptIsTaken) {
  const struct {
    const char* answers;
    int prompts;  // delta bandwidth prompts shown
    double expected;
  } cases[] = {
      {"50 0.3 10", 1, 0.3},
      {"50 0.300000 10", 1, 0.3},
      {"50 0.3000001 0.2 10", 2, 0.2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    DesignCase design = bandCase(Method::loadParameters, LoadType::series);
    design.f1 = 7.0;
    design.f2 = 7.3;
    design.matchBandwidth = design.f2 - design.f1;
    ASSERT_LT(design.matchBandwidth, 0.3);
    std::istringstream in(c.answers);
    std::ostringstream out;
    ASSERT_EQ(enterLoadDecrement(in, out, design), EntryStatus::complete);
    constexpr std::string_view shownBound = R"txt(
Enter 'delta bandwidth' in MHz with a value between 0 and (0.300000): )txt";
    EXPECT_EQ(out.str(), std::string(SERIES_PARAMETER_LINES) + std::string(RESISTANCE_OF_L) +
                             repeated(shownBound, c.prompts) + std::string(DELTA_REACTANCE));
    EXPECT_NEAR(design.deltaBandwidth, c.expected, 1e-15);
  }
}

TEST(LoadDecrementEntry, EndOfInputStopsEveryPath) {
  // Answer prefixes that leave each path short of its last value, some after a refused value.
  const std::vector<const char*> twoValues = {"", "0 abc", "1", "1 0"};
  const std::vector<const char*> threeValues = {"", "0 abc", "1", "1 0", "1 1", "1 1 0"};
  const struct {
    Method method;
    LoadType loadType;
    const std::vector<const char*>& prefixes;
  } paths[] = {
      {Method::direct, LoadType::series, twoValues},
      {Method::fromQ, LoadType::parallel, twoValues},
      {Method::loadParameters, LoadType::series, threeValues},
      {Method::loadParameters, LoadType::parallel, threeValues},
  };
  for (const auto& path : paths) {
    for (const char* answers : path.prefixes) {
      SCOPED_TRACE(answers);
      DesignCase design = bandCase(path.method, path.loadType);
      std::istringstream in(answers);
      std::ostringstream out;
      EXPECT_EQ(enterLoadDecrement(in, out, design), EntryStatus::inputEnded);
    }
  }
}

}  // namespace
}  // namespace bandmatch
