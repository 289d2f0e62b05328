// The topology grammar - the sections from the source to the load written as names separated by
// blanks, e.g. "sL pC" or "X pC sL|C pLC" - and the built-in library of topologies to search.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "network/two_port.hpp"

namespace bandmatch {

// The section kinds from the source to the load.
using Topology = std::vector<SectionKind>;

// A section's name in the grammar: sL sC pL pC sLC pLC sL|C pL|C T oS sS X.
std::string_view sectionName(SectionKind kind);

// A parsed topology, or the one-line reason the text is none (empty when it is one).
struct TopologyParse {
  Topology topology;
  std::string error;
};

// Reads names separated by spaces or tabs; refuses an empty text and an unknown name, naming it
// and its position (counted from 1 at the source).
TopologyParse parseTopology(std::string_view text);

// The topology in the grammar, names separated by one space.
std::string topologyText(const Topology& topology);

// Inductors, capacitors, lines and stubs: sLC counts 2, a line 1, a transformer 0.
int partCount(const Topology& topology);

// One topology of the library and the family it belongs to ("L network", "band-pass ladder",
// "transformer + Pi network", "double stub", ...).
struct LibraryTopology {
  std::string family;
  Topology topology;
};

// Beyond this many parts the library holds only the named lumped families, not every
// alternating ladder: their number grows about 2.7 times with each part.
inline constexpr int FREE_LADDER_PART_LIMIT = 8;

// Every topology of at most `maxParts` parts, each once, under the first family that names it:
// the L, Pi and Tee networks; the low-pass (sL/pC) and high-pass (sC/pL) ladders of 2 to 8
// elements and the band-pass ladders of 1 to 10 resonators (sLC and pL|C), each starting with
// either arm; every other alternating ladder whose arms are L, C, L-C in series or L parallel C,
// up to FREE_LADDER_PART_LIMIT parts; each of these lumped topologies again behind a transformer
// at the source end; then single and double stubs, stepped lines of 1 to 4 sections and
// line-and-stub cascades of 1 to 4 sections.
std::vector<LibraryTopology> topologyLibrary(int maxParts);

}  // namespace bandmatch
