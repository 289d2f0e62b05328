// The schematic of a built network as SVG: the source with its resistance, the transformer when
// asked, each resonator as a series or shunt L-C with its values, and the load, its own
// resonator framed. One layout function places everything for any N, widening a column to the
// labels it holds so that no two labels overlap.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "network/reported_design.hpp"
#include "core/file_origin.hpp"
#include "network/network_build.hpp"

namespace bandmatch {

// Text size of the schematic and the width the layout reserves for one character of it, a
// little above the average glyph of the sans-serif fonts it names.
inline constexpr double SCHEMATIC_FONT_SIZE = 14.0;
inline constexpr double SCHEMATIC_LINE_HEIGHT = 17.0;
inline constexpr double SCHEMATIC_CHARACTER_WIDTH = 0.65 * SCHEMATIC_FONT_SIZE;

// A block of text lines; (x, y) is the first line's baseline at the anchor ("start", "middle"
// or "end").
struct SchematicLabel {
  double x = 0.0;
  double y = 0.0;
  std::string_view anchor;
  std::vector<std::string> lines;
  bool bold = false;
};

// A line is a shaded box along its axis, 40 units long like the parts (a stub is a vertical
// one); an impedance a box of another shade (an end given by its data); an open end a small
// circle, the end of an open stub.
enum class SymbolKind { resistor, inductor, capacitor, source, line, impedance, openEnd };

// A symbol centred on (x, y), 40 units long along its axis; a mirrored inductor bulges the
// other way (the transformer's ladder-side winding).
struct SchematicSymbol {
  SymbolKind kind = SymbolKind::resistor;
  double x = 0.0;
  double y = 0.0;
  bool vertical = false;
  bool mirrored = false;
};

struct SchematicLine {
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
};

struct SchematicLayout {
  double width = 0.0;
  double height = 0.0;
  std::vector<SchematicLine> wires;
  std::vector<SchematicLine> core;  // the transformer's core, when there is one
  std::vector<SchematicSymbol> symbols;
  std::vector<SchematicLabel> labels;
  // Corners of the dashed frame around the load's own parts, when there is one.
  std::optional<SchematicLine> loadFrame;
};

// Where the rails run: the top rail carries the series parts, the ground rail is the common
// return; legs hang between them.
inline constexpr double SCHEMATIC_RAIL_Y = 190.0;
inline constexpr double SCHEMATIC_GROUND_Y = 370.0;
inline constexpr double SCHEMATIC_HALF_SYMBOL = 20.0;
inline constexpr double SCHEMATIC_LABEL_GAP = 12.0;  // between a label and what it names

// One column of a schematic drawn from x = 0; placeColumns shifts it into place.
struct SchematicColumn {
  std::vector<SchematicLine> wires;
  std::vector<SchematicLine> core;
  std::vector<SchematicSymbol> symbols;
  std::vector<SchematicLabel> labels;
  std::vector<std::pair<double, double>> railGaps;  // parts of the top rail it interrupts
  double width = 0.0;
  double groundX = -1.0;  // where it meets the ground rail, if it does
};

// A label whose last line sits just above the top rail.
SchematicLabel labelAboveRail(double x, std::vector<std::string> lines);

// A vertical part between the rails, wired to both.
void addLeg(SchematicColumn& column, SymbolKind kind, double x, bool mirrored = false);

// A horizontal part in the top rail.
void addInRail(SchematicColumn& column, SymbolKind kind, double x);

// The transformer: two windings and a core, the lines labelling it above the rail.
SchematicColumn transformerColumn(std::vector<std::string> lines);

// The columns placed left to right, each widened to its labels so that labels of different
// columns never meet, and the rails drawn: the top one broken by the parts in it, the ground one
// from the first column's ground to the last's. `columnLeft` receives where each column starts;
// the result's width is where the last one ends.
SchematicLayout placeColumns(const std::vector<SchematicColumn>& columns,
                             std::vector<double>& columnLeft);

// The title lines above the drawing, the first in bold, and the drawing's final size.
void addSchematicTitle(SchematicLayout& layout, const std::vector<std::string>& title);

// Places the network `built` of the design; values are shown to four significant digits. With a
// measured load, its retuning element stands between the network and the load, and the load
// shows its own fitted values.
SchematicLayout layoutSchematic(const ReportedDesign& design, const LadderNetwork& built,
                                const BuildOptions& options, const FileOrigin& origin,
                                const MeasuredLoadParts* measured = nullptr);

// The SVG document of a layout, one <text> element per label line.
std::string renderSchematic(const SchematicLayout& layout, std::string_view title);

// The width the layout reserves for a line of text: its characters (UTF-8 sequences count once).
double schematicTextWidth(std::string_view text);

}  // namespace bandmatch
