// The clock a companion program reports the time of its work by: seconds from any fixed origin,
// given by the caller so that a test runs the program with a clock that stands still.
#pragma once

#include <functional>

namespace bandmatch {

using SecondsClock = std::function<double()>;

}  // namespace bandmatch
