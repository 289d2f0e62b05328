#include "support/external_tools.hpp"

#include <sys/wait.h>

#include <cstdlib>
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

}  // namespace bandmatch::support
