#include "export/csv_report_reader.hpp"

#include <charconv>
#include <cmath>
#include <system_error>
#include <vector>

#include "export/export_text.hpp"
#include "report/number_format.hpp"

namespace bandmatch {

namespace {

// Line numbers count from 1; the credits block fills lines 1 to 13.
constexpr int INPUTS_LINE = 14;
constexpr int N_LINE = 17;
constexpr int LOAD_TYPE_LINE = 19;
constexpr int F1_LINE = 20;
constexpr int F2_LINE = 21;
constexpr int PART1_LINE = 30;
constexpr int PART2_LINE = 38;
constexpr int RHO_MIN_LINE = 43;
constexpr int RHO_MAX_LINE = 44;
constexpr int PART3_LINE = 52;
// The rows after the prototype values move with N.
constexpr int PART4_LINE_BEFORE_N = 56;
constexpr int LOAD_RESISTANCE_LINE_BEFORE_N = 57;
constexpr int SOURCE_RESISTANCE_LINE_BEFORE_3N = 58;

// Headings that mark the file as a bandmatch report.
constexpr std::string_view INPUTS_HEADING = "Inputs:";
constexpr std::string_view PART1_HEADING = "Output Part 1: Preliminary";
constexpr std::string_view PART2_HEADING = "Output Part 2: Fano; Levy; Newton - Raphson Solution";
constexpr std::string_view PART3_HEADING =
    "Output Part 3: Resistive Source with g(i) Prototype Values";
constexpr std::string_view PART4_HEADING = "Output Part 4: Network Element Values Calculated";

// Value row labels, the separating comma included.
constexpr std::string_view N_LABEL = "   N =                                   ,";
constexpr std::string_view F1_LABEL = "   Low Frequency (f1) (MHz) =            ,";
constexpr std::string_view F2_LABEL = "   High Frequency (f2) (MHz) =           ,";
constexpr std::string_view RHO_MIN_LABEL = "   Magnitude of Reflection Coefficient Min = ,";
constexpr std::string_view RHO_MAX_LABEL = "   Magnitude of Reflection Coefficient Max = ,";
constexpr std::string_view LOAD_RESISTANCE_LABEL = "   Load Resistance (ohms) =   ,";
constexpr std::string_view SOURCE_RESISTANCE_LABEL = "   Source Resistance (ohms) = ,";
constexpr std::string_view INDUCTOR_LABEL_TAIL = ") (H) =                 ,";
constexpr std::string_view CAPACITOR_LABEL_TAIL = ") (F) =                 ,";

constexpr std::string_view SERIES_CHOICE_ROW =
    "   S ,Series Load or Series Equivalent Load Parameters";
constexpr std::string_view PARALLEL_CHOICE_ROW =
    "   P ,Parallel Load or Parallel Equivalent Load Parameters";

std::vector<std::string_view> splitReportLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = (end == std::string_view::npos) ? text.size() : end + 1;
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    start = next;
  }
  return lines;
}

// Walks the report line by line; the first refusal is kept and ends the reading.
struct ReportScanner {
  std::vector<std::string_view> lines;
  std::string error;

  bool failed() const { return !error.empty(); }

  // The text of a line, or nothing (with the refusal recorded) when the file is shorter.
  std::optional<std::string_view> line(int number, std::string_view rowName) {
    if (failed()) {
      return std::nullopt;
    }
    if (number < 1 || static_cast<std::size_t>(number) > lines.size()) {
      error = "not a bandmatch CSV report: it ends before line " + formatInteger(number) + " (" +
              std::string(rowName) + ")";
      return std::nullopt;
    }
    return lines[static_cast<std::size_t>(number) - 1];
  }

  void refuseShape(int number, std::string_view rowName) {
    error = "not a bandmatch CSV report: line " + formatInteger(number) + " is not the " +
            std::string(rowName);
  }

  void expectLine(int number, std::string_view expected, std::string_view rowName) {
    const std::optional<std::string_view> text = line(number, rowName);
    if (text && *text != expected) {
      refuseShape(number, rowName);
    }
  }

  // The value cell of a row whose label cell (comma included) must be `label`.
  std::optional<std::string_view> value(int number, std::string_view label,
                                        std::string_view rowName) {
    const std::string row = std::string(rowName) + " row";
    const std::optional<std::string_view> text = line(number, row);
    if (!text) {
      return std::nullopt;
    }
    if (text->substr(0, label.size()) != label) {
      refuseShape(number, row);
      return std::nullopt;
    }
    return text->substr(label.size());
  }

  // A real that must be finite and greater than zero.
  double positive(int number, std::string_view label, std::string_view rowName) {
    return checkedReal(number, label, rowName, false);
  }

  // A real that must be finite and not negative.
  double nonNegative(int number, std::string_view label, std::string_view rowName) {
    return checkedReal(number, label, rowName, true);
  }

