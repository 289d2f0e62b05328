// The web page's topology search: the search form's fields read as bandmatch-search reads its
// command line, the ranking exactly as it prints it, and the network of a chosen rank with the
// files the program writes for it.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runs/network_search.hpp"
#include "web/design_form.hpp"
#include "web/design_page.hpp"

namespace bandmatch {

// The search form's field names, bandmatch-search's arguments and options of the same meaning:
// SOURCE, LOAD, F1, F2, --max-parts, --topology, --series, --q-inductor, --q-capacitor. An empty
// optional field leaves the program's default.
namespace searchKeys {
inline constexpr std::string_view SOURCE = "source";
inline constexpr std::string_view LOAD = "load";
inline constexpr std::string_view F1 = "f1";
inline constexpr std::string_view F2 = "f2";
inline constexpr std::string_view MAX_PARTS = "maxParts";
inline constexpr std::string_view TOPOLOGY = "topology";
inline constexpr std::string_view SERIES = "series";
inline constexpr std::string_view Q_INDUCTOR = "qInductor";
inline constexpr std::string_view Q_CAPACITOR = "qCapacitor";
}  // namespace searchKeys

inline constexpr std::array<std::string_view, 9> SEARCH_KEYS = {
    searchKeys::SOURCE,    searchKeys::LOAD,   searchKeys::F1,
    searchKeys::F2,        searchKeys::MAX_PARTS, searchKeys::TOPOLOGY,
    searchKeys::SERIES,    searchKeys::Q_INDUCTOR, searchKeys::Q_CAPACITOR};

// The base name of the chosen network's downloads, as the program's default --out.
inline constexpr std::string_view SEARCH_FILE_BASE = "search";

// A Touchstone one-port chosen in the page for an end, in place of its typed text.
struct EndFile {
  std::string name;
  std::string text;
};

// A search run from the form: the outcome and its ranking, or why it cannot run (one line, as the
// program words its refusals, the options named by the form's labels).
struct PageSearch {
  std::string error;
  std::optional<SearchOutcome> outcome;
  std::string ranking;  // the program's standard output, the Best line last
  std::string best;     // the Best line alone; empty when nothing was ranked
};

// `clock` times the search as the program's does; the search runs on the calling thread.
PageSearch pageSearch(const FormValues& values, const EndFile* sourceFile, const EndFile* loadFile,
                      const std::function<double()>& clock);

// The network of rank `rank` (from 1) of a search: its plot and schematic, its parts' cells (the
// header row first) and its downloads SEARCH_FILE_BASE.cir, .s2p, .s1p, -plot.svg, -parts.csv,
// -schematic.svg; or why that rank has no network.
struct SearchNetworkView {
  std::string error;
  std::string plot;
  std::string schematic;
  std::vector<std::vector<std::string>> parts;
  std::vector<DownloadFile> files;
};

SearchNetworkView searchNetworkView(const SearchOutcome& outcome, int rank);

}  // namespace bandmatch
