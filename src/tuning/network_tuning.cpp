#include "tuning/network_tuning.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <numbers>

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"
#include "network/measured_network.hpp"

namespace bandmatch {

namespace {

// The tuner's samples and the judge agree when the judged worst |Gamma| exceeds the sampled one
// by no more than this; until then the judge's peaks join the samples, for at most this many
// rounds.
constexpr double SAMPLES_AGREE = 1e-7;
constexpr int MAX_JUDGED_ROUNDS = 20;
// The tuner's samples of a measured load at most, the band edges aside.
constexpr std::size_t MAX_MEASURED_SAMPLES = 4000;
// A value within this share of its limit (on the logarithmic scale) is at it.
constexpr double LIMIT_TOLERANCE = 1e-6;

double centreMHz(const ReportedDesign& design) {
  return std::sqrt(design.f1 * design.f2);
}

// The network with the options' transformer and losses, values as designed.
TunableNetwork continuousNetwork(const ReportedDesign& design, const MeasuredTarget* measured,
                                 const BuildOptions& build) {
  TunableNetwork network;
  network.ladder = design.ladder;
  if (build.sourceOhms) {
    network.ladder = withSourceResistance(std::move(network.ladder), *build.sourceOhms);
  }
  if (measured != nullptr) {
    network.retuning = measured->retuning;
  }
  if (build.inductorQ || build.capacitorQ) {
    network.ladder = withComponentLosses(std::move(network.ladder), centreMHz(design),
                                         build.inductorQ, build.capacitorQ);
    network.retuning = withRetuningLoss(network.retuning, centreMHz(design), build.inductorQ,
                                        build.capacitorQ);
  }
  return network;
}

// L and C of positions 2..N and the retuning element rounded to the series, their losses taken
// again at the new values.
std::optional<TunableNetwork> rounded(const TunableNetwork& network, const ReportedDesign& design,
                                      const BuildOptions& build, std::string& error) {
  StandardLadder standard = withStandardValues(network.ladder, *build.series);
  error = standard.error;
  const std::optional<Retuning> retuning =
      withStandardRetuning(network.retuning, *build.series, error);
  if (!standard.ladder || !retuning) {
    return std::nullopt;
  }
  TunableNetwork result{std::move(*standard.ladder), *retuning};
  if (build.inductorQ || build.capacitorQ) {
    result.ladder = withComponentLosses(std::move(result.ladder), centreMHz(design),
                                        build.inductorQ, build.capacitorQ);
    result.retuning = withRetuningLoss(result.retuning, centreMHz(design), build.inductorQ,
                                       build.capacitorQ);
  }
  return result;
}

RatedNetwork rated(TunableNetwork network, const ReportedDesign& design,
                   const MeasuredTarget* measured) {
  const double worst = worstInBandReflection(network, design, measured);
  return {std::move(network), worst};
}

// The candidate when it is better on the fine grid too, else the reference.
RatedNetwork better(RatedNetwork candidate, RatedNetwork reference) {
  return candidate.worst < reference.worst ? std::move(candidate) : std::move(reference);
}

// The design with a tuned network's values in place, each to the digits a report holds: the L
// and C of positions 2..N, the source resistance the ladder sees, the retuning element.
ReportedDesign asReported(const ReportedDesign& design, const TunableNetwork& tuned,
                          const MeasuredTarget* measured) {
  ReportedDesign reported = design;
  LadderNetwork& ladder = reported.ladder;
  for (std::size_t index = static_cast<std::size_t>(FIRST_BUILT_POSITION) - 1;
       index < ladder.inductance.size(); ++index) {
    ladder.inductance[index] =
        roundedAsScientific(tuned.ladder.inductance[index], figure_digits::ELEMENT_VALUE);
    ladder.capacitance[index] =
        roundedAsScientific(tuned.ladder.capacitance[index], figure_digits::ELEMENT_VALUE);
  }
  ladder.sourceResistance =
      roundedAsScientific(sourceResistanceAtLadder(tuned.ladder), figure_digits::ELEMENT_VALUE);
  ladder.turnsRatio.reset();
  ladder.inductorLoss.clear();
  ladder.capacitorLoss.clear();
  reported.retuning.reset();
  if (measured != nullptr && tuned.retuning.kind != RetuningKind::none) {
    Retuning retuning = tuned.retuning;
    retuning.value = roundedAsScientific(retuning.value, figure_digits::ELEMENT_VALUE);
    retuning.loss = 0.0;
    reported.retuning = retuning;
  }
  return reported;
}

// The settled network replaced by its report rebuilt, judged again; the untuned network when the
// report's digits make it no better (it is the report itself).
void settle(NetworkTuning& tuning, RatedNetwork& settled, const ReportedDesign& design,
            const MeasuredTarget* measured, const BuildOptions& build) {
  const RatedNetwork& untuned = tuning.untunedStandard ? *tuning.untunedStandard : tuning.untuned;
  ReportedDesign reported = asReported(design, settled.network, measured);
  RatedNetwork rebuilt = rated(rebuiltNetwork(reported, build, measured), design, measured);
  if (!(rebuilt.worst < untuned.worst)) {
    reported = asReported(design, untuned.network, measured);
    rebuilt = rated(rebuiltNetwork(reported, build, measured), design, measured);
  }
  const JudgedBand onModel = judgeBand(ladderBand(reported.ladder, design.f1, design.f2));
  reported.rhoMin = onModel.bestReflection;
  reported.rhoMax = onModel.worstReflection;
  tuning.reported = std::move(reported);
  settled = std::move(rebuilt);
}

// The target with one more sample at a frequency inside the band.
void addSample(TuningTarget& target, const MeasuredTarget* measured, double frequencyMHz) {
  target.frequencyMHz.push_back(frequencyMHz);
  if (measured != nullptr) {
    target.measured.push_back(interpolatedImpedance(*measured->load, frequencyMHz));
  }
}

// Tunes on the samples, judges the result over the whole band, and where the judge finds a peak
// above what the samples saw, adds it to the samples and tunes on from there, until the judged
// figure and the sampled one agree. Returns the best judged network, never worse than `start`
// (rated as given); `target` keeps the peaks it gained, for the next tuning on this load.
RatedNetwork tunedUntilJudged(const RatedNetwork& start, TuningTarget& target,
                              const std::vector<TuningVariable>& variables,
                              const ReportedDesign& design, const MeasuredTarget* measured,
                              const TuningSettings& settings, int& evaluations) {
  RatedNetwork best = start;
  TunableNetwork current = start.network;
  for (int round = 0; round < MAX_JUDGED_ROUNDS; ++round) {
    // Each round goes on from where the last one ended, within the range about the start.
    const TuningOutcome outcome =
        tuneMinimax(start.network, target, variables, settings, round == 0 ? nullptr : &current);
    evaluations += outcome.evaluations;
    const JudgedBand judged =
        judgeTunable(outcome.network, design, measured, outcome.worst + SAMPLES_AGREE);
    best = better({outcome.network, judged.worstReflection}, std::move(best));
    if (judged.worstReflection <= outcome.worst + SAMPLES_AGREE) {
      break;
    }
    for (const ReflectionPeak& peak : judged.peaks) {
      if (peak.magnitude > outcome.worst + SAMPLES_AGREE) {
        addSample(target, measured, peak.frequencyMHz);
      }
    }
    current = outcome.network;
  }
  return best;
}

// The variables whose value in `tuned` lies at the range's limit about `start`.
std::vector<TuningVariable> variablesAtLimit(const TunableNetwork& start,
                                             const TunableNetwork& tuned,
                                             const std::vector<TuningVariable>& variables,
                                             const TuningSettings& settings) {
  const std::vector<double> before = variableValues(start, variables);
  const std::vector<double> after = variableValues(tuned, variables);
  const double limit = std::log(rangeFactor(settings));
  std::vector<TuningVariable> found;
  for (std::size_t v = 0; v < variables.size(); ++v) {
    if (std::fabs(std::log(after[v] / before[v])) >= limit * (1.0 - LIMIT_TOLERANCE)) {
      found.push_back(variables[v]);
    }
  }
  return found;
}

}  // namespace

TunableNetwork rebuiltNetwork(const ReportedDesign& design, const BuildOptions& build,
                              const MeasuredTarget* measured) {
  Retuning retuning;
  if (measured != nullptr) {
    retuning = measured->retuning;
    if (design.retuning && design.retuning->kind == retuning.kind) {
      retuning.value = design.retuning->value;
    }
  }
  NetworkVariants variants = networkVariants(design, build, retuning);
  if (variants.variants.empty()) {
    return {design.ladder, retuning};
  }
  return {std::move(variants.variants.back().ladder), variants.variants.back().retuning};
}

TuningTarget tuningTarget(const ReportedDesign& design, const MeasuredTarget* measured) {
  TuningTarget target;
  if (measured == nullptr) {
    target.frequencyMHz = logarithmicBandFrequencies(design.f1, design.f2, MODEL_LOAD_SAMPLES);
    return target;
  }
  const MeasuredLoad& load = *measured->load;
  // The band's edges are judged too, on the data interpolated there: without them the tuner
  // would trade the unsampled edges, where the reflection climbs steeply, for the middle.
  const auto addPoint = [&target](double f, std::complex<double> z) {
    target.frequencyMHz.push_back(f);
    target.measured.push_back(z);
  };
  if (load.frequencyMHz[measured->band.first] > design.f1) {
    addPoint(design.f1, interpolatedImpedance(load, design.f1));
  }
  // Every point while they are few; of a very long file, from each block of neighbouring points
  // those where the resistance and the reactance are least and greatest, so that no feature of
  // the data is lost. The judge looks at every point, and its peaks join the samples.
  const std::size_t count = measured->band.last - measured->band.first + 1;
  constexpr std::size_t blocks = MAX_MEASURED_SAMPLES / 4;  // four points kept of each
  const std::size_t block = count <= MAX_MEASURED_SAMPLES ? 1 : (count + blocks - 1) / blocks;
  for (std::size_t from = measured->band.first; from <= measured->band.last; from += block) {
    const std::size_t to = std::min(from + block, measured->band.last + 1);
    std::vector<std::size_t> kept;
    if (block == 1) {
      kept.push_back(from);
    } else {
      const auto byReal = [&load](std::size_t a, std::size_t b) {
        return load.impedance[a].real() < load.impedance[b].real();
      };
      const auto byImaginary = [&load](std::size_t a, std::size_t b) {
        return load.impedance[a].imag() < load.impedance[b].imag();
      };
      std::vector<std::size_t> indices(to - from);
      std::iota(indices.begin(), indices.end(), from);
      const auto [lowReal, highReal] = std::minmax_element(indices.begin(), indices.end(), byReal);
      const auto [lowImaginary, highImaginary] =
          std::minmax_element(indices.begin(), indices.end(), byImaginary);
      kept = {*lowReal, *highReal, *lowImaginary, *highImaginary};
      std::sort(kept.begin(), kept.end());
      kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    }
    for (const std::size_t i : kept) {
      addPoint(load.frequencyMHz[i], load.impedance[i]);
    }
  }
  if (load.frequencyMHz[measured->band.last] < design.f2) {
    addPoint(design.f2, interpolatedImpedance(load, design.f2));
  }
  return target;
}

double worstInBandReflection(const TunableNetwork& network, const ReportedDesign& design,
                             const MeasuredTarget* measured) {
  return judgeTunable(network, design, measured).worstReflection;
}

JudgedBand judgeTunable(const TunableNetwork& network, const ReportedDesign& design,
                        const MeasuredTarget* measured, double peaksAbove) {
  BandToJudge band = measured == nullptr
                         ? ladderBand(network.ladder, design.f1, design.f2)
                         : ladderBandOnLoad(network.ladder, *measured->load, network.retuning,
                                            design.f1, design.f2);
  band.peaksAbove = peaksAbove;
  JudgedBand judged = judgeBand(band);
  if (!std::isfinite(judged.worstReflection)) {
    judged.worstReflection = HUGE_VAL;
  }
  return judged;
}

NetworkTuning tuneNetwork(const ReportedDesign& design, const MeasuredTarget* measured,
                          const TuningRequest& request) {
  NetworkTuning tuning;
  TuningTarget target = tuningTarget(design, measured);
  tuning.samples = static_cast<int>(target.frequencyMHz.size());
  tuning.optimisedSamples = tuning.samples;
  if (measured != nullptr) {
    const MeasuredLoad& load = *measured->load;
    tuning.edgeSamples = (load.frequencyMHz[measured->band.first] > design.f1 ? 1 : 0) +
                         (load.frequencyMHz[measured->band.last] < design.f2 ? 1 : 0);
    tuning.samples =
        static_cast<int>(measured->band.last - measured->band.first + 1) + tuning.edgeSamples;
  }

  const TunableNetwork start = continuousNetwork(design, measured, request.build);
  tuning.untuned = rated(start, design, measured);
  tuning.variables = tuningVariables(start, true, request.tuneRetuning);
  tuning.tuned = tunedUntilJudged(tuning.untuned, target, tuning.variables, design, measured,
                                  request.settings, tuning.evaluations);
  tuning.atLimit =
      variablesAtLimit(start, tuning.tuned.network, tuning.variables, request.settings);
  if (!request.build.series) {
    settle(tuning, tuning.tuned, design, measured, request.build);
    return tuning;
  }

  const std::optional<TunableNetwork> roundedStart =
      rounded(start, design, request.build, tuning.error);
  const std::optional<TunableNetwork> roundedTuned =
      rounded(tuning.tuned.network, design, request.build, tuning.error);
  if (!roundedStart || !roundedTuned) {
    return tuning;
  }
  tuning.untunedStandard = rated(*roundedStart, design, measured);
  // The retuning element is a part like the others now: only the source side stays continuous.
  tuning.standardVariables = tuningVariables(*roundedStart, false, false);
  // Rounding the tuned values need not beat rounding the designed ones: both are tuned again
  // and the better kept, never worse than the exporter's rounded network.
  RatedNetwork best = *tuning.untunedStandard;
  const TunableNetwork* bestStart = &*roundedStart;
  for (const TunableNetwork* from : {&*roundedTuned, &*roundedStart}) {
    RatedNetwork candidate =
        tunedUntilJudged(rated(*from, design, measured), target, tuning.standardVariables, design,
                         measured, request.settings, tuning.standardEvaluations);
    if (candidate.worst < best.worst) {
      best = std::move(candidate);
      bestStart = from;
    }
  }
  tuning.standardAtLimit = variablesAtLimit(*bestStart, best.network, tuning.standardVariables,
                                            request.settings);
  tuning.tunedStandard = std::move(best);
  settle(tuning, *tuning.tunedStandard, design, measured, request.build);
  return tuning;
}

double reportedDecrement(const ReportedDesign& design) {
  const double f0 = centreMHz(design);
  const double omega0 = 2.0 * std::numbers::pi * 1e6 * f0;
  const double wm = (design.f2 - design.f1) / f0;
  const LadderNetwork& ladder = design.ladder;
  // Series: R / (w0 L1); parallel: G / (w0 C1) with G = 1 / R.
  const double slopeRatio =
      design.loadType == LoadType::series
          ? ladder.loadResistance / (omega0 * ladder.inductance.front())
          : 1.0 / (ladder.loadResistance * omega0 * ladder.capacitance.front());
  return slopeRatio / wm;
}

}  // namespace bandmatch
