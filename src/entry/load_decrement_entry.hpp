// Completes the load description: the decrement typed directly, the load Q, or the load's slope
// parameters, with the average resistance or conductance that scales the network.
#pragma once

#include <istream>
#include <ostream>

#include "console/console_input.hpp"
#include "core/design_case.hpp"

namespace bandmatch {

// Runs the path chosen by method and loadType; sets decrement, loadQ and the load's level. Each
// refused answer is explained on `reasons` (see tellRefusal) before its question repeats.
EntryStatus enterLoadDecrement(std::istream& in, std::ostream& out, DesignCase& design,
                               std::ostream* reasons = nullptr);

}  // namespace bandmatch
