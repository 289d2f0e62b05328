#include "formats/cascade_parts_list.hpp"

#include <array>
#include <numbers>

#include "core/display_text.hpp"
#include "core/engineering_units.hpp"
#include "core/number_format.hpp"
#include "formats/parts_list.hpp"
#include "network/topology.hpp"

namespace bandmatch {

namespace {

constexpr int VALUE_DIGITS = 6;
constexpr int STRESS_DIGITS = 4;
constexpr int PERCENT_DIGITS = 2;
constexpr double MILLIMETRES_PER_METRE = 1e3;
constexpr double DEGREES_PER_RADIAN = 180.0 / std::numbers::pi;

enum Column {
  KIND,
  SECTION,
  NAME,
  ARM,
  ELEMENT,
  VALUE,
  UNIT,
  Q,
  IMPEDANCE,
  DEGREES,
  NOTE,
  EXACT,
  EXACT_LENGTH,
  COLUMNS
};
using Row = std::array<std::string, COLUMNS>;

constexpr std::array<std::string_view, COLUMNS> HEADER = {
    "kind",   "section", "name",     "arm",  "element",          "value",
    "unit",   "Q",       "Z0 (ohm)", "length (deg at f0)", "note", "exact value (SI)",
    "exact length (rad at f0)"};
constexpr std::array<std::string_view, 2> BOARD_HEADER = {"microstrip width (mm)",
                                                          "microstrip length (mm)"};
constexpr std::array<std::string_view, 2> STRESS_HEADER = {"peak voltage (V)", "RMS current (A)"};

constexpr std::string_view NOT_A_PART = "not a part to buy";
constexpr std::string_view NO_WIDTH = "no microstrip width on this board has this Z0";

// Seventeen digits, so that the network rebuilt from the list is the one analysed to the bit.
std::string exact(double value) {
  return formatFullPrecision(value);
}

// A name the user gave, as a cell: printable, without the CSV's comma and quote.
std::string cellText(std::string_view text) {
  std::string cell = printableText(text);
  for (char& c : cell) {
    c = c == ',' ? ';' : (c == '"' ? '\'' : c);
  }
  return cell;
}

// One resistor, inductor or capacitor with its value in the unit people buy it in.
Row valueRow(std::string kind, char element, double value) {
  const std::string_view base = element == 'L' ? HENRY : element == 'C' ? FARAD : OHM;
  const EngineeringScale scale = engineeringScale(value, base);
  Row row;
  row[KIND] = std::move(kind);
  row[ELEMENT] = std::string(1, element);
  row[VALUE] = formatInScale(value, scale, VALUE_DIGITS);
  row[UNIT] = scale.unit;
  row[EXACT] = exact(value);
  return row;
}

// The rows of an end: its resistance and its model's L and C, or a measured one-port and the
// model fitted to it.
std::vector<Row> endRows(const CascadeEnd& end, std::string_view role) {
  const std::string kind(role);
  std::vector<Row> rows;
  std::optional<NetworkEnd> model = end.end;
  std::string note = std::string("the ") + kind + "'s own: " + std::string(NOT_A_PART);
  if (end.end.kind == EndKind::measured) {
    Row row;
    row[KIND] = kind;
    row[ELEMENT] = "measured";
    row[NOTE] = "measured one-port " + cellText(end.name);
    rows.push_back(row);
    model = end.fitted;
    note = "fitted to the measured one-port over the band (worst error " +
           formatFixed(100.0 * end.fitError, PERCENT_DIGITS) + " %): " + std::string(NOT_A_PART);
  }
  if (!model) {
    return rows;
  }
  const std::string arm = model->kind == EndKind::seriesModel     ? "series model"
                          : model->kind == EndKind::parallelModel ? "parallel model"
                                                                  : "";
  const auto add = [&](char element, double value) {
    Row row = valueRow(kind, element, value);
    row[ARM] = arm;
    row[NOTE] = note;
    rows.push_back(row);
  };
  add('R', model->resistance);
  if (model->inductance) {
    add('L', *model->inductance);
  }
  if (model->capacitance) {
    add('C', *model->capacitance);
  }
  return rows;
}

bool inSeriesArm(SectionKind kind) {
  return kind == SectionKind::seriesInductor || kind == SectionKind::seriesCapacitor ||
         kind == SectionKind::seriesResonator || kind == SectionKind::seriesTank ||
         kind == SectionKind::line;
}

std::string formOf(SectionKind kind) {
  switch (kind) {
    case SectionKind::seriesResonator:
    case SectionKind::shuntResonator:
      return "L and C in series";
    case SectionKind::seriesTank:
    case SectionKind::shuntTank:
      return "L and C in parallel";
    default:
      return {};
  }
}

// The note of a lossy inductor or capacitor.
std::string lossNote(double resistance) {
  return "series loss " + formatEngineering(resistance, OHM, 4) + " at f0";
}

// One more note after those a row has.
void appendNote(Row& row, std::string_view note) {
  if (!note.empty()) {
    row[NOTE] += (row[NOTE].empty() ? "" : "; ") + std::string(note);
  }
}

struct SectionRow {
  Row row;
  std::optional<StressedElement> stressed;
  std::array<std::string, 2> board;
};

std::vector<SectionRow> sectionRows(const Section& section, std::size_t index, double centreMHz,
                                    const std::optional<Substrate>& substrate) {
  std::vector<SectionRow> rows;
  const auto base = [&](std::string kind) {
    Row row;
    row[KIND] = std::move(kind);
    row[SECTION] = formatInteger(static_cast<long long>(index) + 1);
    row[NAME] = std::string(sectionName(section.kind));
    row[ARM] = inSeriesArm(section.kind) ? "series" : "shunt";
    return row;
  };
  const auto addPart = [&](char element) {
    const bool inductor = element == 'L';
    Row row = valueRow("part", element, inductor ? section.inductance : section.capacitance);
    const Row named = base("part");
    for (const Column c : {SECTION, NAME, ARM}) {
      row[c] = named[c];
    }
    const double q = inductor ? section.inductorQ : section.capacitorQ;
    appendNote(row, formOf(section.kind));
    if (q != LOSSLESS_Q) {
      row[Q] = formatPlainDecimal(q, VALUE_DIGITS);
      const std::complex<double> impedance =
          inductor ? partInductorImpedance(section, centreMHz, centreMHz)
                   : partCapacitorImpedance(section, centreMHz, centreMHz);
      appendNote(row, lossNote(impedance.real()));
    }
    rows.push_back(
        {row, inductor ? StressedElement::inductor : StressedElement::capacitor, {}});
  };
  switch (section.kind) {
    case SectionKind::seriesInductor:
    case SectionKind::shuntInductor:
      addPart('L');
      break;
    case SectionKind::seriesCapacitor:
    case SectionKind::shuntCapacitor:
      addPart('C');
      break;
    case SectionKind::seriesResonator:
    case SectionKind::shuntResonator:
    case SectionKind::seriesTank:
    case SectionKind::shuntTank:
      addPart('L');
      addPart('C');
      break;
    case SectionKind::transformer: {
      Row row = base("transformer");
      row[ARM].clear();
      row[ELEMENT] = std::string("n");
      row[VALUE] = formatPlainDecimal(section.turnsRatio, VALUE_DIGITS);
      row[NOTE] = "ideal transformer: the load side is seen from the source n^2 = " +
                  formatPlainDecimal(section.turnsRatio * section.turnsRatio, VALUE_DIGITS) +
                  " times larger";
      row[EXACT] = exact(section.turnsRatio);
      rows.push_back({row, std::nullopt, {}});
      break;
    }
    case SectionKind::line:
    case SectionKind::openStub:
    case SectionKind::shortStub: {
      const bool stub = section.kind != SectionKind::line;
      Row row = base(stub ? "stub" : "line");
      row[ELEMENT] = section.kind == SectionKind::line       ? "line"
                     : section.kind == SectionKind::openStub ? "open stub"
                                                             : "short-circuited stub";
      row[IMPEDANCE] = formatPlainDecimal(section.impedance, VALUE_DIGITS);
      row[DEGREES] = formatPlainDecimal(section.length * DEGREES_PER_RADIAN, VALUE_DIGITS);
      row[EXACT] = exact(section.impedance);
      row[EXACT_LENGTH] = exact(section.length);
      if (section.lineLossDb != 0.0) {
        appendNote(row, "loss " + formatPlainDecimal(section.lineLossDb, VALUE_DIGITS) +
                            " dB per wavelength at f0");
      }
      std::array<std::string, 2> board;
      if (substrate) {
        const std::optional<double> width = microstripWidth(*substrate, section.impedance);
        if (width) {
          board[0] = formatPlainDecimal(*width * MILLIMETRES_PER_METRE, VALUE_DIGITS);
          board[1] = formatPlainDecimal(
              microstripLength(*substrate, *width, section.length, centreMHz) *
                  MILLIMETRES_PER_METRE,
              VALUE_DIGITS);
        } else {
          appendNote(row, NO_WIDTH);
        }
      }
      rows.push_back({row, StressedElement::line, board});
      break;
    }
  }
  return rows;
}

}  // namespace

std::vector<std::vector<std::string>> cascadePartsRows(const MatchedCascade& cascade,
                                                       const std::optional<Substrate>& substrate,
                                                       const std::vector<PartStress>* stresses) {
  std::vector<std::vector<std::string>> rows;
  // A row with the optional columns after the header's own.
  const auto append = [&](const Row& row, const std::array<std::string, 2>& board,
                          const std::array<std::string, 2>& stress) {
    std::vector<std::string>& cells = rows.emplace_back(row.begin(), row.end());
    if (substrate) {
      cells.insert(cells.end(), board.begin(), board.end());
    }
    if (stresses != nullptr) {
      cells.insert(cells.end(), stress.begin(), stress.end());
    }
  };
  Row header;
  for (std::size_t c = 0; c < header.size(); ++c) {
    header[c] = HEADER[c];
  }
  append(header, {std::string(BOARD_HEADER[0]), std::string(BOARD_HEADER[1])},
         {std::string(STRESS_HEADER[0]), std::string(STRESS_HEADER[1])});

  for (const Row& row : endRows(cascade.source, "source")) {
    append(row, {}, {});
  }
  const CascadeNetwork& network = cascade.network;
  for (std::size_t i = 0; i < network.sections.size(); ++i) {
    for (const SectionRow& row : sectionRows(network.sections[i], i, network.centreMHz, substrate)) {
      std::array<std::string, 2> stress;
      if (stresses != nullptr && row.stressed) {
        for (const PartStress& part : *stresses) {
          if (part.section == i && part.element == *row.stressed) {
            stress = {formatPlainDecimal(part.peakVoltage, STRESS_DIGITS),
                      formatPlainDecimal(part.rmsCurrent, STRESS_DIGITS)};
          }
        }
      }
      append(row.row, row.board, stress);
    }
  }
  for (const Row& row : endRows(cascade.load, "load")) {
    append(row, {}, {});
  }
  return rows;
}

std::string renderCascadePartsList(const MatchedCascade& cascade,
                                   const std::optional<Substrate>& substrate,
                                   const std::vector<PartStress>* stresses) {
  return csvText(cascadePartsRows(cascade, substrate, stresses));
}

}  // namespace bandmatch
