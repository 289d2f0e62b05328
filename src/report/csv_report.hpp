// The spreadsheet rendering of a design: the comma-free credits block, then rows whose line
// numbers up to the prototype values are the same for every design.
#pragma once

#include <ostream>
#include <string_view>

#include "core/design_case.hpp"

namespace bandmatch {

void writeCsvReport(std::ostream& file, const DesignCase& design, std::string_view dateStamp);

}  // namespace bandmatch
