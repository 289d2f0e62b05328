// The list of parts of a built network as CSV: a header row, then one row per component from the
// source to the load, every row with the same columns, values in engineering units.
#pragma once

#include <string>
#include <vector>

#include "rf/csv_report_reader.hpp"
#include "rf/network_build.hpp"
#include "rf/sensitivity.hpp"

namespace bandmatch {

// The cells: the header row, then one row per component; every row has the header's columns.
// `ideal` is the design's ladder (with the transformer when asked), `built` the network to
// build. With sensitivities a last column gives each part's change of the worst in-band |S11|
// for +1 % of its value.
std::vector<std::vector<std::string>> partsListRows(
    const ReportedDesign& design, const LadderNetwork& ideal, const LadderNetwork& built,
    const BuildOptions& options, const std::vector<PartSensitivity>* sensitivities = nullptr);

// The same rows as CSV. No cell holds a comma or a quote, so no cell needs quoting.
std::string renderPartsList(const ReportedDesign& design, const LadderNetwork& ideal,
                            const LadderNetwork& built, const BuildOptions& options,
                            const std::vector<PartSensitivity>* sensitivities = nullptr);

}  // namespace bandmatch
