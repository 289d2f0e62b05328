// The summaries' plain-text tables, written out by hand.
#include "runs/text_table.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bandmatch {
namespace {

// Each column as wide as its widest cell, two blanks between columns, none at a line's end (an
// empty last cell included).
TEST(TextTable, PadsEachColumnToItsWidestCell) {
  const struct {
    std::vector<std::vector<std::string>> rows;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{{"variant", "|S11|"}, {"ideal", "0.1"}, {"E12 values", "0.25"}},
       "variant     |S11|\n"
       "ideal       0.1\n"
       "E12 values  0.25\n"},
      {{{"a", "b", "c"}, {"long cell", "", ""}, {"", "x", "y"}},
       "a          b  c\n"
       "long cell\n"
       "           x  y\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(alignedTable(c.rows), c.text);
  }
}

}  // namespace
}  // namespace bandmatch
