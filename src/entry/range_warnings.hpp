// Advisory warnings when the pass's load decrement or load Q lies outside its recommended range.
#pragma once

#include <ostream>

#include "core/design_case.hpp"

namespace bandmatch {

// Zero, one or two warning blocks on the console, the decrement first; nothing is changed.
void showRangeWarnings(std::ostream& out, const DesignCase& design);

}  // namespace bandmatch
