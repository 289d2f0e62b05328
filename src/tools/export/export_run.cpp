#include "tools/export/export_run.hpp"

#include <optional>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "rf/csv_report_reader.hpp"
#include "rf/response_plot.hpp"
#include "rf/spice_netlist.hpp"
#include "rf/sweep.hpp"
#include "rf/touchstone.hpp"
#include "tools/common/atomic_file.hpp"
#include "tools/common/command_line.hpp"
#include "tools/common/input_file.hpp"
#include "tools/export/export_options.hpp"

namespace bandmatch {

namespace {

// A report is a few kilobytes; anything far larger is refused unread.
constexpr std::size_t REPORT_SIZE_LIMIT = 1 << 20;
constexpr std::string_view TOO_LARGE_REASON =
    "not a bandmatch CSV report: the file is far too large";

int fail(std::ostream& err, std::string_view message) {
  return refuse(err, EXPORT_PROGRAM_NAME, message);
}

}  // namespace

int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ExportOptions options = parseExportOptions(args);
  if (options.action != CommandAction::run) {
    return answerRequest({options.action, options.error}, exportUsage(), EXPORT_PROGRAM_NAME, out,
                         err);
  }

  const FileText file = readInputFile(options.reportPath, REPORT_SIZE_LIMIT, TOO_LARGE_REASON);
  if (!file.text) {
    return fail(err, file.error);
  }
  const ReportReading reading = readCsvReport(*file.text);
  if (!reading.design) {
    return fail(err, options.reportPath + ": " + reading.error);
  }
  const ReportedDesign& design = *reading.design;

  const Sweep sweep = sweepAroundBand(design.f1, design.f2, options.span, options.points);
  const FrequencyResponse response = analyseSweep(design.ladder, sweep);
  if (const std::optional<double> frequency = firstNonFiniteFrequency(response)) {
    return fail(err, options.reportPath + ": the network's reflection is not finite at " +
                         formatFullPrecision(*frequency) + " MHz");
  }

  const FileOrigin origin{EXPORT_PROGRAM_NAME, options.reportPath};
  const std::vector<OutputFile> files = {
      {options.outBase + ".cir", renderSpiceNetlist(design, sweep, origin)},
      {options.outBase + ".s1p", renderTouchstone(design, response, origin)},
      {options.outBase + ".svg", renderResponsePlot(design, {{"network", response}}, origin)},
  };
  const std::string failure = writeFilesAtomically(files);
  if (!failure.empty()) {
    return fail(err, failure);
  }
  writeLine(out, "Wrote " + files[0].path + ", " + files[1].path + " and " + files[2].path + ": " +
                     formatInteger(sweep.points) + " points from " +
                     formatFixed(sweep.lowerMHz, 6) + " to " + formatFixed(sweep.upperMHz, 6) +
                     " MHz");
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
