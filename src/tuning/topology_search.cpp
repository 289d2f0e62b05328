#include "tuning/topology_search.hpp"

#include <algorithm>
#include <array>
#include <complex>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <span>
#include <thread>
#include <utility>

#include "network/cascade_judge.hpp"
#include "network/closed_form_starts.hpp"
#include "network/ladder_analysis.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/fano_solver.hpp"
#include "synthesis/synthesis.hpp"
#include "tuning/minimax_solver.hpp"

namespace bandmatch {

namespace {

using Complex = std::complex<double>;

// The screening: every topology on this many frequencies spread logarithmically over the band.
// Its starts - closed forms, a neutral one, SEEDED_STARTS seeded ones and those grown from the
// smaller topologies it contains - are rated there as they are, and the SCREENED_STARTS best
// optimised for at most SCREENING_EVALUATIONS sweeps each (every start, when the search has
// fewer topologies than it carries through).
constexpr int SCREENING_SAMPLES = 16;
constexpr int SEEDED_STARTS = 6;
constexpr std::size_t SCREENED_STARTS = 3;
constexpr int SCREENING_EVALUATIONS = 150;
constexpr double SCREENING_STEP = 1e-4;
constexpr double SCREENING_LEVEL_STEP = 1e-6;
// The full optimisation: on model ends this many frequencies spread logarithmically over the
// band, on measured ends every measured point in it with the band's edges; then the peaks the
// judge finds between them, until the judged figure and the sampled one agree (on the equivalent
// reflection sqrt(1 - GT)) within SAMPLES_AGREE, for at most MAX_JUDGED_ROUNDS rounds.
constexpr int MODEL_SAMPLES = 201;
constexpr double SAMPLES_AGREE = 1e-7;
constexpr int MAX_JUDGED_ROUNDS = 20;
// Each round stops when no value moves by more than FULL_STEP, or the level falls by less than
// FULL_LEVEL_STEP in a step, or after FULL_EVALUATIONS sweeps: where a line's impedance and
// length trade against each other the solver can creep along a valley for thousands of sweeps
// without changing the sixth digit, and the next round goes on from where this one ended.
constexpr double FULL_STEP = 1e-8;
constexpr double FULL_LEVEL_STEP = 1e-10;
constexpr int FULL_EVALUATIONS = 500;
// An end's resistance at f0 below this share of the other's counts as this share, so that the
// values' scale stays finite.
constexpr double SMALLEST_RESISTANCE_SHARE = 1e-6;

// The values of a section in the order of sectionVariableCount, by what they are.
enum class ValueKind { inductance, capacitance, turnsRatio, impedance, length };

std::vector<ValueKind> valueKinds(const CascadeNetwork& network) {
  std::vector<ValueKind> kinds;
  for (const Section& section : network.sections) {
    switch (section.kind) {
      case SectionKind::seriesInductor:
      case SectionKind::shuntInductor:
        kinds.push_back(ValueKind::inductance);
        break;
      case SectionKind::seriesCapacitor:
      case SectionKind::shuntCapacitor:
        kinds.push_back(ValueKind::capacitance);
        break;
      case SectionKind::seriesResonator:
      case SectionKind::shuntResonator:
      case SectionKind::seriesTank:
      case SectionKind::shuntTank:
        kinds.insert(kinds.end(), {ValueKind::inductance, ValueKind::capacitance});
        break;
      case SectionKind::transformer:
        kinds.push_back(ValueKind::turnsRatio);
        break;
      case SectionKind::line:
      case SectionKind::openStub:
      case SectionKind::shortStub:
        kinds.insert(kinds.end(), {ValueKind::impedance, ValueKind::length});
        break;
    }
  }
  return kinds;
}

// The problem's size: the band's centre and the ends' resistances at it.
struct Scale {
  double f0 = 0.0;      // MHz, sqrt(f1 f2)
  double omega0 = 0.0;  // rad/s
  double wm = 0.0;      // (f2 - f1) / f0
  double sourceOhms = 0.0;
  double loadOhms = 0.0;
  double meanOhms = 0.0;  // sqrt(source load): R0 of the bounds
};

Scale problemScale(const SearchProblem& problem) {
  Scale scale;
  scale.f0 = std::sqrt(problem.f1 * problem.f2);
  scale.omega0 = 2.0 * std::numbers::pi * 1e6 * scale.f0;
  scale.wm = (problem.f2 - problem.f1) / scale.f0;
  const double source = endImpedance(problem.source, scale.f0).value_or(1.0).real();
  const double load = endImpedance(problem.load, scale.f0).value_or(1.0).real();
  const double larger = std::max({source, load, 1e-300});
  scale.sourceOhms = std::max(source, larger * SMALLEST_RESISTANCE_SHARE);
  scale.loadOhms = std::max(load, larger * SMALLEST_RESISTANCE_SHARE);
  scale.meanOhms = std::sqrt(scale.sourceOhms * scale.loadOhms);
  return scale;
}

// The natural logarithms of each value's bounds.
struct Bounds {
  std::vector<double> lower;
  std::vector<double> upper;
};

Bounds valueBounds(const std::vector<ValueKind>& kinds, const Scale& scale) {
  Bounds bounds;
  const double spread = std::log(VALUE_SPREAD);
  const double inductance = std::log(scale.meanOhms / scale.omega0);
  const double capacitance = std::log(1.0 / (scale.meanOhms * scale.omega0));
  for (const ValueKind kind : kinds) {
    switch (kind) {
      case ValueKind::inductance:
        bounds.lower.push_back(inductance - spread);
        bounds.upper.push_back(inductance + spread);
        break;
      case ValueKind::capacitance:
        bounds.lower.push_back(capacitance - spread);
        bounds.upper.push_back(capacitance + spread);
        break;
      case ValueKind::turnsRatio:
        bounds.lower.push_back(-std::log(TURNS_SPREAD));
        bounds.upper.push_back(std::log(TURNS_SPREAD));
        break;
      case ValueKind::impedance:
        bounds.lower.push_back(std::log(LINE_OHMS_MIN));
        bounds.upper.push_back(std::log(LINE_OHMS_MAX));
        break;
      case ValueKind::length:
        bounds.lower.push_back(std::log(LENGTH_MIN));
        bounds.upper.push_back(std::log(std::numbers::pi));
        break;
    }
  }
  return bounds;
}

// The frequencies a network is optimised on, with both ends' impedances there.
struct Samples {
  std::vector<double> frequencyMHz;
  std::vector<Complex> source;
  std::vector<Complex> load;
};

void addSample(Samples& samples, const SearchProblem& problem, double frequencyMHz) {
  samples.frequencyMHz.push_back(frequencyMHz);
  samples.source.push_back(endImpedance(problem.source, frequencyMHz).value_or(0.0));
  samples.load.push_back(endImpedance(problem.load, frequencyMHz).value_or(0.0));
}

Samples logarithmicSamples(const SearchProblem& problem, int count) {
  Samples samples;
  const double ratio = problem.f2 / problem.f1;
  for (int i = 0; i < count; ++i) {
    addSample(samples, problem,
              i == 0           ? problem.f1
              : i + 1 == count ? problem.f2
                               : problem.f1 * std::pow(ratio, static_cast<double>(i) / (count - 1)));
  }
  return samples;
}

// Every measured point in the band and its edges; without measured data, MODEL_SAMPLES points.
Samples fullSamples(const SearchProblem& problem) {
  const std::vector<double> data = endDataMHz(problem.source, problem.load);
  if (data.empty()) {
    return logarithmicSamples(problem, MODEL_SAMPLES);
  }
  Samples samples;
  addSample(samples, problem, problem.f1);
  for (const double f : data) {
    if (f > problem.f1 * (1.0 + BAND_EDGE_TOLERANCE) && f < problem.f2 * (1.0 - BAND_EDGE_TOLERANCE)) {
      addSample(samples, problem, f);
    }
  }
  addSample(samples, problem, problem.f2);
  return samples;
}

// The loss 1 - GT at every sample and its gradient by the logarithms of the free values; the
// other values stay as they are in `network`, to the bit (a standard value stays one).
struct LossFigures {
  const Samples* samples = nullptr;
  CascadeNetwork network;
  std::vector<std::size_t> free;  // indices into the network's values
  CascadeWorkspace workspace;
  std::vector<double> gainGradient;

