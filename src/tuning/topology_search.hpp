// The search for a matching network between two ends over a band: every topology of a library,
// or one given, optimised for the least worst in-band loss 1 - GT (GT the transducer gain) from
// closed-form and seeded starts by the minimax solver with exact gradients; a cheap screening of
// every topology first, then the best carried through to the full optimisation, each judged over
// the whole band until the judge and the samples agree, and ranked by the judged worst gain.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "network/matching_limits.hpp"
#include "network/network_end.hpp"
#include "network/standard_values.hpp"
#include "network/topology.hpp"
#include "network/two_port.hpp"

namespace bandmatch {

// The parts of a network the search may give a value. Every inductor and capacitor has a
// reactance at f0 between R0 / VALUE_SPREAD and R0 VALUE_SPREAD, R0 the geometric mean of the two
// ends' resistances at f0; a line or a stub an impedance between LINE_OHMS_MIN and LINE_OHMS_MAX
// and an electrical length at f0 between LENGTH_MIN and half a wave; a transformer a turns ratio
// between 1 / TURNS_SPREAD and TURNS_SPREAD.
inline constexpr double VALUE_SPREAD = 1e4;
inline constexpr double LINE_OHMS_MIN = 10.0;
inline constexpr double LINE_OHMS_MAX = 200.0;
inline constexpr double LENGTH_MIN = 0.01;  // radians
inline constexpr double TURNS_SPREAD = 100.0;

// The network between the ends, as it will be built.
struct SearchProblem {
  NetworkEnd source;
  NetworkEnd load;
  double f1 = 0.0;                // MHz
  double f2 = 0.0;                // MHz
  double inductorQ = LOSSLESS_Q;  // at f0, of every inductor
  double capacitorQ = LOSSLESS_Q;
  double lineLossDb = 0.0;                // dB per wavelength at f0, of every line and stub
  std::optional<PreferredSeries> series;  // inductors and capacitors of standard values
};

inline constexpr int DEFAULT_CARRIED = 8;
inline constexpr std::uint64_t DEFAULT_SEARCH_SEED = 1;

struct SearchSettings {
  // Topologies carried from the screening to the full optimisation and the judge.
  int carried = DEFAULT_CARRIED;
  // The seeded starts of a topology are drawn from this seed and the topology's text, so a
  // topology gets the same starts in any library and on any number of threads.
  std::uint64_t seed = DEFAULT_SEARCH_SEED;
  int threads = 1;
};

// A network's worst in-band figures as the worst-case judge finds them.
struct CascadeFigures {
  double worstReflection = HUGE_VAL;  // |Gamma|, the power-wave reflection at the source port
  double worstReflectionMHz = 0.0;
  double worstGain = 0.0;  // transducer gain, as a ratio
  double worstGainMHz = 0.0;
};

struct SearchCandidate {
  LibraryTopology topology;
  CascadeNetwork network;  // optimised, values continuous
  CascadeFigures figures;  // of `network`
  // With standard values: the inductors and capacitors rounded and the values left continuous
  // (turns ratios, lines and stubs) optimised again; or the reason a part has no standard value.
  std::optional<CascadeNetwork> standard;
  std::optional<CascadeFigures> standardFigures;
  std::string error;
  double screened = 0.0;  // worst sampled loss 1 - GT at the end of the screening
  int evaluations = 0;    // of the solver, screening included
};

struct SearchResult {
  std::vector<SearchCandidate> candidates;  // those carried through, best first
  int topologies = 0;                       // screened
  int screeningSamples = 0;
  int samples = 0;  // of the full optimisation, before the judge's peaks join them
  std::optional<MatchingLimit> limit;
};

// Searches the topologies for the problem. A topology that cannot be optimised (no finite
// response anywhere) ranks last.
SearchResult searchTopologies(const SearchProblem& problem,
                              const std::vector<LibraryTopology>& topologies,
                              const SearchSettings& settings);

// The network a candidate describes as built (standard values when asked) and its figures.
// Defined here, so that a summary reads the records without linking the optimiser.
inline const CascadeNetwork& builtNetwork(const SearchCandidate& candidate) {
  return candidate.standard ? *candidate.standard : candidate.network;
}
inline const CascadeFigures& builtFigures(const SearchCandidate& candidate) {
  return candidate.standardFigures ? *candidate.standardFigures : candidate.figures;
}

// A transducer gain in dB (negative; minus infinity for none).
inline double gainDecibels(double gain) {
  return 10.0 * std::log10(gain);
}

// The judge's figures of a network between the problem's ends over its band.
CascadeFigures judgedFigures(const CascadeNetwork& network, const SearchProblem& problem);

}  // namespace bandmatch
