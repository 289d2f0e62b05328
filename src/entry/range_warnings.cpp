#include "entry/range_warnings.hpp"

#include <string>
#include <string_view>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "entry/answer_ranges.hpp"

namespace bandmatch {

namespace {

constexpr int LIMIT_DIGITS = 6;
constexpr std::string_view RULE =
    "--------------------------------------------------------------------------------";
static_assert(RULE.size() == 80);

constexpr std::string_view DECREMENT_BELOW =
    " WARNING: Load Decrement < Recommended minimun Load Decrement (";
constexpr std::string_view DECREMENT_ABOVE =
    " WARNING: Load Decrement > Recommended maximum Load Decrement (";
constexpr std::string_view LOAD_Q_BELOW = " WARNING: Load Q < Recommended minimun Load Q (";
constexpr std::string_view LOAD_Q_ABOVE = " WARNING: Load Q > Recommended maximum Load Q (";

void writeWarningBlock(std::ostream& out, std::string_view message, double limit) {
  writeLine(out);
  writeLine(out, RULE);
  writeLine(out, std::string(message) + formatFixed(limit, LIMIT_DIGITS) + ") ");
  writeLine(out, RULE);
  writeLine(out);
}

// A value equal to a limit is inside the recommended range.
void checkRange(std::ostream& out, double value, double low, double high,
                std::string_view belowMessage, std::string_view aboveMessage) {
  if (value < low) {
    writeWarningBlock(out, belowMessage, low);
  } else if (value > high) {
    writeWarningBlock(out, aboveMessage, high);
  }
}

}  // namespace

void showDecrementWarning(std::ostream& out, double decrement) {
  checkRange(out, decrement, minDecrement, maxDecrement, DECREMENT_BELOW, DECREMENT_ABOVE);
}

void showRangeWarnings(std::ostream& out, const DesignCase& design) {
  showDecrementWarning(out, design.decrement);
  checkRange(out, design.loadQ, minLoadQ, maxLoadQ, LOAD_Q_BELOW, LOAD_Q_ABOVE);
}

}  // namespace bandmatch
