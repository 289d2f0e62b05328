// The date stamp and the credits block.
#include "report/credits.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "support/session.hpp"

namespace bandmatch {
namespace {

using support::localTime;

TEST(DateStamp, HasFixedWidthFieldsWithLeadingZeros) {
  const struct {
    std::tm time;
    const char* expected;
  } cases[] = {
      {localTime(2027, 3, 1, 1, 9, 5, 7), "Mon Mar 01 2027 09:05:07"},
      {localTime(2026, 12, 31, 4, 0, 0, 0), "Thu Dec 31 2026 00:00:00"},
      {localTime(2009, 1, 30, 5, 23, 59, 59), "Fri Jan 30 2009 23:59:59"},
      {localTime(1999, 2, 9, 2, 12, 30, 60), "Tue Feb 09 1999 12:30:60"},  // leap second
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatDateStamp(c.time), c.expected);
  }
}

TEST(DateStamp, UsesEnglishNamesForEveryWeekdayAndMonth) {
  const char* weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int day = 0; day < 7; ++day) {
    EXPECT_EQ(formatDateStamp(localTime(2027, 5, 10, day, 1, 2, 3)).substr(0, 4),
              std::string(weekdays[day]) + " ");
  }
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(formatDateStamp(localTime(2027, month, 10, 0, 1, 2, 3)).substr(4, 4),
              std::string(months[month - 1]) + " ");
  }
}

TEST(DateStamp, UnreadableTimeGivesAStampOfTheSameWidth) {
  const LocalClock brokenClock = []() -> std::optional<std::tm> { return std::nullopt; };
  EXPECT_EQ(takeDateStamp(brokenClock), "??? ??? ?? ???? ??:??:??");
  EXPECT_EQ(formatDateStamp(localTime(2027, 13, 1, 1, 0, 0, 0)), "??? ??? ?? ???? ??:??:??");
  EXPECT_EQ(formatDateStamp(localTime(2027, 1, 1, 7, 0, 0, 0)), "??? ??? ?? ???? ??:??:??");
  EXPECT_EQ(takeDateStamp(support::fixedClock()), support::FIXED_DATE_STAMP);
  // The system clock gives a real stamp of 24 characters.
  EXPECT_EQ(takeDateStamp(systemLocalTime).size(), 24U);
}

TEST(CreditsBlock, PlainRenderingHasThirteenLinesAroundTheStamp) {
  std::ostringstream out;
  writeCreditsBlock(out, support::FIXED_DATE_STAMP, false);
  EXPECT_EQ(out.str(), support::expectedCreditsBlock());
  const auto lines = support::splitLines(out.str());
  ASSERT_EQ(lines.size(), 13U);
  EXPECT_EQ(lines[1].size(), 53U);
  EXPECT_EQ(lines[10], "Rev: n January 30, 2009");
}

TEST(CreditsBlock, CommaFreeRenderingDeletesEveryCommaAndNothingElse) {
  std::ostringstream plain;
  std::ostringstream commaFree;
  writeCreditsBlock(plain, support::FIXED_DATE_STAMP, false);
  writeCreditsBlock(commaFree, support::FIXED_DATE_STAMP, true);
  const auto plainLines = support::splitLines(plain.str());
  const auto csvLines = support::splitLines(commaFree.str());
  ASSERT_EQ(csvLines.size(), 13U);
  int linesWithCommas = 0;
  for (std::size_t i = 0; i < plainLines.size(); ++i) {
    std::string expected = plainLines[i];
    linesWithCommas += std::erase(expected, ',') > 0 ? 1 : 0;
    EXPECT_EQ(csvLines[i], expected);
  }
  EXPECT_GE(linesWithCommas, 2);
  EXPECT_EQ(csvLines[10], "Rev: n January 30 2009");
  EXPECT_EQ(commaFree.str().find(','), std::string::npos);
}

}  // namespace
}  // namespace bandmatch
