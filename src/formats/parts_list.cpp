#include "formats/parts_list.hpp"

#include <array>
#include <optional>
#include <vector>

#include "core/number_format.hpp"
#include "core/engineering_units.hpp"
#include "core/figure_digits.hpp"

namespace bandmatch {

namespace {

constexpr int IDEAL_DIGITS = 6;
constexpr int ERROR_DIGITS = 2;

enum Column { KIND, POSITION, BRANCH, ELEMENT, IDEAL, CHOSEN, ERROR, UNIT, Q, NOTE, EXACT, COLUMNS };
using Row = std::array<std::string, COLUMNS>;

constexpr std::array<std::string_view, COLUMNS> HEADER = {
    "kind", "position", "branch", "element", "ideal", "chosen",
    "error (%)", "unit", "Q", "note", "exact value (SI)"};

constexpr std::string_view TRANSFORMER_NOTE =
    "ideal transformer: turns ratio n:1 ladder side to source side; impedance ratio ";
constexpr std::string_view SENSITIVITY_HEADER = "worst |S11| change per +1 %";
constexpr std::array<std::string_view, 2> STRESS_HEADER = {"peak voltage (V)", "RMS current (A)"};
constexpr int STRESS_DIGITS = 4;
constexpr std::string_view NOT_TO_BUY = "the load's own reactance: not a part to buy";
constexpr std::string_view MEASURED_NOT_TO_BUY =
    "the measured load's own reactance (fitted): not a part to buy";

std::string exact(double value) {
  return formatScientific(value, figure_digits::ELEMENT_VALUE);
}

// A row, with the sensitivity column last when the list has one.
void appendRow(std::vector<std::vector<std::string>>& rows, const Row& row,
               const std::optional<std::string>& sensitivity = std::nullopt) {
  std::vector<std::string>& cells = rows.emplace_back(row.begin(), row.end());
  if (sensitivity) {
    cells.push_back(*sensitivity);
  }
}

std::string transformerNote(double n) {
  std::string note = std::string(TRANSFORMER_NOTE);
  note += formatPlainDecimal(n * n, IDEAL_DIGITS);
  note += ":1";
  return note;
}

// A resistance row of its own: the source or the load.
Row terminationRow(std::string kind, double ohms, std::string note) {
  const EngineeringScale scale = engineeringScale(ohms, OHM);
  Row row = {std::move(kind), {}, {}, std::string("R"), formatInScale(ohms, scale, IDEAL_DIGITS)};
  row[UNIT] = scale.unit;
  row[NOTE] = std::move(note);
  row[EXACT] = exact(ohms);
  return row;
}

// One inductor or capacitor. The unit follows the value to buy, so both values share it.
Row partRow(std::string kind, int position, bool series, char element, double ideal,
            std::optional<double> chosen, std::optional<double> q, double loss) {
  const EngineeringScale scale =
      engineeringScale(chosen.value_or(ideal), element == 'L' ? HENRY : FARAD);
  Row row = {std::move(kind), formatInteger(position), std::string(series ? "series" : "shunt"),
             std::string(1, element)};
  row[IDEAL] = formatInScale(ideal, scale, IDEAL_DIGITS);
  if (chosen) {
    row[CHOSEN] = formatInScale(*chosen, scale, IDEAL_DIGITS);
    row[ERROR] = formatFixed((*chosen - ideal) / ideal * 100.0, ERROR_DIGITS);
  }
  row[UNIT] = scale.unit;
  row[EXACT] = exact(chosen.value_or(ideal));
  if (q) {
    row[Q] = formatPlainDecimal(*q, IDEAL_DIGITS);
    row[NOTE] = "series loss " + formatEngineering(loss, OHM, 4) + " at the band centre";
  }
  return row;
}

// The load's own element at position 1: listed, never bought.
Row ownRow(bool series, char element, double value, std::string_view note) {
  Row row = partRow("load resonator", 1, series, element, value, std::nullopt, std::nullopt, 0.0);
  row[NOTE] = note;
  return row;
}

// The rows of the list without the stress columns.
std::vector<std::vector<std::string>> partsWithoutStress(
    const ReportedDesign& design, const LadderNetwork& ideal, const LadderNetwork& built,
    const BuildOptions& options, const std::vector<PartSensitivity>* sensitivities,
    const MeasuredLoadParts* measured) {
  // The sensitivity column's cell of a part, empty for the other rows.
  const std::optional<std::string> blank =
      sensitivities ? std::optional<std::string>("") : std::nullopt;
  const auto sensitivityOf = [&](int position, PartKind kind) {
    if (sensitivities) {
      for (const PartSensitivity& sensitivity : *sensitivities) {
        if (sensitivity.position == position && sensitivity.kind == kind) {
          return std::optional<std::string>(formatSensitivity(sensitivity.change));
        }
      }
    }
    return blank;
  };
  std::vector<std::vector<std::string>> rows;
  Row header;
  for (std::size_t c = 0; c < header.size(); ++c) {
    header[c] = HEADER[c];
  }
  appendRow(rows, header,
            sensitivities ? std::optional<std::string>(SENSITIVITY_HEADER) : std::nullopt);
  appendRow(rows, terminationRow("source", built.sourceResistance, "the source's own resistance"),
            blank);
  if (built.turnsRatio) {
    const double n = *built.turnsRatio;
    Row row = {std::string("transformer"), {}, {}, std::string("n"),
               formatPlainDecimal(n, IDEAL_DIGITS)};
    row[NOTE] = transformerNote(n);
    row[EXACT] = exact(n);
    appendRow(rows, row, blank);
  }
  for (int position = design.N; position >= FIRST_BUILT_POSITION; --position) {
    const auto index = static_cast<std::size_t>(position) - 1;
    const bool series = isSeriesPosition(design.loadType, position);
    const bool standard = options.series.has_value();
    appendRow(rows,
              partRow("part", position, series, 'L', ideal.inductance[index],
                      standard ? std::optional(built.inductance[index]) : std::nullopt,
                      options.inductorQ, lossAt(built.inductorLoss, index)),
              sensitivityOf(position, PartKind::inductor));
    appendRow(rows,
              partRow("part", position, series, 'C', ideal.capacitance[index],
                      standard ? std::optional(built.capacitance[index]) : std::nullopt,
                      options.capacitorQ, lossAt(built.capacitorLoss, index)),
              sensitivityOf(position, PartKind::capacitor));
  }
  const bool seriesLoad = isSeriesPosition(design.loadType, 1);
  if (measured == nullptr) {
    appendRow(rows, ownRow(seriesLoad, 'L', built.inductance.front(), NOT_TO_BUY), blank);
    appendRow(rows, ownRow(seriesLoad, 'C', built.capacitance.front(), NOT_TO_BUY), blank);
    appendRow(rows, terminationRow("load", built.loadResistance, "the load's resistance"), blank);
    return rows;
  }
  // The measured load: its retuning element is a part to buy, its own values are fitted.
  const Retuning& retuning = measured->built;
  if (retuning.kind != RetuningKind::none) {
    const bool inductor = retunesWithInductor(retuning.kind);
    Row row = partRow("part", 1, retunesInSeries(retuning.kind), inductor ? 'L' : 'C',
                      measured->ideal.value,
                      options.series ? std::optional(retuning.value) : std::nullopt,
                      inductor ? options.inductorQ : options.capacitorQ, retuning.loss);
    row[NOTE] = "retunes the measured load to resonate at the band centre" +
                (row[NOTE].empty() ? std::string() : "; " + row[NOTE]);
    appendRow(rows, row, sensitivityOf(1, inductor ? PartKind::inductor : PartKind::capacitor));
  }
  const LoadModel& model = measured->model;
  appendRow(rows, ownRow(seriesLoad, 'L', model.inductance, MEASURED_NOT_TO_BUY), blank);
  appendRow(rows, ownRow(seriesLoad, 'C', model.capacitance, MEASURED_NOT_TO_BUY), blank);
  appendRow(rows,
            terminationRow("load", model.type == LoadType::series ? model.level : 1.0 / model.level,
                           "the measured load's resistance (fitted band average)"),
            blank);
  return rows;
}

// The stress columns: their names on the header, each part's figures on its row (by position
// and element), blanks elsewhere.
void appendStress(std::vector<std::vector<std::string>>& rows,
                  const std::vector<LadderPartStress>& stresses) {
  rows.front().insert(rows.front().end(), STRESS_HEADER.begin(), STRESS_HEADER.end());
  for (std::size_t r = 1; r < rows.size(); ++r) {
    std::vector<std::string>& row = rows[r];
    std::string voltage;
    std::string current;
    for (const LadderPartStress& stress : stresses) {
      const char element = stress.element == StressedElement::inductor ? 'L' : 'C';
      if (row[KIND] == "part" && row[POSITION] == formatInteger(stress.position) &&
          row[ELEMENT] == std::string(1, element)) {
        voltage = formatPlainDecimal(stress.peakVoltage, STRESS_DIGITS);
        current = formatPlainDecimal(stress.rmsCurrent, STRESS_DIGITS);
      }
    }
    row.push_back(voltage);
    row.push_back(current);
  }
}

}  // namespace

std::vector<std::vector<std::string>> partsListRows(
    const ReportedDesign& design, const LadderNetwork& ideal, const LadderNetwork& built,
    const BuildOptions& options, const std::vector<PartSensitivity>* sensitivities,
    const MeasuredLoadParts* measured, const std::vector<LadderPartStress>* stresses) {
  std::vector<std::vector<std::string>> rows =
      partsWithoutStress(design, ideal, built, options, sensitivities, measured);
  if (stresses != nullptr) {
    appendStress(rows, *stresses);
  }
  return rows;
}

std::string csvText(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      text += row[c];
      text += c + 1 < row.size() ? ',' : '\n';
    }
  }
  return text;
}

std::string renderPartsList(const ReportedDesign& design, const LadderNetwork& ideal,
                            const LadderNetwork& built, const BuildOptions& options,
                            const std::vector<PartSensitivity>* sensitivities,
                            const MeasuredLoadParts* measured,
                            const std::vector<LadderPartStress>* stresses) {
  return csvText(partsListRows(design, ideal, built, options, sensitivities, measured, stresses));
}

}  // namespace bandmatch
