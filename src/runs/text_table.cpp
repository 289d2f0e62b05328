#include "runs/text_table.hpp"

#include <algorithm>
#include <string_view>

namespace bandmatch {

namespace {

constexpr std::string_view COLUMN_GAP = "  ";

}  // namespace

std::string alignedTable(const std::vector<std::vector<std::string>>& rows) {
  if (rows.empty()) {
    return {};
  }
  std::vector<std::size_t> widths(rows.front().size(), 0);
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], row[c].size());
    }
  }
  std::string text;
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      text += row[c];
      if (c + 1 < row.size()) {
        text += std::string(widths[c] - row[c].size(), ' ') + std::string(COLUMN_GAP);
      }
    }
    // An empty last cell leaves no blanks at the end of the line.
    while (!text.empty() && text.back() == ' ') {
      text.pop_back();
    }
    text += '\n';
  }
  return text;
}

}  // namespace bandmatch
