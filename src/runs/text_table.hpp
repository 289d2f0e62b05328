// Plain-text tables of the companion programs' summaries: columns padded to their widest cell.
#pragma once

#include <string>
#include <vector>

namespace bandmatch {

// One line per row, the cells of a column padded to its widest cell and separated by two
// blanks; no line ends in blanks. Every row has the header's number of cells.
std::string alignedTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace bandmatch
