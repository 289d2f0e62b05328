// The list of parts of a built network as CSV: a header row, then one row per component from the
// source to the load, every row with the same columns, values in engineering units.
#pragma once

#include <string>
#include <vector>

#include "network/reported_design.hpp"
#include "network/network_build.hpp"
#include "network/part_sensitivity.hpp"
#include "network/part_stress.hpp"

namespace bandmatch {

// The cells: the header row, then one row per component; every row has the header's columns.
// `ideal` is the design's ladder (with the transformer when asked), `built` the network to
// build. The column after the note is the exact value the network is analysed with, in henries,
// farads, ohms or as a ratio, to ten significant digits: the network rebuilt from it gives the
// printed figures. With sensitivities a last column gives each part's change of the worst
// in-band |S11| for +1 % of its value. With a measured load, its retuning element is a part
// (position 1) and the load's rows give its own fitted values. With stresses (ladderPartStress
// of the built network at a power) two more columns give each part's worst in-band peak voltage
// and RMS current.
std::vector<std::vector<std::string>> partsListRows(
    const ReportedDesign& design, const LadderNetwork& ideal, const LadderNetwork& built,
    const BuildOptions& options, const std::vector<PartSensitivity>* sensitivities = nullptr,
    const MeasuredLoadParts* measured = nullptr,
    const std::vector<LadderPartStress>* stresses = nullptr);

// Rows as CSV text, cells separated by commas, each row ended by a line feed; no cell is quoted.
std::string csvText(const std::vector<std::vector<std::string>>& rows);

// The same rows as CSV. No cell holds a comma or a quote, so no cell needs quoting.
std::string renderPartsList(const ReportedDesign& design, const LadderNetwork& ideal,
                            const LadderNetwork& built, const BuildOptions& options,
                            const std::vector<PartSensitivity>* sensitivities = nullptr,
                            const MeasuredLoadParts* measured = nullptr,
                            const std::vector<LadderPartStress>* stresses = nullptr);

}  // namespace bandmatch
