#include "support/external_tools.hpp"

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
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

namespace {

// ngspice's rows for the netlist with its ".ac" line replaced.
std::vector<std::vector<double>> ngspiceWithSweep(const std::string& netlistPath,
                                                  const std::string& sweep) {
  std::ifstream in(netlistPath);
  std::ostringstream netlist;
  for (std::string line; std::getline(in, line);) {
    netlist << (line.rfind(".ac ", 0) == 0 ? sweep : line) << '\n';
  }
  const std::string changed = netlistPath + ".sweep.cir";
  std::ofstream(changed) << netlist.str();
  if (runCommand("ngspice -b '" + changed + "' >'" + changed + ".out' 2>/dev/null") != 0) {
    return {};
  }
  std::ifstream printed(changed + ".out");
  std::ostringstream printout;
  printout << printed.rdbuf();
  return ngspiceRows(printout.str());
}

std::string hertz(double mhz) {
  std::ostringstream text;
  text.precision(17);
  text << mhz * 1e6;
  return text.str();
}

}  // namespace

std::vector<std::vector<double>> ngspiceOnLogSweep(const std::string& netlistPath, double f1,
                                                   double f2, int points) {
  const int perDecade = static_cast<int>(std::ceil(points / std::log10(f2 / f1)));
  // A decade sweep may step past its stop frequency and miss it: the edges are simulated alone.
  std::vector<std::vector<double>> rows;
  for (std::vector<double>& row : ngspiceWithSweep(
           netlistPath, ".ac dec " + std::to_string(perDecade) + " " + hertz(f1) + " " + hertz(f2))) {
    if (!row.empty() && row[0] >= f1 * 1e6 && row[0] <= f2 * 1e6) {
      rows.push_back(std::move(row));
    }
  }
  for (const double edge : {f1, f2}) {
    for (std::vector<double>& row :
         ngspiceWithSweep(netlistPath, ".ac lin 1 " + hertz(edge) + " " + hertz(edge))) {
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

}  // namespace bandmatch::support
