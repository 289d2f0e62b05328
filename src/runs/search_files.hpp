// The network a topology search settles on, kept as one record for everything that describes it:
// its files (netlist, two-port and one-port Touchstone files, gain plot, parts list, schematic,
// on request the Smith chart) and the lines beside the ranking (each line's microstrip on a
// substrate, each part's stress at a power).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "network/matched_cascade.hpp"
#include "network/microstrip.hpp"
#include "network/part_stress.hpp"
#include "network/sweep.hpp"
#include "runs/network_files.hpp"
#include "tuning/topology_search.hpp"

namespace bandmatch {

// What the files and lines are asked to show besides the network.
struct ChosenFileRequest {
  std::optional<Substrate> substrate;  // each line's and stub's microstrip
  std::optional<double> powerWatts;    // each part's stress with this power available
  bool smith = false;                  // the Smith chart too
};

// The candidate of `rank` (from 1) as built, between the ends as the user named them, over the
// band, with the files' sweep, its judged figures, and with a power each part's worst in-band
// stress (cascadePartStress).
struct ChosenNetwork {
  int rank = 1;
  std::string topology;  // in the grammar
  MatchedCascade cascade;
  Sweep sweep;
  CascadeFigures figures;
  ChosenFileRequest request;
  std::vector<PartStress> stresses;
};

// The chosen network of a search, or none when fewer candidates were ranked or the one of that
// rank cannot be built. A measured end refers to the problem's data: `problem` must outlive the
// record.
std::optional<ChosenNetwork> chooseNetwork(const SearchProblem& problem,
                                           const SearchResult& result, int rank,
                                           const std::string& sourceName,
                                           const std::string& loadName, const Sweep& sweep,
                                           const ChosenFileRequest& request);

// The files as suffixes of the base name with their texts: ".cir", ".s2p", ".s1p", ".svg",
// "-parts.csv", "-schematic.svg" and with the request "-smith.svg". `program` is named in each.
std::vector<NetworkFile> chosenNetworkFiles(const ChosenNetwork& chosen, std::string_view program);

// With a substrate: a heading naming the board, then one row per line and stub with its Z0,
// electrical length, microstrip width and physical length; empty without one.
std::string renderMicrostripSummary(const ChosenNetwork& chosen);

// With a power: the exporter's stress heading, then one row per part with its section, its name
// in the topology grammar, its element, peak voltage and RMS current; empty without one.
std::string renderChosenStressSummary(const ChosenNetwork& chosen);

}  // namespace bandmatch
