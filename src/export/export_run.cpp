#include "export/export_run.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "export/atomic_file.hpp"
#include "export/csv_report_reader.hpp"
#include "export/export_options.hpp"
#include "export/export_text.hpp"
#include "export/response_plot.hpp"
#include "export/spice_netlist.hpp"
#include "export/sweep.hpp"
#include "export/touchstone.hpp"
#include "report/number_format.hpp"
#include "report/text_sink.hpp"

namespace bandmatch {

namespace {

// A report is a few kilobytes; anything far larger is refused unread.
constexpr std::size_t REPORT_SIZE_LIMIT = 1 << 20;
constexpr std::size_t READ_CHUNK = 1 << 16;

int fail(std::ostream& err, std::string_view message) {
  writeLine(err, std::string(EXPORT_PROGRAM_NAME) + ": " + std::string(message));
  return EXPORT_FAILURE;
}

// The whole file, or the reason it cannot be read.
struct FileText {
  std::optional<std::string> text;
  std::string error;
};

FileText readReportFile(const std::string& path) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return {std::nullopt, "cannot read " + path + ": " + std::strerror(errno)};
  }
  std::string text;
  char chunk[READ_CHUNK];
  while (text.size() <= REPORT_SIZE_LIMIT) {
    const std::size_t count = std::fread(chunk, 1, sizeof chunk, file);
    text.append(chunk, count);
    if (count < sizeof chunk) {
      break;
    }
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) {
    return {std::nullopt, "cannot read " + path + ": " + std::strerror(error != 0 ? error : EIO)};
  }
  if (text.size() > REPORT_SIZE_LIMIT) {
    return {std::nullopt, path + ": not a bandmatch CSV report: the file is far too large"};
  }
  return {std::move(text), {}};
}

// A network with a zero or infinite impedance somewhere would give no usable response.
std::optional<double> firstNonFiniteFrequency(const FrequencyResponse& response) {
  for (std::size_t i = 0; i < response.reflection.size(); ++i) {
    const std::complex<double> s11 = response.reflection[i];
    if (!std::isfinite(s11.real()) || !std::isfinite(s11.imag())) {
      return response.frequencyMHz[i];
    }
  }
  return std::nullopt;
}

}  // namespace

int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ExportOptions options = parseExportOptions(args);
  switch (options.action) {
    case ExportAction::help:
      for (const std::string& line : exportUsageLines()) {
        writeLine(out, line);
      }
      return EXPORT_SUCCESS;
    case ExportAction::version:
      writeLine(out, std::string(EXPORT_PROGRAM_NAME) + " " + std::string(EXPORT_VERSION));
      return EXPORT_SUCCESS;
    case ExportAction::fail:
      return fail(err, options.error);
    case ExportAction::run:
      break;
  }

  const FileText file = readReportFile(options.reportPath);
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

  const std::vector<OutputFile> files = {
      {options.outBase + ".cir", renderSpiceNetlist(design, sweep, options.reportPath)},
      {options.outBase + ".s1p", renderTouchstone(design, response, options.reportPath)},
      {options.outBase + ".svg", renderResponsePlot(design, response, options.reportPath)},
  };
  const std::string failure = writeFilesAtomically(files);
  if (!failure.empty()) {
    return fail(err, failure);
  }
  writeLine(out, "Wrote " + files[0].path + ", " + files[1].path + " and " + files[2].path + ": " +
                     formatInteger(sweep.points) + " points from " +
                     formatFixed(sweep.lowerMHz, 6) + " to " + formatFixed(sweep.upperMHz, 6) +
                     " MHz");
  return EXPORT_SUCCESS;
}

}  // namespace bandmatch