  void setFree(std::span<const double> x) {
    for (std::size_t v = 0; v < free.size(); ++v) {
      setLogVariable(network, free[v], x[v]);
    }
  }

  void operator()(std::span<const double> x, std::span<double> losses,
                  std::span<double> gradients) {
    setFree(x);
    const std::span<double> gradient =
        gradients.empty() ? std::span<double>() : std::span<double>(gainGradient);
    for (std::size_t i = 0; i < samples->frequencyMHz.size(); ++i) {
      const CascadeResponse response =
          cascadeResponse(network, samples->frequencyMHz[i], samples->source[i],
                          samples->load[i], workspace, {}, gradient);
      losses[i] = 1.0 - response.transducerGain;
      if (!gradients.empty()) {
        for (std::size_t v = 0; v < free.size(); ++v) {
          gradients[i * free.size() + v] = -gainGradient[free[v]];
        }
      }
    }
  }
};

// The network with every value moved inside its bounds.
CascadeNetwork withinBounds(CascadeNetwork network, const Scale& scale) {
  const Bounds bounds = valueBounds(valueKinds(network), scale);
  std::vector<double> values = logVariables(network);
  for (std::size_t v = 0; v < values.size(); ++v) {
    values[v] = std::clamp(values[v], bounds.lower[v], bounds.upper[v]);
  }
  setLogVariables(network, values);
  return network;
}

// The largest loss 1 - GT on the samples, infinite where one is not finite.
double sampledLevel(const CascadeNetwork& network, const Samples& samples) {
  CascadeWorkspace workspace;
  double level = 0.0;
  for (std::size_t i = 0; i < samples.frequencyMHz.size(); ++i) {
    const double loss = 1.0 - cascadeResponse(network, samples.frequencyMHz[i],
                                              samples.source[i], samples.load[i], workspace)
                                  .transducerGain;
    level = std::isfinite(loss) ? std::max(level, loss) : HUGE_VAL;
  }
  return level;
}

// A network and the largest loss it shows on the samples it was optimised on.
struct Optimised {
  CascadeNetwork network;
  double level = HUGE_VAL;
  int evaluations = 0;
};

// Optimises the free values of `start` (all when `free` is empty) on the samples within the
// bounds, from the start's values moved inside them.
Optimised optimise(const CascadeNetwork& start, const Samples& samples,
                   std::vector<std::size_t> free, const Scale& scale,
                   const MinimaxSettings& settings) {
  LossFigures figures;
  figures.samples = &samples;
  figures.network = start;
  const std::vector<double> values = logVariables(start);
  figures.gainGradient.assign(values.size(), 0.0);
  if (free.empty()) {
    for (std::size_t v = 0; v < values.size(); ++v) {
      free.push_back(v);
    }
  }
  figures.free = std::move(free);
  const Bounds all = valueBounds(valueKinds(start), scale);
  MinimaxProblem problem;
  problem.samples = samples.frequencyMHz.size();
  std::vector<double> x;
  for (const std::size_t v : figures.free) {
    problem.lower.push_back(all.lower[v]);
    problem.upper.push_back(all.upper[v]);
    x.push_back(std::clamp(values[v], all.lower[v], all.upper[v]));
  }
  problem.figures = [&figures](std::span<const double> point, std::span<double> losses,
                               std::span<double> gradients) { figures(point, losses, gradients); };
  const MinimaxSolution solution = solveMinimax(problem, std::move(x), settings);
  figures.setFree(solution.x);
  return {figures.network, solution.level, solution.evaluations};
}

// A network of the topology with the problem's losses and no values yet.
CascadeNetwork emptyNetwork(const Topology& topology, const SearchProblem& problem,
                            const Scale& scale) {
  CascadeNetwork network;
  network.centreMHz = scale.f0;
  for (const SectionKind kind : topology) {
    network.sections.push_back({.kind = kind,
                                .inductorQ = problem.inductorQ,
                                .capacitorQ = problem.capacitorQ,
                                .lineLossDb = problem.lineLossDb});
  }
  return network;
}

// The kinds of a network's sections.
Topology topologyOf(const CascadeNetwork& network) {
  Topology topology;
  for (const Section& section : network.sections) {
    topology.push_back(section.kind);
  }
  return topology;
}

// A network of the topology with the values of `values` (the same kinds) and the problem's
// losses.
CascadeNetwork withValuesOf(const CascadeNetwork& values, const SearchProblem& problem,
                            const Scale& scale) {
  CascadeNetwork network = emptyNetwork(topologyOf(values), problem, scale);
  for (std::size_t s = 0; s < network.sections.size(); ++s) {
    Section& section = network.sections[s];
    const Section& from = values.sections[s];
    section.inductance = from.inductance;
    section.capacitance = from.capacitance;
    section.impedance = from.impedance;
    section.length = from.length;
    section.turnsRatio = from.turnsRatio;
  }
  return network;
}

// Lengths referred to another centre frequency: the same physical line.
CascadeNetwork recentred(CascadeNetwork network, double centreMHz) {
  for (Section& section : network.sections) {
    section.length *= centreMHz / network.centreMHz;
  }
  network.centreMHz = centreMHz;
  return network;
}

// The band-pass ladder of N resonators Fano's and Levy's design gives for the load's resonator,
// driven from the source's resistance at f0 through a transformer, with the element that retunes
// the load to f0 next to it; none where the design fails.
std::optional<CascadeNetwork> bandPassLadder(const EndResonator& resonator, int n,
                                             const SearchProblem& problem, const Scale& scale) {
  DesignCase design;
  design.N = n;
  design.method = Method::direct;
  design.loadType = resonator.type;
  design.f1 = problem.f1;
  design.f2 = problem.f2;
  computeBand(design);
  design.decrement = resonator.decrement;
  qFromDecrement(design);
  design.averageResistance = resonator.type == LoadType::series ? resonator.level : 0.0;
  design.averageConductance = resonator.type == LoadType::parallel ? resonator.level : 0.0;
  synthesize(design);
  const LadderNetwork ladder = ladderFromDesign(design);
  if (!(design.FV <= FANO_TOLERANCE) || !(ladder.sourceResistance > 0.0) ||
      !std::isfinite(ladder.sourceResistance)) {
    return std::nullopt;
  }
  CascadeNetwork network;
  network.centreMHz = scale.f0;
  network.sections.push_back({.kind = SectionKind::transformer,
                              .turnsRatio = std::sqrt(scale.sourceOhms / ladder.sourceResistance)});
  for (int position = n; position >= 2; --position) {
    const auto index = static_cast<std::size_t>(position - 1);
    network.sections.push_back(
        {.kind = isSeriesPosition(resonator.type, position) ? SectionKind::seriesResonator
                                                            : SectionKind::shuntTank,
         .inductance = ladder.inductance[index],
         .capacitance = ladder.capacitance[index]});
  }
  const Retuning& retuning = resonator.retuning;
  switch (retuning.kind) {
    case RetuningKind::none:
      break;
    case RetuningKind::seriesCapacitor:
      network.sections.push_back(
          {.kind = SectionKind::seriesCapacitor, .capacitance = retuning.value});
      break;
    case RetuningKind::seriesInductor:
      network.sections.push_back(
          {.kind = SectionKind::seriesInductor, .inductance = retuning.value});
      break;
    case RetuningKind::shuntCapacitor:
      network.sections.push_back(
          {.kind = SectionKind::shuntCapacitor, .capacitance = retuning.value});
      break;
    case RetuningKind::shuntInductor:
      network.sections.push_back({.kind = SectionKind::shuntInductor, .inductance = retuning.value});
      break;
  }
  return network;
}

// Every closed-form network of the problem: the L networks at f0, Pi and Tee networks of a few
// loaded Qs, the Chebyshev stepped transformers of 1 to 4 lines between the ends' resistances at
// f0, and the band-pass ladders of 1 to 10 resonators for a load that is one resonator.
std::vector<CascadeNetwork> closedFormNetworks(const SearchProblem& problem, const Scale& scale) {
  const Complex source = endImpedance(problem.source, scale.f0).value_or(1.0);
  const Complex load = endImpedance(problem.load, scale.f0).value_or(1.0);
  std::vector<CascadeNetwork> networks = lNetworkMatches(source, load, scale.f0);
  // The smallest loaded Q a Pi or Tee allows is that of the L network between the resistances;
  // a band asks for about f0 / (f2 - f1).
  const double ratio = std::max(scale.sourceOhms, scale.loadOhms) /
                       std::min(scale.sourceOhms, scale.loadOhms);
  const double smallestQ = std::sqrt(std::max(ratio - 1.0, 0.0));
  for (const double q : {smallestQ * 1.2 + 0.1, std::max(smallestQ + 0.5, 1.0 / scale.wm)}) {
    for (CascadeNetwork& network : piNetworkMatches(source, load, scale.f0, q)) {
      networks.push_back(std::move(network));
    }
    for (CascadeNetwork& network : teeNetworkMatches(source, load, scale.f0, q)) {
      networks.push_back(std::move(network));
    }
  }
  for (int sections = 1; sections <= 4; ++sections) {
    if (const std::optional<SteppedTransformer> stepped = chebyshevTransformer(
            scale.sourceOhms, scale.loadOhms, sections, problem.f1, problem.f2)) {
      networks.push_back(recentred(stepped->network, scale.f0));
    }
  }
  if (const std::optional<EndResonator> resonator =
          endResonator(problem.load, problem.f1, problem.f2)) {
    for (int n = MIN_ELEMENTS; n <= MAX_ELEMENTS; ++n) {
      if (std::optional<CascadeNetwork> ladder = bandPassLadder(*resonator, n, problem, scale)) {
        networks.push_back(std::move(*ladder));
      }
    }
  }
  return networks;
}

// The closed-form networks that have the topology's sections, or have them but for a
// transformer at the source end (which then starts at 1:1, or is left out).
std::vector<CascadeNetwork> closedFormStarts(const Topology& topology,
                                             const std::vector<CascadeNetwork>& networks,
                                             const SearchProblem& problem, const Scale& scale) {
  std::vector<CascadeNetwork> starts;
  const bool transformerFirst = !topology.empty() && topology.front() == SectionKind::transformer;
  for (const CascadeNetwork& network : networks) {
    const Topology kinds = topologyOf(network);
    if (kinds == topology) {
      starts.push_back(withValuesOf(network, problem, scale));
      continue;
    }
    CascadeNetwork adapted = network;
    const bool hasTransformer = !kinds.empty() && kinds.front() == SectionKind::transformer;
    if (transformerFirst && !hasTransformer) {
      adapted.sections.insert(adapted.sections.begin(),
                              {.kind = SectionKind::transformer, .turnsRatio = 1.0});
    } else if (!transformerFirst && hasTransformer) {
      adapted.sections.erase(adapted.sections.begin());
    } else {
      continue;
    }
    if (topologyOf(adapted) == topology) {
      starts.push_back(withValuesOf(adapted, problem, scale));
    }
  }
  return starts;
}

// Draws of the seeded starts: uniform numbers in [0, 1) from the top 53 bits of the generator,
// the same on every target.
struct Draws {
  std::mt19937_64 generator;

