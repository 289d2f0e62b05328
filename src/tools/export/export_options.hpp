// Command line of bandmatch-export: the report to read, the sweep, the base name of the files it
// writes, what to build (source resistance, standard values, part losses, parts list and
// schematic), the tolerance trials and the Smith chart, or a request for the usage or the
// version.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/common/command_line.hpp"
#include "tools/common/network_options.hpp"

namespace bandmatch {

inline constexpr std::string_view EXPORT_PROGRAM_NAME = "bandmatch-export";

// The options every network-writing program shares, and what the command line asks for.
struct ExportOptions : NetworkFileOptions {
  CommandAction action = CommandAction::run;
  std::string error;  // why the command line is refused (action fail)
};

// Reads the arguments that follow the program name. Options may come before or after the report;
// "--name value" and "--name=value" are both accepted, and "--" ends the options.
ExportOptions parseExportOptions(const std::vector<std::string>& args);

// The generated usage text.
std::string exportUsage();

}  // namespace bandmatch
