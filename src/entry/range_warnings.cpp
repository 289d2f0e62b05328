#include "entry/range_warnings.hpp"

namespace bandmatch {

void showRangeWarnings(std::ostream&, const DesignCase&) {}

}  // namespace bandmatch