  double uniform() { return static_cast<double>(generator() >> 11) * 0x1.0p-53; }
  // A factor between 1 / spread and spread, uniform on a logarithmic scale.
  double factor(double spread) { return std::exp((2.0 * uniform() - 1.0) * std::log(spread)); }
};

// The seed of a topology's starts: the search's seed mixed with the topology's text (FNV-1a).
std::uint64_t topologySeed(std::uint64_t seed, const Topology& topology) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : topologyText(topology)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
  }
  return seed ^ hash;
}

// What a start draws for a section: neutral values when `draws` is null. Lumped parts have a
// reactance of the level R at f0 (times a factor); a resonator in the series arm and a tank
// across the line resonate in the band with the slope of a band-pass ladder's (R / wm and
// 1 / (R wm)); a tank in the series arm and a resonator across the line resonate outside the
// band (twice f0, or a drawn factor of up to three either way); lines are a quarter wave at f0
// and stubs an eighth, of the level's impedance within the bounds, or drawn.
void startValues(Section& section, double level, const Scale& scale, Draws* draws) {
  const auto factor = [draws](double spread) { return draws != nullptr ? draws->factor(spread) : 1.0; };
  const double omega0 = scale.omega0;
  const double bandSpread = std::sqrt(1.0 + scale.wm);
  const auto resonant = [&](double resonance, double characteristic) {
    section.inductance = characteristic / (omega0 * resonance);
    section.capacitance = 1.0 / (characteristic * omega0 * resonance);
  };
  switch (section.kind) {
    case SectionKind::seriesInductor:
    case SectionKind::shuntInductor:
      section.inductance = level * factor(10.0) / omega0;
      break;
    case SectionKind::seriesCapacitor:
    case SectionKind::shuntCapacitor:
      section.capacitance = 1.0 / (level * factor(10.0) * omega0);
      break;
    case SectionKind::seriesResonator:
      resonant(factor(bandSpread), level / scale.wm * factor(4.0));
      break;
    case SectionKind::shuntTank:
      resonant(factor(bandSpread), level * scale.wm * factor(4.0));
      break;
    case SectionKind::seriesTank:
    case SectionKind::shuntResonator:
      resonant(draws != nullptr ? draws->factor(3.0) : 2.0, level * factor(10.0));
      break;
    case SectionKind::transformer:
      section.turnsRatio = std::sqrt(scale.sourceOhms / scale.loadOhms) * factor(2.0);
      break;
    case SectionKind::line:
    case SectionKind::openStub:
    case SectionKind::shortStub: {
      const double neutral = section.kind == SectionKind::line ? std::numbers::pi / 2.0
                                                              : std::numbers::pi / 4.0;
      section.impedance = std::clamp(level, LINE_OHMS_MIN, LINE_OHMS_MAX) * factor(2.5);
      section.length = draws != nullptr ? (0.05 + 0.9 * draws->uniform()) * std::numbers::pi
                                        : neutral;
      break;
    }
  }
}

