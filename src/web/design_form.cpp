#include "web/design_form.hpp"

#include <cmath>
#include <sstream>

#include "console/console_input.hpp"
#include "core/number_format.hpp"
#include "core/white_space.hpp"
#include "entry/answer_ranges.hpp"
#include "entry/range_warnings.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/synthesis.hpp"

namespace bandmatch {

namespace {

// The README's first example: a form opened without values designs it.
const FormValues DEFAULT_VALUES = {
    {std::string(formKeys::NAME), "run1"},
    {std::string(formKeys::N), "3"},
    {std::string(formKeys::METHOD), "d"},
    {std::string(formKeys::LOAD), "s"},
    {std::string(formKeys::F1), "10"},
    {std::string(formKeys::F2), "20"},
    {std::string(formKeys::DECREMENT), "1"},
    {std::string(formKeys::LOAD_Q), "2"},
    {std::string(formKeys::AVERAGE), "50"},
    {std::string(formKeys::DELTA_BANDWIDTH), "2"},
    {std::string(formKeys::DELTA), "40"},
    // An ideal network unless asked otherwise.
    {std::string(buildKeys::SOURCE_OHMS), ""},
    {std::string(buildKeys::SERIES), ""},
    {std::string(buildKeys::Q_INDUCTOR), ""},
    {std::string(buildKeys::Q_CAPACITOR), ""},
};

constexpr std::string_view MHZ = "MHz";
constexpr std::string_view OHMS = "ohms";
constexpr std::string_view SIEMENS = "siemens";

constexpr std::string_view NOT_PLAIN_DECIMAL =
    "Not a plain decimal number: digits with at most one point, no sign, exponent or comma.";
constexpr std::string_view NOT_WHOLE_NUMBER = "Not a whole number: digits only.";
constexpr std::string_view NEEDS_A_VALUE = "Needs a value: ";
constexpr std::string_view OUT_OF_RANGE = "Out of range: must be ";

// The answers of the two choice fields, in the order the dialogue offers them.
const std::vector<FormChoice> METHOD_CHOICES = {
    {"d", "d: the load decrement"},
    {"l", "l: the load's slope parameters"},
    {"q", "q: the load Q"},
};
const std::vector<FormChoice> LOAD_CHOICES = {
    {"s", "s: series load"},
    {"p", "p: parallel load"},
};

// The preferred series a network may be built from; none keeps the design's exact values.
const std::vector<FormChoice> SERIES_CHOICES = {
    {"", "none: the exact values"},
    {"E12", "E12"},
    {"E24", "E24"},
    {"E48", "E48"},
    {"E96", "E96"},
    {"E192", "E192"},
};

// A quality factor: any number above zero, as bandmatch-export takes it.
constexpr ValueRange QUALITY_RANGE = {0.0, false, HUGE_VAL, false};
constexpr ValueRange SOURCE_OHMS_RANGE = {MIN_SOURCE_OHMS, true, MAX_SOURCE_OHMS, true};
constexpr int SOURCE_OHMS_DIGITS = 3;

// "above 0.000001 and below 1000000.000000 MHz", "from 0.010 to 20.000".
std::string rangeText(const ValueRange& range, int digits, std::string_view unit) {
  std::string text = range.lowIncluded ? "from " : "above ";
  text += formatFixed(range.low, digits);
  text += range.lowIncluded && range.highIncluded ? " to "
          : range.highIncluded                    ? " and at most "
                                                  : " and below ";
  text += formatFixed(range.high, digits);
  if (!unit.empty()) {
    text += ' ';
    text += unit;
  }
  return text;
}

bool hasWhiteSpace(std::string_view text) {
  for (const char c : text) {
    if (isWhiteSpace(c)) {
      return true;
    }
  }
  return false;
}

// Reads the fields one by one, keeping each as the page shows it; `accepted` turns false with any
// refused field the method asks for, or a field that cannot be judged yet.
struct FormReader {
  const FormValues& values;
  std::vector<FormField> fields;
  bool accepted = true;

