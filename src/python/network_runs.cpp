#include "python/network_runs.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "core/number_format.hpp"
#include "entry/answer_ranges.hpp"
#include "entry/refusal_reasons.hpp"
#include "network/measured_network.hpp"
#include "runs/tolerance_summary.hpp"

namespace bandmatch {

namespace {

// The ranges of bandmatch-tune's --range and bandmatch-export's tolerance options.
constexpr double MAX_TUNING_RANGE_PERCENT = 1000.0;
constexpr ValueRange TUNING_RANGE = {0.0, false, MAX_TUNING_RANGE_PERCENT, true};
constexpr ValueRange TOLERANCE_RANGE = {0.0, true, MAX_TOLERANCE_PERCENT, true};
constexpr int PERCENT_DIGITS = 0;

// A network's response over the sweep on the load it is tuned for.
FrequencyResponse responseOnTarget(const TunableNetwork& network, const LoadOnNetwork* measured,
                                   const Sweep& sweep) {
  if (measured != nullptr) {
    return analyseSweepOnLoad(network.ladder, measured->load, network.retuning, sweep);
  }
  return analyseSweep(network.ladder, sweep);
}

// Why a response cannot be used, or nothing.
std::string nonFinite(const FrequencyResponse& response, const std::string& what) {
  if (const std::optional<double> frequency = firstNonFiniteFrequency(response)) {
    return what + " is not finite at " + formatFullPrecision(*frequency) + " MHz";
  }
  return {};
}

double seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string toleranceRefusal(const ToleranceArguments& arguments) {
  for (const auto& [what, percent] : {std::pair{"tolerance", &arguments.tolerance},
                                      std::pair{"tolerance_l", &arguments.inductorTolerance},
                                      std::pair{"tolerance_c", &arguments.capacitorTolerance}}) {
    if (*percent && !contains(TOLERANCE_RANGE, **percent)) {
      return std::string(what) + ": " + numberReason(TOLERANCE_RANGE, PERCENT_DIGITS) + " %";
    }
  }
  if (!arguments.tolerance && !arguments.inductorTolerance && !arguments.capacitorTolerance) {
    return "give a tolerance: tolerance, tolerance_l or tolerance_c";
  }
  if (arguments.trials < 1 || arguments.trials > MAX_TRIALS) {
    return "trials: " + wholeNumberReason(1, MAX_TRIALS);
  }
  if (!arguments.seed) {
    return "seed: not a whole number from 0 to " +
           formatUnsignedInteger(std::numeric_limits<std::uint64_t>::max());
  }
  if (!(arguments.goalSwr >= 1.0) || !std::isfinite(arguments.goalSwr)) {
    return "goal_swr: not a number of 1 or more";
  }
  return {};
}

}  // namespace

std::string tuneArgumentsRefusal(const TuneArguments& arguments, bool measured) {
  if (!contains(TUNING_RANGE, arguments.rangePercent)) {
    return "range: " + numberReason(TUNING_RANGE, PERCENT_DIGITS) + " %";
  }
  if (arguments.tuneRetuning && !measured) {
    return "tune_retuning needs a measured load (load)";
  }
  return {};
}

TuneRun runTuning(const std::shared_ptr<const ReportedDesign>& design,
                  const std::shared_ptr<const LoadOnNetwork>& measured,
                  const TuneArguments& arguments) {
  TuneRun run;
  run.error = tuneArgumentsRefusal(arguments, measured != nullptr);
  if (!run.error.empty()) {
    return run;
  }
  const Sweep wanted =
      sweepAroundBand(design->f1, design->f2, DEFAULT_SWEEP_SPAN, DEFAULT_SWEEP_POINTS);
  const Sweep sweep = measured ? clippedToData(wanted, measured->load) : wanted;
  std::optional<MeasuredTarget> target;
  if (measured) {
    target = MeasuredTarget{&measured->load, measured->band, measured->retuning};
  }

  // As bandmatch-tune: the start must have a response to improve on.
  const NetworkVariants built = networkVariants(*design, arguments.build);
  if (!built.error.empty()) {
    run.error = built.error;
    return run;
  }
  const std::string subject =
      measured ? "the network's reflection on the measured load" : "the network's reflection";
  for (const NetworkVariant& variant : built.variants) {
    const TunableNetwork network{variant.ladder, measured ? measured->retuning : Retuning{}};
    run.error = nonFinite(responseOnTarget(network, measured.get(), sweep), subject);
    if (!run.error.empty()) {
      return run;
    }
  }

  TuningRequest request;
  request.build = arguments.build;
  request.settings.range = arguments.rangePercent / 100.0;
  request.tuneRetuning = arguments.tuneRetuning;
  const double started = seconds();
  run.tuning = tuneNetwork(*design, target ? &*target : nullptr, request);
  const double elapsed = seconds() - started;
  if (!run.tuning.error.empty()) {
    run.error = run.tuning.error;
    return run;
  }
  const NetworkTuning& tuning = run.tuning;
  const std::string seriesName =
      arguments.build.series ? std::string(preferredSeriesName(*arguments.build.series)) : "";
  const auto handed = [&](const std::string& label, const TunableNetwork& network) {
    return HandedNetwork{design, label, network.ladder, network.retuning, measured, sweep};
  };
  run.networks = {handed("Untuned", tuning.untuned.network), handed("Tuned", tuning.tuned.network)};
  if (tuning.untunedStandard && tuning.tunedStandard) {
    run.networks.push_back(
        handed("Untuned, " + seriesName + " values", tuning.untunedStandard->network));
    run.networks.push_back(
        handed("Tuned, " + seriesName + " values", tuning.tunedStandard->network));
  }
  const HandedNetwork& final = run.networks.back();
  run.error = nonFinite(responseOnTarget({final.ladder, final.retuning}, measured.get(), sweep),
                        measured ? "the tuned network's reflection on the measured load"
                                 : "the tuned network's reflection");
  if (!run.error.empty()) {
    return run;
  }
  run.context = {measured != nullptr, measured ? measured->decrement : reportedDecrement(*design),
                 request.settings.range, seriesName, elapsed};
  run.summary = renderTuningSummary(*design, tuning, run.context);
  run.values = renderTunedValues(*design, tuning, run.context);
  return run;
}

ToleranceRun runToleranceTrials(const HandedNetwork& network, const ToleranceArguments& arguments) {
  ToleranceRun run;
  run.error = toleranceRefusal(arguments);
  if (!run.error.empty()) {
    return run;
  }
  const double common = arguments.tolerance.value_or(0.0);
  run.options.inductorPercent = arguments.inductorTolerance.value_or(common);
  run.options.capacitorPercent = arguments.capacitorTolerance.value_or(common);
  run.options.trials = static_cast<int>(arguments.trials);
  run.options.seed = *arguments.seed;

  // As bandmatch-export: the network on the measured load when it stands on one.
  const ReportedDesign& design = *network.design;
  ToleranceProblem problem{network.ladder, network.sweep, design.f1, design.f2, {}, {}, nullptr};
  if (network.measured) {
    const std::shared_ptr<const LoadOnNetwork> measured = network.measured;
    problem.measuredImpedance = [measured](double f) {
      return interpolatedImpedance(measured->load, f);
    };
    problem.retuning = network.retuning;
    problem.dataMHz = &measured->load.frequencyMHz;
  }
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  run.result = runTolerance(problem, run.options, threads);
  const std::vector<PartSensitivity> sensitivities = partSensitivities(problem);
  run.yield = yieldAt(run.result.worstSwr, arguments.goalSwr);
  run.summary = renderToleranceSummary(run.options, design.N, network.measured != nullptr,
                                       run.result, arguments.goalSwr, sensitivities);
  run.sensitivities = largestFirst(sensitivities);
  return run;
}

}  // namespace bandmatch
