#include "rf/spice_netlist.hpp"

#include <sstream>
#include <vector>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"

namespace bandmatch {

namespace {

constexpr double HERTZ_PER_MHZ = 1e6;
constexpr std::string_view INPUT_NODE = "in";
constexpr std::string_view GROUND_NODE = "0";
constexpr std::string_view REFLECTION_MAGNITUDE = "let rho = mag(2*v(in)/v(src) - 1)";

// The node on the source side of each position, named after the series branch that created it;
// a shunt position sits on the node below it. The node the source drives is "in".
struct LadderNodes {
  std::vector<int> nodeAfter;  // index 0 is the node of the load resistance

  std::string name(int node) const {
    if (node == nodeAfter.back()) {
      return std::string(INPUT_NODE);
    }
    std::string text = "n";
    text += formatInteger(node);
    return text;
  }
};

LadderNodes ladderNodes(const ReportedDesign& design) {
  LadderNodes nodes;
  nodes.nodeAfter.push_back(0);
  for (int k = 1; k <= design.N; ++k) {
    nodes.nodeAfter.push_back(isSeriesPosition(design.loadType, k) ? k : nodes.nodeAfter.back());
  }
  return nodes;
}

void writeElement(std::ostream& out, std::string_view name, std::string_view nodeA,
                  std::string_view nodeB, double value) {
  writeLine(out, std::string(name) + " " + std::string(nodeA) + " " + std::string(nodeB) + " " +
                     formatFullPrecision(value));
}

}  // namespace

std::string renderSpiceNetlist(const ReportedDesign& design, const Sweep& sweep,
                               const FileOrigin& origin) {
  std::ostringstream out;
  const LadderNodes nodes = ladderNodes(design);
  const LadderNetwork& ladder = design.ladder;

  // SPICE takes the first line as the title.
  writeLine(out, "* " + programWithVersion(origin.program) + ": matching network of " +
                     printableText(origin.reportName));
  writeLine(out, "* " + designSummary(design));
  writeLine(out, "* Positions count from the load. The source of AC amplitude 2 V drives node in");
  writeLine(out, "* through the source resistance, so 2*V(in)/V(src) - 1 is the input reflection");
  writeLine(out, "* referenced to the source resistance.");
  writeLine(out, "VSOURCE src 0 DC 0 AC 2");
  writeElement(out, "RSOURCE", "src", INPUT_NODE, ladder.sourceResistance);

  for (int k = design.N; k >= 1; --k) {
    const std::string index = formatInteger(k);
    const std::string node = nodes.name(nodes.nodeAfter[static_cast<std::size_t>(k)]);
    const double inductance = ladder.inductance[static_cast<std::size_t>(k) - 1];
    const double capacitance = ladder.capacitance[static_cast<std::size_t>(k) - 1];
    const std::string_view role = k == 1 ? ", the load's own resonator" : "";
    if (isSeriesPosition(design.loadType, k)) {
      const std::string below = nodes.name(nodes.nodeAfter[static_cast<std::size_t>(k) - 1]);
      const std::string middle = "m" + index;
      writeLine(out, "* position " + index + ": series L-C" + std::string(role));
      writeElement(out, "L" + index, node, middle, inductance);
      writeElement(out, "C" + index, middle, below, capacitance);
    } else {
      writeLine(out, "* position " + index + ": shunt parallel L-C" + std::string(role));
      writeElement(out, "L" + index, node, GROUND_NODE, inductance);
      writeElement(out, "C" + index, node, GROUND_NODE, capacitance);
    }
  }
  writeLine(out, "* load resistance");
  writeElement(out, "RLOAD", nodes.name(nodes.nodeAfter.front()), GROUND_NODE,
               ladder.loadResistance);

  const std::string lower = formatFullPrecision(sweep.lowerMHz * HERTZ_PER_MHZ);
  const std::string upper = formatFullPrecision(sweep.upperMHz * HERTZ_PER_MHZ);
  const bool twoPoints = sweep.points == 2;
  if (twoPoints) {
    // ngspice sweeps a linear range of two points at its start frequency only.
    writeLine(out, "* Each of the two points is an analysis of its own.");
  } else {
    writeLine(out, ".ac lin " + formatInteger(sweep.points) + " " + lower + " " + upper);
  }
  writeLine(out, ".control");
  // Seventeen significant digits, and a table without page breaks even for a single row.
  writeLine(out, "set numdgt=16");
  writeLine(out, "set nobreak");
  if (twoPoints) {
    for (const std::string& frequency : {lower, upper}) {
      writeLine(out, "ac lin 1 " + frequency + " " + frequency);
      writeLine(out, std::string(REFLECTION_MAGNITUDE));
      writeLine(out, "print col rho");
    }
  } else {
    writeLine(out, "run");
    writeLine(out, std::string(REFLECTION_MAGNITUDE));
    writeLine(out, "print col rho");
  }
  // Batch mode would otherwise end with a failure status, as the netlist has no .print line.
  writeLine(out, "quit");
  writeLine(out, ".endc");
  writeLine(out, ".end");
  return out.str();
}

}  // namespace bandmatch
