#include "tools/export/export_run.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "rf/csv_report_reader.hpp"
#include "rf/load_fit.hpp"
#include "rf/measured_network.hpp"
#include "rf/network_build.hpp"
#include "rf/parts_list.hpp"
#include "rf/response_plot.hpp"
#include "rf/schematic.hpp"
#include "rf/spice_netlist.hpp"
#include "rf/sweep.hpp"
#include "rf/touchstone.hpp"
#include "rf/touchstone_reader.hpp"
#include "rf/variant_summary.hpp"
#include "synthesis/match_figures.hpp"
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

// Far above any analyser's or simulator's file of one port.
constexpr std::size_t LOAD_SIZE_LIMIT = std::size_t{64} << 20;
constexpr std::string_view LOAD_TOO_LARGE_REASON = "the file is far too large for a one-port";
constexpr int FIGURE_DIGITS = 6;
constexpr int VALUE_DIGITS = 9;
// Beyond this the report's position 1 was not designed for the measured load's description.
constexpr double POSITION_1_TOLERANCE = 0.01;

// The measured load in place of position 1, retuned as bandmatch-fit retunes it.
struct LoadOnNetwork {
  MeasuredLoad load;
  Retuning retuning;
};

int fail(std::ostream& err, std::string_view message) {
  return refuse(err, EXPORT_PROGRAM_NAME, message);
}

// Reads and fits the measured load over the report's band with the report's load type.
std::optional<LoadOnNetwork> measuredLoad(const std::string& path, const ReportedDesign& design,
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
  return LoadOnNetwork{std::move(*reading.load), fit.candidates.front().retuning};
}

// How far the report's L(1) and C(1) lie from the measured load's retuned resonator.
double positionOneMismatch(const ReportedDesign& design, const Retuning& retuning) {
  const double inductance = design.ladder.inductance.front() / retuning.inductance - 1.0;
  const double capacitance = design.ladder.capacitance.front() / retuning.capacitance - 1.0;
  return std::max(std::fabs(inductance), std::fabs(capacitance));
}

std::string extremesLine(std::string_view what, const ReflectionExtremes& extremes) {
  return "In-band |Gamma| on the " + std::string(what) + ": min " +
         formatScientific(extremes.rhoMin, FIGURE_DIGITS) + ", max " +
         formatScientific(extremes.rhoMax, FIGURE_DIGITS) + ", worst SWR " +
         formatScientific(swrFromRho(extremes.rhoMax), FIGURE_DIGITS);
}