  FormField& add(std::string_view key, std::string label, std::string hint, bool used = true) {
    const auto given = values.find(key);
    const std::string value =
        given != values.end() ? given->second : DEFAULT_VALUES.find(key)->second;
    fields.push_back({std::string(key), std::move(label), value, std::move(hint), {}, used, {}});
    return fields.back();
  }

  void refuse(FormField& field, std::string_view message) {
    field.message = std::string(message);
    accepted = false;
  }

  std::optional<std::string> name() {
    FormField& field =
        add(formKeys::NAME, "Result name", "one word; the reports are named NAME.txt and NAME.csv");
    const std::string word(trimmed(field.value));
    if (word.empty()) {
      refuse(field, std::string(NEEDS_A_VALUE) + field.hint + ".");
    } else if (hasWhiteSpace(word)) {
      refuse(field, "One word without spaces: the console program reads the name as one word.");
    }
    return field.message.empty() ? std::optional(word) : std::nullopt;
  }

  std::optional<int> elementCount() {
    FormField& field =
        add(formKeys::N, "N, the number of resonators",
            "from " + formatInteger(MIN_ELEMENTS) + " to " + formatInteger(MAX_ELEMENTS));
    const std::string word(trimmed(field.value));
    const int n = integerFromWord(word);
    if (word.empty()) {
      refuse(field, std::string(NEEDS_A_VALUE) + field.hint + ".");
    } else if (n == REFUSED_INTEGER) {
      refuse(field, NOT_WHOLE_NUMBER);
    } else if (!isValidElementCount(n)) {
      refuse(field, std::string(OUT_OF_RANGE) + field.hint +
                        "; the network has that many resonators, the load's own among them.");
    }
    return field.message.empty() ? std::optional(n) : std::nullopt;
  }

  // A letter of the dialogue's question, in either case.
  template <typename Value, std::size_t count>
  std::optional<Value> letter(std::string_view key, std::string label, std::string hint,
                              const std::array<LetterAnswer<Value>, count>& answers,
                              const std::vector<FormChoice>& choices) {
    std::string letters;
    for (const FormChoice& choice : choices) {
      letters += letters.empty() ? "" : ", ";
      letters += choice.value;
    }
    FormField& field = add(key, std::move(label), std::move(hint));
    field.choices = choices;
    const std::string word(trimmed(field.value));
    for (const LetterAnswer<Value>& answer : answers) {
      if (word.size() == 1 && (word[0] == answer.lower || word[0] == answer.upper)) {
        return answer.value;
      }
    }
    refuse(field, "Choose one of " + letters + ".");
    return std::nullopt;
  }

  // A plain decimal number within its range, when the method asks for it.
  std::optional<double> number(std::string_view key, std::string label, bool used,
                               const std::optional<ValueRange>& range, std::string hint,
                               std::string_view why) {
    FormField& field = add(key, std::move(label), std::move(hint), used);
    if (!used) {
      return std::nullopt;
    }
    const std::string word(trimmed(field.value));
    const double value = realFromWord(word);
    if (word.empty()) {
      refuse(field, std::string(NEEDS_A_VALUE) + field.hint + ".");
    } else if (value == REFUSED_REAL) {
      refuse(field, NOT_PLAIN_DECIMAL);
    } else if (!range) {
      accepted = false;  // judged once the band is accepted
    } else if (!contains(*range, value)) {
      refuse(field, std::string(OUT_OF_RANGE) + field.hint + "; " + std::string(why) + ".");
    }
    return field.message.empty() ? std::optional(value) : std::nullopt;
  }

