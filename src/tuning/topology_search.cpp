#include "tuning/topology_search.hpp"

#include <algorithm>
#include <complex>
#include <limits>
#include <span>
#include <thread>
#include <utility>

#include "network/cascade_judge.hpp"
#include "tuning/minimax_solver.hpp"
#include "tuning/search_starts.hpp"

namespace bandmatch {

namespace {

using Complex = std::complex<double>;

// The screening: every topology on this many frequencies spread logarithmically over the band.
// Its starts - closed forms, a neutral one, SEEDED_STARTS seeded ones and those grown from the
// smaller topologies it contains - are rated there as they are, and the SCREENED_STARTS best
// optimised for at most SCREENING_EVALUATIONS sweeps each (every start, when the search has
// fewer topologies than it carries through).
constexpr int SCREENING_SAMPLES = 16;
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
              i == 0 ? problem.f1
              : i + 1 == count
                  ? problem.f2
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
    if (f > problem.f1 * (1.0 + BAND_EDGE_TOLERANCE) &&
        f < problem.f2 * (1.0 - BAND_EDGE_TOLERANCE)) {
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
          cascadeResponse(network, samples->frequencyMHz[i], samples->source[i], samples->load[i],
                          workspace, {}, gradient);
      losses[i] = 1.0 - response.transducerGain;
      if (!gradients.empty()) {
        for (std::size_t v = 0; v < free.size(); ++v) {
          gradients[i * free.size() + v] = -gainGradient[free[v]];
        }
      }
    }
  }
};

// The largest loss 1 - GT on the samples, infinite where one is not finite.
double sampledLevel(const CascadeNetwork& network, const Samples& samples) {
  CascadeWorkspace workspace;
  double level = 0.0;
  for (std::size_t i = 0; i < samples.frequencyMHz.size(); ++i) {
    const double loss = 1.0 - cascadeResponse(network, samples.frequencyMHz[i], samples.source[i],
                                              samples.load[i], workspace)
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
                   std::vector<std::size_t> free, const SearchScale& scale,
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
  const ValueBounds all = valueBounds(valueKinds(start), scale);
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

struct Screened {
  CascadeNetwork network;
  double level = HUGE_VAL;
  int evaluations = 0;
};

// The topology's starts - closed forms, the neutral one, seeded ones and those grown from smaller
// topologies - are rated on the samples, and the best SCREENED_STARTS optimised briefly.
Screened screenTopology(const Topology& topology, const SearchProblem& problem,
                        const SearchScale& scale, const std::vector<CascadeNetwork>& closedForms,
                        const FoundNetworks& found, const Samples& samples, std::uint64_t seed,
                        std::size_t optimisedStarts) {
  std::vector<CascadeNetwork> starts =
      topologyStarts(topology, closedForms, found, problem, scale, seed);
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
    const Optimised optimised =
        optimise(starts[rated[k].second], samples, {}, scale,
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
  return {judged.worstReflection, judged.worstReflectionMHz, judged.worstGain, judged.worstGainMHz};
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
                            const SearchScale& scale) {
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
      double& value = kind == ValueKind::inductance ? section.inductance : section.capacitance;
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

// The inductance or capacitance that value `index` of the network is; null for the other kinds.
double* partValue(CascadeNetwork& network, std::size_t index) {
  std::size_t v = 0;
  for (Section& section : network.sections) {
    for (const ValueKind kind : valueKinds({{section}, network.centreMHz})) {
      if (v++ != index) {
        continue;
      }
      if (kind == ValueKind::inductance) {
        return &section.inductance;
      }
      return kind == ValueKind::capacitance ? &section.capacitance : nullptr;
    }
  }
  return nullptr;
}

// Standard values one part at a time: the part that rounding moves least is rounded first and
// every value still free is optimised again, so the parts rounded later make up for the ones
// rounded before them. Empty when a part moved to where the series has no value.
std::optional<Judged> roundedOneByOne(CascadeNetwork network, PreferredSeries series,
                                      const Samples& samples, const SearchProblem& problem,
                                      const SearchScale& scale) {
  const std::size_t count = variableCount(network);
  std::vector<bool> rounded(count, false);
  int evaluations = 0;
  for (;;) {
    std::optional<std::size_t> next;
    double nextValue = 0.0;
    double leastMove = HUGE_VAL;
    for (std::size_t v = 0; v < count; ++v) {
      const double* value = partValue(network, v);
      if (rounded[v] || value == nullptr) {
        continue;
      }
      const std::optional<double> standard = nearestStandardValue(*value, series);
      if (!standard) {
        return std::nullopt;
      }
      const double move = std::abs(std::log(*standard / *value));
      if (move < leastMove) {
        next = v;
        nextValue = *standard;
        leastMove = move;
      }
    }
    if (!next) {
      break;
    }
    *partValue(network, *next) = nextValue;
    rounded[*next] = true;
    std::vector<std::size_t> free;
    for (std::size_t v = 0; v < count; ++v) {
      if (!rounded[v]) {
        free.push_back(v);
      }
    }
    if (!free.empty()) {
      const Judged optimised = optimisedUntilJudged(network, samples, free, problem, scale);
      network = optimised.network;
      evaluations += optimised.evaluations;
    }
  }
  return Judged{network, judgedFigures(network, problem), evaluations};
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
  const SearchScale scale = searchScale(problem);
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
  FoundNetworks found;
  // A named reference, not a structured binding: clang before 16 (Emscripten's among them)
  // cannot capture a binding in a lambda.
  for (const auto& group : bySize) {
    const std::vector<std::size_t>& members = group.second;
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
    Judged standard = free.empty() ? Judged{*rounded, judgedFigures(*rounded, problem), 0}
                                   : optimisedUntilJudged(*rounded, full, free, problem, scale);
    // Rounding all at once, or one part at a time with the others optimised again: the better.
    if (const std::optional<Judged> oneByOne =
            roundedOneByOne(candidate.network, *problem.series, full, problem, scale)) {
      standard.evaluations += oneByOne->evaluations;
      if (oneByOne->figures.worstGain > standard.figures.worstGain) {
        standard.network = oneByOne->network;
        standard.figures = oneByOne->figures;
      }
    }
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
