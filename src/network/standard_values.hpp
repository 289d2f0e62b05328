// The preferred number series of IEC 60063 (E12 to E192) in which inductors and capacitors are
// sold, and the nearest standard value to a designed one.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace bandmatch {

enum class PreferredSeries { e12, e24, e48, e96, e192 };

// "E12", "E24", "E48", "E96" or "E192", in either letter case.
std::optional<PreferredSeries> preferredSeriesFromName(std::string_view name);

// "E12" ... "E192".
std::string_view preferredSeriesName(PreferredSeries series);

// The values of one decade as whole numbers of two significant digits (E12, E24: 10 to 91) or
// three (E48, E96, E192: 100 to 988), ascending.
std::span<const int> preferredSignificands(PreferredSeries series);

// The value of the series nearest to `value` on a logarithmic scale, in any decade (9.6 goes up
// to 10 in E24). Nothing for a value that is not positive and finite, or whose nearest standard
// value lies outside the range of doubles.
std::optional<double> nearestStandardValue(double value, PreferredSeries series);

}  // namespace bandmatch