// A start of the topology: behind a transformer at the source the network sees the load's
// resistance at both ends, otherwise the geometric mean of the two.
CascadeNetwork drawnStart(const Topology& topology, const SearchProblem& problem,
                          const Scale& scale, Draws* draws) {
  CascadeNetwork network = emptyNetwork(topology, problem, scale);
  const bool transformerFirst = !topology.empty() && topology.front() == SectionKind::transformer;
  const double level = transformerFirst ? scale.loadOhms : scale.meanOhms;
  for (Section& section : network.sections) {
    startValues(section, level, scale, draws);
  }
  return network;
}

// A section's values when it joins a network with little effect on it: a small reactance in the
// series arm and a large one across the line (resonators resonant or far from the band to that
// end), a short line, an open stub a little shorter than a twelfth of a wave, a shorted one a
// little shorter than a quarter wave (both then draw little current), a 1:1 transformer.
void quietValues(Section& section, double level, const Scale& scale) {
  constexpr double small = 0.1;
  const double omega0 = scale.omega0;
  const auto resonant = [&](double resonance, double characteristic) {
    section.inductance = characteristic / (omega0 * resonance);
    section.capacitance = 1.0 / (characteristic * omega0 * resonance);
  };
  switch (section.kind) {
    case SectionKind::seriesInductor:
      section.inductance = small * level / omega0;
      break;
    case SectionKind::seriesCapacitor:
      section.capacitance = 1.0 / (small * level * omega0);
      break;
    case SectionKind::shuntInductor:
      section.inductance = level / (small * omega0);
      break;
    case SectionKind::shuntCapacitor:
      section.capacitance = small / (level * omega0);
      break;
    case SectionKind::seriesResonator:
      resonant(1.0, 3.0 * small * level);
      break;
    case SectionKind::shuntTank:
      resonant(1.0, level / (3.0 * small));
      break;
    case SectionKind::seriesTank:
      resonant(3.0, small * level);
      break;
    case SectionKind::shuntResonator:
      resonant(1.0 / 3.0, level / small);
      break;
    case SectionKind::transformer:
      section.turnsRatio = 1.0;
      break;
    case SectionKind::line:
    case SectionKind::openStub:
      section.impedance = std::clamp(level, LINE_OHMS_MIN, LINE_OHMS_MAX);
      section.length = small;
      break;
    case SectionKind::shortStub:
      section.impedance = std::clamp(level, LINE_OHMS_MIN, LINE_OHMS_MAX);
      section.length = std::numbers::pi / 2.0 - small;
      break;
  }
}

