// bandmatch-search: searches topologies for the matching network between a source and a load
// over a band and prints them ranked by worst in-band gain.
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "files/signal_cleanup.hpp"
#include "tools/search/search_run.hpp"

int main(int argc, char** argv) {
  bandmatch::prepareSignals();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  const auto seconds = [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  return bandmatch::runSearch(args, std::cout, std::cerr, seconds);
}
