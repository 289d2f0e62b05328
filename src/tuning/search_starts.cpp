#include "tuning/search_starts.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <optional>
#include <random>
#include <utility>

#include "network/closed_form_starts.hpp"
#include "network/ladder_analysis.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/fano_solver.hpp"
#include "synthesis/synthesis.hpp"

namespace bandmatch {

namespace {

using Complex = std::complex<double>;

// An end's resistance at f0 below this share of the other's counts as this share, so that the
// values' scale stays finite.
constexpr double SMALLEST_RESISTANCE_SHARE = 1e-6;

// A network of the topology with the problem's losses and no values yet.
CascadeNetwork emptyNetwork(const Topology& topology, const SearchProblem& problem,
                            const SearchScale& scale) {
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
                            const SearchScale& scale) {
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
                                             const SearchProblem& problem,
                                             const SearchScale& scale) {
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
    network.sections.push_back({.kind = isSeriesPosition(resonator.type, position)
                                            ? SectionKind::seriesResonator
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
      network.sections.push_back(
          {.kind = SectionKind::shuntInductor, .inductance = retuning.value});
      break;
  }
  return network;
}

// The closed-form networks that have the topology's sections, or have them but for a
// transformer at the source end (which then starts at 1:1, or is left out).
std::vector<CascadeNetwork> closedFormStarts(const Topology& topology,
                                             const std::vector<CascadeNetwork>& networks,
                                             const SearchProblem& problem,
                                             const SearchScale& scale) {
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
void startValues(Section& section, double level, const SearchScale& scale, Draws* draws) {
  const auto factor = [draws](double spread) {
    return draws != nullptr ? draws->factor(spread) : 1.0;
  };
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
      const double neutral =
          section.kind == SectionKind::line ? std::numbers::pi / 2.0 : std::numbers::pi / 4.0;
      section.impedance = std::clamp(level, LINE_OHMS_MIN, LINE_OHMS_MAX) * factor(2.5);
      section.length =
          draws != nullptr ? (0.05 + 0.9 * draws->uniform()) * std::numbers::pi : neutral;
      break;
    }
  }
}

// A start of the topology: behind a transformer at the source the network sees the load's
// resistance at both ends, otherwise the geometric mean of the two.
CascadeNetwork drawnStart(const Topology& topology, const SearchProblem& problem,
                          const SearchScale& scale, Draws* draws) {
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
// end), a line or an open stub 0.1 rad long, a shorted stub 0.1 rad short of a quarter wave
// (both stubs then draw little current), a 1:1 transformer.
void quietValues(Section& section, double level, const SearchScale& scale) {
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
Section grownArm(SectionKind kind, double reactance, double factor, const SearchScale& scale) {
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
double partReactance(const Section& section, const SearchScale& scale) {
  const bool inductor =
      section.kind == SectionKind::seriesInductor || section.kind == SectionKind::shuntInductor;
  return inductor ? scale.omega0 * section.inductance : -1.0 / (scale.omega0 * section.capacitance);
}

// Starts grown from the smaller topologies found so far that this one contains: without its
// transformer (which joins at 1:1), with one of its two-element arms a single part (grown back
// to the arm with the part's reactance at f0 and a choice of slopes), or without the section at
// either end (which joins with little effect).
std::vector<CascadeNetwork> grownStarts(const Topology& topology, const FoundNetworks& found,
                                        const SearchProblem& problem, const SearchScale& scale) {
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

}  // namespace

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

SearchScale searchScale(const SearchProblem& problem) {
  SearchScale scale;
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

ValueBounds valueBounds(const std::vector<ValueKind>& kinds, const SearchScale& scale) {
  ValueBounds bounds;
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

CascadeNetwork withinBounds(CascadeNetwork network, const SearchScale& scale) {
  const ValueBounds bounds = valueBounds(valueKinds(network), scale);
  std::vector<double> values = logVariables(network);
  for (std::size_t v = 0; v < values.size(); ++v) {
    values[v] = std::clamp(values[v], bounds.lower[v], bounds.upper[v]);
  }
  setLogVariables(network, values);
  return network;
}

std::vector<CascadeNetwork> closedFormNetworks(const SearchProblem& problem,
                                               const SearchScale& scale) {
  const Complex source = endImpedance(problem.source, scale.f0).value_or(1.0);
  const Complex load = endImpedance(problem.load, scale.f0).value_or(1.0);
  std::vector<CascadeNetwork> networks = lNetworkMatches(source, load, scale.f0);
  // The smallest loaded Q a Pi or Tee allows is that of the L network between the resistances;
  // a band asks for about f0 / (f2 - f1).
  const double ratio =
      std::max(scale.sourceOhms, scale.loadOhms) / std::min(scale.sourceOhms, scale.loadOhms);
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

std::vector<CascadeNetwork> topologyStarts(const Topology& topology,
                                           const std::vector<CascadeNetwork>& closedForms,
                                           const FoundNetworks& found, const SearchProblem& problem,
                                           const SearchScale& scale, std::uint64_t seed) {
  std::vector<CascadeNetwork> starts = closedFormStarts(topology, closedForms, problem, scale);
  starts.push_back(drawnStart(topology, problem, scale, nullptr));
  Draws draws{std::mt19937_64(topologySeed(seed, topology))};
  for (int k = 0; k < SEEDED_STARTS; ++k) {
    starts.push_back(drawnStart(topology, problem, scale, &draws));
  }
  for (CascadeNetwork& start : grownStarts(topology, found, problem, scale)) {
    starts.push_back(std::move(start));
  }
  return starts;
}

}  // namespace bandmatch
