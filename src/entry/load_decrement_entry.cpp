#include "entry/load_decrement_entry.hpp"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "entry/answer_ranges.hpp"
#include "entry/refusal_reasons.hpp"
#include "synthesis/band_and_load.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view DECREMENT_PROMPT_HEAD = "Enter Load Decrement with a value >= ";
constexpr std::string_view LOAD_Q_HEADING =
    "Calculate Load Decrement from Q and Fractional Match Bandwidth ((f2-f1)/f0)";
constexpr std::string_view LOAD_Q_PROMPT_HEAD = "Enter Load Q with a value >= ";
constexpr std::string_view INCLUDED_RANGE_MIDDLE = " and <= ";
constexpr std::string_view INCLUDED_RANGE_TAIL = ":  ";
constexpr std::string_view BETWEEN_MIDDLE = " and ";
constexpr std::string_view DELTA_BANDWIDTH_PROMPT_HEAD =
    "Enter 'delta bandwidth' in MHz with a value between 0 and (";
constexpr std::string_view DELTA_BANDWIDTH_PROMPT_TAIL = "): ";

// The texts that differ between a series and a parallel load.
struct LoadTexts {
  // Written before the level prompt after methods D and Q, again on every re-ask.
  std::array<std::string_view, 2> levelExplanation;
  std::string_view levelPromptHead;
  // Written once before the method L prompts.
  std::array<std::string_view, 5> parameterExplanation;
  std::string_view changePromptHead;
  std::string_view unitTail;
};

constexpr LoadTexts SERIES_TEXTS = {
    {"'average resistance' is used to impedance scale network values",
     "'average resistance' is average series load resistance over the match band (f1 to f2)"},
    "Enter 'average resistance' with a value between ",
    {"Calculate Load Decrement from the following series load slope parameters to be entered:",
     "   'average resistance' is average series load resistance over the match band (f1 to f2)",
     "   'delta bandwidth' is bandwidth in MHz used to calculate 'delta reactance' ",
     "   'delta reactance' is change in load series reactance over 'delta bandwidth' evaluted at "
     "f0",
     "   Note: 'delta bandwidth' is not 'match bandwidth'  "},
    "Enter 'delta reactance' with a value between ",
    " ohms: ",
};

constexpr LoadTexts PARALLEL_TEXTS = {
    {"'average conductance' is used to admittance scale network values",
     "'average conductance' is average parallel load conductance over the match band (f1 to f2)"},
    "Enter 'average conductance' with a value between ",
    {"Calculate Load Decrement from the following parallel load slope parameters to be entered:",
     "   'average conductance' is average parallel load conductance over the match band (f1 to "
     "f2)",
     "   'delta bandwidth' is bandwidth in MHz used to calculate 'delta susceptance' ",
     "   'delta susceptance' is change in load parallel susceptance over 'delta bandwidth' "
     "evaluted at f0",
     "   Note: 'delta bandwidth' is not 'match bandwidth' "},
    "Enter 'delta susceptance' with a value between ",
    " Siemens: ",
};

const LoadTexts& textsFor(LoadType loadType) {
  return loadType == LoadType::series ? SERIES_TEXTS : PARALLEL_TEXTS;
}

// One question block: a line end, its explanation lines and the prompt, asked again from the
// line end until the answer lies in the range, whose bounds the refusal's reason shows with the
// prompt's digits. Empty when the console input has ended.
std::optional<double> askValue(std::istream& in, std::ostream& out,
                               std::span<const std::string_view> explanation,
                               const std::string& prompt, const ValueRange& range, int digits,
                               std::ostream* reasons) {
  for (;;) {
    writeLine(out);
    for (const std::string_view line : explanation) {
      writeLine(out, line);
    }
    writeText(out, prompt);
    const std::optional<double> value = readReal(in, out);
    if (!value || contains(range, *value)) {
      return value;
    }
    tellRefusal(reasons, out, numberReason(range, digits));
  }
}

std::string betweenPrompt(std::string_view head, double low, double high, int digits,
                          std::string_view tail) {
  return std::string(head) + formatFixed(low, digits) + std::string(BETWEEN_MIDDLE) +
         formatFixed(high, digits) + std::string(tail);
}

// The average resistance or conductance, asked after the decrement or the load Q.
EntryStatus askLoadLevel(std::istream& in, std::ostream& out, DesignCase& design,
                         std::ostream* reasons) {
  const LoadTexts& texts = textsFor(design.loadType);
  const std::string prompt = betweenPrompt(texts.levelPromptHead, MIN_LOAD_VALUE, MAX_LOAD_VALUE,
                                           LEVEL_DIGITS, texts.unitTail);
  const std::optional<double> level =
      askValue(in, out, texts.levelExplanation, prompt, LOAD_VALUE_RANGE, LEVEL_DIGITS, reasons);
  if (!level) {
    return EntryStatus::inputEnded;
  }
  (design.loadType == LoadType::series ? design.averageResistance : design.averageConductance) =
      *level;
  return EntryStatus::complete;
}

