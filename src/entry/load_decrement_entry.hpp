// Completes the load description: the decrement typed directly, the load Q, or the load's slope
// parameters, with the average resistance or conductance that scales the network.
#pragma once

#include <istream>
#include <ostream>

#include "console/console_input.hpp"
#include "core/design_case.hpp"

namespace bandmatch {

// Recommended limits, which are also the entry bounds of the decrement and the load Q.
inline constexpr double minDecrement = 0.01;
inline constexpr double maxDecrement = 20.0;
inline constexpr double minLoadQ = 0.0333;
inline constexpr double maxLoadQ = 300.0;

// Runs the path chosen by method and loadType; sets decrement, loadQ and the load's level.
EntryStatus enterLoadDecrement(std::istream& in, std::ostream& out, DesignCase& design);

}  // namespace bandmatch