// The single parts a two-element arm reduces to, in the same arm.
std::optional<std::pair<SectionKind, SectionKind>> singleParts(SectionKind kind) {
  switch (kind) {
    case SectionKind::seriesResonator:
    case SectionKind::seriesTank:
      return std::pair{SectionKind::seriesInductor, SectionKind::seriesCapacitor};
    case SectionKind::shuntResonator:
    case SectionKind::shuntTank:
      return std::pair{SectionKind::shuntInductor, SectionKind::shuntCapacitor};
    default:
      return std::nullopt;
  }
}

// Slopes dX/dw at f0 of a two-element arm grown from one part, as multiples of |X| / w0 (the
// least any reactance may have, by Foster's theorem): a little above it and well above it.
constexpr std::array<double, 2> GROWN_SLOPES = {2.5, 10.0};

// The two-element arm of `kind` with reactance X at f0 and slope dX/dw = factor |X| / w0. L and C
// in series: X = wL - 1/(wC), X' = L + 1/(w^2 C); in parallel the same of the susceptance
// B = -1/X with B' = X' / X^2.
Section grownArm(SectionKind kind, double reactance, double factor, const Scale& scale) {
  const double omega0 = scale.omega0;
  const double slope = factor * std::fabs(reactance) / omega0;
  Section section{.kind = kind};
  if (kind == SectionKind::seriesResonator || kind == SectionKind::shuntResonator) {
    section.inductance = (reactance / omega0 + slope) / 2.0;
    section.capacitance = 2.0 / (omega0 * (slope * omega0 - reactance));
  } else {
    const double susceptance = -1.0 / reactance;
    const double susceptanceSlope = slope / (reactance * reactance);
    section.capacitance = (susceptance / omega0 + susceptanceSlope) / 2.0;
    section.inductance = 2.0 / (omega0 * (susceptanceSlope * omega0 - susceptance));
  }
  return section;
}

