// A clock that always reads the same local time, for the tests and the session fuzzer: reports
// written under it carry the same date stamp on every run.
#pragma once

#include <ctime>
#include <optional>
#include <string_view>

#include "report/credits.hpp"

namespace bandmatch::support {

// A local time from its calendar fields: month 1 to 12, weekday 0 (Sunday) to 6.
inline std::tm localTime(int year, int month, int day, int weekday, int hour, int minute,
                         int second) {
  std::tm time{};
  time.tm_year = year - 1900;
  time.tm_mon = month - 1;
  time.tm_mday = day;
  time.tm_wday = weekday;
  time.tm_hour = hour;
  time.tm_min = minute;
  time.tm_sec = second;
  return time;
}

// Monday 1 March 2027, 09:05:07.
inline std::tm fixedLocalTime() {
  return localTime(2027, 3, 1, 1, 9, 5, 7);
}
inline constexpr std::string_view FIXED_DATE_STAMP = "Mon Mar 01 2027 09:05:07";

inline LocalClock fixedClock(const std::tm& time = fixedLocalTime()) {
  return [time]() -> std::optional<std::tm> { return time; };
}

}  // namespace bandmatch::support
