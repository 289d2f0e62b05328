// The console dialogue that fills the inputs of a pass: N, the decrement method, the load type
// and the band edges, then the band summary, the load decrement entry and the warnings.
#pragma once

#include <istream>
#include <ostream>

#include "console/console_input.hpp"
#include "core/design_case.hpp"

namespace bandmatch {

// The whole dialogue; inputEnded as soon as the console input runs out before it is complete.
// Each refused answer is explained on `reasons` (see tellRefusal) before its question repeats.
EntryStatus runProblemDialogue(std::istream& in, std::ostream& out, DesignCase& design,
                               std::ostream* reasons = nullptr);

// f1, then f2 above it; a rejected f2 keeps f1.
EntryStatus askBandEdges(std::istream& in, std::ostream& out, DesignCase& design,
                         std::ostream* reasons = nullptr);

// A line end, then the five-line summary of f1, f0, f2, matchBandwidth and wm.
void showBandSummary(std::ostream& out, const DesignCase& design);

}  // namespace bandmatch
