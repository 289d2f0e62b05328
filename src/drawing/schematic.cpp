#include "drawing/schematic.hpp"

#include <algorithm>
#include <sstream>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/version.hpp"
#include "core/engineering_units.hpp"
#include "drawing/svg_text.hpp"

namespace bandmatch {

namespace {

constexpr double MARGIN = 20.0;
constexpr double RAIL_Y = SCHEMATIC_RAIL_Y;
constexpr double GROUND_Y = SCHEMATIC_GROUND_Y;
constexpr double MIDDLE_Y = (RAIL_Y + GROUND_Y) / 2.0;
constexpr double HALF_SYMBOL = SCHEMATIC_HALF_SYMBOL;
constexpr double LABEL_GAP = SCHEMATIC_LABEL_GAP;
constexpr double COLUMN_GAP = 10.0;  // between the labels of neighbouring columns
constexpr double TITLE_BASELINE = 28.0;
constexpr double TITLE_LINE = 22.0;
constexpr int VALUE_DIGITS = 4;
constexpr double STROKE_WIDTH = 1.5;

using Column = SchematicColumn;

double labelLeft(const SchematicLabel& label) {
  double width = 0.0;
  for (const std::string& line : label.lines) {
    width = std::max(width, schematicTextWidth(line));
  }
  return label.anchor == "start" ? label.x
         : label.anchor == "end" ? label.x - width
                                 : label.x - width / 2.0;
}

double labelRight(const SchematicLabel& label) {
  double width = 0.0;
  for (const std::string& line : label.lines) {
    width = std::max(width, schematicTextWidth(line));
  }
  return labelLeft(label) + width;
}

std::string partValue(double value, char element) {
  return formatEngineering(value, element == 'L' ? HENRY : FARAD, VALUE_DIGITS);
}

std::string ohms(double value) {
  return formatEngineering(value, OHM, VALUE_DIGITS + 2);
}

// Name, value and (for parts with losses) Q of one inductor or capacitor.
std::vector<std::string> partLines(char element, int position, double value,
                                   std::optional<double> q) {
  std::vector<std::string> lines = {std::string(1, element) + formatInteger(position),
                                    partValue(value, element)};
  if (q) {
    lines.push_back("Q " + formatPlainDecimal(*q, VALUE_DIGITS + 2));
  }
  return lines;
}

Column sourceColumn(double sourceOhms) {
  Column column;
  constexpr double sourceX = 30.0;
  constexpr double resistorX = 90.0;
  addLeg(column, SymbolKind::source, sourceX);
  addInRail(column, SymbolKind::resistor, resistorX);
  column.labels.push_back(labelAboveRail(resistorX, {"Rs", ohms(sourceOhms)}));
  column.labels.push_back({sourceX, GROUND_Y + 24.0, "middle", {"source"}, false});
  column.width = 130.0;
  column.groundX = sourceX;
  return column;
}

Column ladderTransformerColumn(double n) {
  return transformerColumn({"transformer", "1 : " + formatPlainDecimal(n, VALUE_DIGITS + 1),
                            "Z 1 : " + formatPlainDecimal(n * n, VALUE_DIGITS + 1)});
}

// The labels of position k's inductor and capacitor as built.
std::vector<std::string> inductorLines(int position, const LadderNetwork& built,
                                       const BuildOptions& options) {
  return partLines('L', position, built.inductance[static_cast<std::size_t>(position) - 1],
                   options.inductorQ);
}
std::vector<std::string> capacitorLines(int position, const LadderNetwork& built,
                                        const BuildOptions& options) {
  return partLines('C', position, built.capacitance[static_cast<std::size_t>(position) - 1],
                   options.capacitorQ);
}

Column seriesColumn(std::vector<std::string> inductor, std::vector<std::string> capacitor) {
  Column column;
  constexpr double inductorX = 40.0;
  constexpr double capacitorX = 95.0;
  addInRail(column, SymbolKind::inductor, inductorX);
  addInRail(column, SymbolKind::capacitor, capacitorX);
  column.labels.push_back(labelAboveRail(inductorX, std::move(inductor)));
  // The capacitor's label hangs below the rail, clear of the inductor's above it.
  column.labels.push_back({capacitorX, RAIL_Y + LABEL_GAP + SCHEMATIC_FONT_SIZE + 10.0, "middle",
                           std::move(capacitor), false});
  column.width = 135.0;
  return column;
}

Column shuntColumn(std::vector<std::string> inductor, std::vector<std::string> capacitor) {
  Column column;
  constexpr double inductorX = 25.0;
  constexpr double capacitorX = 55.0;
  constexpr double labelX = 72.0;
  addLeg(column, SymbolKind::inductor, inductorX);
  addLeg(column, SymbolKind::capacitor, capacitorX);
  SchematicLabel first{labelX, RAIL_Y + LABEL_GAP + SCHEMATIC_FONT_SIZE, "start",
                       std::move(inductor), false};
  const double next = first.y + SCHEMATIC_LINE_HEIGHT * static_cast<double>(first.lines.size());
  column.labels.push_back(std::move(first));
  column.labels.push_back({labelX, next + 8.0, "start", std::move(capacitor), false});
  column.width = 150.0;
  return column;
}

// The one element that retunes a measured load: in the rail or across it.
Column retuningColumn(const Retuning& retuning, const BuildOptions& options) {
  Column column;
  const bool inductor = retunesWithInductor(retuning.kind);
  const SymbolKind kind = inductor ? SymbolKind::inductor : SymbolKind::capacitor;
  std::vector<std::string> lines =
      partLines(inductor ? 'L' : 'C', 1, retuning.value,
                inductor ? options.inductorQ : options.capacitorQ);
  lines.push_back("retuning");
  if (retunesInSeries(retuning.kind)) {
    constexpr double x = 40.0;
    addInRail(column, kind, x);
    column.labels.push_back(labelAboveRail(x, std::move(lines)));
    column.width = 80.0;
  } else {
    constexpr double x = 25.0;
    addLeg(column, kind, x);
    column.labels.push_back(
        {x + 17.0, RAIL_Y + LABEL_GAP + SCHEMATIC_FONT_SIZE, "start", std::move(lines), false});
    column.width = 110.0;
  }
  return column;
}

Column loadColumn(double loadOhms) {
  Column column;
  constexpr double resistorX = 30.0;
  addLeg(column, SymbolKind::resistor, resistorX);
  column.labels.push_back(
      {resistorX + 16.0, MIDDLE_Y - 4.0, "start", {"RL", ohms(loadOhms)}, false});
  column.width = 100.0;
  column.groundX = resistorX;
  return column;
}

// Moves a column right by `dx` into the layout.
void place(SchematicLayout& layout, const Column& column, double dx,
           std::vector<std::pair<double, double>>& railGaps) {
  for (SchematicLine line : column.wires) {
    layout.wires.push_back({line.x1 + dx, line.y1, line.x2 + dx, line.y2});
  }
  for (SchematicLine line : column.core) {
    layout.core.push_back({line.x1 + dx, line.y1, line.x2 + dx, line.y2});
  }
  for (SchematicSymbol symbol : column.symbols) {
    symbol.x += dx;
    layout.symbols.push_back(symbol);
  }
  for (SchematicLabel label : column.labels) {
    label.x += dx;
    layout.labels.push_back(std::move(label));
  }
  for (const auto& [from, to] : column.railGaps) {
    railGaps.emplace_back(from + dx, to + dx);
  }
}

// How the title names the network.
std::vector<std::string> titleLines(const ReportedDesign& design, const FileOrigin& origin) {
  std::vector<std::string> lines = {
      "Matching network: " + designSummary(design),
      "from " + std::string(origin.reportName) + " by " + programWithVersion(origin.program)};
  if (!origin.network.empty()) {
    lines.push_back("built with " + std::string(origin.network));
  }
  return lines;
}

void writeSymbol(std::ostream& out, const SchematicSymbol& symbol) {
  const std::string x = coordinate(symbol.x);
  const std::string y = coordinate(symbol.y);
  const std::string style = "fill=\"none\" stroke=\"black\" stroke-width=\"1.5\"";
  switch (symbol.kind) {
    case SymbolKind::resistor: {
      const double w = symbol.vertical ? 14.0 : 2.0 * HALF_SYMBOL;
      const double h = symbol.vertical ? 2.0 * HALF_SYMBOL : 14.0;
      writeLine(out, "<rect x=\"" + coordinate(symbol.x - w / 2.0) + "\" y=\"" +
                         coordinate(symbol.y - h / 2.0) + "\" width=\"" + coordinate(w) +
                         "\" height=\"" + coordinate(h) + "\" " + style + "/>");
      break;
    }
    case SymbolKind::inductor: {
      // Four half turns of 10 units each.
      const std::string sweep = symbol.mirrored ? "0" : "1";
      std::string path = symbol.vertical ? "M " + x + " " + coordinate(symbol.y - HALF_SYMBOL)
                                         : "M " + coordinate(symbol.x - HALF_SYMBOL) + " " + y;
      for (int turn = 0; turn < 4; ++turn) {
        path += std::string(" a 5 5 0 0 ") + (symbol.vertical ? sweep : "1") +
                (symbol.vertical ? " 0 10" : " 10 0");
      }
      writeLine(out, "<path d=\"" + path + "\" " + style + "/>");
      break;
    }
    case SymbolKind::capacitor: {
      constexpr double plateGap = 4.0;
      constexpr double plateHalf = 12.0;
      for (const double side : {-1.0, 1.0}) {
        if (symbol.vertical) {
          writeSegment(out, symbol.x, symbol.y + side * HALF_SYMBOL, symbol.x,
                       symbol.y + side * plateGap, "black", " stroke-width=\"1.5\"");
          writeSegment(out, symbol.x - plateHalf, symbol.y + side * plateGap, symbol.x + plateHalf,
                       symbol.y + side * plateGap, "black", " stroke-width=\"2.5\"");
        } else {
          writeSegment(out, symbol.x + side * HALF_SYMBOL, symbol.y, symbol.x + side * plateGap,
                       symbol.y, "black", " stroke-width=\"1.5\"");
          writeSegment(out, symbol.x + side * plateGap, symbol.y - plateHalf,
                       symbol.x + side * plateGap, symbol.y + plateHalf, "black",
                       " stroke-width=\"2.5\"");
        }
      }
      break;
    }
    case SymbolKind::line:
    case SymbolKind::impedance: {
      // Across its axis a line is thicker than a resistor, an impedance thicker still.
      const double across = symbol.kind == SymbolKind::line ? 16.0 : 24.0;
      const std::string_view fill = symbol.kind == SymbolKind::line ? "#c8c8c8" : "#eeeeee";
      const double w = symbol.vertical ? across : 2.0 * HALF_SYMBOL;
      const double h = symbol.vertical ? 2.0 * HALF_SYMBOL : across;
      writeLine(out, "<rect x=\"" + coordinate(symbol.x - w / 2.0) + "\" y=\"" +
                         coordinate(symbol.y - h / 2.0) + "\" width=\"" + coordinate(w) +
                         "\" height=\"" + coordinate(h) + "\" fill=\"" + std::string(fill) +
                         "\" stroke=\"black\" stroke-width=\"1.5\"/>");
      break;
    }
    case SymbolKind::openEnd:
      writeLine(out, "<circle cx=\"" + x + "\" cy=\"" + y +
                         "\" r=\"3\" fill=\"white\" stroke=\"black\" stroke-width=\"1.5\"/>");
      break;
    case SymbolKind::source:
      writeLine(out, "<circle cx=\"" + x + "\" cy=\"" + y + "\" r=\"" +
                         coordinate(HALF_SYMBOL - 4.0) + "\" " + style + "/>");
      writeLine(out, "<path d=\"M " + coordinate(symbol.x - 8.0) + " " + y +
                         " q 4 -8 8 0 t 8 0\" " + style + "/>");
      writeSegment(out, symbol.x, symbol.y - HALF_SYMBOL, symbol.x, symbol.y - HALF_SYMBOL + 4.0,
                   "black", " stroke-width=\"1.5\"");
      writeSegment(out, symbol.x, symbol.y + HALF_SYMBOL - 4.0, symbol.x, symbol.y + HALF_SYMBOL,
                   "black", " stroke-width=\"1.5\"");
      break;
  }
}

}  // namespace

SchematicLabel labelAboveRail(double x, std::vector<std::string> lines) {
  const double first =
      RAIL_Y - LABEL_GAP - SCHEMATIC_LINE_HEIGHT * static_cast<double>(lines.size() - 1);
  return {x, first, "middle", std::move(lines), false};
}

void addLeg(SchematicColumn& column, SymbolKind kind, double x, bool mirrored) {
  column.symbols.push_back({kind, x, MIDDLE_Y, true, mirrored});
  column.wires.push_back({x, RAIL_Y, x, MIDDLE_Y - HALF_SYMBOL});
  column.wires.push_back({x, MIDDLE_Y + HALF_SYMBOL, x, GROUND_Y});
}

void addInRail(SchematicColumn& column, SymbolKind kind, double x) {
  column.symbols.push_back({kind, x, RAIL_Y, false, false});
  column.railGaps.emplace_back(x - HALF_SYMBOL, x + HALF_SYMBOL);
}

SchematicColumn transformerColumn(std::vector<std::string> lines) {
  SchematicColumn column;
  constexpr double primaryX = 35.0;
  constexpr double secondaryX = 75.0;
  addLeg(column, SymbolKind::inductor, primaryX);
  addLeg(column, SymbolKind::inductor, secondaryX, true);
  for (const double x : {52.0, 58.0}) {
    column.core.push_back({x, MIDDLE_Y - 26.0, x, MIDDLE_Y + 26.0});
  }
  column.railGaps.emplace_back(primaryX, secondaryX);
  column.labels.push_back(labelAboveRail((primaryX + secondaryX) / 2.0, std::move(lines)));
  column.width = 110.0;
  return column;
}

SchematicLayout placeColumns(const std::vector<SchematicColumn>& columns,
                             std::vector<double>& columnLeft) {
  // Each column keeps its labels within its own width, so labels of different columns never
  // meet; within a column they are stacked apart by construction.
  SchematicLayout layout;
  std::vector<std::pair<double, double>> railGaps;
  double cursor = MARGIN;
  double groundLeft = 0.0;
  double groundRight = 0.0;
  columnLeft.clear();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const SchematicColumn& column = columns[c];
    double left = 0.0;
    double right = column.width;
    for (const SchematicLabel& label : column.labels) {
      left = std::min(left, labelLeft(label) - COLUMN_GAP / 2.0);
      right = std::max(right, labelRight(label) + COLUMN_GAP / 2.0);
    }
    const double dx = cursor - left;
    columnLeft.push_back(cursor);
    place(layout, column, dx, railGaps);
    if (column.groundX >= 0.0) {
      (c == 0 ? groundLeft : groundRight) = column.groundX + dx;
    }
    cursor = dx + right;
  }

