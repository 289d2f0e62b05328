#include "formats/touchstone_reader.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/real_parse.hpp"
#include "core/white_space.hpp"
#include "core/figure_digits.hpp"

namespace bandmatch {

namespace {

constexpr std::size_t VALUES_PER_POINT = 3;  // frequency and one pair of values
constexpr double DEFAULT_REFERENCE_OHMS = 50.0;
constexpr double MHZ_PER_GHZ = 1000.0;
constexpr std::string_view UTF8_BYTE_ORDER_MARK = "\xEF\xBB\xBF";

enum class Parameter { s, y, z };
enum class NumberFormat { magnitudeAngle, decibelAngle, realImaginary };

// What the option line says; the defaults are those of a file without one.
struct Options {
  double mhzPerUnit = MHZ_PER_GHZ;
  Parameter parameter = Parameter::s;
  NumberFormat format = NumberFormat::magnitudeAngle;
  double referenceOhms = DEFAULT_REFERENCE_OHMS;
};

std::string upperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

std::vector<std::string_view> fieldsOf(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && isWhiteSpace(text[at])) {
      ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && !isWhiteSpace(text[at])) {
      ++at;
    }
    if (at > start) {
      fields.push_back(text.substr(start, at - start));
    }
  }
  return fields;
}

// A finite number in the usual notations, a leading '+' allowed; nothing for any other text.
std::optional<double> numberOf(std::string_view field) {
  if (field.size() > 1 && field.front() == '+' && field[1] != '-') {
    field.remove_prefix(1);
  }
  return parseWholeReal(field);
}

std::string scientific(double value) {
  return formatScientific(value, 6);
}

// Walks the file line by line; the first refusal is kept and ends the reading.
struct Reader {
  int version = 1;
  bool optionSeen = false;
  Options options;
  // Version 2.0 sections and declarations.
  bool inInformation = false;
  bool inNetworkData = false;
  bool networkDataSeen = false;
  bool ended = false;
  int ports = 0;  // 0 until [Number of Ports]
  long long declaredFrequencies = -1;
  int frequenciesLine = 0;
  bool referencePending = false;
  std::optional<double> reference;  // [Reference], which overrides the option line's R
  // The point being read; its values may continue on the following lines.
  std::vector<double> pending;
  int pendingLine = 0;
  MeasuredLoad load;
  std::string error;
  int line = 0;

  bool contentSeen = false;

  bool failed() const { return !error.empty(); }
  void refuse(std::string_view what) { refuseAt(line, what); }
  void refuseAt(int at, std::string_view what) { error = lineText(at) + std::string(what); }

  void readLine(std::string_view raw);
  void readKeyword(std::string_view text);
  void readOptionLine(std::string_view text);
  void readReference(std::string_view text);
  void readData(std::string_view text);
  void completePoint();
  void finish();
};

void Reader::readLine(std::string_view raw) {
  ++line;
  const std::size_t comment = raw.find('!');
  const std::string_view text = trimmed(raw.substr(0, comment));
  if (text.empty() || failed()) {
    return;
  }
  if (ended) {
    return;  // whatever follows [End] is not part of the data
  }
  const bool first = !contentSeen;
  contentSeen = true;
  if (inInformation) {
    if (text.front() == '[' && upperCase(text).starts_with("[END INFORMATION]")) {
      inInformation = false;
    }
    return;
  }
  if (text.front() == '[') {
    if (text.find(']') == std::string_view::npos) {
      refuse("keyword without its closing ]: " + quotedText(printableText(text)));
      return;
    }
    if (version == 1 && !(first && upperCase(text).starts_with("[VERSION]"))) {
      refuse("keyword " + printableText(text.substr(0, text.find(']') + 1)) +
             " in a version 1 file ([Version] 2.0 must come first)");
      return;
    }
    readKeyword(text);
  } else if (text.front() == '#') {
    readOptionLine(text.substr(1));
  } else if (referencePending) {
    readReference(text);
  } else {
    readData(text);
  }
}

