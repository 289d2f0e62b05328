// The whole run of bandmatch-search on its arguments: read the two ends, search the topologies,
// print the ranking and write the chosen network's files all or nothing; and that network with
// what its files need to describe it.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "network/sweep.hpp"
#include "runs/search_files.hpp"
#include "tools/common/input_file.hpp"
#include "tools/common/seconds_clock.hpp"
#include "tools/search/search_options.hpp"
#include "tuning/topology_search.hpp"

namespace bandmatch {

// A measured end's file as it was read, by identity, and the role it plays ("the source").
struct InputFileRead {
  std::string path;
  FileIdentity identity;
  std::string role;
};

// A search done: the problem the options describe, its result, the sweep of the files (clipped
// to the data of measured ends), and the time the search took; or the refusal.
struct SearchRun {
  SearchProblem problem;
  SearchResult result;
  Sweep sweep;
  double seconds = 0.0;
  std::string error;  // "PATH: why" or what is wrong with an end, one line
  std::string sourceName;  // as typed
  std::string loadName;
  // The one-port files read for a measured end, which no output may replace.
  std::vector<InputFileRead> inputs;
};

// Reads the ends named by the options and searches; the search uses every core of the machine.
SearchRun searchFor(const SearchOptions& options, const SecondsClock& clock);

// The network the files describe: the candidate of rank `pick` (from 1) as it is built, between
// the two ends as typed over the band, with the files' sweep, its judged figures and what the
// request adds. None when fewer candidates were ranked, or the one of that rank has no standard
// values. `run` must outlive it.
std::optional<ChosenNetwork> chosenNetwork(const SearchRun& run, int pick,
                                           const ChosenFileRequest& request = {});

// `args` are the arguments after the program name. The usage, the version, or the ranking with
// the line naming the files written go to `out`; a failure is one line on `err` and status 2,
// with no file written or replaced.
int runSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SecondsClock& clock);

}  // namespace bandmatch
