// What a topology search reports: the ends and the band, how the search went, the table of the
// candidates ranked by worst in-band gain with the limit beside them, and the last line for
// scripts, "Best: TOPOLOGY worst |Gamma| R worst gain G dB".
#pragma once

#include <string>

#include "tuning/topology_search.hpp"

namespace bandmatch {

// How the ends and the search are named in the summary.
struct SearchContext {
  std::string source;  // as typed
  std::string load;
  std::string topologies;  // "of at most 6 parts", or "given"
  double seconds = 0.0;    // the search's time
};

// "50 ohms", "series:R=12.5,L=1.2u (model)", "dipole.s1p (measured, 101 points in the band)".
std::string endDescription(const std::string& typed, const NetworkEnd& end, double f1, double f2);

// The text for standard output up to the last line, one line each.
std::string renderSearchRanking(const SearchProblem& problem, const SearchResult& result,
                                const SearchContext& context);

// The ranking and the last line.
std::string renderSearchSummary(const SearchProblem& problem, const SearchResult& result,
                                const SearchContext& context);

// How the parts are built: "E24 values; inductor Q 100; lines 0.5 dB per wavelength", or
// "ideal parts".
std::string partsDescription(const SearchProblem& problem);

// What the limit is: "Bode-Fano limit of the load model", "Fano bound, the load fits a series
// resonator within 14.0 %".
std::string limitDescription(const MatchingLimit& limit);

// The last line alone, for the best candidate.
std::string bestLine(const SearchCandidate& best);

}  // namespace bandmatch