EntryStatus enterDecrementDirectly(std::istream& in, std::ostream& out, DesignCase& design,
                                   std::ostream* reasons) {
  const std::string prompt =
      std::string(DECREMENT_PROMPT_HEAD) + formatFixed(minDecrement, DECREMENT_DIGITS) +
      std::string(INCLUDED_RANGE_MIDDLE) + formatFixed(maxDecrement, DECREMENT_DIGITS) +
      std::string(INCLUDED_RANGE_TAIL);
  const std::optional<double> decrement =
      askValue(in, out, {}, prompt, DECREMENT_RANGE, DECREMENT_DIGITS, reasons);
  if (!decrement) {
    return EntryStatus::inputEnded;
  }
  design.decrement = *decrement;
  qFromDecrement(design);
  return askLoadLevel(in, out, design, reasons);
}

EntryStatus enterLoadQ(std::istream& in, std::ostream& out, DesignCase& design,
                       std::ostream* reasons) {
  // The heading stands once; only the Q prompt is repeated on a re-ask.
  writeLine(out);
  writeLine(out, LOAD_Q_HEADING);
  const std::string prompt =
      std::string(LOAD_Q_PROMPT_HEAD) + formatFixed(minLoadQ, LOAD_Q_DIGITS) +
      std::string(INCLUDED_RANGE_MIDDLE) + formatFixed(maxLoadQ, LOAD_Q_DIGITS) +
      std::string(INCLUDED_RANGE_TAIL);
  const std::optional<double> loadQ =
      askValue(in, out, {}, prompt, LOAD_Q_RANGE, LOAD_Q_DIGITS, reasons);
  if (!loadQ) {
    return EntryStatus::inputEnded;
  }
  design.loadQ = *loadQ;
  decrementFromQ(design);
  return askLoadLevel(in, out, design, reasons);
}

EntryStatus enterLoadParameters(std::istream& in, std::ostream& out, DesignCase& design,
                                std::ostream* reasons) {
  const LoadTexts& texts = textsFor(design.loadType);
  const bool series = design.loadType == LoadType::series;

  // The explanation stands once; each parameter re-asks only its own prompt.
  writeLine(out);
  for (const std::string_view line : texts.parameterExplanation) {
    writeLine(out, line);
  }

  const std::optional<double> level =
      askValue(in, out, {},
               betweenPrompt(texts.levelPromptHead, MIN_LOAD_VALUE, MAX_LOAD_VALUE,
                             PARAMETER_DIGITS, texts.unitTail),
               LOAD_VALUE_RANGE, PARAMETER_DIGITS, reasons);
  if (!level) {
    return EntryStatus::inputEnded;
  }
  (series ? design.averageResistance : design.averageConductance) = *level;

  const std::optional<double> deltaBandwidth =
      askValue(in, out, {},
               std::string(DELTA_BANDWIDTH_PROMPT_HEAD) +
                   formatFixed(design.matchBandwidth, PARAMETER_DIGITS) +
                   std::string(DELTA_BANDWIDTH_PROMPT_TAIL),
               deltaBandwidthRange(design.matchBandwidth), PARAMETER_DIGITS, reasons);
  if (!deltaBandwidth) {
    return EntryStatus::inputEnded;
  }
  design.deltaBandwidth = *deltaBandwidth;

  const std::optional<double> change =
      askValue(in, out, {},
               betweenPrompt(texts.changePromptHead, MIN_LOAD_VALUE, MAX_LOAD_VALUE,
                             PARAMETER_DIGITS, texts.unitTail),
               LOAD_VALUE_RANGE, PARAMETER_DIGITS, reasons);
  if (!change) {
    return EntryStatus::inputEnded;
  }
  (series ? design.deltaReactance : design.deltaSusceptance) = *change;

  decrementFromLoad(design);
  return EntryStatus::complete;
}

}  // namespace

EntryStatus enterLoadDecrement(std::istream& in, std::ostream& out, DesignCase& design,
                               std::ostream* reasons) {
  switch (design.method) {
    case Method::direct:
      return enterDecrementDirectly(in, out, design, reasons);
    case Method::fromQ:
      return enterLoadQ(in, out, design, reasons);
    case Method::loadParameters:
      return enterLoadParameters(in, out, design, reasons);
  }
  return EntryStatus::complete;
}

}  // namespace bandmatch
