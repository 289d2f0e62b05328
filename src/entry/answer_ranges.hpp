// What the dialogue accepts for each answer, declared once for the console dialogue and the web
// page's form: the letters of the method and load questions, the ranges of the numbers, and the
// digits the prompts show the bounds with.
#pragma once

#include <array>

#include "core/design_case.hpp"
#include "entry/letter_question.hpp"

namespace bandmatch {

// The bounds of an accepted value, each included or not. The refused-word sentinel and the 0 of
// an empty word lie below every lower bound used here.
struct ValueRange {
  double low = 0.0;
  bool lowIncluded = false;
  double high = 0.0;
  bool highIncluded = false;
};

constexpr bool contains(const ValueRange& range, double value) {
  const bool aboveLow = range.lowIncluded ? value >= range.low : value > range.low;
  const bool belowHigh = range.highIncluded ? value <= range.high : value < range.high;
  return aboveLow && belowHigh;
}

// Band edges lie strictly between these, in MHz, and f2 above f1.
inline constexpr double MIN_FREQUENCY = 0.000001;
inline constexpr double MAX_FREQUENCY = 1000000.0;
inline constexpr ValueRange LOW_BAND_EDGE_RANGE = {MIN_FREQUENCY, false, MAX_FREQUENCY, false};
constexpr ValueRange highBandEdgeRange(double f1) {
  return {f1, false, MAX_FREQUENCY, false};
}

// Recommended limits, which are also the entry bounds of the decrement and the load Q.
inline constexpr double minDecrement = 0.01;
inline constexpr double maxDecrement = 20.0;
inline constexpr double minLoadQ = 0.0333;
inline constexpr double maxLoadQ = 300.0;
inline constexpr ValueRange DECREMENT_RANGE = {minDecrement, true, maxDecrement, true};
inline constexpr ValueRange LOAD_Q_RANGE = {minLoadQ, true, maxLoadQ, true};

// The load's level (average resistance or conductance) and its reactance or susceptance change:
// above zero, which is refused, and at most a million.
inline constexpr double MIN_LOAD_VALUE = 0.0;
inline constexpr double MAX_LOAD_VALUE = 1000000.0;
inline constexpr ValueRange LOAD_VALUE_RANGE = {MIN_LOAD_VALUE, false, MAX_LOAD_VALUE, true};

// The delta bandwidth lies within the match band: above zero, at most f2 - f1. f2 - f1 is rarely
// the decimal the prompt shows (7.3 - 7 is 0.2999999999999998), so the bound is widened by this
// fraction of it: the value the prompt prints is a value the program takes.
inline constexpr double DELTA_BANDWIDTH_TOLERANCE = 1e-9;
constexpr ValueRange deltaBandwidthRange(double matchBandwidth) {
  return {MIN_LOAD_VALUE, false, matchBandwidth + DELTA_BANDWIDTH_TOLERANCE * matchBandwidth,
          true};
}

// Digits after the point of the bounds in the prompts.
inline constexpr int BAND_DIGITS = 6;
inline constexpr int DECREMENT_DIGITS = 3;
inline constexpr int LOAD_Q_DIGITS = 5;
inline constexpr int LEVEL_DIGITS = 0;  // the level prompt after methods D and Q
inline constexpr int PARAMETER_DIGITS = 6;

// The answer letters of the method and load type questions.
inline constexpr std::array<LetterAnswer<Method>, 3> METHOD_ANSWERS = {{
    {'d', 'D', Method::direct},
    {'l', 'L', Method::loadParameters},
    {'q', 'Q', Method::fromQ},
}};
inline constexpr std::array<LetterAnswer<LoadType>, 2> LOAD_TYPE_ANSWERS = {{
    {'s', 'S', LoadType::series},
    {'p', 'P', LoadType::parallel},
}};

}  // namespace bandmatch
