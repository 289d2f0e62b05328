// Where an exported file comes from, named in its header: the program that wrote it, with the
// project's version, the report it describes, and how the network was built from the report's.
#pragma once

#include <string_view>

#include "core/version.hpp"

namespace bandmatch {

struct FileOrigin {
  std::string_view program;        // "bandmatch-export"
  std::string_view reportName;     // the report's path as the user gave it
  std::string_view loadName = {};  // a measured load the network is analysed on, if any
  std::string_view network = {};   // what the build options changed ("E24 values; ..."), if any
};

}  // namespace bandmatch
