#include "tools/export/export_run.hpp"

#include <algorithm>
#include <optional>
#include <thread>

#include "core/text_sink.hpp"
#include "network/network_build.hpp"
#include "runs/json_summary.hpp"
#include "runs/network_analysis.hpp"
#include "runs/network_files.hpp"
#include "runs/tolerance_summary.hpp"
#include "runs/variant_summary.hpp"
#include "tools/common/command_line.hpp"
#include "tools/common/network_inputs.hpp"
#include "tools/common/network_run.hpp"
#include "tools/export/export_options.hpp"

namespace bandmatch {

namespace {

int fail(std::ostream& err, std::string_view message) {
  return refuse(err, EXPORT_PROGRAM_NAME, message);
}

// The summary's sections after the files written, each null when the run has none.
JsonDocument exportJson(JsonDocument json, const ExportOptions& options,
                        const ReportedDesign& design, const NetworkAnalysis& analysis,
                        const LoadOnNetwork* measured, const Sweep& wanted,
                        const std::optional<std::vector<LadderPartStress>>& stresses,
                        const std::optional<ToleranceFigures>& tolerance) {
  json["variants"] = buildsNetwork(options) ? variantsJson(analysis.variants,
                                                           variantFigures(design, analysis),
                                                           options.build)
                                            : JsonDocument();
  json["measured_load"] = nullptr;
  if (measured != nullptr) {
    const NetworkVariant& built = analysis.variants.back();
    JsonDocument load = measuredLoadJson(design, *measured, built.retuning, options.loadPath,
                                         analysis.sweep, wanted);
    const MeasuredLoadFigures figures = measuredLoadFigures(design, analysis, *measured);
    load["figures"] = figuresJson(figures.onModel);
    load["figures_on_load"] = figuresJson(figures.onLoad);
    json["measured_load"] = std::move(load);
  }
  json["stress"] = stresses ? stressJson(*stresses, *options.powerWatts) : JsonDocument();
  json["tolerance"] = tolerance ? toleranceJson(*options.tolerance, measured != nullptr,
                                                tolerance->trials, options.goalSwr,
                                                tolerance->sensitivities)
                                : JsonDocument();
  return json;
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
  const ReportedDesign& design = *input.report.design;
  const LoadOnNetwork* measured = input.measured ? &*input.measured : nullptr;

  // The network to build, step by step; the last variant is the one every file describes.
  const NetworkAnalysis analysis = analyseNetwork(design, input.wanted, options.build, measured);
  if (!analysis.error.empty()) {
    return fail(err, options.reportPath + ": " + analysis.error);
  }
  if (!analysis.loadError.empty()) {
    return fail(err, options.loadPath + ": " + analysis.loadError);
  }
  const NetworkVariant& built = analysis.variants.back();

  std::optional<ToleranceFigures> tolerance;
  if (options.tolerance) {
    // Both cores where there are two; the figures do not depend on it.
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    tolerance =
        toleranceFigures(design, built, measured, analysis.sweep, *options.tolerance, threads);
  }

  std::optional<std::vector<LadderPartStress>> stresses;
  if (options.powerWatts) {
    stresses = partStresses(design, built, measured, *options.powerWatts);
  }
  const std::string description = buildDescription(options.build);
  const PlotBand spread = tolerance ? trialsBand(*options.tolerance, *tolerance) : PlotBand{};
  const NetworkToWrite files{design,
                       analysis.variants.front(),
                       built,
                       measured,
                       analysis.sweep,
                       analysis.responses.back(),
                       analysis.onLoad,
                       networkCurves(analysis),
                       spread,
                       std::nullopt,
                       {EXPORT_PROGRAM_NAME, options.reportPath, options.loadPath, description},
                       options.build,
                       buildsNetwork(options),
                       options.smith ? std::optional(options.goalSwr) : std::nullopt,
                       tolerance ? &tolerance->sensitivities : nullptr,
                       "Schematic of the matching network: " + designSummary(design),
                       stresses ? &*stresses : nullptr};
  // With --json the same records fill one document in place of the lines.
  std::optional<JsonDocument> json;
  if (options.json) {
    json = jsonHead(EXPORT_PROGRAM_NAME);
  }
  if (const int status = writeNetworkRun(EXPORT_PROGRAM_NAME, options, input.report,
                                         networkFiles(files), analysis.sweep, out, err,
                                         json ? &*json : nullptr);
      status != TOOL_SUCCESS) {
    return status;
  }
  if (json) {
    writeText(out, jsonText(exportJson(*json, options, design, analysis, measured,
                                       input.wanted, stresses, tolerance)));
    out.flush();
    return TOOL_SUCCESS;
  }
  if (files.building) {
    writeText(out, renderVariantSummary(design, analysis.variants,
                                        variantFigures(design, analysis), options.build));
    out.flush();
  }
  if (measured != nullptr) {
    writeText(out, renderMeasuredLoadSummary(design, analysis, *measured, options.loadPath,
                                             input.wanted));
  }
  if (stresses) {
    writeText(out, renderStressSummary(*stresses, *options.powerWatts));
  }
  if (tolerance) {
    writeText(out, renderToleranceSummary(*options.tolerance, design.N, measured != nullptr,
                                          tolerance->trials, options.goalSwr,
                                          tolerance->sensitivities));
  }
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
