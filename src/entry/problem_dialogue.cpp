#include "entry/problem_dialogue.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "entry/answer_ranges.hpp"
#include "entry/letter_question.hpp"
#include "entry/load_decrement_entry.hpp"
#include "entry/range_warnings.hpp"
#include "entry/refusal_reasons.hpp"
#include "synthesis/band_and_load.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view N_PROMPT = "Enter N with a value >/= 1 and </= 10:  ";
constexpr std::array<std::string_view, 3> METHOD_LINES = {
    "Enter \"d\" or \"D\" to enter Load Decrement directly or",
    "Enter \"l\" or \"L\" to obtain Load Decrement from Load Parameters or",
    "Enter \"q\" or \"Q\" to obtain Load Decrement from Q and Fractional Bandwidth",
};
constexpr std::array<std::string_view, 2> LOAD_TYPE_LINES = {
    "Enter \"s\" or \"S\" for Series Load or Series Equivalent Load Parameters or",
    "Enter \"p\" or \"P\" for Parallel Load or Parallel Equivalent Load Parameters",
};
constexpr std::string_view F1_PROMPT_HEAD = "Enter Lower Band Edge Frequency (f1) in MHz > ";
constexpr std::string_view F2_PROMPT_HEAD = "Enter Higher Band Edge Frequency (f2) in MHz > ";
constexpr std::string_view BAND_PROMPT_MIDDLE = " and < ";
constexpr std::string_view BAND_PROMPT_TAIL = ":  ";

// Every label is 36 characters, so the values start in column 37.
constexpr std::string_view LOW_FREQUENCY_LABEL = "Low Frequency        (f1)    (MHz): ";
constexpr std::string_view CENTER_FREQUENCY_LABEL = "Center Frequency     (f0)    (MHz): ";
constexpr std::string_view HIGH_FREQUENCY_LABEL = "High Frequency       (f2)    (MHz): ";
constexpr std::string_view MATCH_BANDWIDTH_LABEL = "Match Bandwidth      (f2-f1) (MHz): ";
constexpr std::string_view FRACTIONAL_BANDWIDTH_LABEL = "Fractional Match Bandwidth (wm)   : ";

std::optional<int> askN(std::istream& in, std::ostream& out, std::ostream* reasons) {
  for (;;) {
    writeLine(out);
    writeText(out, N_PROMPT);
    const std::optional<int> n = readInteger(in, out);
    if (!n || isValidElementCount(*n)) {
      return n;
    }
    tellRefusal(reasons, out, wholeNumberReason(MIN_ELEMENTS, MAX_ELEMENTS));
  }
}

// One band edge within its range, asked again from its line end.
std::optional<double> askBandEdge(std::istream& in, std::ostream& out, std::string_view head,
                                  const ValueRange& range, std::ostream* reasons) {
  const std::string prompt = std::string(head) + formatFixed(range.low, BAND_DIGITS) +
                             std::string(BAND_PROMPT_MIDDLE) +
                             formatFixed(range.high, BAND_DIGITS) + std::string(BAND_PROMPT_TAIL);
  for (;;) {
    writeLine(out);
    writeText(out, prompt);
    const std::optional<double> edge = readReal(in, out);
    if (!edge || contains(range, *edge)) {
      return edge;
    }
    tellRefusal(reasons, out, numberReason(range, BAND_DIGITS));
  }
}

void writeSummaryLine(std::ostream& out, std::string_view label, double value) {
  writeLine(out, std::string(label) + formatFixed(value, BAND_DIGITS));
}

}  // namespace

EntryStatus askBandEdges(std::istream& in, std::ostream& out, DesignCase& design,
                         std::ostream* reasons) {
  const std::optional<double> f1 =
      askBandEdge(in, out, F1_PROMPT_HEAD, LOW_BAND_EDGE_RANGE, reasons);
  if (!f1) {
    return EntryStatus::inputEnded;
  }
  design.f1 = *f1;
  const std::optional<double> f2 =
      askBandEdge(in, out, F2_PROMPT_HEAD, highBandEdgeRange(design.f1), reasons);
  if (!f2) {
    return EntryStatus::inputEnded;
  }
  design.f2 = *f2;
  return EntryStatus::complete;
}

void showBandSummary(std::ostream& out, const DesignCase& design) {
  writeLine(out);
  writeSummaryLine(out, LOW_FREQUENCY_LABEL, design.f1);
  writeSummaryLine(out, CENTER_FREQUENCY_LABEL, design.f0);
  writeSummaryLine(out, HIGH_FREQUENCY_LABEL, design.f2);
  writeSummaryLine(out, MATCH_BANDWIDTH_LABEL, design.matchBandwidth);
  writeSummaryLine(out, FRACTIONAL_BANDWIDTH_LABEL, design.wm);
}

EntryStatus runProblemDialogue(std::istream& in, std::ostream& out, DesignCase& design,
                               std::ostream* reasons) {
  const std::optional<int> n = askN(in, out, reasons);
  if (!n) {
    return EntryStatus::inputEnded;
  }
  design.N = *n;

  const std::optional<Method> method =
      askLetter<Method>(in, out, METHOD_LINES, METHOD_ANSWERS, reasons);
  if (!method) {
    return EntryStatus::inputEnded;
  }
  design.method = *method;

  const std::optional<LoadType> loadType =
      askLetter<LoadType>(in, out, LOAD_TYPE_LINES, LOAD_TYPE_ANSWERS, reasons);
  if (!loadType) {
    return EntryStatus::inputEnded;
  }
  design.loadType = *loadType;

  if (askBandEdges(in, out, design, reasons) == EntryStatus::inputEnded) {
    return EntryStatus::inputEnded;
  }
  // The summary and the method L bounds need the band quantities at once.
  computeBand(design);
  showBandSummary(out, design);

  if (enterLoadDecrement(in, out, design, reasons) == EntryStatus::inputEnded) {
    return EntryStatus::inputEnded;
  }
  showRangeWarnings(out, design);
  return EntryStatus::complete;
}

}  // namespace bandmatch
