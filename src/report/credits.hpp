// The date stamp of a pass and the thirteen-line credits block that opens each rendering.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace bandmatch {

// Local calendar time, or nothing when the clock or the time zone cannot be read. Handed in so
// that tests fix the time and main uses the system clock.
using LocalClock = std::function<std::optional<std::tm>()>;

// The system clock converted to local time.
std::optional<std::tm> systemLocalTime();

// 24 characters, "Mon Mar 01 2027 09:05:07", with English names whatever the locale.
std::string formatDateStamp(const std::tm& localTime);

// Reads the clock once and formats it; a stamp of question marks when the time is unknown.
std::string takeDateStamp(const LocalClock& clock);

// Thirteen lines opening with and closing on an empty line. commaFree deletes every comma, so
// each line is a single CSV cell.
void writeCreditsBlock(std::ostream& out, std::string_view dateStamp, bool commaFree);

}  // namespace bandmatch