void Reader::readKeyword(std::string_view text) {
  const std::size_t close = text.find(']');
  const std::string name = upperCase(text.substr(1, close - 1));
  const std::string_view argument = trimmed(text.substr(close + 1));
  const std::vector<std::string_view> fields = fieldsOf(argument);
  if (!pending.empty()) {
    refuse("the point begun on line " + formatInteger(pendingLine) + " is incomplete");
  } else if (name == "VERSION") {
    if (version == 2) {
      refuse("a second [Version]");
      return;
    }
    const std::optional<double> number =
        fields.size() == 1 ? numberOf(fields[0]) : std::optional<double>();
    if (!number || *number != 2.0) {
      refuse("Touchstone version " + quotedText(printableText(argument)) +
             " is not read (1.x and 2.0 are)");
      return;
    }
    version = 2;
  } else if (name == "NUMBER OF PORTS") {
    const std::optional<double> number =
        fields.size() == 1 ? numberOf(fields[0]) : std::optional<double>();
    if (!number || *number != std::floor(*number) || *number < 1.0) {
      refuse("[Number of Ports] must be a whole number, found " +
             quotedText(printableText(argument)));
    } else if (*number != 1.0) {
      refuse("a " + formatInteger(static_cast<long long>(std::min(*number, 1e9))) +
             "-port file; only one-port files describe a load");
    } else {
      ports = 1;
    }
  } else if (name == "NUMBER OF FREQUENCIES") {
    const std::optional<double> number =
        fields.size() == 1 ? numberOf(fields[0]) : std::optional<double>();
    if (!number || *number != std::floor(*number) || *number < 1.0 || *number > 1e9) {
      refuse("[Number of Frequencies] must be a whole number above 0, found " +
             quotedText(printableText(argument)));
      return;
    }
    declaredFrequencies = static_cast<long long>(*number);
    frequenciesLine = line;
  } else if (name == "REFERENCE") {
    if (argument.empty()) {
      referencePending = true;
    } else {
      readReference(argument);
    }
  } else if (name == "TWO-PORT DATA ORDER" || name == "MATRIX FORMAT" ||
             name == "NUMBER OF NOISE FREQUENCIES") {
    // Nothing for a one-port: its matrix is a single value.
  } else if (name == "BEGIN INFORMATION") {
    inInformation = true;
  } else if (name == "NETWORK DATA") {
    if (!optionSeen) {
      refuse("no option line (# unit parameter format R ohms) before [Network Data]");
    } else if (ports == 0) {
      refuse("no [Number of Ports] before [Network Data]");
    } else if (declaredFrequencies < 0) {
      refuse("no [Number of Frequencies] before [Network Data]");
    } else if (referencePending) {
      refuse("[Reference] has no value");
    } else {
      inNetworkData = true;
      networkDataSeen = true;
    }
  } else if (name == "NOISE DATA") {
    refuse("noise data belong to two-port files; a load is a one-port");
  } else if (name == "END") {
    ended = true;
    inNetworkData = false;
  } else {
    refuse("unknown keyword [" + printableText(text.substr(1, close - 1)) + "]");
  }
}

void Reader::readOptionLine(std::string_view text) {
  if (optionSeen) {
    refuse("a second option line");
    return;
  }
  if (!load.frequencyMHz.empty() || !pending.empty()) {
    refuse("the option line comes after data");
    return;
  }
  optionSeen = true;
  const std::vector<std::string_view> fields = fieldsOf(text);
  for (std::size_t i = 0; i < fields.size() && !failed(); ++i) {
    const std::string word = upperCase(fields[i]);
    if (word == "HZ" || word == "KHZ" || word == "MHZ" || word == "GHZ") {
      options.mhzPerUnit = word == "HZ" ? 1e-6 : word == "KHZ" ? 1e-3 : word == "MHZ" ? 1.0 : 1e3;
    } else if (word == "S" || word == "Y" || word == "Z") {
      options.parameter = word == "S" ? Parameter::s : word == "Y" ? Parameter::y : Parameter::z;
    } else if (word == "G" || word == "H") {
      refuse(word + " parameters describe two-ports; a load file holds S, Y or Z");
    } else if (word == "MA" || word == "DB" || word == "RI") {
      options.format = word == "MA"   ? NumberFormat::magnitudeAngle
                       : word == "DB" ? NumberFormat::decibelAngle
                                      : NumberFormat::realImaginary;
    } else if (word == "R") {
      const std::optional<double> ohms =
          i + 1 < fields.size() ? numberOf(fields[i + 1]) : std::optional<double>();
      if (!ohms || *ohms <= 0.0) {
        refuse("R in the option line needs a resistance above 0 ohms after it");
        return;
      }
      options.referenceOhms = *ohms;
      ++i;
    } else {
      refuse("unknown option " + quotedText(printableText(fields[i])) + " in the option line");
    }
  }
}