// The reactance at f0 of a single inductor or capacitor, in either arm.
double partReactance(const Section& section, const Scale& scale) {
  const bool inductor = section.kind == SectionKind::seriesInductor ||
                        section.kind == SectionKind::shuntInductor;
  return inductor ? scale.omega0 * section.inductance : -1.0 / (scale.omega0 * section.capacitance);
}

// The best networks found so far, by topology: a larger topology grows starts from them.
using Found = std::map<Topology, const CascadeNetwork*>;

// Starts grown from the smaller topologies found so far that this one contains: without its
// transformer (which joins at 1:1), with one of its two-element arms a single part (grown back
// to the arm with the part's reactance at f0 and a choice of slopes), or without the section at
// either end (which joins with little effect).
std::vector<CascadeNetwork> grownStarts(const Topology& topology, const Found& found,
                                        const SearchProblem& problem, const Scale& scale) {
  std::vector<CascadeNetwork> starts;
  const auto smaller = [&found](const Topology& child) -> const CascadeNetwork* {
    const auto entry = found.find(child);
    return entry == found.end() ? nullptr : entry->second;
  };
  const bool transformerFirst = !topology.empty() && topology.front() == SectionKind::transformer;
  const double level = transformerFirst ? scale.loadOhms : scale.meanOhms;
  const auto withSectionAt = [&](const CascadeNetwork& child, std::size_t at, Section section) {
    CascadeNetwork grown = child;
    grown.sections.insert(grown.sections.begin() + static_cast<std::ptrdiff_t>(at), section);
    starts.push_back(withValuesOf(grown, problem, scale));
  };
  for (std::size_t at = 0; at < topology.size(); ++at) {
    const SectionKind kind = topology[at];
    // One section fewer: the transformer, or a section at either end of the rest.
    const bool end = at + 1 == topology.size() || at == (transformerFirst ? 1 : 0);
    if ((kind == SectionKind::transformer || end) && topology.size() > 1) {
      Topology child = topology;
      child.erase(child.begin() + static_cast<std::ptrdiff_t>(at));
      if (const CascadeNetwork* network = smaller(child)) {
        Section section{.kind = kind};
        quietValues(section, level, scale);
        withSectionAt(*network, at, section);
      }
    }
    const std::optional<std::pair<SectionKind, SectionKind>> singles = singleParts(kind);
    if (!singles) {
      continue;
    }
    for (const SectionKind single : {singles->first, singles->second}) {
      Topology child = topology;
      child[at] = single;
      const CascadeNetwork* network = smaller(child);
      if (network == nullptr) {
        continue;
      }
      const double reactance = partReactance(network->sections[at], scale);
      for (const double factor : GROWN_SLOPES) {
        CascadeNetwork grown = *network;
        grown.sections[at] = grownArm(kind, reactance, factor, scale);
        starts.push_back(withValuesOf(grown, problem, scale));
      }
    }
  }
  return starts;
}

struct Screened {
  CascadeNetwork network;
  double level = HUGE_VAL;
  int evaluations = 0;
};

