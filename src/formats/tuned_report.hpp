// The CSV report of a network whose values a tuner moved: the report it was tuned from, with the
// rows a report reader takes rewritten for the tuned network (its element values and source
// resistance, its reflection figures on the model load and those derived from them, and the
// file's own name), and the tuned retuning element of a measured load after them, so that the
// companion programs read the tuned network back as they read any design.
#pragma once

#include <string>
#include <string_view>

#include "network/load_fit.hpp"
#include "network/reported_design.hpp"

namespace bandmatch {

// `tuned` holds the tuned ladder (as the report states it: the source resistance the ladder sees)
// with its best and worst |Gamma| over the band on the model load; `retuning` is written when it
// is an element. `reportText` must be a report the reader accepts, of the same N.
std::string tunedReportText(std::string_view reportText, const ReportedDesign& tuned,
                            const Retuning& retuning, std::string_view csvName,
                            std::string_view program);

}  // namespace bandmatch