  double checkedReal(int number, std::string_view label, std::string_view rowName,
                     bool zeroAllowed) {
    const std::optional<std::string_view> cell = value(number, label, rowName);
    if (!cell) {
      return 0.0;
    }
    double parsed = 0.0;
    const char* end = cell->data() + cell->size();
    const auto [ptr, ec] = std::from_chars(cell->data(), end, parsed);
    const std::string where = "line " + formatInteger(number) + ": " + std::string(rowName) + " ";
    if (cell->empty() || ptr != end ||
        (ec != std::errc() && ec != std::errc::result_out_of_range)) {
      error = where + "is not a number: " + quoted(*cell);
    } else if (ec == std::errc::result_out_of_range || !std::isfinite(parsed)) {
      error = where + "is not finite: " + quoted(*cell);
    } else if (parsed < 0.0 || (parsed == 0.0 && !zeroAllowed)) {
      error = where + (zeroAllowed ? "is negative: " : "is not positive: ") + quoted(*cell);
    }
    return parsed;
  }
};

std::string indexedLabel(char letter, int index, std::string_view tail) {
  return std::string("   ") + letter + "(" + formatInteger(index) + std::string(tail);
}

}  // namespace

ReportReading readCsvReport(std::string_view text) {
  ReportScanner scan{splitReportLines(text), {}};
  ReportedDesign design;

  scan.expectLine(INPUTS_LINE, INPUTS_HEADING, "\"Inputs:\" heading");
  if (const std::optional<std::string_view> cell = scan.value(N_LINE, N_LABEL, "N")) {
    int n = 0;
    const char* end = cell->data() + cell->size();
    const auto [ptr, ec] = std::from_chars(cell->data(), end, n);
    if (cell->empty() || ec != std::errc() || ptr != end || n < MIN_ELEMENTS || n > MAX_ELEMENTS) {
      scan.error = "line " + formatInteger(N_LINE) + ": N must be a whole number from " +
                   formatInteger(MIN_ELEMENTS) + " to " + formatInteger(MAX_ELEMENTS) + ", found " +
                   quoted(*cell);
    }
    design.N = n;
  }
  if (const std::optional<std::string_view> row = scan.line(LOAD_TYPE_LINE, "load type row")) {
    if (*row == SERIES_CHOICE_ROW) {
      design.loadType = LoadType::series;
    } else if (*row == PARALLEL_CHOICE_ROW) {
      design.loadType = LoadType::parallel;
    } else {
      scan.refuseShape(LOAD_TYPE_LINE, "load type row");
    }
  }
  design.f1 = scan.positive(F1_LINE, F1_LABEL, "low frequency (f1)");
  design.f2 = scan.positive(F2_LINE, F2_LABEL, "high frequency (f2)");
  if (!scan.failed() && !(design.f2 > design.f1)) {
    scan.error =
        "line " + formatInteger(F2_LINE) + ": high frequency (f2) is not above low frequency (f1)";
  }
  scan.expectLine(PART1_LINE, PART1_HEADING, "\"Output Part 1\" heading");
  scan.expectLine(PART2_LINE, PART2_HEADING, "\"Output Part 2\" heading");
  // A reflection magnitude lies between 0 and 1; the best one may print as zero.
  design.rhoMin = scan.nonNegative(RHO_MIN_LINE, RHO_MIN_LABEL, "smallest reflection magnitude");
  design.rhoMax = scan.positive(RHO_MAX_LINE, RHO_MAX_LABEL, "largest reflection magnitude");
  if (!scan.failed() && (design.rhoMax > 1.0 || design.rhoMin > design.rhoMax)) {
    scan.error = "lines " + formatInteger(RHO_MIN_LINE) + " and " + formatInteger(RHO_MAX_LINE) +
                 ": the reflection magnitudes must satisfy 0 <= min <= max <= 1";
  }
  scan.expectLine(PART3_LINE, PART3_HEADING, "\"Output Part 3\" heading");
  if (scan.failed()) {
    return {std::nullopt, scan.error};
  }

  const int n = design.N;
  scan.expectLine(PART4_LINE_BEFORE_N + n, PART4_HEADING, "\"Output Part 4\" heading");
  design.ladder.loadType = design.loadType;
  design.ladder.loadResistance =
      scan.positive(LOAD_RESISTANCE_LINE_BEFORE_N + n, LOAD_RESISTANCE_LABEL, "load resistance");
  for (int k = 1; k <= n; ++k) {
    const int inductorLine = PART4_LINE_BEFORE_N + n + 2 * k;
    const std::string inductorName = "L(" + formatInteger(k) + ")";
    const std::string capacitorName = "C(" + formatInteger(k) + ")";
    design.ladder.inductance.push_back(
        scan.positive(inductorLine, indexedLabel('L', k, INDUCTOR_LABEL_TAIL), inductorName));
    design.ladder.capacitance.push_back(
        scan.positive(inductorLine + 1, indexedLabel('C', k, CAPACITOR_LABEL_TAIL), capacitorName));
  }
  design.ladder.sourceResistance = scan.positive(SOURCE_RESISTANCE_LINE_BEFORE_3N + 3 * n,
                                                 SOURCE_RESISTANCE_LABEL, "source resistance");
  if (scan.failed()) {
    return {std::nullopt, scan.error};
  }
  return {design, {}};
}

std::string_view loadTypeName(LoadType loadType) {
  return loadType == LoadType::series ? "series load" : "parallel load";
}

}  // namespace bandmatch