  // The rails: the top one broken by the components in it, the ground one whole.
  std::sort(railGaps.begin(), railGaps.end());
  double from = groundLeft;
  for (const auto& [gapFrom, gapTo] : railGaps) {
    if (gapFrom > from) {
      layout.wires.push_back({from, RAIL_Y, gapFrom, RAIL_Y});
    }
    from = std::max(from, gapTo);
  }
  if (groundRight > from) {
    layout.wires.push_back({from, RAIL_Y, groundRight, RAIL_Y});
  }
  layout.wires.push_back({groundLeft, GROUND_Y, groundRight, GROUND_Y});
  layout.width = cursor;
  return layout;
}

void addSchematicTitle(SchematicLayout& layout, const std::vector<std::string>& title) {
  double width = layout.width + MARGIN;
  for (std::size_t i = 0; i < title.size(); ++i) {
    layout.labels.push_back({MARGIN,
                             TITLE_BASELINE + TITLE_LINE * static_cast<double>(i),
                             "start",
                             {title[i]},
                             i == 0});
    width = std::max(width, 2.0 * MARGIN + schematicTextWidth(title[i]));
  }
  for (const SchematicLabel& label : layout.labels) {
    width = std::max(width, labelRight(label) + MARGIN);
  }
  layout.width = width;
  layout.height = GROUND_Y + 44.0;
}

