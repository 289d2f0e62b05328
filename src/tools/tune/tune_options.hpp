// Command line of bandmatch-tune: every option of bandmatch-export with the same meaning and
// defaults, the range each value may move within, and whether the retuning element of a measured
// load is tuned too; or a request for the usage or the version.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/common/command_line.hpp"
#include "tools/common/network_options.hpp"

namespace bandmatch {

inline constexpr std::string_view TUNE_PROGRAM_NAME = "bandmatch-tune";

// The default base name is the report's with this added, so the exporter's files stay.
inline constexpr std::string_view TUNED_SUFFIX = "-tuned";

// Each value may move between its start divided by and times (1 + PCT/100).
inline constexpr double DEFAULT_RANGE_PERCENT = 50.0;
inline constexpr double MAX_RANGE_PERCENT = 1000.0;

struct TuneOptions : NetworkFileOptions {
  CommandAction action = CommandAction::run;
  double rangePercent = DEFAULT_RANGE_PERCENT;
  bool tuneRetuning = false;  // the measured load's retuning element is tuned with the rest
  std::string error;          // why the command line is refused (action fail)
};

// Reads the arguments that follow the program name, as the exporter reads its own.
TuneOptions parseTuneOptions(const std::vector<std::string>& args);

// The generated usage text.
std::string tuneUsage();

}  // namespace bandmatch