// "a, b and c".
std::string listOfPaths(const std::vector<OutputFile>& files) {
  std::string text;
  for (std::size_t i = 0; i < files.size(); ++i) {
    text += (i == 0 ? "" : (i + 1 == files.size() ? " and " : ", ")) + files[i].path;
  }
  return text;
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

  const Sweep wanted = sweepAroundBand(design.f1, design.f2, options.span, options.points);
  std::optional<LoadOnNetwork> measured;
  if (!options.loadPath.empty()) {
    std::string error;
    measured = measuredLoad(options.loadPath, design, error);
    if (!measured) {
      return fail(err, error);
    }
  }
  const Sweep sweep = measured ? clippedToData(wanted, measured->load) : wanted;

  // The network to build, step by step; the last variant is the one every file describes.
  const NetworkVariants built = networkVariants(design, options.build);
  if (!built.error.empty()) {
    return fail(err, options.reportPath + ": " + built.error);
  }
  std::vector<FrequencyResponse> responses;
  for (const NetworkVariant& variant : built.variants) {
    responses.push_back(analyseSweep(variant.ladder, sweep));
    if (const std::optional<double> frequency = firstNonFiniteFrequency(responses.back())) {
      return fail(err, options.reportPath + ": the network's reflection is not finite at " +
                           formatFullPrecision(*frequency) + " MHz");
    }
  }
  const LadderNetwork& network = built.variants.back().ladder;
  FrequencyResponse onLoad;
  if (measured) {
    onLoad = analyseSweepOnLoad(network, measured->load, measured->retuning, sweep);
    if (const std::optional<double> frequency = firstNonFiniteFrequency(onLoad)) {
      return fail(err, options.loadPath +
                           ": the network's reflection on the measured load is not "
                           "finite at " +
                           formatFullPrecision(*frequency) + " MHz");
    }
  }

  const std::string description = buildDescription(options.build);
  const FileOrigin origin{EXPORT_PROGRAM_NAME, options.reportPath, options.loadPath, description};
  std::vector<PlotCurve> curves;
  for (std::size_t i = 0; i < built.variants.size(); ++i) {
    curves.push_back(
        {built.variants.size() == 1 ? std::string("Model load") : built.variants[i].label,
         responses[i]});
  }
  if (measured) {
    curves.push_back({"Measured load", onLoad});
  }
  const bool building = buildsNetwork(options);
  std::vector<OutputFile> files = {
      {options.outBase + ".cir", renderSpiceNetlist(design, network, sweep, origin,
                                                    building ? NetlistPrints::reflectionAndLoadPower
                                                             : NetlistPrints::reflection)},
      {options.outBase + ".s1p",
       renderTouchstone(design, network, measured ? onLoad : responses.back(), origin)},
      {options.outBase + ".svg", renderResponsePlot(design, curves, origin)},
  };
  if (building) {
    files.push_back(
        {options.outBase + "-parts.csv",
         renderPartsList(design, built.variants.front().ladder, network, options.build)});
    files.push_back(
        {options.outBase + "-schematic.svg",
         renderSchematic(layoutSchematic(design, network, options.build, origin),
                         "Schematic of the matching network: " + designSummary(design))});
  }
  // Compared by identity: another spelling of an input's path, or a link to it, is the same.
  const std::optional<FileIdentity> loadIdentity =
      measured ? identityOf(options.loadPath) : std::nullopt;
  for (const OutputFile& output : files) {
    const std::optional<FileIdentity> identity = identityOf(output.path);
    if (identity == file.identity) {
      return fail(err, output.path + " would replace the report " + options.reportPath +
                           "; choose another --out");
    }
    if (identity && identity == loadIdentity) {
      return fail(err, output.path + " would replace the measured load " + options.loadPath +
                           "; choose another --out");
    }
  }
  const std::string failure = writeFilesAtomically(files);
  if (!failure.empty()) {
    return fail(err, failure);
  }
  writeLine(out, "Wrote " + listOfPaths(files) + ": " + formatInteger(sweep.points) +
                     " points from " + formatFixed(sweep.lowerMHz, 6) + " to " +
                     formatFixed(sweep.upperMHz, 6) + " MHz");
  if (building) {
    std::vector<BandFigures> figures;
    for (std::size_t i = 0; i < built.variants.size(); ++i) {
      figures.push_back(worstInBand(built.variants[i].ladder, responses[i], design.f1, design.f2));
    }
    writeText(out, renderVariantSummary(design, built.variants, figures));
    out.flush();
  }
  if (!measured) {
    return TOOL_SUCCESS;
  }
  if (sweep.lowerMHz != wanted.lowerMHz || sweep.upperMHz != wanted.upperMHz) {
    writeLine(out, "Note: the sweep is clipped to the measured data, which cover " +
                       formatFixed(measured->load.frequencyMHz.front(), 6) + " to " +
                       formatFixed(measured->load.frequencyMHz.back(), 6) + " MHz");
  }
  const Retuning& retuning = measured->retuning;
  writeLine(out, "Measured load " + printableText(options.loadPath) +
                     " at position 1, retuned by " +
                     (retuning.kind == RetuningKind::none
                          ? std::string("no element")
                          : std::string(retuningName(retuning.kind)) + " " +
                                formatScientific(retuning.value, VALUE_DIGITS)));
  const double mismatch = positionOneMismatch(design, retuning);
  if (!(mismatch <= POSITION_1_TOLERANCE)) {
    writeLine(out, "Note: the report's L(1) and C(1) differ by " +
                       formatFixed(100.0 * mismatch, 1) +
                       " % from the measured load's retuned resonator; the design was made for "
                       "another load description");
  }
  const LadderNetwork& ladder = network;
  const LoadOnNetwork& real = *measured;
  writeLine(out, extremesLine("model load", reflectionExtremes(
                                                [&ladder](double f) {
                                                  return std::abs(inputReflection(ladder, f));
                                                },
                                                design.f1, design.f2)));
  writeLine(out, extremesLine("measured load", reflectionExtremes(
                                                   [&ladder, &real](double f) {
                                                     return std::abs(measuredLoadReflection(
                                                         ladder, real.load, real.retuning, f));
                                                   },
                                                   design.f1, design.f2)));
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
