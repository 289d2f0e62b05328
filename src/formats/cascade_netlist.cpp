#include "formats/cascade_netlist.hpp"

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <sstream>
#include <vector>

#include "core/display_text.hpp"
#include "core/engineering_units.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/version.hpp"
#include "formats/spice_deck.hpp"
#include "network/topology.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view SOURCE_NODE = "src";
constexpr std::string_view INPUT_NODE = "in";
constexpr std::string_view GROUND = "0";
constexpr int NOTE_DIGITS = 6;
constexpr int PERCENT_DIGITS = 2;

// What the control block computes: the current into the network, the source impedance as the
// circuit has it, the power-wave reflection (V - conj(Zs) I) / E and the transducer gain.
// Room for the frequency and three columns on one line: ngspice wraps a wider table.
constexpr std::string_view PRINT_WIDTH = "set width=160";
constexpr std::string_view INPUT_CURRENT = "let ia = -vsource#branch";
constexpr std::string_view SOURCE_IMPEDANCE = "let zs = (v(src) - v(in))/ia";
constexpr std::string_view REFLECTION =
    "let rho = mag((v(in) - (real(zs) - j(imag(zs)))*ia)/v(src))";
constexpr std::string_view GAIN = "let gain = pload*8*real(zs)/(mag(v(src))*mag(v(src)))";

// The pieces one after another. Built by appending: joining a literal and a temporary string
// with operator+ trips a false -Wrestrict alarm in GCC 12.
std::string joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (const std::string_view piece : pieces) {
    text += piece;
  }
  return text;
}

std::string indexed(std::string_view prefix, std::size_t index) {
  std::string name(prefix);
  name += formatInteger(static_cast<long long>(index));
  return name;
}

// A part between two nodes, in series with its loss resistor when it has one; the node between
// them is `inner`.
void writeLossyPart(std::ostream& out, const std::string& part, std::string_view nodeA,
                    std::string_view nodeB, double value, double loss, const std::string& inner) {
  if (loss == 0.0) {
    writeSpiceElement(out, part, nodeA, nodeB, value);
    return;
  }
  writeSpiceElement(out, part, nodeA, inner, value);
  writeSpiceElement(out, joined({"R", part}), inner, nodeB, loss);
}

// What an end's model is made of, as the netlist writes it.
struct EndModel {
  NetworkEnd end;
  std::string note;  // a comment line saying where a measured end's model comes from
};

EndModel endModel(const CascadeEnd& end, double centreMHz, std::string_view role) {
  const std::string name = printableText(end.name);
  if (end.end.kind != EndKind::measured) {
    return {end.end, {}};
  }
  if (end.fitted) {
    return {*end.fitted, std::string(role) + " " + name + " is a measured one-port, written as its " +
                             (end.fitted->kind == EndKind::seriesModel ? "series" : "parallel") +
                             " R-L-C fitted over the band (worst error " +
                             formatFixed(100.0 * end.fitError, PERCENT_DIGITS) + " %)"};
  }
  const double resistance = end.impedanceAt(centreMHz).real();
  return {NetworkEnd{EndKind::resistance, resistance, std::nullopt, std::nullopt, {}},
          std::string(role) + " " + name +
              " is a measured one-port no lumped model fits; written as its resistance at the band "
              "centre"};
}

std::string endText(const NetworkEnd& end) {
  std::string text = end.kind == EndKind::resistance    ? "resistance "
                     : end.kind == EndKind::seriesModel ? "series R-L-C: R "
                                                        : "parallel R-L-C: R ";
  text += formatEngineering(end.resistance, "ohm", NOTE_DIGITS);
  if (end.inductance) {
    text += ", L " + formatEngineering(*end.inductance, HENRY, NOTE_DIGITS);
  }
  if (end.capacitance) {
    text += ", C " + formatEngineering(*end.capacitance, FARAD, NOTE_DIGITS);
  }
  return text;
}

