#include "tools/common/network_run.hpp"

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "tools/common/atomic_file.hpp"
#include "tools/common/command_line.hpp"

namespace bandmatch {

std::vector<OutputFile> outputsUnder(const std::string& outBase,
                                     const std::vector<NetworkFile>& files) {
  std::vector<OutputFile> outputs;
  outputs.reserve(files.size());
  for (const NetworkFile& file : files) {
    outputs.push_back({outBase + file.suffix, file.content});
  }
  return outputs;
}

std::string wroteLine(const std::vector<OutputFile>& outputs, const Sweep& sweep) {
  return "Wrote " + listOfPaths(outputs) + ": " + formatInteger(sweep.points) + " points from " +
         formatFixed(sweep.lowerMHz, figure_digits::FREQUENCY_MHZ) + " to " +
         formatFixed(sweep.upperMHz, figure_digits::FREQUENCY_MHZ) + " MHz";
}

int writeNetworkRun(std::string_view program, const NetworkFileOptions& options,
                    const ReportInput& report, const std::vector<NetworkFile>& files,
                    const Sweep& sweep, std::ostream& out, std::ostream& err,
                    JsonDocument* json) {
  const std::vector<OutputFile> outputs = outputsUnder(options.outBase, files);
  if (const std::string replaced =
          outputReplacingInput(outputs, report.identity, options.reportPath, options.loadPath);
      !replaced.empty()) {
    return refuse(err, program, replaced);
  }
  if (const std::string failure = writeFilesAtomically(outputs); !failure.empty()) {
    return refuse(err, program, failure);
  }
  if (json != nullptr) {
    std::vector<std::string> paths;
    for (const OutputFile& output : outputs) {
      paths.push_back(output.path);
    }
    addWrittenFiles(*json, paths, sweep);
    return TOOL_SUCCESS;
  }
  writeLine(out, wroteLine(outputs, sweep));
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