double schematicTextWidth(std::string_view text) {
  std::size_t characters = 0;
  for (const char c : text) {
    // Continuation bytes of a UTF-8 sequence do not start a character.
    characters += (static_cast<unsigned char>(c) & 0xc0) != 0x80 ? 1 : 0;
  }
  return static_cast<double>(characters) * SCHEMATIC_CHARACTER_WIDTH;
}

SchematicLayout layoutSchematic(const ReportedDesign& design, const LadderNetwork& built,
                                const BuildOptions& options, const FileOrigin& origin,
                                const MeasuredLoadParts* measured) {
  std::vector<Column> columns = {sourceColumn(built.sourceResistance)};
  if (built.turnsRatio) {
    columns.push_back(ladderTransformerColumn(*built.turnsRatio));
  }
  for (int position = design.N; position >= FIRST_BUILT_POSITION; --position) {
    std::vector<std::string> inductor = inductorLines(position, built, options);
    std::vector<std::string> capacitor = capacitorLines(position, built, options);
    columns.push_back(isSeriesPosition(design.loadType, position)
                          ? seriesColumn(std::move(inductor), std::move(capacitor))
                          : shuntColumn(std::move(inductor), std::move(capacitor)));
  }
  // The load: its own resonator, the report's or the measured load's fitted one.
  std::vector<std::string> ownInductor = {"L1", partValue(built.inductance.front(), 'L')};
  std::vector<std::string> ownCapacitor = {"C1", partValue(built.capacitance.front(), 'C')};
  double loadOhms = built.loadResistance;
  std::string loadName = "the load: its own L1, C1 and RL";
  if (measured != nullptr) {
    if (measured->built.kind != RetuningKind::none) {
      columns.push_back(retuningColumn(measured->built, options));
    }
    const LoadModel& model = measured->model;
    ownInductor = {"load L", partValue(model.inductance, 'L')};
    ownCapacitor = {"load C", partValue(model.capacitance, 'C')};
    loadOhms = model.type == LoadType::series ? model.level : 1.0 / model.level;
    loadName = "the measured load, fitted: its own L, C and R";
  }
  columns.push_back(isSeriesPosition(design.loadType, 1)
                        ? seriesColumn(std::move(ownInductor), std::move(ownCapacitor))
                        : shuntColumn(std::move(ownInductor), std::move(ownCapacitor)));
  columns.push_back(loadColumn(loadOhms));

  std::vector<double> columnLeft;
  SchematicLayout layout = placeColumns(columns, columnLeft);
  const double loadLeft = columnLeft[columns.size() - 2];
  const double cursor = layout.width;

  // The load's own resonator and resistance, framed and named below the ground rail.
  layout.loadFrame = {loadLeft - 4.0, RAIL_Y - 72.0, cursor, GROUND_Y + 8.0};
  layout.labels.push_back({loadLeft, GROUND_Y + 24.0, "start", {loadName}, false});

  addSchematicTitle(layout, titleLines(design, origin));
  return layout;
}