// The parts of an end model from `outer` to `inner` (the source from its EMF to the network's
// input, the load from the network's output to ground), named with `suffix`; a series model's
// inner nodes are `nodePrefix` and a number. Returns the expression of the voltage across its
// resistor.
std::string writeEnd(std::ostream& out, const NetworkEnd& end, std::string_view outer,
                     std::string_view inner, std::string_view suffix, std::string_view nodePrefix) {
  const auto node = [&](std::string_view name) {
    return joined({"v(", name, ")"});
  };
  const auto voltage = [&](std::string_view a, std::string_view b) {
    return b == GROUND ? node(a) : node(a) + "-" + node(b);
  };
  const std::string r = joined({"R", suffix});
  const std::string l = joined({"L", suffix});
  const std::string c = joined({"C", suffix});
  if (end.kind == EndKind::seriesModel) {
    // R, then L, then C from the outer node; each that is there takes the next node.
    std::vector<std::pair<std::string, double>> parts = {{r, end.resistance}};
    if (end.inductance) {
      parts.emplace_back(l, *end.inductance);
    }
    if (end.capacitance) {
      parts.emplace_back(c, *end.capacitance);
    }
    std::string from(outer);
    std::string resistorVoltage;
    for (std::size_t k = 0; k < parts.size(); ++k) {
      const std::string to = k + 1 == parts.size() ? std::string(inner) : indexed(nodePrefix, k + 1);
      writeSpiceElement(out, parts[k].first, from, to, parts[k].second);
      if (k == 0) {
        resistorVoltage = voltage(from, to);
      }
      from = to;
    }
    return resistorVoltage;
  }
  writeSpiceElement(out, r, outer, inner, end.resistance);
  if (end.kind == EndKind::parallelModel) {
    if (end.inductance) {
      writeSpiceElement(out, l, outer, inner, *end.inductance);
    }
    if (end.capacitance) {
      writeSpiceElement(out, c, outer, inner, *end.capacitance);
    }
  }
  return voltage(outer, inner);
}

// The delay of a lossless line: theta0 radians at f0.
double delay(const Section& section, double centreMHz) {
  return section.length / (2.0 * std::numbers::pi * centreMHz * 1e6);
}

// A line or stub from node a to node b (both against ground): "T" when lossless, else an LTRA
// line with its model card.
void writeTransmissionLine(std::ostream& out, const Section& section, double centreMHz,
                           std::size_t index, std::string_view a, std::string_view b) {
  const std::string ports = joined({" ", a, " 0 ", b, " 0 "});
  if (section.lineLossDb == 0.0) {
    writeLine(out, indexed("T", index) + ports + "Z0=" + formatFullPrecision(section.impedance) +
                       " TD=" + formatFullPrecision(delay(section, centreMHz)));
    return;
  }
  const LineConstants constants = lineConstants(section, centreMHz);
  const std::string model = indexed("LOSSYLINE", index);
  writeLine(out, indexed("O", index) + ports + model);
  writeLine(out, ".model " + model + " LTRA R=" + formatFullPrecision(constants.resistance) +
                     " L=" + formatFullPrecision(constants.inductance) +
                     " G=0 C=" + formatFullPrecision(constants.capacitance) + " LEN=1");
}

std::string sectionNote(const Section& section, std::size_t index) {
  std::string note = "* section " + formatInteger(static_cast<long long>(index)) + ": " +
                     std::string(sectionName(section.kind));
  switch (section.kind) {
    case SectionKind::line:
    case SectionKind::openStub:
    case SectionKind::shortStub:
      note += ", Z0 " + formatPlainDecimal(section.impedance, NOTE_DIGITS) + " ohms, " +
              formatPlainDecimal(section.length * 180.0 / std::numbers::pi, NOTE_DIGITS) +
              " degrees at f0";
      if (section.lineLossDb != 0.0) {
        note += ", loss " + formatPlainDecimal(section.lineLossDb, NOTE_DIGITS) +
                " dB per wavelength (R, L, C over its whole length)";
      }
      break;
    case SectionKind::transformer:
      note += ", ideal transformer: the load side is seen n^2 times larger, n = " +
              formatPlainDecimal(section.turnsRatio, NOTE_DIGITS);
      break;
    default:
      break;
  }
  return note;
}

}  // namespace

