// The schematic of a chosen cascade as SVG, laid out in columns like the ladder's: the source
// with its model, each section (series and shunt parts, L-C pairs in series or in parallel,
// lines as shaded boxes in the rail, stubs as shaded boxes hanging from it with an open end or
// a ground, the transformer), and the load with its model; no two labels overlap.
#pragma once

#include <optional>
#include <string_view>

#include "drawing/schematic.hpp"
#include "network/matched_cascade.hpp"
#include "network/microstrip.hpp"

namespace bandmatch {

// Places the cascade; values are shown to four significant digits, a line's Z0 and electrical
// length at f0 and, with a substrate, its microstrip width and length. Render it with
// renderSchematic.
SchematicLayout layoutCascadeSchematic(const MatchedCascade& cascade, std::string_view program,
                                       const std::optional<Substrate>& substrate = std::nullopt);

}  // namespace bandmatch
