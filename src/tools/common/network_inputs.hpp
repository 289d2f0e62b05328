// The input files of a program that works on a report's network, read and checked alike by
// every such program: the CSV report, and a measured load fitted over the report's band as
// bandmatch-fit fits it; and the check that no output file replaces one of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rf/csv_report_reader.hpp"
#include "rf/load_fit.hpp"
#include "rf/sweep.hpp"
#include "rf/touchstone_reader.hpp"
#include "tools/common/atomic_file.hpp"
#include "tools/common/input_file.hpp"

namespace bandmatch {

// The design of a report, or the reason it cannot serve ("PATH: why", one line).
struct ReportInput {
  std::optional<ReportedDesign> design;
  FileIdentity identity;
  std::string error;
};

ReportInput readReportInput(const std::string& path);

// The measured load in place of position 1, with the element that retunes it to resonate at
// f0 and the decrement of the fitted, retuned resonator; the load type is the report's.
struct LoadOnNetwork {
  MeasuredLoad load;
  BandPoints band;
  Retuning retuning;
  double decrement = 0.0;
};

std::optional<LoadOnNetwork> readMeasuredLoad(const std::string& path, const ReportedDesign& design,
                                              std::string& error);

// The lines that say how the measured load stands in for position 1: a note when the sweep
// had to be clipped to the data (`sweep` against the `wanted` one), the retuning element, and a
// note when the report's position 1 was designed for another load description.
std::string measuredLoadLines(const ReportedDesign& design, const LoadOnNetwork& measured,
                              const std::string& loadPath, const Sweep& sweep, const Sweep& wanted);

// Why one of the files would replace the report or the measured load (by device and inode, so
// any spelling of the name or a link counts), naming `program`'s option to change; empty when
// none would. `loadPath` is empty without a measured load.
std::string outputReplacingInput(const std::vector<OutputFile>& files,
                                 const FileIdentity& reportIdentity, const std::string& reportPath,
                                 const std::string& loadPath);

// "a, b and c".
std::string listOfPaths(const std::vector<OutputFile>& files);

}  // namespace bandmatch
