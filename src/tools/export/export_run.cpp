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
#include "tools/common/network_inputs.hpp"
#include "tools/export/export_options.hpp"

namespace bandmatch {

namespace {

constexpr int FIGURE_DIGITS = 6;
int fail(std::ostream& err, std::string_view message) {
  return refuse(err, EXPORT_PROGRAM_NAME, message);
}

std::string extremesLine(std::string_view what, const ReflectionExtremes& extremes) {
  return "In-band |Gamma| on the " + std::string(what) + ": min " +
         formatScientific(extremes.rhoMin, FIGURE_DIGITS) + ", max " +
         formatScientific(extremes.rhoMax, FIGURE_DIGITS) + ", worst SWR " +
         formatScientific(swrFromRho(extremes.rhoMax), FIGURE_DIGITS);
}

}  // namespace

int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ExportOptions options = parseExportOptions(args);
  if (options.action != CommandAction::run) {
    return answerRequest({options.action, options.error}, exportUsage(), EXPORT_PROGRAM_NAME, out,
                         err);
  }

  const ReportInput report = readReportInput(options.reportPath);
  if (!report.design) {
    return fail(err, report.error);
  }
  const ReportedDesign& design = *report.design;

  const Sweep wanted = sweepAroundBand(design.f1, design.f2, options.span, options.points);
  std::optional<LoadOnNetwork> measured;
  if (!options.loadPath.empty()) {
    std::string error;
    measured = readMeasuredLoad(options.loadPath, design, error);
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
  const std::string replaced =
      outputReplacingInput(files, report.identity, options.reportPath, options.loadPath);
  if (!replaced.empty()) {
    return fail(err, replaced);
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
  writeText(out, measuredLoadLines(design, *measured, options.loadPath, sweep, wanted));
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
