// bandmatch: designs a broadband band-pass matching network from answers typed at the console.
#include <iostream>

#include "app/pass_driver.hpp"

int main() {
  return bandmatch::runPasses(std::cin, std::cout, std::cerr, bandmatch::systemLocalTime);
}
