#include "tools/tune/tune_run.hpp"

#include <optional>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/figure_digits.hpp"
#include "network/measured_network.hpp"
#include "tuning/network_tuning.hpp"
#include "formats/parts_list.hpp"
#include "drawing/response_plot.hpp"
#include "drawing/schematic.hpp"
#include "formats/spice_netlist.hpp"
#include "formats/touchstone.hpp"
#include "runs/tuning_summary.hpp"
#include "tools/common/atomic_file.hpp"
#include "tools/common/network_inputs.hpp"
#include "tools/tune/tune_options.hpp"

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
  const ReportInput& report = input.report;
  const ReportedDesign& design = *report.design;
  const Sweep& wanted = input.wanted;
  const std::optional<LoadOnNetwork>& measured = input.measured;
  const Sweep sweep = measured ? clippedToData(wanted, measured->load) : wanted;
  std::optional<MeasuredTarget> target;
  if (measured) {
    target = MeasuredTarget{&measured->load, measured->band, measured->retuning};
  }

  // The start must have a response to improve on; the exporter refuses the same networks.
  const NetworkVariants built = networkVariants(design, options.build);
  if (!built.error.empty()) {
    return fail(err, options.reportPath + ": " + built.error);
  }
  const std::string where = measured ? options.loadPath : options.reportPath;
  const std::string subject = measured ? "reflection on the measured load" : "reflection";
  for (const NetworkVariant& variant : built.variants) {
    const TunableNetwork network{variant.ladder, measured ? measured->retuning : Retuning{}};
    if (std::string reason =
            nonFinite(responseOnTarget(network, measured, sweep), "the network's " + subject);
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
  const TunableNetwork& final = *wantedCurves.back().network;
  if (std::string reason = nonFinite(responses.back(), "the tuned network's " + subject);
      !reason.empty()) {
    return fail(err, where + ": " + reason);
  }
  // The plot's levels are the tuned network's own, on the load it was tuned for.
  const JudgedBand finalJudged = judgeTunable(final, design, target ? &*target : nullptr);
  const PlotLevels finalLevels{measured ? "Tuned, on the measured load:" : "Tuned, on the model load:",
                               finalJudged.bestReflection, finalJudged.worstReflection};
  std::vector<PlotCurve> curves;
  for (std::size_t i = 0; i < wantedCurves.size(); ++i) {
    curves.push_back({wantedCurves[i].label, responses[i]});
  }

  const std::string buildText = buildDescription(options.build);
  const std::string description = "values tuned by " + std::string(TUNE_PROGRAM_NAME) +
                                  (buildText.empty() ? "" : "; " + buildText);
  const FileOrigin origin{TUNE_PROGRAM_NAME, options.reportPath, options.loadPath, description};
  const bool building = buildsNetwork(options);
  const TuningContext context{measured.has_value(),
                              measured ? measured->decrement : reportedDecrement(design),
                              request.settings.range, seriesName, seconds};
  std::vector<OutputFile> files = {
      {options.outBase + ".cir", renderSpiceNetlist(design, final.ladder, sweep, origin,
                                                    building ? NetlistPrints::reflectionAndLoadPower
                                                             : NetlistPrints::reflection)},
      {options.outBase + ".s1p", renderTouchstone(design, final.ladder, responses.back(), origin)},
      {options.outBase + ".svg", renderResponsePlot(design, curves, origin, {}, finalLevels)},
  };
  if (building) {
    files.push_back(
        {options.outBase + "-parts.csv",
         renderPartsList(design, tuning.tuned.network.ladder, final.ladder, options.build)});
    files.push_back(
        {options.outBase + "-schematic.svg",
         renderSchematic(layoutSchematic(design, final.ladder, options.build, origin),
                         "Schematic of the tuned matching network: " + designSummary(design))});
  }
  files.push_back({options.outBase + "-values.csv", renderTunedValues(design, tuning, context)});
  const std::string replaced =
      outputReplacingInput(files, report.identity, options.reportPath, options.loadPath);
  if (!replaced.empty()) {
    return fail(err, replaced);
  }
  if (const std::string failure = writeFilesAtomically(files); !failure.empty()) {
    return fail(err, failure);
  }

  writeLine(out, "Wrote " + listOfPaths(files) + ": " + formatInteger(sweep.points) +
                     " points from " + formatFixed(sweep.lowerMHz, figure_digits::FREQUENCY_MHZ) +
                     " to " + formatFixed(sweep.upperMHz, figure_digits::FREQUENCY_MHZ) + " MHz");
  if (measured) {
    writeText(out, measuredLoadLines(design, *measured, final.retuning, options.loadPath, sweep, wanted));
  }
  if (!buildText.empty()) {
    writeLine(out, "Network: " + buildText);
  }
  writeText(out, renderTuningSummary(design, tuning, context));
  out.flush();
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
