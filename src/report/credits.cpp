#include "report/credits.hpp"

#include <array>
#include <cstdio>
#include <string_view>

#include "core/text_sink.hpp"

namespace bandmatch {

namespace {

constexpr std::array<std::string_view, 7> WEEKDAY_NAMES = {"Sun", "Mon", "Tue", "Wed",
                                                           "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> MONTH_NAMES = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Shown when the local clock or time zone cannot be read; as wide as a real stamp.
constexpr std::string_view UNKNOWN_DATE_STAMP = "??? ??? ?? ???? ??:??:??";

constexpr std::string_view DATE_LINE_LEAD = "Current local date and time: ";

// The block after the date line; empty strings are empty lines.
constexpr std::array<std::string_view, 11> CREDITS_LINES = {
    "",
    "Program: bandmatch, an open implementation of Fano's broadband matching solved by Newton - "
    "Raphson with Levy's explicit formulas",
    "Newton - Raphson Solution then Levy Matching found in text:",
    "R. M. Fano, \"Theoretical limitations on the broadband matching of arbitrary impedances\",",
    "Journal of the Franklin Institute 249, 1950. R. Levy, \"Explicit formulas for Chebyshev",
    "impedance-matching networks, filters and interstages\", Proceedings of the IEE 111(6), 1964",
    "",
    "Source: src/app/main.cpp, executable: bandmatch",
    "Rev: n January 30, 2009",
    "bandmatch developers, N0CALL",
    "",
};

bool inRange(int value, int low, int high) {
  return value >= low && value <= high;
}

std::string twoDigits(int value) {
  const char text[3] = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10),
                        '\0'};
  return text;
}

std::string withoutCommas(std::string_view line) {
  std::string kept;
  kept.reserve(line.size());
  for (const char c : line) {
    if (c != ',') {
      kept += c;
    }
  }
  return kept;
}

}  // namespace

std::optional<std::tm> systemLocalTime() {
  const std::time_t now = std::time(nullptr);
  if (now == static_cast<std::time_t>(-1)) {
    return std::nullopt;
  }
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) {
    return std::nullopt;
  }
  return local;
}

std::string formatDateStamp(const std::tm& localTime) {
  const int year = localTime.tm_year + 1900;
  // A leap second shows as :60; anything else out of range means the time is not usable.
  if (!inRange(localTime.tm_wday, 0, 6) || !inRange(localTime.tm_mon, 0, 11) ||
      !inRange(localTime.tm_mday, 1, 31) || !inRange(year, 0, 9999) ||
      !inRange(localTime.tm_hour, 0, 23) || !inRange(localTime.tm_min, 0, 59) ||
      !inRange(localTime.tm_sec, 0, 60)) {
    return std::string(UNKNOWN_DATE_STAMP);
  }
  std::string stamp;
  stamp += WEEKDAY_NAMES[static_cast<std::size_t>(localTime.tm_wday)];
  stamp += ' ';
  stamp += MONTH_NAMES[static_cast<std::size_t>(localTime.tm_mon)];
  stamp += ' ';
  stamp += twoDigits(localTime.tm_mday);
  stamp += ' ';
  stamp += twoDigits(year / 100) + twoDigits(year % 100);
  stamp += ' ';
  stamp += twoDigits(localTime.tm_hour) + ':' + twoDigits(localTime.tm_min) + ':' +
           twoDigits(localTime.tm_sec);
  return stamp;
}

std::string takeDateStamp(const LocalClock& clock) {
  const std::optional<std::tm> now = clock ? clock() : std::nullopt;
  return now ? formatDateStamp(*now) : std::string(UNKNOWN_DATE_STAMP);
}

void writeCreditsBlock(std::ostream& out, std::string_view dateStamp, bool commaFree) {
  const auto render = [commaFree](std::string_view line) {
    return commaFree ? withoutCommas(line) : std::string(line);
  };
  writeLine(out);
  writeLine(out, render(std::string(DATE_LINE_LEAD) + std::string(dateStamp)));
  for (const std::string_view line : CREDITS_LINES) {
    writeLine(out, render(line));
  }
}

}  // namespace bandmatch