// The topology's starts - closed forms, the neutral one, seeded ones and those grown from smaller
// topologies - are rated on the samples, and the best SCREENED_STARTS optimised briefly.
Screened screenTopology(const Topology& topology, const SearchProblem& problem,
                        const Scale& scale, const std::vector<CascadeNetwork>& closedForms,
                        const Found& found, const Samples& samples, std::uint64_t seed,
                        std::size_t optimisedStarts) {
  std::vector<CascadeNetwork> starts = closedFormStarts(topology, closedForms, problem, scale);
  starts.push_back(drawnStart(topology, problem, scale, nullptr));
  Draws draws{std::mt19937_64(topologySeed(seed, topology))};
  for (int k = 0; k < SEEDED_STARTS; ++k) {
    starts.push_back(drawnStart(topology, problem, scale, &draws));
  }
  for (CascadeNetwork& start : grownStarts(topology, found, problem, scale)) {
    starts.push_back(std::move(start));
  }
  // Rated inside the bounds, as the solver will take them.
  std::vector<std::pair<double, std::size_t>> rated;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    starts[k] = withinBounds(starts[k], scale);
    const double level = sampledLevel(starts[k], samples);
    rated.emplace_back(std::isfinite(level) ? level : HUGE_VAL, k);
  }
  std::stable_sort(rated.begin(), rated.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  Screened best;
  best.network = starts.front();
  for (std::size_t k = 0; k < std::min(optimisedStarts, rated.size()); ++k) {
    const Optimised optimised = optimise(starts[rated[k].second], samples, {}, scale,
                                         {SCREENING_EVALUATIONS, SCREENING_STEP, SCREENING_LEVEL_STEP});
    best.evaluations += optimised.evaluations;
    if (optimised.level < best.level) {
      best.network = optimised.network;
      best.level = optimised.level;
    }
  }
  return best;
}

CascadeFigures figuresOf(const JudgedBand& judged) {
  return {judged.worstReflection, judged.worstReflectionMHz, judged.worstGain,
          judged.worstGainMHz};
}

// sqrt(1 - GT): |Gamma| without losses, and the figure samples and judge are compared on.
double equivalentReflection(double loss) {
  return std::sqrt(std::max(loss, 0.0));
}

// Optimises on the samples, judges the result over the whole band, and where the judge finds a
// peak of |Gamma| or a least gain beyond what the samples saw, adds it to them and optimises on
// from there, until the judged and the sampled figures agree. Returns the best judged network,
// never worse than the start.
struct Judged {
  CascadeNetwork network;
  CascadeFigures figures;
  int evaluations = 0;
};

Judged optimisedUntilJudged(const CascadeNetwork& start, Samples samples,
                            const std::vector<std::size_t>& free, const SearchProblem& problem,
                            const Scale& scale) {
  Judged best{start, judgedFigures(start, problem), 0};
  if (free.empty() && variableCount(start) == 0) {
    return best;
  }
  CascadeNetwork current = start;
  for (int round = 0; round < MAX_JUDGED_ROUNDS; ++round) {
    const Optimised optimised =
        optimise(current, samples, free, scale, {FULL_EVALUATIONS, FULL_STEP, FULL_LEVEL_STEP});
    best.evaluations += optimised.evaluations;
    const double sampled = equivalentReflection(optimised.level);
    const JudgedBand judged = judgeCascade(optimised.network, problem.source, problem.load,
                                           problem.f1, problem.f2, sampled + SAMPLES_AGREE);
    if (judged.worstGain > best.figures.worstGain) {
      best.network = optimised.network;
      best.figures = figuresOf(judged);
    }
    if (!std::isfinite(optimised.level) ||
        equivalentReflection(1.0 - judged.worstGain) <= sampled + SAMPLES_AGREE) {
      break;
    }
    for (const ReflectionPeak& peak : judged.peaks) {
      if (peak.magnitude > sampled + SAMPLES_AGREE) {
        addSample(samples, problem, peak.frequencyMHz);
      }
    }
    if (hasLosses(optimised.network)) {
      addSample(samples, problem, judged.worstGainMHz);
    }
    current = optimised.network;
  }
  return best;
}

// The inductors and capacitors rounded to the series, or the reason one has no standard value.
std::optional<CascadeNetwork> roundedToSeries(CascadeNetwork network, PreferredSeries series,
                                              std::string& error) {
  for (Section& section : network.sections) {
    const std::vector<ValueKind> kinds = valueKinds({{section}, network.centreMHz});
    for (const ValueKind kind : kinds) {
      double& value =
          kind == ValueKind::inductance ? section.inductance : section.capacitance;
      if (kind != ValueKind::inductance && kind != ValueKind::capacitance) {
        continue;
      }
      const std::optional<double> standard = nearestStandardValue(value, series);
      if (!standard) {
        error = std::string(kind == ValueKind::inductance ? "an inductor" : "a capacitor") +
                " of the " + std::string(sectionName(section.kind)) +
                " section has no standard value";
        return std::nullopt;
      }
      value = *standard;
    }
  }
  return network;
}

// The turns ratios, line impedances and lengths: what stays continuous after rounding.
std::vector<std::size_t> continuousValues(const CascadeNetwork& network) {
  std::vector<std::size_t> free;
  const std::vector<ValueKind> kinds = valueKinds(network);
  for (std::size_t v = 0; v < kinds.size(); ++v) {
    if (kinds[v] != ValueKind::inductance && kinds[v] != ValueKind::capacitance) {
      free.push_back(v);
    }
  }
  return free;
}