std::string renderCascadeNetlist(const MatchedCascade& cascade, const Sweep& sweep,
                                 std::string_view program) {
  const CascadeNetwork& network = cascade.network;
  const double centre = network.centreMHz;
  std::ostringstream out;
  // SPICE takes the first line as the title.
  writeLine(out, "* " + programWithVersion(program) + ": matching network " +
                     printableText(cascadeSummary(cascade)));
  writeLine(out, "* Sections count from the source. The AC source of amplitude 2 V drives node in");
  writeLine(out, "* through the source impedance Zs, taken from the circuit as (v(src) - v(in))/ia;");
  writeLine(out, "* rho is the power-wave reflection |v(in) - conj(Zs) ia| / |v(src)| at the input,");
  writeLine(out, "* pload the power in the load's resistance and gain pload over the power the");
  writeLine(out, "* source makes available, |v(src)|^2 / (8 Re Zs): the transducer gain.");
  const EndModel source = endModel(cascade.source, centre, "The source");
  const EndModel load = endModel(cascade.load, centre, "The load");
  for (const EndModel* end : {&source, &load}) {
    if (!end->note.empty()) {
      writeLine(out, "* " + end->note + ".");
    }
  }
  writeLine(out, "VSOURCE src 0 DC 0 AC 2");
  writeLine(out, "* source: " + endText(source.end));
  writeEnd(out, source.end, SOURCE_NODE, INPUT_NODE, "SOURCE", "s");

  std::string node(INPUT_NODE);
  for (std::size_t i = 1; i <= network.sections.size(); ++i) {
    const Section& section = network.sections[i - 1];
    writeLine(out, sectionNote(section, i));
    const double inductorLoss = partInductorImpedance(section, centre, centre).real();
    const double capacitorLoss = partCapacitorImpedance(section, centre, centre).real();
    const std::string next = indexed("n", i);
    const std::string l = indexed("L", i);
    const std::string c = indexed("C", i);
    const std::string inductorInner = indexed("a", i);
    const std::string capacitorInner = indexed("b", i);
    switch (section.kind) {
      case SectionKind::seriesInductor:
        writeLossyPart(out, l, node, next, section.inductance, inductorLoss, inductorInner);
        node = next;
        break;
      case SectionKind::seriesCapacitor:
        writeLossyPart(out, c, node, next, section.capacitance, capacitorLoss, capacitorInner);
        node = next;
        break;
      case SectionKind::shuntInductor:
        writeLossyPart(out, l, node, GROUND, section.inductance, inductorLoss, inductorInner);
        break;
      case SectionKind::shuntCapacitor:
        writeLossyPart(out, c, node, GROUND, section.capacitance, capacitorLoss, capacitorInner);
        break;
      case SectionKind::seriesResonator:
      case SectionKind::shuntResonator: {
        const std::string far =
            section.kind == SectionKind::seriesResonator ? next : std::string(GROUND);
        const std::string middle = indexed("m", i);
        writeLossyPart(out, l, node, middle, section.inductance, inductorLoss, inductorInner);
        writeLossyPart(out, c, middle, far, section.capacitance, capacitorLoss, capacitorInner);
        if (section.kind == SectionKind::seriesResonator) {
          node = next;
        }
        break;
      }
      case SectionKind::seriesTank:
      case SectionKind::shuntTank: {
        const std::string far = section.kind == SectionKind::seriesTank ? next : std::string(GROUND);
        writeLossyPart(out, l, node, far, section.inductance, inductorLoss, inductorInner);
        writeLossyPart(out, c, node, far, section.capacitance, capacitorLoss, capacitorInner);
        if (section.kind == SectionKind::seriesTank) {
          node = next;
        }
        break;
      }
      case SectionKind::line:
        writeTransmissionLine(out, section, centre, i, node, next);
        node = next;
        break;
      case SectionKind::openStub:
        // The open end is node o<i>, which nothing else touches.
        writeTransmissionLine(out, section, centre, i, node, indexed("o", i));
        break;
      case SectionKind::shortStub:
        writeTransmissionLine(out, section, centre, i, node, GROUND);
        break;
      case SectionKind::transformer: {
        // The load side has 1/n times the source side's voltage, and the source side draws 1/n
        // times the load side's current.
        const std::string ratio = formatFullPrecision(1.0 / section.turnsRatio);
        const std::string secondary = indexed("x", i);
        writeLine(out, indexed("E", i) + " " + secondary + " 0 " + node + " 0 " + ratio);
        writeLine(out, indexed("V", i) + " " + secondary + " " + next + " DC 0");
        writeLine(out, indexed("F", i) + " " + node + " 0 " + indexed("V", i) + " " + ratio);
        node = next;
        break;
      }
    }
  }
  writeLine(out, "* load: " + endText(load.end));
  const std::string loadResistor = writeEnd(out, load.end, node, GROUND, "LOAD", "l");

  const std::vector<std::string> measures = {
      std::string(PRINT_WIDTH), std::string(INPUT_CURRENT), std::string(SOURCE_IMPEDANCE), std::string(REFLECTION),
      "let pload = mag(" + loadResistor + ")*mag(" + loadResistor + ")/(2*" +
          formatFullPrecision(load.end.resistance) + ")",
      std::string(GAIN)};
  writeSpiceAnalysis(out, sweep, measures, "print col rho pload gain");
  return out.str();
}

}  // namespace bandmatch