std::string renderSchematic(const SchematicLayout& layout, std::string_view title) {
  std::ostringstream out;
  writeSvgOpening(out, layout.width, layout.height, title);
  const std::string wireStyle = " stroke-width=\"" + coordinate(STROKE_WIDTH) + "\"";
  for (const SchematicLine& wire : layout.wires) {
    writeSegment(out, wire.x1, wire.y1, wire.x2, wire.y2, "black", wireStyle);
  }
  for (const SchematicLine& line : layout.core) {
    writeSegment(out, line.x1, line.y1, line.x2, line.y2, "black", " stroke-width=\"2\"");
  }
  for (const SchematicSymbol& symbol : layout.symbols) {
    writeSymbol(out, symbol);
  }
  if (layout.loadFrame) {
    const SchematicLine& frame = *layout.loadFrame;
    writeLine(out, "<rect x=\"" + coordinate(frame.x1) + "\" y=\"" + coordinate(frame.y1) +
                       "\" width=\"" + coordinate(frame.x2 - frame.x1) + "\" height=\"" +
                       coordinate(frame.y2 - frame.y1) +
                       "\" fill=\"none\" stroke=\"#777777\" stroke-dasharray=\"6 4\"/>");
  }
  const std::string font = " font-size=\"" + formatFixed(SCHEMATIC_FONT_SIZE, 0) + "\"";
  for (const SchematicLabel& label : layout.labels) {
    for (std::size_t i = 0; i < label.lines.size(); ++i) {
      writeLabel(out, label.x, label.y + SCHEMATIC_LINE_HEIGHT * static_cast<double>(i),
                 label.anchor, label.lines[i], label.bold ? font + " font-weight=\"bold\"" : font);
    }
  }
  writeLine(out, "</svg>");
  return out.str();
}

}  // namespace bandmatch
