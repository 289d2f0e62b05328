// Where an exported file comes from, named in its header: the program that wrote it, with the
// project's version, and the report it describes.
#pragma once

#include <string_view>

#include "core/version.hpp"

namespace bandmatch {

struct FileOrigin {
  std::string_view program;        // "bandmatch-export"
  std::string_view reportName;     // the report's path as the user gave it
  std::string_view loadName = {};  // a measured load the network is analysed on, if any
};

}  // namespace bandmatch
