// bandmatch-export: turns a bandmatch CSV report into a SPICE netlist, a Touchstone file and a
// response plot.
#include <iostream>
#include <string>
#include <vector>

#include "files/signal_cleanup.hpp"
#include "tools/export/export_run.hpp"

int main(int argc, char** argv) {
  bandmatch::prepareSignals();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  return bandmatch::runExport(args, std::cout, std::cerr);
}
