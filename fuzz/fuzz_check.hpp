// The one way a fuzz target reports a broken promise: abort, so libFuzzer keeps the input.
#pragma once

#include <cstdlib>

namespace bandmatch::fuzzing {

inline void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

}  // namespace bandmatch::fuzzing
