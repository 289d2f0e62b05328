// The schematic of a built network as SVG: the source with its resistance, the transformer when
// asked, each resonator as a series or shunt L-C with its values, and the load, its own
// resonator framed. One layout function places everything for any N, widening a column to the
// labels it holds so that no two labels overlap.
#pragma once

#include <string>
#include <string_view>
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

enum class SymbolKind { resistor, inductor, capacitor, source };

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
  SchematicLine loadFrame;  // corners of the dashed frame around the load's own parts
};

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
