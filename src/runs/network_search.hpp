// The topology search as bandmatch-search and the web page run it: the ends read from what was
// typed or from a chosen one-port file, the library (or one topology) searched and ranked, and
// the network of a chosen rank with the files that describe it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "network/matched_cascade.hpp"
#include "network/network_end.hpp"
#include "network/standard_values.hpp"
#include "network/sweep.hpp"
#include "network/topology.hpp"
#include "runs/network_files.hpp"
#include "tuning/topology_search.hpp"

namespace bandmatch {

// The library's topologies are searched up to this many parts unless asked otherwise, and never
// beyond the largest.
inline constexpr int SEARCH_DEFAULT_MAX_PARTS = 6;
inline constexpr int SEARCH_MAX_MAX_PARTS = 20;

// An end typed as a resistance or a series: / parallel: model. `file` is set when the text is
// neither and so names a Touchstone one-port, which the caller reads for measuredSearchEnd.
struct TypedSearchEnd {
  std::optional<NetworkEnd> end;
  std::string error;  // a malformed model: "the source 'series:R=0': why"
  bool file = false;
};

// `role` names the end in a refusal: "the source", "the load".
TypedSearchEnd typedSearchEnd(std::string_view typed, std::string_view role);

// A Touchstone one-port's text as an end over the band [f1, f2] MHz: its data must cover the
// band and be passive over the band and the files' sweep `wanted`. A refusal reads "NAME: why".
EndParse measuredSearchEnd(std::string_view name, std::string_view text, double f1, double f2,
                           const Sweep& wanted);

// What to search: the ends as read, how they are named, the band, the topologies and how the
// network will be built.
struct SearchRequest {
  NetworkEnd source;
  NetworkEnd load;
  std::string sourceName;  // as typed, or the one-port file's name
  std::string loadName;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
  int maxParts = SEARCH_DEFAULT_MAX_PARTS;
  std::optional<Topology> topology;  // optimised alone instead of the library
  Sweep sweep;                       // of the files, before it is clipped to measured data
  std::optional<PreferredSeries> series;
  double inductorQ = LOSSLESS_Q;
  double capacitorQ = LOSSLESS_Q;
  double lineLossDb = 0.0;  // per wavelength at f0
  int threads = 1;
};

// A search done: the problem, its ranking, the files' sweep clipped to the data of measured
// ends, and what the summary names.
struct SearchOutcome {
  SearchProblem problem;
  SearchResult result;
  Sweep sweep;
  double seconds = 0.0;  // the search's own time by the caller's clock
  std::string sourceName;
  std::string loadName;
  std::string topologies;  // "of at most 6 parts", or "given"
};

// Searches; `clock` gives seconds from any fixed origin.
SearchOutcome searchNetworks(SearchRequest request, const std::function<double()>& clock);

// The ranking as the program prints it, the Best line last.
std::string searchRanking(const SearchOutcome& outcome);

// The network of rank `pick` (from 1) as it is built between the two ends, or why there is none.
// The cascade's ends refer to the outcome's data, which must outlive it.
struct PickedNetwork {
  std::optional<MatchedCascade> cascade;
  CascadeFigures figures;
  std::string error;  // "only 3 candidates are ranked", "the candidate of rank 2 cannot be built: why"
};

PickedNetwork pickedNetwork(const SearchOutcome& outcome, int pick);

}  // namespace bandmatch
