// Command line of bandmatch-search: the two ends and the band, which topologies to search, how
// the network will be built, and which network the files describe; or a request for the usage
// or the version.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "network/microstrip.hpp"
#include "network/cascade_tolerance.hpp"
#include "network/standard_values.hpp"
#include "network/topology.hpp"
#include "runs/network_search.hpp"
#include "tools/common/command_line.hpp"

namespace bandmatch {

inline constexpr std::string_view SEARCH_PROGRAM_NAME = "bandmatch-search";

inline constexpr int DEFAULT_MAX_PARTS = SEARCH_DEFAULT_MAX_PARTS;
inline constexpr int MAX_MAX_PARTS = SEARCH_MAX_MAX_PARTS;
inline constexpr double MAX_LINE_LOSS_DB = 100.0;
inline constexpr std::string_view DEFAULT_SEARCH_OUT = "search";

struct SearchOptions {
  CommandAction action = CommandAction::run;
  std::string error;   // why the command line is refused (action fail)
  std::string source;  // as typed: a resistance, a model or a Touchstone one-port file
  std::string load;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
  int maxParts = DEFAULT_MAX_PARTS;
  std::optional<Topology> topology;  // one topology to optimise instead of the library
  int pick = 1;                      // the rank of the network the files describe
  std::string outBase = std::string(DEFAULT_SEARCH_OUT);
  int points = 0;     // of the files' sweep
  double span = 0.0;  // the sweep's width as a multiple of the band
  std::optional<PreferredSeries> series;
  std::optional<double> inductorQ;
  std::optional<double> capacitorQ;
  double lineLossDb = 0.0;  // per wavelength at f0
  bool json = false;        // the summary as one JSON document
  // The tolerance trials of the chosen network, when a tolerance is given, and their goal.
  std::optional<CascadeToleranceOptions> tolerance;
  double goalSwr = DEFAULT_GOAL_SWR;
  std::optional<Substrate> substrate;  // each line's and stub's microstrip
  std::optional<double> powerWatts;    // each part's stress with this power available
  bool smith = false;                  // BASE-smith.svg too
};

// Reads the arguments that follow the program name.
SearchOptions parseSearchOptions(const std::vector<std::string>& args);

// The generated usage text, with the topology grammar.
std::string searchUsage();

}  // namespace bandmatch
