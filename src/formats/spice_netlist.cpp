#include "formats/spice_netlist.hpp"

#include <sstream>
#include <vector>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "formats/spice_deck.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view INPUT_NODE = "in";
constexpr std::string_view TRANSFORMED_NODE = "ladder";
constexpr std::string_view GROUND_NODE = "0";
constexpr std::string_view REFLECTION_MAGNITUDE = "let rho = mag(2*v(in)/v(src) - 1)";

// The node on the source side of each position, named after the series branch that created it;
// a shunt position sits on the node below it. The ladder's source end is "in", or "ladder"
// behind a transformer.
struct LadderNodes {
  std::vector<int> nodeAfter;  // index 0 is the node of the load resistance
  std::string_view sourceEnd;

  std::string name(int node) const {
    if (node == nodeAfter.back()) {
      return std::string(sourceEnd);
    }
    std::string text = "n";
    text += formatInteger(node);
    return text;
  }
};

LadderNodes ladderNodes(const ReportedDesign& design, const LadderNetwork& network) {
  LadderNodes nodes;
  nodes.sourceEnd = network.turnsRatio ? TRANSFORMED_NODE : INPUT_NODE;
  nodes.nodeAfter.push_back(0);
  for (int k = 1; k <= design.N; ++k) {
    nodes.nodeAfter.push_back(isSeriesPosition(design.loadType, k) ? k : nodes.nodeAfter.back());
  }
  return nodes;
}

// A part in series with its loss resistance between two nodes; "a" or "b" names the node
// between them.
void writeLossyPart(std::ostream& out, std::string_view part, std::string_view nodeA,
                    std::string_view nodeB, double value, double loss, std::string_view inner) {
  const std::string index(part.substr(1));
  if (loss == 0.0) {
    writeSpiceElement(out, part, nodeA, nodeB, value);
    return;
  }
  // Built piece by piece: the one-expression form trips a false -Wrestrict alarm in GCC 12.
  std::string between(inner);
  between += index;
  std::string resistor = "R";
  resistor += part;
  writeSpiceElement(out, part, nodeA, between, value);
  writeSpiceElement(out, resistor, between, nodeB, loss);
}

}  // namespace

std::string renderSpiceNetlist(const ReportedDesign& design, const LadderNetwork& network,
                               const Sweep& sweep, const FileOrigin& origin, NetlistPrints prints) {
  std::ostringstream out;
  const LadderNodes nodes = ladderNodes(design, network);
  const LadderNetwork& ladder = network;

  // SPICE takes the first line as the title.
  writeLine(out, "* " + programWithVersion(origin.program) + ": matching network of " +
                     printableText(origin.reportName));
  writeLine(out, "* " + designSummary(design));
  if (!origin.network.empty()) {
    writeLine(out, "* Built with " + std::string(origin.network) + ".");
  }
  writeLine(out, "* Positions count from the load. The source of AC amplitude 2 V drives node in");
  writeLine(out, "* through the source resistance, so 2*V(in)/V(src) - 1 is the input reflection");
  writeLine(out, "* referenced to the source resistance.");
  writeLine(out, "VSOURCE src 0 DC 0 AC 2");
  writeSpiceElement(out, "RSOURCE", "src", INPUT_NODE, ladder.sourceResistance);
  if (ladder.turnsRatio) {
    writeLine(out,
              "* ideal transformer, turns ratio n: the ladder side has n times the voltage of");
    writeLine(out, "* the source side, which draws n times the ladder side's current");
    const std::string ratio = formatFullPrecision(*ladder.turnsRatio);
    writeLine(out, "ETRANSFORMER secondary 0 " + std::string(INPUT_NODE) + " 0 " + ratio);
    writeLine(out, "VTRANSFORMER secondary " + std::string(TRANSFORMED_NODE) + " DC 0");
    writeLine(out, "FTRANSFORMER " + std::string(INPUT_NODE) + " 0 VTRANSFORMER " + ratio);
  }

  for (int k = design.N; k >= 1; --k) {
    const std::string index = formatInteger(k);
    const std::string node = nodes.name(nodes.nodeAfter[static_cast<std::size_t>(k)]);
    const std::size_t at = static_cast<std::size_t>(k) - 1;
    const double inductance = ladder.inductance[at];
    const double capacitance = ladder.capacitance[at];
    const std::string_view role = k == 1 ? ", the load's own resonator" : "";
    if (isSeriesPosition(design.loadType, k)) {
      const std::string below = nodes.name(nodes.nodeAfter[static_cast<std::size_t>(k) - 1]);
      const std::string middle = "m" + index;
      writeLine(out, "* position " + index + ": series L-C" + std::string(role));
      writeLossyPart(out, "L" + index, node, middle, inductance, lossAt(ladder.inductorLoss, at),
                     "a");
      writeLossyPart(out, "C" + index, middle, below, capacitance, lossAt(ladder.capacitorLoss, at),
                     "b");
    } else {
      writeLine(out, "* position " + index + ": shunt parallel L-C" + std::string(role));
      writeLossyPart(out, "L" + index, node, GROUND_NODE, inductance,
                     lossAt(ladder.inductorLoss, at), "a");
      writeLossyPart(out, "C" + index, node, GROUND_NODE, capacitance,
                     lossAt(ladder.capacitorLoss, at), "b");
    }
  }
  writeLine(out, "* load resistance");
  const std::string loadNode = nodes.name(nodes.nodeAfter.front());
  writeSpiceElement(out, "RLOAD", loadNode, GROUND_NODE, ladder.loadResistance);
  // What the control block computes and prints at each point.
  std::vector<std::string> measures = {std::string(REFLECTION_MAGNITUDE)};
  std::string printed = "print col rho";
  if (prints == NetlistPrints::reflectionAndLoadPower) {
    writeLine(out, "* pload is the power in the load resistance; the source makes 1/(2*Rs) W");
    writeLine(out, "* available, so pload*2*Rs is the transducer gain.");
    measures.push_back("let pload = mag(v(" + loadNode + "))*mag(v(" + loadNode + "))/(2*" +
                       formatFullPrecision(ladder.loadResistance) + ")");
    printed += " pload";
  }

  writeSpiceAnalysis(out, sweep, measures, printed);
  return out.str();
}

}  // namespace bandmatch
