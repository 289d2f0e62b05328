#include "formats/spice_deck.hpp"

#include "core/number_format.hpp"
#include "core/text_sink.hpp"

namespace bandmatch {

namespace {

constexpr double HERTZ_PER_MHZ = 1e6;

void writeMeasures(std::ostream& out, const std::vector<std::string>& measures,
                   std::string_view printed) {
  for (const std::string& measure : measures) {
    writeLine(out, measure);
  }
  writeLine(out, printed);
}

}  // namespace

void writeSpiceElement(std::ostream& out, std::string_view name, std::string_view nodeA,
                       std::string_view nodeB, double value) {
  writeLine(out, std::string(name) + " " + std::string(nodeA) + " " + std::string(nodeB) + " " +
                     formatFullPrecision(value));
}

void writeSpiceAnalysis(std::ostream& out, const Sweep& sweep,
                        const std::vector<std::string>& measures, std::string_view printed) {
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
      writeMeasures(out, measures, printed);
    }
  } else {
    writeLine(out, "run");
    writeMeasures(out, measures, printed);
  }
  // Batch mode would otherwise end with a failure status, as the netlist has no .print line.
  writeLine(out, "quit");
  writeLine(out, ".endc");
  writeLine(out, ".end");
}

}  // namespace bandmatch
