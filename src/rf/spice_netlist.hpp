// The SPICE netlist of a reported design: the ladder as designed, driven through the source
// resistance, with an AC sweep and a control block that prints the input reflection magnitude.
#pragma once

#include <string>

#include "rf/csv_report_reader.hpp"
#include "rf/file_origin.hpp"
#include "rf/sweep.hpp"

namespace bandmatch {

// The whole netlist text; the origin is named in its header comment. Runs unchanged in
// ngspice's batch mode and prints the magnitude as the vector "rho" over "frequency" (Hz).
std::string renderSpiceNetlist(const ReportedDesign& design, const Sweep& sweep,
                               const FileOrigin& origin);

}  // namespace bandmatch
