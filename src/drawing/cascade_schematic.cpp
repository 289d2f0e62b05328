#include "drawing/cascade_schematic.hpp"

#include <algorithm>
#include <numbers>
#include <string>
#include <vector>

#include "core/display_text.hpp"
#include "core/engineering_units.hpp"
#include "core/number_format.hpp"
#include "core/version.hpp"

namespace bandmatch {

namespace {

constexpr double RAIL_Y = SCHEMATIC_RAIL_Y;
constexpr double GROUND_Y = SCHEMATIC_GROUND_Y;
constexpr double MIDDLE_Y = (RAIL_Y + GROUND_Y) / 2.0;
constexpr double HALF = SCHEMATIC_HALF_SYMBOL;
constexpr double GAP = SCHEMATIC_LABEL_GAP;
constexpr double LINE = SCHEMATIC_LINE_HEIGHT;
constexpr double RAISED = 45.0;  // how far above the rail a tank's capacitor sits
constexpr int DIGITS = 4;
constexpr double DEGREES_PER_RADIAN = 180.0 / std::numbers::pi;

std::string value(double number, std::string_view unit) {
  return formatEngineering(number, unit, DIGITS);
}

std::string plain(double number) {
  return formatPlainDecimal(number, DIGITS);
}

double textWidth(const std::vector<std::string>& lines) {
  double width = 0.0;
  for (const std::string& line : lines) {
    width = std::max(width, schematicTextWidth(line));
  }
  return width;
}

// A label block starting right of a leg, its first baseline at y.
SchematicLabel rightOf(double x, double y, std::vector<std::string> lines) {
  return {x + 17.0, y, "start", std::move(lines), false};
}

// Name, value and Q (when it has losses) of a section's inductor or capacitor.
std::vector<std::string> partLines(const Section& section, std::size_t index, char element) {
  const bool inductor = element == 'L';
  std::vector<std::string> lines = {
      std::string(1, element) + formatInteger(static_cast<long long>(index) + 1),
      inductor ? value(section.inductance, HENRY) : value(section.capacitance, FARAD)};
  const double q = inductor ? section.inductorQ : section.capacitorQ;
  if (q != LOSSLESS_Q) {
    lines.push_back("Q " + formatPlainDecimal(q, DIGITS + 2));
  }
  return lines;
}

// A line's or stub's impedance, length and loss, and its strip on the board.
std::vector<std::string> lineLines(const Section& section, std::string first, double centreMHz,
                                   const std::optional<Substrate>& substrate) {
  std::vector<std::string> lines = {
      std::move(first), "Z0 " + value(section.impedance, OHM),
      "\xce\xb8 " + plain(section.length * DEGREES_PER_RADIAN) + "\xc2\xb0 at f0"};
  if (section.lineLossDb != 0.0) {
    lines.push_back(plain(section.lineLossDb) + " dB/\xce\xbb");
  }
  if (substrate) {
    const std::optional<double> width = microstripWidth(*substrate, section.impedance);
    if (width) {
      lines.push_back("w " + plain(*width * 1e3) + " mm");
      lines.push_back("l " + plain(microstripLength(*substrate, *width, section.length, centreMHz) *
                                   1e3) +
                      " mm");
    } else {
      lines.push_back("no microstrip");
    }
  }
  return lines;
}

// Parts in the top rail one after another from `left`, each labelled above, spaced by their
// labels. Returns where the last one's room ends.
double railParts(SchematicColumn& column, double left,
                 const std::vector<std::pair<SymbolKind, std::vector<std::string>>>& parts) {
  double cursor = left;
  for (const auto& [kind, lines] : parts) {
    const double half = std::max(HALF, textWidth(lines) / 2.0) + GAP / 2.0;
    const double x = cursor + half;
    addInRail(column, kind, x);
    column.labels.push_back(labelAboveRail(x, lines));
    cursor = x + half;
  }
  return cursor;
}

std::string ohmsText(double resistance) {
  return formatEngineering(resistance, OHM, DIGITS + 2);
}

// The model's values, one a line, and how they are joined.
std::vector<std::string> modelLines(const NetworkEnd& end, std::string_view name) {
  std::vector<std::string> lines = {std::string(name) +
                                    (end.kind == EndKind::seriesModel ? ": R-L-C in series"
                                                                      : ": R-L-C in parallel")};
  lines.push_back("R " + ohmsText(end.resistance));
  if (end.inductance) {
    lines.push_back("L " + value(*end.inductance, HENRY));
  }
  if (end.capacitance) {
    lines.push_back("C " + value(*end.capacitance, FARAD));
  }
  return lines;
}

std::vector<std::string> measuredLines(const CascadeEnd& end, std::string_view name) {
  return {std::string(name) + ": measured", printableText(end.name)};
}

SchematicColumn sourceColumn(const CascadeEnd& source) {
  SchematicColumn column;
  constexpr double sourceX = 30.0;
  addLeg(column, SymbolKind::source, sourceX);
  column.labels.push_back({sourceX, GROUND_Y + 24.0, "start", {"source"}, false});
  column.groundX = sourceX;
  const NetworkEnd& end = source.end;
  std::vector<std::pair<SymbolKind, std::vector<std::string>>> parts;
  if (end.kind == EndKind::resistance) {
    parts.push_back({SymbolKind::resistor, {"Rs", ohmsText(end.resistance)}});
  } else if (end.kind == EndKind::seriesModel) {
    parts.push_back({SymbolKind::resistor, {"Rs", ohmsText(end.resistance)}});
    if (end.inductance) {
      parts.push_back({SymbolKind::inductor, {"Ls", value(*end.inductance, HENRY)}});
    }
    if (end.capacitance) {
      parts.push_back({SymbolKind::capacitor, {"Cs", value(*end.capacitance, FARAD)}});
    }
  } else {
    parts.push_back({SymbolKind::impedance, end.kind == EndKind::measured
                                                ? measuredLines(source, "Zs")
                                                : modelLines(end, "Zs")});
  }
  column.width = railParts(column, sourceX + 25.0, parts) + 10.0;
  return column;
}

SchematicColumn loadColumn(const CascadeEnd& load) {
  SchematicColumn column;
  constexpr double x = 30.0;
  const NetworkEnd& end = load.end;
  column.groundX = x;
  column.labels.push_back({x, GROUND_Y + 24.0, "start", {"load"}, false});
  if (end.kind == EndKind::resistance) {
    addLeg(column, SymbolKind::resistor, x);
    column.labels.push_back(rightOf(x, MIDDLE_Y - 4.0, {"RL", ohmsText(end.resistance)}));
  } else if (end.kind == EndKind::measured) {
    addLeg(column, SymbolKind::impedance, x);
    column.labels.push_back(rightOf(x, MIDDLE_Y - 4.0, measuredLines(load, "ZL")));
  } else if (end.kind == EndKind::seriesModel) {
    // R, L and C stacked in one leg from the rail down, wired to each other and to the rails.
    std::vector<SymbolKind> kinds = {SymbolKind::resistor};
    if (end.inductance) {
      kinds.push_back(SymbolKind::inductor);
    }
    if (end.capacitance) {
      kinds.push_back(SymbolKind::capacitor);
    }
    const double pitch = (GROUND_Y - RAIL_Y) / static_cast<double>(kinds.size());
    double top = RAIL_Y;
    for (const SymbolKind kind : kinds) {
      const double y = top + pitch / 2.0;
      column.symbols.push_back({kind, x, y, true, false});
      column.wires.push_back({x, top, x, y - HALF});
      column.wires.push_back({x, y + HALF, x, top + pitch});
      top += pitch;
    }
    column.labels.push_back(rightOf(x, RAIL_Y + GAP + SCHEMATIC_FONT_SIZE, modelLines(end, "ZL")));
  } else {
    // R, L and C side by side between the rails, joined at both.
    std::vector<SymbolKind> kinds = {SymbolKind::resistor};
    if (end.inductance) {
      kinds.push_back(SymbolKind::inductor);
    }
    if (end.capacitance) {
      kinds.push_back(SymbolKind::capacitor);
    }
    constexpr double pitch = 30.0;
    const double lastX = x + pitch * static_cast<double>(kinds.size() - 1);
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      addLeg(column, kinds[k], x + pitch * static_cast<double>(k));
    }
    column.wires.push_back({x, RAIL_Y, lastX, RAIL_Y});
    column.wires.push_back({x, GROUND_Y, lastX, GROUND_Y});
    column.labels.push_back(
        rightOf(lastX, RAIL_Y + GAP + SCHEMATIC_FONT_SIZE, modelLines(end, "ZL")));
  }
  column.width = 100.0;
  return column;
}

SchematicColumn shuntPart(SymbolKind kind, std::vector<std::string> lines) {
  SchematicColumn column;
  constexpr double x = 25.0;
  addLeg(column, kind, x);
  column.labels.push_back(rightOf(x, RAIL_Y + GAP + SCHEMATIC_FONT_SIZE, std::move(lines)));
  column.width = 60.0;
  return column;
}

SchematicColumn sectionColumn(const Section& section, std::size_t index, double centreMHz,
                              const std::optional<Substrate>& substrate) {
  SchematicColumn column;
  const std::string number = formatInteger(static_cast<long long>(index) + 1);
  switch (section.kind) {
    case SectionKind::seriesInductor:
      column.width = railParts(column, 0.0, {{SymbolKind::inductor, partLines(section, index, 'L')}});
      return column;
    case SectionKind::seriesCapacitor:
      column.width =
          railParts(column, 0.0, {{SymbolKind::capacitor, partLines(section, index, 'C')}});
      return column;
    case SectionKind::shuntInductor:
      return shuntPart(SymbolKind::inductor, partLines(section, index, 'L'));
    case SectionKind::shuntCapacitor:
      return shuntPart(SymbolKind::capacitor, partLines(section, index, 'C'));
    case SectionKind::seriesResonator: {
      // The inductor's label above the rail, the capacitor's below it.
      constexpr double inductorX = 40.0;
      constexpr double capacitorX = 95.0;
      addInRail(column, SymbolKind::inductor, inductorX);
      addInRail(column, SymbolKind::capacitor, capacitorX);
      column.labels.push_back(labelAboveRail(inductorX, partLines(section, index, 'L')));
      column.labels.push_back({capacitorX, RAIL_Y + GAP + SCHEMATIC_FONT_SIZE + 10.0, "middle",
                               partLines(section, index, 'C'), false});
      column.width = 135.0;
      return column;
    }
    case SectionKind::shuntResonator: {
      // L above C in one leg, each labelled on its right.
      constexpr double x = 25.0;
      const double inductorY = RAIL_Y + 50.0;
      const double capacitorY = GROUND_Y - 50.0;
      column.symbols.push_back({SymbolKind::inductor, x, inductorY, true, false});
      column.symbols.push_back({SymbolKind::capacitor, x, capacitorY, true, false});
      column.wires.push_back({x, RAIL_Y, x, inductorY - HALF});
      column.wires.push_back({x, inductorY + HALF, x, capacitorY - HALF});
      column.wires.push_back({x, capacitorY + HALF, x, GROUND_Y});
      column.labels.push_back(rightOf(x, inductorY - GAP, partLines(section, index, 'L')));
      column.labels.push_back(rightOf(x, capacitorY - GAP + 4.0, partLines(section, index, 'C')));
      column.width = 60.0;
      return column;
    }
    case SectionKind::seriesTank: {
      // The inductor in the rail, the capacitor across it raised above; the capacitor's label
      // above it, the inductor's below the rail.
      constexpr double left = 20.0;
      constexpr double right = 100.0;
      constexpr double x = (left + right) / 2.0;
      const double raised = RAIL_Y - RAISED;
      column.symbols.push_back({SymbolKind::inductor, x, RAIL_Y, false, false});
      column.symbols.push_back({SymbolKind::capacitor, x, raised, false, false});
      column.railGaps.emplace_back(x - HALF, x + HALF);
      for (const double end : {left, right}) {
        column.wires.push_back({end, RAIL_Y, end, raised});
      }
      column.wires.push_back({left, raised, x - HALF, raised});
      column.wires.push_back({x + HALF, raised, right, raised});
      std::vector<std::string> capacitor = partLines(section, index, 'C');
      const double first = raised - GAP - LINE * static_cast<double>(capacitor.size() - 1);
      column.labels.push_back({x, first, "middle", std::move(capacitor), false});
      column.labels.push_back({x, RAIL_Y + GAP + SCHEMATIC_FONT_SIZE + 4.0, "middle",
                               partLines(section, index, 'L'), false});
      column.width = 120.0;
      return column;
    }
    case SectionKind::shuntTank: {
      constexpr double inductorX = 25.0;
      constexpr double capacitorX = 55.0;
      addLeg(column, SymbolKind::inductor, inductorX);
      addLeg(column, SymbolKind::capacitor, capacitorX);
      SchematicLabel first =
          rightOf(capacitorX, RAIL_Y + GAP + SCHEMATIC_FONT_SIZE, partLines(section, index, 'L'));
      const double next = first.y + LINE * static_cast<double>(first.lines.size()) + 8.0;
      column.labels.push_back(std::move(first));
      column.labels.push_back(rightOf(capacitorX, next, partLines(section, index, 'C')));
      column.width = 90.0;
      return column;
    }
    case SectionKind::line:
      column.width = railParts(
          column, 0.0,
          {{SymbolKind::line, lineLines(section, "T" + number, centreMHz, substrate)}});
      return column;
    case SectionKind::openStub:
    case SectionKind::shortStub: {
      const bool open = section.kind == SectionKind::openStub;
      constexpr double x = 25.0;
      if (open) {
        // Hanging from the rail, its far end open.
        column.symbols.push_back({SymbolKind::line, x, MIDDLE_Y, true, false});
        column.symbols.push_back({SymbolKind::openEnd, x, MIDDLE_Y + HALF + 10.0, false, false});
        column.wires.push_back({x, RAIL_Y, x, MIDDLE_Y - HALF});
        column.wires.push_back({x, MIDDLE_Y + HALF, x, MIDDLE_Y + HALF + 7.0});
      } else {
        addLeg(column, SymbolKind::line, x);
      }
      column.labels.push_back(
          rightOf(x, RAIL_Y + GAP + SCHEMATIC_FONT_SIZE,
                  lineLines(section, "S" + number + (open ? " open" : " shorted"), centreMHz,
                            substrate)));
      column.width = 60.0;
      return column;
    }
    case SectionKind::transformer:
      return transformerColumn({"transformer X" + number,
                                plain(section.turnsRatio) + " : 1",
                                "Z " + plain(section.turnsRatio * section.turnsRatio) + " : 1"});
  }
  return column;
}

}  // namespace

SchematicLayout layoutCascadeSchematic(const MatchedCascade& cascade, std::string_view program,
                                       const std::optional<Substrate>& substrate) {
  const CascadeNetwork& network = cascade.network;
  std::vector<SchematicColumn> columns = {sourceColumn(cascade.source)};
  for (std::size_t i = 0; i < network.sections.size(); ++i) {
    columns.push_back(sectionColumn(network.sections[i], i, network.centreMHz, substrate));
  }
  columns.push_back(loadColumn(cascade.load));
  std::vector<double> columnLeft;
  SchematicLayout layout = placeColumns(columns, columnLeft);
  std::vector<std::string> title = {"Matching network: " + printableText(cascadeSummary(cascade)),
                                    "by " + programWithVersion(program)};
  if (substrate) {
    title.push_back("microstrip on er " + plain(substrate->permittivity) + ", h " +
                    plain(substrate->height * 1e3) + " mm, t " +
                    plain(substrate->thickness * 1e3) + " mm");
  }
  addSchematicTitle(layout, title);
  return layout;
}

}  // namespace bandmatch
