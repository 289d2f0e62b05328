// The golden transcripts under tests/data/: whole runs written out by hand, kept once and read
// by every test that needs them.
#pragma once

#include <string>
#include <string_view>

namespace bandmatch::support {

// The whole content of tests/data/RUN/FILE; empty when it cannot be read.
std::string golden(std::string_view run, std::string_view file);

}  // namespace bandmatch::support
