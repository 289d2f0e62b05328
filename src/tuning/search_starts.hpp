// The starts of a topology search and the space they lie in: the problem's scale, the kinds and
// physical bounds of a network's values, and every start of a topology - the closed forms that
// have its sections, a neutral one, seeded ones, and those grown from smaller topologies.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "network/topology.hpp"
#include "network/two_port.hpp"
#include "tuning/topology_search.hpp"

namespace bandmatch {

// The problem's size: the band's centre and the ends' resistances there.
struct SearchScale {
  double f0 = 0.0;      // MHz, sqrt(f1 f2)
  double omega0 = 0.0;  // rad/s
  double wm = 0.0;      // (f2 - f1) / f0
  double sourceOhms = 0.0;
  double loadOhms = 0.0;
  double meanOhms = 0.0;  // sqrt(source load): R0 of the bounds
};

SearchScale searchScale(const SearchProblem& problem);

// The values of a section in the order of sectionVariableCount, by what they are.
enum class ValueKind { inductance, capacitance, turnsRatio, impedance, length };

std::vector<ValueKind> valueKinds(const CascadeNetwork& network);

// The natural logarithms of each value's bounds (those of topology_search.hpp).
struct ValueBounds {
  std::vector<double> lower;
  std::vector<double> upper;
};

ValueBounds valueBounds(const std::vector<ValueKind>& kinds, const SearchScale& scale);

// The network with every value moved inside its bounds.
CascadeNetwork withinBounds(CascadeNetwork network, const SearchScale& scale);

// Every closed-form network of the problem: the L networks at f0, Pi and Tee networks of two
// loaded Qs, the Chebyshev stepped transformers of 1 to 4 lines between the ends' resistances at
// f0, and Fano's and Levy's band-pass ladders of 1 to 10 resonators behind a transformer for a
// load that is one resonator (with the element that retunes it).
std::vector<CascadeNetwork> closedFormNetworks(const SearchProblem& problem,
                                               const SearchScale& scale);

// The best networks found so far, by topology: a larger topology grows starts from them.
using FoundNetworks = std::map<Topology, const CascadeNetwork*>;

inline constexpr int SEEDED_STARTS = 6;

// The starts of a topology with the problem's losses: the closed forms that have its sections
// (or have them but for a transformer at the source, which then starts at 1:1 or is left out);
// the neutral start; SEEDED_STARTS starts drawn from the seed mixed with the topology's text;
// and starts grown from the smaller topologies found that it contains - without its
// transformer, with one of its two-element arms a single part (grown back to the arm with the
// part's reactance at f0 and two slopes), or without the section at either end (which joins
// with little effect).
std::vector<CascadeNetwork> topologyStarts(const Topology& topology,
                                           const std::vector<CascadeNetwork>& closedForms,
                                           const FoundNetworks& found, const SearchProblem& problem,
                                           const SearchScale& scale, std::uint64_t seed);

}  // namespace bandmatch
