// The table the exporter prints for a built network: for each variant computed (ideal, with
// standard values, with losses) the worst in-band figures, so the cost of each step against
// the optimum shows at a glance; and the transformer's ratio when there is one.
#pragma once

#include <string>
#include <vector>

#include "rf/csv_report_reader.hpp"
#include "rf/network_build.hpp"
#include "rf/worst_case_judge.hpp"

namespace bandmatch {

// The text, one line each; `figures` holds one entry per variant, in the same order.
std::string renderVariantSummary(const ReportedDesign& design,
                                 const std::vector<NetworkVariant>& variants,
                                 const std::vector<JudgedBand>& figures);

}  // namespace bandmatch
