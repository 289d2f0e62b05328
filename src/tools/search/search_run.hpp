// The whole run of bandmatch-search on its arguments: read the two ends, search the topologies,
// print the ranking; and the network chosen for the files with what they need to describe it.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "network/sweep.hpp"
#include "tools/common/seconds_clock.hpp"
#include "tools/search/search_options.hpp"
#include "tuning/topology_search.hpp"

namespace bandmatch {

// A search done: the problem the options describe, its result, the sweep of the files (clipped
// to the data of measured ends), and the time the search took; or the refusal.
struct SearchRun {
  SearchProblem problem;
  SearchResult result;
  Sweep sweep;
  double seconds = 0.0;
  std::string error;  // "PATH: why" or what is wrong with an end, one line
};

// Reads the ends named by the options and searches; the search uses every core of the machine.
SearchRun searchFor(const SearchOptions& options, const SecondsClock& clock);

// The network the files describe: the candidate of rank `pick` (from 1) as it is built, between
// the two ends over the band, with the files' sweep and its judged figures.
struct ChosenNetwork {
  CascadeNetwork network;
  NetworkEnd source;
  NetworkEnd load;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
  Sweep sweep;
  std::string topology;  // in the grammar
  CascadeFigures figures;
};

// None when fewer candidates were ranked, or the one of that rank has no standard values.
std::optional<ChosenNetwork> chosenNetwork(const SearchRun& run, int pick);

// `args` are the arguments after the program name. The usage, the version and the ranking go to
// `out`; a failure is one line on `err` and status 2.
int runSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SecondsClock& clock);

}  // namespace bandmatch
