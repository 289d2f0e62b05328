// The SPICE netlist of a reported design: its ladder as designed or as built (transformer, part
// values, loss resistances), driven through the source resistance, with an AC sweep and a
// control block that prints the input reflection magnitude, and for a built network the power
// in the load.
#pragma once

#include <string>

#include "network/reported_design.hpp"
#include "core/file_origin.hpp"
#include "network/sweep.hpp"

namespace bandmatch {

// What the control block prints besides the frequency: the input reflection magnitude "rho",
// and for a built network also "pload", the load's power in watts, of which the source makes
// 1 / (2 Rs) available.
enum class NetlistPrints { reflection, reflectionAndLoadPower };

// The whole netlist text of `network`; the origin is named in its header comment. Runs
// unchanged in ngspice's batch mode and prints its vectors over "frequency" (Hz).
std::string renderSpiceNetlist(const ReportedDesign& design, const LadderNetwork& network,
                               const Sweep& sweep, const FileOrigin& origin,
                               NetlistPrints prints = NetlistPrints::reflection);

}  // namespace bandmatch