  // A plain decimal within its range, or nothing when left empty.
  std::optional<double> optionalNumber(std::string_view key, std::string label,
                                       const ValueRange& range, const std::string& rangeWords,
                                       std::string_view emptyMeans, std::string_view why) {
    FormField& field =
        add(key, std::move(label), "empty " + std::string(emptyMeans) + "; or " + rangeWords);
    const std::string word(trimmed(field.value));
    if (word.empty()) {
      return std::nullopt;
    }
    const double value = realFromWord(word);
    if (value == REFUSED_REAL) {
      refuse(field, NOT_PLAIN_DECIMAL);
    } else if (!contains(range, value)) {
      refuse(field, std::string(OUT_OF_RANGE) + rangeWords + "; " + std::string(why) + ".");
    }
    return field.message.empty() ? std::optional(value) : std::nullopt;
  }

  std::optional<PreferredSeries> series() {
    FormField& field = add(buildKeys::SERIES, "Standard values",
                           "every L and C of positions 2 to N rounded to the nearest value of "
                           "the series, as sold");
    field.choices = SERIES_CHOICES;
    const std::string word(trimmed(field.value));
    const std::optional<PreferredSeries> series = preferredSeriesFromName(word);
    if (!word.empty() && !series) {
      refuse(field, "Choose none or one of E12, E24, E48, E96, E192.");
    }
    return series;
  }
};

// The network to build, each field as bandmatch-export's option of the same meaning.
void readBuildFields(const FormValues& values, FormReading& reading) {
  FormReader form{values, {}};
  BuildOptions build;
  build.sourceOhms = form.optionalNumber(
      buildKeys::SOURCE_OHMS, "Source resistance (ohms)", SOURCE_OHMS_RANGE,
      rangeText(SOURCE_OHMS_RANGE, SOURCE_OHMS_DIGITS, OHMS), "for the design's own",
      "an ideal transformer matches the ladder to a source in this range");
  build.series = form.series();
  build.inductorQ =
      form.optionalNumber(buildKeys::Q_INDUCTOR, "Inductor Q", QUALITY_RANGE, "above 0",
                          "for lossless inductors", "each inductor's loss is w0 L / Q");
  build.capacitorQ =
      form.optionalNumber(buildKeys::Q_CAPACITOR, "Capacitor Q", QUALITY_RANGE, "above 0",
                          "for lossless capacitors", "each capacitor's loss is 1 / (w0 C Q)");
  reading.buildFields = std::move(form.fields);
  if (form.accepted) {
    reading.build = build;
  }
}

}  // namespace

FormReading readDesignForm(const FormValues& values) {
  FormReader form{values, {}};
  DesignCase design;
  const std::optional<std::string> name = form.name();
  const std::optional<int> n = form.elementCount();
  const std::optional<Method> method =
      form.letter(formKeys::METHOD, "Load described by",
                  "the decrement is 1 / (Q wm), with wm = (f2 - f1) / f0; the slope parameters "
                  "come from the change of the load's reactance or susceptance over a bandwidth",
                  METHOD_ANSWERS, METHOD_CHOICES);
  const std::optional<LoadType> loadType =
      form.letter(formKeys::LOAD, "Load type",
                  "series: a resistance in series with a series resonance; parallel: a "
                  "conductance across a parallel resonance",
                  LOAD_TYPE_ANSWERS, LOAD_CHOICES);
  const Method shownMethod = method.value_or(Method::direct);
  const bool series = loadType.value_or(LoadType::series) == LoadType::series;

  const std::optional<double> f1 =
      form.number(formKeys::F1, "Lower band edge f1 (MHz)", true, LOW_BAND_EDGE_RANGE,
                  rangeText(LOW_BAND_EDGE_RANGE, BAND_DIGITS, MHZ),
                  "the dialogue takes band edges only between these frequencies");
  const ValueRange upperRange = highBandEdgeRange(f1.value_or(MIN_FREQUENCY));
  const std::optional<double> f2 = form.number(
      formKeys::F2, "Upper band edge f2 (MHz)", true, f1 ? std::optional(upperRange) : std::nullopt,
      f1 ? rangeText(upperRange, BAND_DIGITS, MHZ)
         : "above f1 and below " + formatFixed(MAX_FREQUENCY, BAND_DIGITS) + " " + std::string(MHZ),
      "the upper band edge lies above the lower one");
  const bool bandKnown = f1 && f2;
  if (bandKnown) {
    design.f1 = *f1;
    design.f2 = *f2;
    computeBand(design);
  }

  const std::optional<double> decrement =
      form.number(formKeys::DECREMENT, "Load decrement", shownMethod == Method::direct,
                  DECREMENT_RANGE, rangeText(DECREMENT_RANGE, DECREMENT_DIGITS, {}),
                  "the recommended range of the decrement 1 / (Q wm), which the dialogue enforces");
  const std::optional<double> loadQ =
      form.number(formKeys::LOAD_Q, "Load Q at f0", shownMethod == Method::fromQ, LOAD_Q_RANGE,
                  rangeText(LOAD_Q_RANGE, LOAD_Q_DIGITS, {}),
                  "the recommended range of the load Q, which the dialogue enforces");
  const bool slopes = shownMethod == Method::loadParameters;
  const std::string_view unit = series ? OHMS : SIEMENS;
  const std::optional<double> average = form.number(
      formKeys::AVERAGE,
      series ? "Average load resistance (ohms)" : "Average load conductance (siemens)", true,
      LOAD_VALUE_RANGE, rangeText(LOAD_VALUE_RANGE, slopes ? PARAMETER_DIGITS : LEVEL_DIGITS, unit),
      series ? "the load's resistance over the band scales the network's values"
             : "the load's conductance over the band scales the network's values");
  const std::optional<ValueRange> deltaRange =
      bandKnown ? std::optional(deltaBandwidthRange(design.matchBandwidth)) : std::nullopt;
  const std::optional<double> deltaBandwidth =
      form.number(formKeys::DELTA_BANDWIDTH, "Delta bandwidth (MHz)", slopes, deltaRange,
                  deltaRange ? rangeText(*deltaRange, PARAMETER_DIGITS, MHZ)
                             : "above 0 and at most the match bandwidth f2 - f1 in MHz",
                  "the load's slope is measured over a bandwidth within the match band f2 - f1");
  const std::optional<double> delta = form.number(
      formKeys::DELTA, series ? "Delta reactance (ohms)" : "Delta susceptance (siemens)", slopes,
      LOAD_VALUE_RANGE, rangeText(LOAD_VALUE_RANGE, PARAMETER_DIGITS, unit),
      series ? "a resonant load's reactance rises across the delta bandwidth"
             : "a resonant load's susceptance rises across the delta bandwidth");

  FormReading reading{std::move(form.fields), std::nullopt, {}, std::nullopt, {}, std::nullopt};
  if (bandKnown) {
    reading.band = BandEdges{design.f1, design.f2};
  }
  readBuildFields(values, reading);
  if (!form.accepted) {
    return reading;
  }
  // The same fields and conversions, in the same order, as the dialogue's entry of the load.
  design.textFileName = *name + ".txt";
  design.csvFileName = *name + ".csv";
  design.N = *n;
  design.method = *method;
  design.loadType = *loadType;
  (series ? design.averageResistance : design.averageConductance) = *average;
  switch (design.method) {
    case Method::direct:
      design.decrement = *decrement;
      qFromDecrement(design);
      break;
    case Method::fromQ:
      design.loadQ = *loadQ;
      decrementFromQ(design);
      break;
    case Method::loadParameters:
      design.deltaBandwidth = *deltaBandwidth;
      (series ? design.deltaReactance : design.deltaSusceptance) = *delta;
      decrementFromLoad(design);
      break;
  }
  std::ostringstream warnings;
  showRangeWarnings(warnings, design);
  reading.warnings = warnings.str();
  synthesize(design);
  reading.design = design;
  return reading;
}

}  // namespace bandmatch
