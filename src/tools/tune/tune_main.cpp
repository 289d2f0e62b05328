// bandmatch-tune: tunes the matching network of a bandmatch CSV report for the least worst
// in-band reflection, on its model load or a measured one, and writes the tuned network's files.
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "files/signal_cleanup.hpp"
#include "tools/tune/tune_run.hpp"

int main(int argc, char** argv) {
  bandmatch::prepareSignals();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  const auto seconds = [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  return bandmatch::runTune(args, std::cout, std::cerr, seconds);
}
