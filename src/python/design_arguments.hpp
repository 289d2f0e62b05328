// The console dialogue's design made from answers given as numbers: each checked in the
// dialogue's order against the range the dialogue accepts and refused with its reason, then the
// same conversions and synthesis; and the two reports of the design.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/design_case.hpp"
#include "report/credits.hpp"

namespace bandmatch {

// The dialogue takes frequencies in MHz; the Python module's arguments give them in Hz.
inline constexpr double HZ_PER_MHZ = 1e6;

// The answers of one pass. Exactly one of decrement, loadQ and slope chooses the method (d, q
// or l); `level` is the average resistance (series load) or conductance (parallel load).
struct DesignArguments {
  std::string name;
  int n = 0;
  std::string load;  // "series" or "parallel"
  double f1 = 0.0;   // MHz
  double f2 = 0.0;   // MHz
  std::optional<double> decrement;
  std::optional<double> loadQ;
  // The delta bandwidth in MHz, then the delta reactance in ohms or susceptance in siemens.
  std::optional<std::array<double, 2>> slope;
  double level = 0.0;
};

// The synthesized design, or the first refusal: "f1: not a number above 0.000001 and below
// 1000000.000000 MHz", the argument's name and the dialogue's reason.
struct DesignMaking {
  std::optional<DesignCase> design;
  std::string error;
};

DesignMaking makeDesign(const DesignArguments& arguments);

// Why the dialogue cannot take the result name (it reads one word) or the number of resonators;
// empty when it can.
std::string nameRefusal(std::string_view name);
std::string elementCountRefusal(int n);

// The dialogue's range warnings for the design's decrement and load Q; empty when there are none.
std::string rangeWarningText(const DesignCase& design);

// NAME.txt and NAME.csv as the console program writes them, dated by the clock.
std::string textReportOf(const DesignCase& design, const LocalClock& clock);
std::string csvReportOf(const DesignCase& design, const LocalClock& clock);

}  // namespace bandmatch
