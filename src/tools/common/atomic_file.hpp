// Writes a set of output files so that none is ever left half-written: each is written in full
// under a temporary name beside it, and only then renamed into place.
#pragma once

#include <string>
#include <vector>

namespace bandmatch {

struct OutputFile {
  std::string path;
  std::string content;
};

// Writes every file, or none: a failure before the renames removes all temporary files and
// leaves any existing files untouched. Returns an empty text on success, else the reason
// ("cannot write PATH: ...").
std::string writeFilesAtomically(const std::vector<OutputFile>& files);

}  // namespace bandmatch
