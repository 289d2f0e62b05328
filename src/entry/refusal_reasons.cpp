#include "entry/refusal_reasons.hpp"

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "entry/answer_ranges.hpp"

namespace bandmatch {

std::string rangeText(const ValueRange& range, int digits) {
  const std::string low = formatFixed(range.low, digits);
  const std::string high = formatFixed(range.high, digits);
  if (range.lowIncluded && range.highIncluded) {
    return "from " + low + " to " + high;
  }
  return (range.lowIncluded ? "at least " : "above ") + low + " and " +
         (range.highIncluded ? "at most " : "below ") + high;
}

std::string numberReason(const ValueRange& range, int digits) {
  return "not a number " + rangeText(range, digits);
}

std::string wholeNumberReason(int low, int high) {
  return "not a whole number from " + formatInteger(low) + " to " + formatInteger(high);
}

std::string letterReason(std::string_view letters) {
  std::string text = "answer ";
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (i > 0) {
      text += i + 1 == letters.size() ? " or " : ", ";
    }
    text += letters[i];
  }
  return text;
}

void tellRefusal(std::ostream* reasons, std::ostream& out, std::string_view reason) {
  if (reasons == nullptr) {
    return;
  }
  out.flush();
  writeLine(*reasons, std::string(MESSAGE_LEAD) + std::string(reason));
  reasons->flush();
}

}  // namespace bandmatch
