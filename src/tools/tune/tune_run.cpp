#include "tools/tune/tune_run.hpp"

#include <algorithm>
#include <optional>
#include <thread>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "formats/tuned_report.hpp"
#include "network/measured_network.hpp"
#include "runs/json_summary.hpp"
#include "runs/network_files.hpp"
#include "runs/tolerance_summary.hpp"
#include "runs/tuning_summary.hpp"
#include "tools/common/network_inputs.hpp"
#include "tools/common/network_run.hpp"
#include "tools/tune/tune_options.hpp"
#include "tuning/network_tuning.hpp"

namespace bandmatch {

namespace {

int fail(std::ostream& err, std::string_view message) {
  return refuse(err, TUNE_PROGRAM_NAME, message);
}

// A network's response over the sweep on the load it is tuned for.
FrequencyResponse responseOnTarget(const TunableNetwork& network,
                                   const std::optional<LoadOnNetwork>& measured,
                                   const Sweep& sweep) {
  if (measured) {
    return analyseSweepOnLoad(network.ladder, measured->load, network.retuning, sweep);
  }
  return analyseSweep(network.ladder, sweep);
}

// The reason a response cannot be used, or nothing.
std::string nonFinite(const FrequencyResponse& response, std::string_view what) {
  if (const std::optional<double> frequency = firstNonFiniteFrequency(response)) {
    return std::string(what) + " is not finite at " + formatFullPrecision(*frequency) + " MHz";
  }
  return {};
}

}  // namespace

int runTune(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const SecondsClock& clock) {
  const TuneOptions options = parseTuneOptions(args);
  if (options.action != CommandAction::run) {
    return answerRequest({options.action, options.error}, tuneUsage(), TUNE_PROGRAM_NAME, out, err);
  }
  const NetworkRunInput input = readNetworkRunInput(options);
  if (!input.error.empty()) {
    return fail(err, input.error);
  }
  const ReportedDesign& design = *input.report.design;
  const Sweep& wanted = input.wanted;
  const std::optional<LoadOnNetwork>& measured = input.measured;
  const Sweep sweep = measured ? clippedToData(wanted, measured->load) : wanted;
  std::optional<MeasuredTarget> target;
  if (measured) {
    target = MeasuredTarget{&measured->load, measured->band, measured->retuning};
  }

  // The start must have a response to improve on; the exporter refuses the same networks.
  const NetworkVariants built =
      networkVariants(design, options.build, measured ? measured->retuning : Retuning{});
  if (!built.error.empty()) {
    return fail(err, options.reportPath + ": " + built.error);
  }
  const std::string where = measured ? options.loadPath : options.reportPath;
  const std::string subject = measured ? "reflection on the measured load" : "reflection";
  for (const NetworkVariant& variant : built.variants) {
    if (std::string reason = nonFinite(responseOnTarget({variant.ladder, variant.retuning},
                                                        measured, sweep),
                                       "the network's " + subject);
        !reason.empty()) {
      return fail(err, where + ": " + reason);
    }
  }

  TuningRequest request;
  request.build = options.build;
  request.settings.range = options.rangePercent / 100.0;
  request.tuneRetuning = options.tuneRetuning;
  const double started = clock();
  const NetworkTuning tuning = tuneNetwork(design, target ? &*target : nullptr, request);
  const double seconds = clock() - started;
  if (!tuning.error.empty()) {
    return fail(err, options.reportPath + ": " + tuning.error);
  }

  // The untuned curve is the network the exporter builds; the last one is the tuned network
  // every file describes.
  const std::string seriesName =
      options.build.series ? std::string(preferredSeriesName(*options.build.series)) : "";
  struct Curve {
    std::string label;
    const TunableNetwork* network;
  };
  std::vector<Curve> wantedCurves;
  if (tuning.tunedStandard) {
    wantedCurves = {{"Untuned, " + seriesName + " values", &tuning.untunedStandard->network},
                    {"Tuned", &tuning.tuned.network},
                    {"Tuned, " + seriesName + " values", &tuning.tunedStandard->network}};
  } else {
    wantedCurves = {{"Untuned", &tuning.untuned.network}, {"Tuned", &tuning.tuned.network}};
  }
  std::vector<FrequencyResponse> responses;
  responses.reserve(wantedCurves.size());
  for (const Curve& curve : wantedCurves) {
    responses.push_back(responseOnTarget(*curve.network, measured, sweep));
  }
  const TunableNetwork& settled = *wantedCurves.back().network;
  if (std::string reason = nonFinite(responses.back(), "the tuned network's " + subject);
      !reason.empty()) {
    return fail(err, where + ": " + reason);
  }
  std::vector<PlotCurve> curves;
  for (std::size_t i = 0; i < wantedCurves.size(); ++i) {
    curves.push_back({wantedCurves[i].label, responses[i]});
  }
  // The plot's levels are the tuned network's own, on the load it was tuned for.
  const JudgedBand settledJudged = judgeTunable(settled, design, target ? &*target : nullptr);
  const PlotLevels levels{measured ? "Tuned, on the measured load:" : "Tuned, on the model load:",
                          settledJudged.bestReflection, settledJudged.worstReflection};

  // The files: the tuned network as every other file of a network, then its report and values.
  const NetworkVariant ideal{"Tuned", tuning.tuned.network.ladder, tuning.tuned.network.retuning};
  const NetworkVariant network{"Tuned", settled.ladder, settled.retuning};
  const FrequencyResponse onModel = analyseSweep(settled.ladder, sweep);
  const FrequencyResponse& onLoad = measured ? responses.back() : FrequencyResponse{};
  std::optional<ToleranceFigures> tolerance;
  if (options.tolerance) {
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    tolerance = toleranceFigures(design, network, measured ? &*measured : nullptr, sweep,
                                 *options.tolerance, threads);
  }
  const PlotBand spread = tolerance ? trialsBand(*options.tolerance, *tolerance) : PlotBand{};
  std::optional<std::vector<LadderPartStress>> stresses;
  if (options.powerWatts) {
    stresses = partStresses(design, network, measured ? &*measured : nullptr, *options.powerWatts);
  }
  const std::string buildText = buildDescription(options.build);
  const std::string description = "values tuned by " + std::string(TUNE_PROGRAM_NAME) +
                                  (buildText.empty() ? "" : "; " + buildText);
  const NetworkToWrite toWrite{design,
                               ideal,
                               network,
                               measured ? &*measured : nullptr,
                               sweep,
                               onModel,
                               onLoad,
                               curves,
                               spread,
                               levels,
                               {TUNE_PROGRAM_NAME, options.reportPath, options.loadPath, description},
                               options.build,
                               buildsNetwork(options),
                               options.smith ? std::optional(options.goalSwr) : std::nullopt,
                               tolerance ? &tolerance->sensitivities : nullptr,
                               "Schematic of the tuned matching network: " + designSummary(design),
                               stresses ? &*stresses : nullptr};
  const TuningContext context{measured.has_value(),
                              measured ? measured->decrement : reportedDecrement(design),
                              request.settings.range, seriesName, seconds};
  std::vector<NetworkFile> files = networkFiles(toWrite);
  files.push_back({".csv", tunedReportText(input.report.text, tuning.reported,
                                           tuning.reported.retuning.value_or(Retuning{}),
                                           options.outBase + ".csv", TUNE_PROGRAM_NAME)});
  files.push_back({"-values.csv", renderTunedValues(design, tuning, context)});
  // With --json the same records fill one document in place of the lines.
  std::optional<JsonDocument> json;
  if (options.json) {
    json = jsonHead(TUNE_PROGRAM_NAME);
  }
  if (const int status = writeNetworkRun(TUNE_PROGRAM_NAME, options, input.report, files, sweep,
                                         out, err, json ? &*json : nullptr);
      status != TOOL_SUCCESS) {
    return status;
  }
  if (json) {
    (*json)["measured_load"] =
        measured ? measuredLoadJson(design, *measured, settled.retuning, options.loadPath, sweep,
                                    wanted)
                 : JsonDocument();
    (*json)["build"] = buildText.empty() ? JsonDocument() : JsonDocument(buildText);
    (*json)["tuning"] = tuningJson(design, tuning, context);
    (*json)["stress"] = stresses ? stressJson(*stresses, *options.powerWatts) : JsonDocument();
    (*json)["tolerance"] =
        tolerance ? toleranceJson(*options.tolerance, measured.has_value(), tolerance->trials,
                                  options.goalSwr, tolerance->sensitivities)
                  : JsonDocument();
    writeText(out, jsonText(*json));
    out.flush();
    return TOOL_SUCCESS;
  }

  if (measured) {
    writeText(out, measuredLoadLines(design, *measured, settled.retuning, options.loadPath, sweep,
                                     wanted));
  }
  if (!buildText.empty()) {
    writeLine(out, "Network: " + buildText);
  }
  writeText(out, renderTuningSummary(design, tuning, context));
  if (stresses) {
    writeText(out, renderStressSummary(*stresses, *options.powerWatts));
  }
  if (tolerance) {
    writeText(out, renderToleranceSummary(*options.tolerance, design.N, measured.has_value(),
                                          tolerance->trials, options.goalSwr,
                                          tolerance->sensitivities));
  }
  out.flush();
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
