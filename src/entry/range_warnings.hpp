// Advisory warnings when the pass's load decrement or load Q lies outside its recommended range.
#pragma once

#include <ostream>

#include "core/design_case.hpp"

namespace bandmatch {

// The decrement's warning block alone, for a decrement without a band (and so without a Q).
void showDecrementWarning(std::ostream& out, double decrement);

// Zero, one or two warning blocks on the console, the decrement first; nothing is changed.
void showRangeWarnings(std::ostream& out, const DesignCase& design);

}  // namespace bandmatch
