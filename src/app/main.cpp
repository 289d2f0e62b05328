// bandmatch: designs a broadband band-pass matching network from answers typed at the console.
#include <iostream>
#include <string>
#include <vector>

#include "app/program.hpp"
#include "files/signal_cleanup.hpp"

int main(int argc, char** argv) {
  bandmatch::prepareSignals();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  return bandmatch::runProgram(args, std::cin, std::cout, std::cerr, bandmatch::systemLocalTime);
}
