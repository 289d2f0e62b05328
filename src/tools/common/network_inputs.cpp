#include "tools/common/network_inputs.hpp"

#include <algorithm>

#include "core/display_text.hpp"
#include "formats/csv_report_reader.hpp"
#include "formats/touchstone_reader.hpp"

namespace bandmatch {

namespace {

// A report is a few kilobytes; anything far larger is refused unread.
constexpr std::size_t REPORT_SIZE_LIMIT = 1 << 20;
constexpr std::string_view TOO_LARGE_REASON =
    "not a bandmatch CSV report: the file is far too large";

}  // namespace

ReportInput readReportInput(const std::string& path) {
  const FileText file = readInputFile(path, REPORT_SIZE_LIMIT, TOO_LARGE_REASON);
  if (!file.text) {
    return {std::nullopt, {}, file.error, {}};
  }
  ReportReading reading = readCsvReport(*file.text);
  if (!reading.design) {
    return {std::nullopt, {}, path + ": " + reading.error, {}};
  }
  return {std::move(reading.design), file.identity, {}, std::move(*file.text)};
}

std::optional<LoadOnNetwork> readMeasuredLoad(const std::string& path, const ReportedDesign& design,
                                              const Sweep& wanted, std::string& error) {
  const FileText file = readInputFile(path, LOAD_FILE_SIZE_LIMIT, LOAD_FILE_TOO_LARGE);
  if (!file.text) {
    error = file.error;
    return std::nullopt;
  }
  TouchstoneReading reading = readTouchstone(*file.text);
  if (!reading.load) {
    error = path + ": " + reading.error;
    return std::nullopt;
  }
  // Whether the data cover the band is said first, then whether the load is passive where it is
  // used, and only then whether a model fits it.
  const BandPoints band = pointsInBand(*reading.load, design.f1, design.f2);
  const std::optional<ActivePoint> active =
      band.error.empty() ? firstActivePoint(*reading.load, std::min(design.f1, wanted.lowerMHz),
                                            std::max(design.f2, wanted.upperMHz))
                         : std::nullopt;
  if (active) {
    error = path + ": " + activeLoadReason(*active);
    return std::nullopt;
  }
  LoadOnNetworkFit fitted = loadOnNetwork(std::move(*reading.load), design);
  if (!fitted.load) {
    error = path + ": " + fitted.error;
  }
  return std::move(fitted.load);
}

std::string outputReplacingInput(const std::vector<OutputFile>& files,
                                 const FileIdentity& reportIdentity, const std::string& reportPath,
                                 const std::string& loadPath) {
  const std::optional<FileIdentity> loadIdentity =
      loadPath.empty() ? std::nullopt : identityOf(loadPath);
  for (const OutputFile& output : files) {
    const std::optional<FileIdentity> identity = identityOf(output.path);
    if (identity == reportIdentity) {
      return output.path + " would replace the report " + reportPath + "; choose another --out";
    }
    if (identity && identity == loadIdentity) {
      return output.path + " would replace the measured load " + loadPath +
             "; choose another --out";
    }
  }
  return {};
}

std::string listOfPaths(const std::vector<OutputFile>& files) {
  std::string text;
  for (std::size_t i = 0; i < files.size(); ++i) {
    text += (i == 0 ? "" : (i + 1 == files.size() ? " and " : ", ")) + printableText(files[i].path);
  }
  return text;
}

NetworkRunInput readNetworkRunInput(const NetworkFileOptions& options) {
  NetworkRunInput input{readReportInput(options.reportPath), {}, std::nullopt, {}};
  if (!input.report.design) {
    input.error = input.report.error;
    return input;
  }
  const ReportedDesign& design = *input.report.design;
  input.wanted = sweepAroundBand(design.f1, design.f2, options.span, options.points);
  if (!options.loadPath.empty()) {
    input.measured = readMeasuredLoad(options.loadPath, design, input.wanted, input.error);
  }
  return input;
}

}  // namespace bandmatch