void Reader::readReference(std::string_view text) {
  referencePending = false;
  const std::vector<std::string_view> fields = fieldsOf(text);
  const std::optional<double> ohms =
      fields.size() == 1 ? numberOf(fields[0]) : std::optional<double>();
  if (!ohms || *ohms <= 0.0) {
    refuse("[Reference] of a one-port must be one resistance above 0 ohms, found " +
           quotedText(printableText(text)));
    return;
  }
  reference = *ohms;
}

void Reader::readData(std::string_view text) {
  if (version == 2 && !inNetworkData) {
    refuse("data before [Network Data]");
    return;
  }
  const std::vector<std::string_view> fields = fieldsOf(text);
  if (pending.size() + fields.size() > VALUES_PER_POINT) {
    if (pending.empty()) {
      refuse(formatInteger(static_cast<long long>(fields.size())) +
             " values on one line; a one-port point is a frequency and one pair of values "
             "(a two-port or larger file?)");
    } else {
      refuse("more values than the point begun on line " + formatInteger(pendingLine) + " takes");
    }
    return;
  }
  if (pending.empty()) {
    pendingLine = line;
  }
  for (const std::string_view field : fields) {
    const std::optional<double> value = numberOf(field);
    if (!value) {
      refuse(quotedText(printableText(field)) + " is not a number");
      return;
    }
    pending.push_back(*value);
  }
  if (pending.size() == VALUES_PER_POINT) {
    completePoint();
  }
}

// The impedance that a pair of values stands for, after the option line's meaning.
std::complex<double> impedanceOf(const Options& options, double referenceOhms, int version,
                                 double first, double second) {
  const double radiansPerDegree = std::numbers::pi / 180.0;
  std::complex<double> value;
  switch (options.format) {
    case NumberFormat::realImaginary:
      value = {first, second};
      break;
    case NumberFormat::magnitudeAngle:
      value = std::polar(first, second * radiansPerDegree);
      break;
    case NumberFormat::decibelAngle:
      value = std::polar(std::pow(10.0, first / 20.0), second * radiansPerDegree);
      break;
  }
  // Version 1 gives Z and Y normalized to the reference; version 2 in ohms and siemens.
  const double scale = version == 1 ? referenceOhms : 1.0;
  switch (options.parameter) {
    case Parameter::s:
      return referenceOhms * (1.0 + value) / (1.0 - value);
    case Parameter::z:
      return value * scale;
    case Parameter::y:
      return scale / value;
  }
  return value;
}

void Reader::completePoint() {
  const double frequency = pending[0] * options.mhzPerUnit;
  const double referenceOhms = reference.value_or(options.referenceOhms);
  const std::complex<double> impedance =
      impedanceOf(options, referenceOhms, version, pending[1], pending[2]);
  // A frequency beyond the doubles is said in the file's own unit; every other check is the one
  // of a point given as numbers.
  if (!std::isfinite(frequency)) {
    refuseAt(pendingLine, "the frequency " + scientific(pending[0]) + " is out of range");
  } else if (const std::string reason = appendPoint(load, frequency, impedance, pendingLine);
             !reason.empty()) {
    refuseAt(pendingLine, reason);
  }
  pending.clear();
}

void Reader::finish() {
  if (failed()) {
    return;
  }
  if (!pending.empty()) {
    refuseAt(pendingLine, "the file ends inside this point, after " +
                              formatInteger(static_cast<long long>(pending.size())) +
                              " of its 3 values");
  } else if (version == 2 && !networkDataSeen) {
    refuse("the file ends without [Network Data]");
  } else if (version == 2 && !ended) {
    refuse("the file ends without [End]");
  } else if (load.frequencyMHz.empty()) {
    refuse("the file ends without any data point");
  } else if (version == 2 &&
             declaredFrequencies != static_cast<long long>(load.frequencyMHz.size())) {
    refuseAt(frequenciesLine, "[Number of Frequencies] is " + formatInteger(declaredFrequencies) +
                                  " but the data hold " +
                                  formatInteger(static_cast<long long>(load.frequencyMHz.size())) +
                                  " points");
  }
}

}  // namespace

TouchstoneReading readTouchstone(std::string_view text) {
  if (text.starts_with(UTF8_BYTE_ORDER_MARK)) {
    text.remove_prefix(UTF8_BYTE_ORDER_MARK.size());
  }
  Reader reader;
  std::size_t start = 0;
  while (start < text.size() && !reader.failed()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    reader.readLine(text.substr(start, stop - start));
    start = stop + 1;
  }
  reader.finish();
  if (reader.failed()) {
    return {std::nullopt, reader.error};
  }
  return {std::move(reader.load), {}};
}

}  // namespace bandmatch
