#include "tools/common/network_inputs.hpp"

#include <algorithm>
#include <cmath>

#include "core/display_text.hpp"
#include "core/number_format.hpp"

namespace bandmatch {

namespace {

// A report is a few kilobytes; anything far larger is refused unread.
constexpr std::size_t REPORT_SIZE_LIMIT = 1 << 20;
constexpr std::string_view TOO_LARGE_REASON =
    "not a bandmatch CSV report: the file is far too large";

// Far above any analyser's or simulator's file of one port.
constexpr std::size_t LOAD_SIZE_LIMIT = std::size_t{64} << 20;
constexpr std::string_view LOAD_TOO_LARGE_REASON = "the file is far too large for a one-port";

constexpr int VALUE_DIGITS = 9;
// Beyond this the report's position 1 was not designed for the measured load's description.
constexpr double POSITION_1_TOLERANCE = 0.01;

// How far the report's L(1) and C(1) lie from the measured load's retuned resonator.
double positionOneMismatch(const ReportedDesign& design, const Retuning& retuning) {
  const double inductance = design.ladder.inductance.front() / retuning.inductance - 1.0;
  const double capacitance = design.ladder.capacitance.front() / retuning.capacitance - 1.0;
  return std::max(std::fabs(inductance), std::fabs(capacitance));
}

}  // namespace

ReportInput readReportInput(const std::string& path) {
  const FileText file = readInputFile(path, REPORT_SIZE_LIMIT, TOO_LARGE_REASON);
  if (!file.text) {
    return {std::nullopt, {}, file.error};
  }
  ReportReading reading = readCsvReport(*file.text);
  if (!reading.design) {
    return {std::nullopt, {}, path + ": " + reading.error};
  }
  return {std::move(reading.design), file.identity, {}};
}

std::optional<LoadOnNetwork> readMeasuredLoad(const std::string& path, const ReportedDesign& design,
                                              std::string& error) {
  const FileText file = readInputFile(path, LOAD_SIZE_LIMIT, LOAD_TOO_LARGE_REASON);
  if (!file.text) {
    error = file.error;
    return std::nullopt;
  }
  TouchstoneReading reading = readTouchstone(*file.text);
  if (!reading.load) {
    error = path + ": " + reading.error;
    return std::nullopt;
  }
  const BandPoints band = pointsInBand(*reading.load, design.f1, design.f2);
  if (!band.error.empty()) {
    error = path + ": " + band.error;
    return std::nullopt;
  }
  const LoadFit fit = fitLoad(
      *reading.load, band, design.f1, design.f2,
      design.loadType == LoadType::series ? LoadModelChoice::series : LoadModelChoice::parallel);
  if (!fit.error.empty()) {
    error = path + ": " + fit.error;
    return std::nullopt;
  }
  return LoadOnNetwork{std::move(*reading.load), band, fit.candidates.front().retuning,
                       fit.load.decrement};
}

std::string measuredLoadLines(const ReportedDesign& design, const LoadOnNetwork& measured,
                              const std::string& loadPath, const Sweep& sweep,
                              const Sweep& wanted) {
  std::string text;
  if (sweep.lowerMHz != wanted.lowerMHz || sweep.upperMHz != wanted.upperMHz) {
    text += "Note: the sweep is clipped to the measured data, which cover " +
            formatFixed(measured.load.frequencyMHz.front(), 6) + " to " +
            formatFixed(measured.load.frequencyMHz.back(), 6) + " MHz\n";
  }
  const Retuning& retuning = measured.retuning;
  text +=
      "Measured load " + printableText(loadPath) + " at position 1, retuned by " +
      (retuning.kind == RetuningKind::none ? std::string("no element")
                                           : std::string(retuningName(retuning.kind)) + " " +
                                                 formatScientific(retuning.value, VALUE_DIGITS)) +
      "\n";
  const double mismatch = positionOneMismatch(design, retuning);
  if (!(mismatch <= POSITION_1_TOLERANCE)) {
    text += "Note: the report's L(1) and C(1) differ by " + formatFixed(100.0 * mismatch, 1) +
            " % from the measured load's retuned resonator; the design was made for another "
            "load description\n";
  }
  return text;
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
    text += (i == 0 ? "" : (i + 1 == files.size() ? " and " : ", ")) + files[i].path;
  }
  return text;
}

}  // namespace bandmatch
