#include "tools/export/export_run.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <optional>
#include <thread>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "network/reported_design.hpp"
#include "network/load_fit.hpp"
#include "network/measured_network.hpp"
#include "network/network_build.hpp"
#include "runs/network_analysis.hpp"
#include "formats/parts_list.hpp"
#include "drawing/response_plot.hpp"
#include "network/part_sensitivity.hpp"
#include "drawing/smith_chart.hpp"
#include "formats/spice_netlist.hpp"
#include "network/sweep.hpp"
#include "network/tolerance.hpp"
#include "runs/tolerance_summary.hpp"
#include "formats/touchstone.hpp"
#include "network/measured_load.hpp"
#include "runs/variant_summary.hpp"
#include "synthesis/match_figures.hpp"
#include "tools/common/atomic_file.hpp"
#include "tools/common/command_line.hpp"
#include "tools/common/network_inputs.hpp"
#include "tools/export/export_options.hpp"

namespace bandmatch {

namespace {

int fail(std::ostream& err, std::string_view message) {
  return refuse(err, EXPORT_PROGRAM_NAME, message);
}

// The tolerance trials and each part's sensitivity in the network, on the measured load when
// there is one.
struct ToleranceFigures {
  ToleranceResult trials;
  std::vector<PartSensitivity> sensitivities;
};

ToleranceFigures toleranceFigures(const ReportedDesign& design, const LadderNetwork& network,
                                  const Retuning& retuning, const LoadOnNetwork* measured,
                                  const Sweep& sweep, const ToleranceOptions& options) {
  ToleranceProblem problem{network, sweep, design.f1, design.f2, {}, {}, nullptr};
  if (measured) {
    problem.measuredImpedance = [measured](double f) {
      return interpolatedImpedance(measured->load, f);
    };
    problem.retuning = retuning;
    problem.dataMHz = &measured->load.frequencyMHz;
  }
  // Both cores where there are two; the figures do not depend on it.
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return {runTolerance(problem, options, threads), partSensitivities(problem)};
}

}  // namespace

int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ExportOptions options = parseExportOptions(args);
  if (options.action != CommandAction::run) {
    return answerRequest({options.action, options.error}, exportUsage(), EXPORT_PROGRAM_NAME, out,
                         err);
  }

  const NetworkRunInput input = readNetworkRunInput(options);
  if (!input.error.empty()) {
    return fail(err, input.error);
  }
  const ReportInput& report = input.report;
  const ReportedDesign& design = *report.design;
  const Sweep& wanted = input.wanted;
  const std::optional<LoadOnNetwork>& measured = input.measured;

  // The network to build, step by step; the last variant is the one every file describes.
  const NetworkAnalysis analysis =
      analyseNetwork(design, wanted, options.build, measured ? &*measured : nullptr);
  if (!analysis.error.empty()) {
    return fail(err, options.reportPath + ": " + analysis.error);
  }
  if (!analysis.loadError.empty()) {
    return fail(err, options.loadPath + ": " + analysis.loadError);
  }
  const Sweep& sweep = analysis.sweep;
  const LadderNetwork& network = analysis.variants.back().ladder;
  const FrequencyResponse& onLoad = analysis.onLoad;

  std::optional<ToleranceFigures> tolerance;
  if (options.tolerance) {
    tolerance = toleranceFigures(design, network, analysis.variants.back().retuning,
                                 measured ? &*measured : nullptr, sweep, *options.tolerance);
  }

  const std::string description = buildDescription(options.build);
  const FileOrigin origin{EXPORT_PROGRAM_NAME, options.reportPath, options.loadPath, description};
  PlotBand spread;
  if (tolerance) {
    spread = {"90 % of " + formatInteger(options.tolerance->trials) + " trials",
              &tolerance->trials.band};
  }
  const bool building = exportBuildsNetwork(options);
  std::vector<OutputFile> files = {
      {options.outBase + ".cir", renderSpiceNetlist(design, network, sweep, origin,
                                                    building ? NetlistPrints::reflectionAndLoadPower
                                                             : NetlistPrints::reflection)},
      {options.outBase + ".s1p",
       renderTouchstone(design, network, measured ? onLoad : analysis.responses.back(), origin)},
      {options.outBase + ".svg",
       renderResponsePlot(design, networkCurves(analysis), origin, spread)},
  };
  if (building) {
    const std::optional<MeasuredLoadParts> loadParts =
        measuredLoadParts(analysis, measured ? &*measured : nullptr);
    const MeasuredLoadParts* partsOfLoad = loadParts ? &*loadParts : nullptr;
    files.push_back(
        {options.outBase + "-parts.csv",
         renderPartsList(design, analysis.variants.front().ladder, network, options.build,
                         tolerance ? &tolerance->sensitivities : nullptr, partsOfLoad)});
    files.push_back({options.outBase + "-schematic.svg",
                     renderNetworkSchematic(design, network, options.build, origin, partsOfLoad)});
  }
  if (options.smith) {
    files.push_back({options.outBase + "-smith.svg",
                     renderNetworkSmithChart(design, analysis, measured ? &*measured : nullptr,
                                             options.goalSwr, origin)});
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
    writeText(out,
              renderVariantSummary(design, analysis.variants, variantFigures(design, analysis),
                                   options.build));
    out.flush();
  }
  if (measured) {
    writeText(out,
              renderMeasuredLoadSummary(design, analysis, *measured, options.loadPath, wanted));
  }
  if (tolerance) {
    writeText(out,
              renderToleranceSummary(*options.tolerance, design.N, measured.has_value(),
                                     tolerance->trials, options.goalSwr, tolerance->sensitivities));
  }
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
