// Drives whole runs of the program on arbitrary console input, with a fixed clock, inside a
// scratch directory that is emptied after every run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/pass_driver.hpp"
#include "fuzz_check.hpp"
#include "support/fixed_clock.hpp"

namespace {

namespace fs = std::filesystem;
using bandmatch::fuzzing::check;

const fs::path& scratchDirectory() {
  static const fs::path directory = [] {
    const fs::path path = fs::temp_directory_path() / "bandmatch-session-fuzzer";
    fs::create_directories(path);
    fs::current_path(path);
    return path;
  }();
  return directory;
}

bool isTemporaryName(const std::string& name) {
  const std::string mark = ".bm-tmp-" + std::to_string(::getpid()) + "-";
  return name.size() > mark.size() && name.starts_with(mark) &&
         name.find_first_not_of("0123456789", mark.size()) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path& directory = scratchDirectory();
  std::string input(reinterpret_cast<const char*>(data), size);
  // Result file names are used as typed; without a slash they stay inside the scratch directory.
  for (char& c : input) {
    if (c == '/') {
      c = '_';
    }
  }
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = bandmatch::runPasses(in, out, err, bandmatch::support::fixedClock());
  check(status == bandmatch::EXIT_STATUS_DONE || status == bandmatch::EXIT_STATUS_FAILED);
  // Whatever way the session ended, no temporary report file is left behind. Reports end in
  // .txt or .csv, whatever name was typed; only a temporary is ".bm-tmp-PID-N".
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(directory, ignored)) {
    check(!isTemporaryName(entry.path().filename().string()));
    fs::remove_all(entry.path(), ignored);
  }
  return 0;
}
