// The input files of a program that works on a report's network, read and checked alike by
// every such program: the CSV report, and a measured load fitted over the report's band as
// bandmatch-fit fits it; and the check that no output file replaces one of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "network/reported_design.hpp"
#include "network/load_fit.hpp"
#include "runs/network_analysis.hpp"
#include "network/sweep.hpp"
#include "network/measured_load.hpp"
#include "tools/common/atomic_file.hpp"
#include "tools/common/input_file.hpp"
#include "tools/common/network_options.hpp"

namespace bandmatch {

// The design of a report, or the reason it cannot serve ("PATH: why", one line).
struct ReportInput {
  std::optional<ReportedDesign> design;
  FileIdentity identity;
  std::string error;
  std::string text;  // the whole file, for a program that writes a report of its own from it
};

ReportInput readReportInput(const std::string& path);

// The measured load of the file at `path` in place of position 1, or nothing with `error` set
// ("PATH: why", one line): among the reasons, a load that is active anywhere the network is
// analysed on it, in the band or in the `wanted` sweep as far as the data reach.
std::optional<LoadOnNetwork> readMeasuredLoad(const std::string& path, const ReportedDesign& design,
                                              const Sweep& wanted, std::string& error);

// What every network program starts from: the report's design, the sweep its options ask for,
// and the measured load when one is named; or the first reason one of them cannot serve.
struct NetworkRunInput {
  ReportInput report;
  Sweep wanted;
  std::optional<LoadOnNetwork> measured;
  std::string error;
};

NetworkRunInput readNetworkRunInput(const NetworkFileOptions& options);

// Why one of the files would replace the report or the measured load (by device and inode, so
// any spelling of the name or a link counts), naming `program`'s option to change; empty when
// none would. `loadPath` is empty without a measured load.
std::string outputReplacingInput(const std::vector<OutputFile>& files,
                                 const FileIdentity& reportIdentity, const std::string& reportPath,
                                 const std::string& loadPath);

// "a, b and c", each name shown on one line whatever it holds (control characters as '?').
std::string listOfPaths(const std::vector<OutputFile>& files);

}  // namespace bandmatch
