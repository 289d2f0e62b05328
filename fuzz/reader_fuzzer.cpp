// Feeds arbitrary bytes to the console readers and checks what every reader promises.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "console/console_input.hpp"
#include "core/white_space.hpp"
#include "fuzz_check.hpp"

namespace {

using bandmatch::fuzzing::check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bandmatch;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream in(bytes);
  std::ostringstream out;
  // The first byte picks the order in which the readers take the input.
  const unsigned order = size > 0 ? data[0] : 0U;
  for (unsigned call = 0;; ++call) {
    switch ((order >> (2 * (call % 4))) & 3U) {
      case 0: {
        const auto word = readWord(in, out);
        if (!word) {
          return 0;
        }
        check(!word->empty());
        for (const char c : *word) {
          check(!isWhiteSpace(c));
        }
        const int integer = integerFromWord(*word);
        check(integer == REFUSED_INTEGER || integer >= 0);
        const double real = realFromWord(*word);
        check(real == REFUSED_REAL || (real >= 0.0 && std::isfinite(real)));
        break;
      }
      case 1: {
        const auto integer = readInteger(in, out);
        if (!integer) {
          return 0;
        }
        check(*integer == REFUSED_INTEGER || *integer >= 0);
        break;
      }
      case 2: {
        const auto real = readReal(in, out);
        if (!real) {
          return 0;
        }
        check(*real == REFUSED_REAL || (*real >= 0.0 && std::isfinite(*real)));
        break;
      }
      default: {
        const auto choice = readChoice(in, out);
        if (!choice) {
          return 0;
        }
        check(!isWhiteSpace(*choice));
        break;
      }
    }
  }
}
