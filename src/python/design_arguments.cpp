#include "python/design_arguments.hpp"

#include <sstream>
#include <string_view>

#include "console/console_input.hpp"
#include "core/white_space.hpp"
#include "entry/answer_ranges.hpp"
#include "entry/range_warnings.hpp"
#include "entry/refusal_reasons.hpp"
#include "report/csv_report.hpp"
#include "report/text_report.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/synthesis.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view SERIES_WORD = "series";
constexpr std::string_view PARALLEL_WORD = "parallel";
constexpr std::string_view MEGAHERTZ = " MHz";

// The dialogue reads the result name as one word, up to the first white space.
bool isOneWord(std::string_view name) {
  if (name.empty()) {
    return false;
  }
  for (const char c : name) {
    if (isWhiteSpace(c)) {
      return false;
    }
  }
  return true;
}

// Walks the answers in the dialogue's order; the first refusal is kept.
struct AnswerCheck {
  std::string error;

  bool failed() const { return !error.empty(); }

  // `value` within `range`, else "WHAT: REASON UNIT" with the dialogue's digits.
  void number(std::string_view what, double value, const ValueRange& range, int digits,
              std::string_view unit = {}) {
    if (!failed() && !contains(range, value)) {
      error = std::string(what) + ": " + numberReason(range, digits) + std::string(unit);
    }
  }
};

std::optional<Method> chosenMethod(const DesignArguments& arguments) {
  const int given = static_cast<int>(arguments.decrement.has_value()) +
                    static_cast<int>(arguments.loadQ.has_value()) +
                    static_cast<int>(arguments.slope.has_value());
  if (given != 1) {
    return std::nullopt;
  }
  return arguments.decrement ? Method::direct
                             : (arguments.loadQ ? Method::fromQ : Method::loadParameters);
}

}  // namespace

std::string nameRefusal(std::string_view name) {
  return isOneWord(name) ? std::string()
                         : "name: not one word; the dialogue reads the result name as one word";
}

std::string elementCountRefusal(int n) {
  return isValidElementCount(n) ? std::string()
                                : "n: " + wholeNumberReason(MIN_ELEMENTS, MAX_ELEMENTS);
}

DesignMaking makeDesign(const DesignArguments& arguments) {
  for (std::string refusal : {nameRefusal(arguments.name), elementCountRefusal(arguments.n)}) {
    if (!refusal.empty()) {
      return {std::nullopt, std::move(refusal)};
    }
  }
  const std::optional<Method> method = chosenMethod(arguments);
  if (!method) {
    return {std::nullopt,
            "give exactly one of decrement (method d), q (method q) and slope (method l)"};
  }
  if (arguments.load != SERIES_WORD && arguments.load != PARALLEL_WORD) {
    return {std::nullopt, "load: answer series or parallel"};
  }

  DesignCase design;
  design.textFileName = arguments.name + ".txt";
  design.csvFileName = arguments.name + ".csv";
  design.N = arguments.n;
  design.method = *method;
  design.loadType = arguments.load == SERIES_WORD ? LoadType::series : LoadType::parallel;
  const bool series = design.loadType == LoadType::series;
  AnswerCheck check;
  const double f1 = arguments.f1;
  const double f2 = arguments.f2;
  check.number("f1", f1, LOW_BAND_EDGE_RANGE, BAND_DIGITS, MEGAHERTZ);
  check.number("f2", f2, highBandEdgeRange(f1), BAND_DIGITS, MEGAHERTZ);
  if (check.failed()) {
    return {std::nullopt, check.error};
  }
  design.f1 = f1;
  design.f2 = f2;
  computeBand(design);

  // The same answers and conversions, in the same order, as the dialogue's entry of the load.
  const std::string_view levelName = series ? "resistance" : "conductance";
  switch (design.method) {
    case Method::direct:
      check.number("decrement", *arguments.decrement, DECREMENT_RANGE, DECREMENT_DIGITS);
      check.number(levelName, arguments.level, LOAD_VALUE_RANGE, LEVEL_DIGITS);
      design.decrement = *arguments.decrement;
      qFromDecrement(design);
      break;
    case Method::fromQ:
      check.number("q", *arguments.loadQ, LOAD_Q_RANGE, LOAD_Q_DIGITS);
      check.number(levelName, arguments.level, LOAD_VALUE_RANGE, LEVEL_DIGITS);
      design.loadQ = *arguments.loadQ;
      decrementFromQ(design);
      break;
    case Method::loadParameters: {
      const double deltaBandwidth = (*arguments.slope)[0];
      const double change = (*arguments.slope)[1];
      check.number(levelName, arguments.level, LOAD_VALUE_RANGE, PARAMETER_DIGITS);
      check.number("slope's delta bandwidth", deltaBandwidth,
                   deltaBandwidthRange(design.matchBandwidth), PARAMETER_DIGITS, MEGAHERTZ);
      check.number(series ? "slope's delta reactance" : "slope's delta susceptance", change,
                   LOAD_VALUE_RANGE, PARAMETER_DIGITS);
      design.deltaBandwidth = deltaBandwidth;
      (series ? design.deltaReactance : design.deltaSusceptance) = change;
      break;
    }
  }
  if (check.failed()) {
    return {std::nullopt, check.error};
  }
  (series ? design.averageResistance : design.averageConductance) = arguments.level;
  if (design.method == Method::loadParameters) {
    decrementFromLoad(design);
  }
  synthesize(design);
  return {design, {}};
}

std::string rangeWarningText(const DesignCase& design) {
  std::ostringstream warnings;
  showRangeWarnings(warnings, design);
  return warnings.str();
}

std::string textReportOf(const DesignCase& design, const LocalClock& clock) {
  std::ostringstream file;
  writeTextReport(file, design, takeDateStamp(clock));
  return file.str();
}

std::string csvReportOf(const DesignCase& design, const LocalClock& clock) {
  std::ostringstream file;
  writeCsvReport(file, design, takeDateStamp(clock));
  return file.str();
}

}  // namespace bandmatch
