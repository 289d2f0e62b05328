// Command line of bandmatch-export: the report to read, the sweep, the base name of the files it
// writes, what to build (source resistance, standard values, part losses, parts list and
// schematic), or a request for the usage or the version.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rf/network_build.hpp"
#include "rf/sweep.hpp"
#include "tools/common/command_line.hpp"

namespace bandmatch {

inline constexpr std::string_view EXPORT_PROGRAM_NAME = "bandmatch-export";

inline constexpr int DEFAULT_POINTS = DEFAULT_SWEEP_POINTS;
inline constexpr int MIN_POINTS = 2;
inline constexpr int MAX_POINTS = 100000;
inline constexpr double DEFAULT_SPAN = DEFAULT_SWEEP_SPAN;
inline constexpr double MIN_SPAN = 1.0;
inline constexpr double MAX_SPAN = 10.0;
inline constexpr double MIN_SOURCE_OHMS = 1e-3;
inline constexpr double MAX_SOURCE_OHMS = 1e6;

struct ExportOptions {
  CommandAction action = CommandAction::run;
  std::string reportPath;
  int points = DEFAULT_POINTS;
  double span = DEFAULT_SPAN;  // sweep width as a multiple of the band
  std::string outBase;         // path of the files without their suffixes
  std::string loadPath;        // a measured load (Touchstone one-port) for position 1, if any
  BuildOptions build;          // the network to build instead of the report's ideal ladder
  bool parts = false;          // the list of parts and schematic even when nothing else is asked
  std::string error;           // why the command line is refused (action fail)
};

// Reads the arguments that follow the program name. Options may come before or after the report;
// "--name value" and "--name=value" are both accepted, and "--" ends the options.
ExportOptions parseExportOptions(const std::vector<std::string>& args);

// Whether the run builds a network: it then also writes the list of parts and the schematic and
// prints the summary of the variants.
bool buildsNetwork(const ExportOptions& options);

// The report's path without a final ".csv" (any letter case); other names are kept whole.
std::string defaultOutputBase(std::string_view reportPath);

// The generated usage text.
std::string exportUsage();

}  // namespace bandmatch
