#include "support/external_tools.hpp"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string_view>

namespace bandmatch::support {

bool commandInstalled(const std::string& name) {
  return runCommand("command -v '" + name + "' >/dev/null 2>&1") == 0;
}

bool runningInCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string_view(ci) == "true";
}

int runCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::vector<double>> ngspiceRows(const std::string& printout) {
  std::vector<std::vector<double>> rows;
  std::istringstream lines(printout);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream cells(line);
    std::string index;
    std::getline(cells, index, '\t');
    if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos ||
        line.find('\t') == std::string::npos) {
      continue;
    }
    std::vector<double> values;
    for (std::string cell; std::getline(cells, cell, '\t');) {
      if (cell.find_first_not_of(" \r") != std::string::npos) {
        values.push_back(std::stod(cell));
      }
    }
    rows.push_back(values);
  }
  return rows;
}

}  // namespace bandmatch::support
