// bandmatch-fit: fits one resonator to a measured load and tells how well N resonators can
// match it, or prints the answers that take bandmatch through the design.
#include <iostream>
#include <string>
#include <vector>

#include "tools/fit/fit_run.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  return bandmatch::runFit(args, std::cout, std::cerr);
}
