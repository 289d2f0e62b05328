// The pieces every SPICE netlist of the project is written with: an element line with its value
// to seventeen significant digits, and the AC sweep with the control block that prints the
// wanted vectors at every point, both as ngspice runs them in batch mode.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "network/sweep.hpp"

namespace bandmatch {

// "NAME NODEA NODEB VALUE".
void writeSpiceElement(std::ostream& out, std::string_view name, std::string_view nodeA,
                       std::string_view nodeB, double value);

// The ".ac" sweep (each point an analysis of its own when there are two), then the control block:
// for each analysis the `measures` (control lines: "let ...", "set ...") and the `printed` line
// ("print col ..."), and the end of the deck. Its vectors print over "frequency" in hertz to seventeen digits.
void writeSpiceAnalysis(std::ostream& out, const Sweep& sweep,
                        const std::vector<std::string>& measures, std::string_view printed);

}  // namespace bandmatch
