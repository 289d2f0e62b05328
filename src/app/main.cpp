// bandmatch: designs a broadband band-pass matching network from answers typed at the console.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/program.hpp"
#include "files/signal_cleanup.hpp"

int main(int argc, char** argv) {
  bandmatch::prepareSignals();
  // The console is flushed by the program itself before every read and at the end, so neither
  // the C streams' locking nor a flush per character read (the tie) is needed.
  std::ios_base::sync_with_stdio(false);
  std::cin.tie(nullptr);
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  // A person typing at a terminal is told why an answer is refused; a script is not.
  const bool inputIsTerminal = ::isatty(STDIN_FILENO) == 1;
  return bandmatch::runProgram(args, std::cin, std::cout, std::cerr, bandmatch::systemLocalTime,
                               inputIsTerminal);
}
