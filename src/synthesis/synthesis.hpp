// The match synthesis of one pass, after the dialogue: solver, match figures, prototype values,
// element values, in that order. Writes nothing to any stream.
#pragma once

#include "core/design_case.hpp"

namespace bandmatch {

void synthesize(DesignCase& design);

}  // namespace bandmatch
