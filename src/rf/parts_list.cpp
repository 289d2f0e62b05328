#include "rf/parts_list.hpp"

#include <array>
#include <optional>
#include <vector>

#include "core/number_format.hpp"
#include "rf/engineering_units.hpp"

namespace bandmatch {

namespace {

constexpr int IDEAL_DIGITS = 6;
constexpr int ERROR_DIGITS = 2;

enum Column { KIND, POSITION, BRANCH, ELEMENT, IDEAL, CHOSEN, ERROR, UNIT, Q, NOTE, COLUMNS };
using Row = std::array<std::string, COLUMNS>;

constexpr std::array<std::string_view, COLUMNS> HEADER = {
    "kind", "position", "branch", "element", "ideal", "chosen", "error (%)", "unit", "Q", "note"};

constexpr std::string_view SENSITIVITY_HEADER = "worst |S11| change per +1 %";

// A row, with the sensitivity column when the list has one.
void appendRow(std::vector<std::vector<std::string>>& rows, const Row& row,
               const std::optional<std::string>& sensitivity = std::nullopt) {
  std::vector<std::string>& cells = rows.emplace_back(row.begin(), row.end());
  if (sensitivity) {
    cells.push_back(*sensitivity);
  }
}

// A resistance row of its own: the source or the load.
Row terminationRow(std::string kind, double ohms, std::string note) {
  const EngineeringScale scale = engineeringScale(ohms, OHM);
  return {std::move(kind),
          {},
          {},
          std::string("R"),
          formatInScale(ohms, scale, IDEAL_DIGITS),
          {},
          {},
          scale.unit,
          {},
          std::move(note)};
}

// One inductor or capacitor. The unit follows the value to buy, so both values share it.
Row partRow(int position, bool series, char element, double ideal, std::optional<double> chosen,
            std::optional<double> q, double loss) {
  const EngineeringScale scale =
      engineeringScale(chosen.value_or(ideal), element == 'L' ? HENRY : FARAD);
  Row row = {std::string(position == 1 ? "load resonator" : "part"), formatInteger(position),
             std::string(series ? "series" : "shunt"), std::string(1, element)};
  row[IDEAL] = formatInScale(ideal, scale, IDEAL_DIGITS);
  if (chosen) {
    row[CHOSEN] = formatInScale(*chosen, scale, IDEAL_DIGITS);
    row[ERROR] = formatFixed((*chosen - ideal) / ideal * 100.0, ERROR_DIGITS);
  }
  row[UNIT] = scale.unit;
  if (position == 1) {
    row[NOTE] = "the load's own reactance: not a part to buy";
    return row;
  }
  if (q) {
    row[Q] = formatPlainDecimal(*q, IDEAL_DIGITS);
    row[NOTE] = "series loss " + formatEngineering(loss, OHM, 4) + " at the band centre";
  }
  return row;
}

}  // namespace

std::vector<std::vector<std::string>> partsListRows(
    const ReportedDesign& design, const LadderNetwork& ideal, const LadderNetwork& built,
    const BuildOptions& options, const std::vector<PartSensitivity>* sensitivities) {
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
    const Row row = {std::string("transformer"),
                     {},
                     {},
                     std::string("n"),
                     formatPlainDecimal(n, IDEAL_DIGITS),
                     {},
                     {},
                     {},
                     {},
                     "ideal transformer: turns ratio n:1 ladder side to source side; impedance "
                     "ratio " +
                         formatPlainDecimal(n * n, IDEAL_DIGITS) + ":1"};
    appendRow(rows, row, blank);
  }
  for (int position = design.N; position >= 1; --position) {
    const auto index = static_cast<std::size_t>(position) - 1;
    const bool series = isSeriesPosition(design.loadType, position);
    const bool standard = options.series.has_value() && position >= FIRST_BUILT_POSITION;
    appendRow(rows,
              partRow(position, series, 'L', ideal.inductance[index],
                      standard ? std::optional(built.inductance[index]) : std::nullopt,
                      position >= FIRST_BUILT_POSITION ? options.inductorQ : std::nullopt,
                      lossAt(built.inductorLoss, index)),
              sensitivityOf(position, PartKind::inductor));
    appendRow(rows,
              partRow(position, series, 'C', ideal.capacitance[index],
                      standard ? std::optional(built.capacitance[index]) : std::nullopt,
                      position >= FIRST_BUILT_POSITION ? options.capacitorQ : std::nullopt,
                      lossAt(built.capacitorLoss, index)),
              sensitivityOf(position, PartKind::capacitor));
  }
  appendRow(rows, terminationRow("load", built.loadResistance, "the load's resistance"), blank);
  return rows;
}

std::string renderPartsList(const ReportedDesign& design, const LadderNetwork& ideal,
                            const LadderNetwork& built, const BuildOptions& options,
                            const std::vector<PartSensitivity>* sensitivities) {
  std::string text;
  for (const std::vector<std::string>& row :
       partsListRows(design, ideal, built, options, sensitivities)) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      text += row[c];
      text += c + 1 < row.size() ? ',' : '\n';
    }
  }
  return text;
}

}  // namespace bandmatch
