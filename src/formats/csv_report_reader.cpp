#include "formats/csv_report_reader.hpp"

#include <charconv>
#include <cmath>
#include <system_error>
#include <vector>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/real_parse.hpp"
#include "core/report_layout.hpp"

namespace bandmatch {

namespace {

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
    const auto [ptr, ec] = parseReal(cell->data(), end, parsed);
    const std::string where = "line " + formatInteger(number) + ": " + std::string(rowName) + " ";
    if (cell->empty() || ptr != end ||
        (ec != std::errc() && ec != std::errc::result_out_of_range)) {
      error = where + "is not a number: " + quotedText(*cell);
    } else if (ec == std::errc::result_out_of_range || !std::isfinite(parsed)) {
      error = where + "is not finite: " + quotedText(*cell);
    } else if (parsed < 0.0 || (parsed == 0.0 && !zeroAllowed)) {
      error = where + (zeroAllowed ? "is negative: " : "is not positive: ") + quotedText(*cell);
    }
    return parsed;
  }
};

// The CSV label of a value row: the report's label and the comma.
std::string csvLabel(std::string_view label) {
  return std::string(label) + std::string(csvRows::CELL_SEPARATOR);
}

std::string indexedCsvLabel(std::string_view open, int index, std::string_view close) {
  return std::string(open) + formatInteger(index) + csvLabel(close);
}

}  // namespace

ReportReading readCsvReport(std::string_view text) {
  namespace label = reportLabels;
  namespace line = csvLines;
  ReportScanner scan{splitReportLines(text), {}};
  ReportedDesign design;

  scan.expectLine(line::INPUTS_HEADING, label::INPUTS_HEADING, "\"Inputs:\" heading");
  if (const std::optional<std::string_view> cell = scan.value(line::N, csvLabel(label::N), "N")) {
    int n = 0;
    const char* end = cell->data() + cell->size();
    const auto [ptr, ec] = std::from_chars(cell->data(), end, n);
    if (cell->empty() || ec != std::errc() || ptr != end || !isValidElementCount(n)) {
      scan.error = "line " + formatInteger(line::N) + ": N must be a whole number from " +
                   formatInteger(MIN_ELEMENTS) + " to " + formatInteger(MAX_ELEMENTS) + ", found " +
                   quotedText(*cell);
    }
    design.N = n;
  }
  if (const std::optional<std::string_view> row =
          scan.line(line::LOAD_TYPE_CHOICE, "load type row")) {
    if (*row == csvRows::SERIES_CHOICE) {
      design.loadType = LoadType::series;
    } else if (*row == csvRows::PARALLEL_CHOICE) {
      design.loadType = LoadType::parallel;
    } else {
      scan.refuseShape(line::LOAD_TYPE_CHOICE, "load type row");
    }
  }
  design.f1 =
      scan.positive(line::LOW_FREQUENCY, csvLabel(label::LOW_FREQUENCY), "low frequency (f1)");
  design.f2 =
      scan.positive(line::HIGH_FREQUENCY, csvLabel(label::HIGH_FREQUENCY), "high frequency (f2)");
  if (!scan.failed() && !(design.f2 > design.f1)) {
    scan.error = "line " + formatInteger(line::HIGH_FREQUENCY) +
                 ": high frequency (f2) is not above low frequency (f1)";
  }
  scan.expectLine(line::OUTPUT_PART_1_HEADING, label::OUTPUT_PART_1_HEADING,
                  "\"Output Part 1\" heading");
  scan.expectLine(line::OUTPUT_PART_2_HEADING, label::OUTPUT_PART_2_HEADING,
                  "\"Output Part 2\" heading");
  // A reflection magnitude lies between 0 and 1; at a large decrement even the largest one is
  // below the printed resolution and prints as zero.
  design.rhoMin =
      scan.nonNegative(line::RHO_MIN, csvLabel(label::RHO_MIN), "smallest reflection magnitude");
  design.rhoMax =
      scan.nonNegative(line::RHO_MAX, csvLabel(label::RHO_MAX), "largest reflection magnitude");
  if (!scan.failed() && (design.rhoMax > 1.0 || design.rhoMin > design.rhoMax)) {
    scan.error = "lines " + formatInteger(line::RHO_MIN) + " and " + formatInteger(line::RHO_MAX) +
                 ": the reflection magnitudes must satisfy 0 <= min <= max <= 1";
  }
  scan.expectLine(line::OUTPUT_PART_3_HEADING, label::OUTPUT_PART_3_HEADING,
                  "\"Output Part 3\" heading");
  if (scan.failed()) {
    return {std::nullopt, scan.error};
  }

  const int n = design.N;
  scan.expectLine(line::outputPart4Heading(n), label::OUTPUT_PART_4_HEADING,
                  "\"Output Part 4\" heading");
  design.ladder.loadType = design.loadType;
  design.ladder.loadResistance =
      scan.positive(line::loadResistance(n), csvLabel(label::LOAD_RESISTANCE), "load resistance");
  for (int k = 1; k <= n; ++k) {
    const std::string inductorName = "L(" + formatInteger(k) + ")";
    const std::string capacitorName = "C(" + formatInteger(k) + ")";
    design.ladder.inductance.push_back(scan.positive(
        line::inductor(n, k), indexedCsvLabel(label::L_OPEN, k, label::L_CLOSE), inductorName));
    design.ladder.capacitance.push_back(scan.positive(
        line::capacitor(n, k), indexedCsvLabel(label::C_OPEN, k, label::C_CLOSE), capacitorName));
  }
  design.ladder.sourceResistance = scan.positive(
      line::sourceResistance(n), csvLabel(label::SOURCE_RESISTANCE), "source resistance");
  // A tuned network's report carries its retuning element after the rows of the layout.
  for (int number = line::sourceResistance(n) + 1;
       !scan.failed() && number <= static_cast<int>(scan.lines.size()); ++number) {
    const std::string_view row = scan.lines[static_cast<std::size_t>(number) - 1];
    for (const RetuningKind kind : {RetuningKind::seriesCapacitor, RetuningKind::seriesInductor,
                                    RetuningKind::shuntCapacitor, RetuningKind::shuntInductor}) {
      const std::string retuningLabel = csvLabel(std::string(tunedRows::RETUNING_OPEN) +
                                                 std::string(retuningName(kind)) +
                                                 std::string(tunedRows::RETUNING_CLOSE));
      if (row.substr(0, retuningLabel.size()) == retuningLabel) {
        Retuning retuning;
        retuning.kind = kind;
        retuning.value = scan.positive(number, retuningLabel, "retuning element");
        design.retuning = retuning;
      }
    }
  }
  if (scan.failed()) {
    return {std::nullopt, scan.error};
  }
  return {design, {}};
}

}  // namespace bandmatch
