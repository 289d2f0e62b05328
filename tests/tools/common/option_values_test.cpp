// Whole integers of the companion programs' options: the word is the number, or nothing.
#include "tools/common/option_values.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace bandmatch {
namespace {

TEST(OptionValues, ReadsAWholeWordAsAnInteger) {
  const struct {
    std::string_view word;
    std::optional<int> integer;
    std::optional<std::uint64_t> unsignedInteger;
  } cases[] = {
      {"0", 0, 0U},
      {"42", 42, 42U},
      {"-5", -5, std::nullopt},
      {"2147483647", 2147483647, 2147483647U},
      {"2147483648", std::nullopt, 2147483648U},
      {"18446744073709551615", std::nullopt, 18446744073709551615ULL},
      {"18446744073709551616", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"+5", std::nullopt, std::nullopt},
      {" 5", std::nullopt, std::nullopt},
      {"5 ", std::nullopt, std::nullopt},
      {"5e2", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseWholeInteger(c.word), c.integer) << '"' << c.word << '"';
    EXPECT_EQ(parseWholeUnsigned(c.word), c.unsignedInteger) << '"' << c.word << '"';
  }
}

}  // namespace
}  // namespace bandmatch
