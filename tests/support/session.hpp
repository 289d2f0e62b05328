// Shared test helpers: a scratch working directory, and a whole run of the program
// driven in-process on a string of answers.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "report/credits.hpp"
#include "support/fixed_clock.hpp"

namespace bandmatch::support {

// Makes a fresh empty directory and works inside it for the lifetime of the object.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

struct SessionResult {
  std::string console;
  std::string errors;
  int status = -1;
};

// Runs runPasses on the given answers in the current directory.
SessionResult runSession(std::string_view input, const LocalClock& clock = fixedClock());

// Whole content of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& file);

// Lines without their newline characters; a final newline does not start another line.
std::vector<std::string> splitLines(std::string_view text);

// The credits block of a pass with the fixed stamp (tests/data/credits.txt); commaFree gives the
// CSV report's rendering.
std::string expectedCreditsBlock(bool commaFree = false);

}  // namespace bandmatch::support