// Runs `work(i)` for i in [0, count) on `threads` threads, thread t taking t, t + threads, ...
template <typename Work>
void onThreads(std::size_t count, int threads, const Work& work) {
  const auto share = static_cast<std::size_t>(std::max(1, threads));
  if (share == 1 || count <= 1) {
    for (std::size_t i = 0; i < count; ++i) {
      work(i);
    }
    return;
  }
  std::vector<std::thread> running;
  for (std::size_t t = 0; t < share; ++t) {
    running.emplace_back([&work, t, share, count] {
      for (std::size_t i = t; i < count; i += share) {
        work(i);
      }
    });
  }
  for (std::thread& thread : running) {
    thread.join();
  }
}

}  // namespace

CascadeFigures judgedFigures(const CascadeNetwork& network, const SearchProblem& problem) {
  return figuresOf(judgeCascade(network, problem.source, problem.load, problem.f1, problem.f2));
}

SearchResult searchTopologies(const SearchProblem& problem,
                              const std::vector<LibraryTopology>& topologies,
                              const SearchSettings& settings) {
  SearchResult result;
  result.topologies = static_cast<int>(topologies.size());
  result.limit = matchingLimit(problem.source, problem.load, problem.f1, problem.f2);
  const Scale scale = problemScale(problem);
  const std::vector<CascadeNetwork> closedForms = closedFormNetworks(problem, scale);

  // The screening, smaller topologies first: a larger one grows starts from them. Topologies of
  // one size are screened side by side.
  const Samples coarse = logarithmicSamples(problem, SCREENING_SAMPLES);
  result.screeningSamples = static_cast<int>(coarse.frequencyMHz.size());
  const std::size_t optimisedStarts =
      topologies.size() < static_cast<std::size_t>(std::max(settings.carried, 1))
          ? std::numeric_limits<std::size_t>::max()
          : SCREENED_STARTS;
  std::vector<Screened> screened(topologies.size());
  std::map<int, std::vector<std::size_t>> bySize;
  for (std::size_t i = 0; i < topologies.size(); ++i) {
    const Topology& topology = topologies[i].topology;
    const bool transformer = !topology.empty() && topology.front() == SectionKind::transformer;
    bySize[2 * partCount(topology) + (transformer ? 1 : 0)].push_back(i);
  }
  Found found;
  for (const auto& [size, members] : bySize) {
    onThreads(members.size(), settings.threads, [&](std::size_t k) {
      const std::size_t i = members[k];
      screened[i] = screenTopology(topologies[i].topology, problem, scale, closedForms, found,
                                   coarse, settings.seed, optimisedStarts);
    });
    for (const std::size_t i : members) {
      if (std::isfinite(screened[i].level)) {
        found.emplace(topologies[i].topology, &screened[i].network);
      }
    }
  }
  std::vector<std::size_t> order(topologies.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  // Not finite sorts last; equal levels keep the library's order.
  std::stable_sort(order.begin(), order.end(), [&screened](std::size_t a, std::size_t b) {
    const double la = std::isfinite(screened[a].level) ? screened[a].level : HUGE_VAL;
    const double lb = std::isfinite(screened[b].level) ? screened[b].level : HUGE_VAL;
    return la < lb;
  });
  order.resize(std::min(order.size(), static_cast<std::size_t>(std::max(settings.carried, 1))));

  // The full optimisation of those carried through, each judged.
  const Samples full = fullSamples(problem);
  result.samples = static_cast<int>(full.frequencyMHz.size());
  result.candidates.resize(order.size());
  onThreads(order.size(), settings.threads, [&](std::size_t k) {
    const std::size_t i = order[k];
    SearchCandidate& candidate = result.candidates[k];
    candidate.topology = topologies[i];
    candidate.screened = screened[i].level;
    const Judged judged = optimisedUntilJudged(screened[i].network, full, {}, problem, scale);
    candidate.network = judged.network;
    candidate.figures = judged.figures;
    candidate.evaluations = screened[i].evaluations + judged.evaluations;
    if (!problem.series) {
      return;
    }
    std::optional<CascadeNetwork> rounded =
        roundedToSeries(candidate.network, *problem.series, candidate.error);
    if (!rounded) {
      return;
    }
    const std::vector<std::size_t> free = continuousValues(*rounded);
    const Judged standard = free.empty() ? Judged{*rounded, judgedFigures(*rounded, problem), 0}
                                         : optimisedUntilJudged(*rounded, full, free, problem, scale);
    candidate.standard = standard.network;
    candidate.standardFigures = standard.figures;
    candidate.evaluations += standard.evaluations;
  });

  // Best worst gain first; a candidate without a built network last; then fewer parts.
  std::stable_sort(result.candidates.begin(), result.candidates.end(),
                   [](const SearchCandidate& a, const SearchCandidate& b) {
                     const bool builtA = a.error.empty();
                     const bool builtB = b.error.empty();
                     if (builtA != builtB) {
                       return builtA;
                     }
                     const double gainA = builtFigures(a).worstGain;
                     const double gainB = builtFigures(b).worstGain;
                     if (gainA != gainB) {
                       return gainA > gainB;
                     }
                     return partCount(a.topology.topology) < partCount(b.topology.topology);
                   });
  return result;
}

}  // namespace bandmatch
