// The table the exporter prints for a built network: for each variant computed (ideal, with
// standard values, with losses) the worst in-band figures, so the cost of each step against
// the optimum shows at a glance; and the transformer's ratio when there is one.
#pragma once

#include <string>
#include <vector>

#include "network/reported_design.hpp"
#include "network/network_build.hpp"
#include "network/worst_case_judge.hpp"

namespace bandmatch {

// A built variant this many times worse than the ideal network gets a warning line.
inline constexpr double VARIANT_WARNING_RATIO = 2.0;

// The text, one line each; `figures` holds one entry per variant, in the same order. When a
// built variant's worst |S11| is more than VARIANT_WARNING_RATIO times the ideal network's, a
// last line says so and names the tuner, with the options, as the remedy.
std::string renderVariantSummary(const ReportedDesign& design,
                                 const std::vector<NetworkVariant>& variants,
                                 const std::vector<JudgedBand>& figures,
                                 const BuildOptions& options);

// That warning line without its line feed, or nothing when no built variant loses that much.
std::string variantWarning(const std::vector<NetworkVariant>& variants,
                           const std::vector<JudgedBand>& figures, const BuildOptions& options);

}  // namespace bandmatch
