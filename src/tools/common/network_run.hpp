// The end every network program's run shares: its files written under the base name all or
// nothing, after checking that none would replace an input, and the "Wrote" line that names them
// with the sweep they hold.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "network/sweep.hpp"
#include "runs/json_summary.hpp"
#include "runs/network_files.hpp"
#include "tools/common/network_inputs.hpp"
#include "tools/common/network_options.hpp"

namespace bandmatch {

// The files as outputs: each suffix appended to the base name.
std::vector<OutputFile> outputsUnder(const std::string& outBase,
                                     const std::vector<NetworkFile>& files);

// "Wrote a, b and c: N points from F1 to F2 MHz", naming the files with the sweep they hold.
std::string wroteLine(const std::vector<OutputFile>& outputs, const Sweep& sweep);

// TOOL_SUCCESS when every file is in place and the line printed on `out` (or, given a `json`
// document, the files and the sweep added to it instead); otherwise TOOL_FAILURE with the reason
// as `program`'s one line on `err`, and no file written or replaced.
int writeNetworkRun(std::string_view program, const NetworkFileOptions& options,
                    const ReportInput& report, const std::vector<NetworkFile>& files,
                    const Sweep& sweep, std::ostream& out, std::ostream& err,
                    JsonDocument* json = nullptr);

}  // namespace bandmatch
