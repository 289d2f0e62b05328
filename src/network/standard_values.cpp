#include "network/standard_values.hpp"

#include <array>
#include <cmath>
#include <limits>

namespace bandmatch {

namespace {

// IEC 60063, one decade each.
constexpr std::array<int, 12> E12 = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
constexpr std::array<int, 24> E24 = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                     33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
constexpr std::array<int, 48> E48 = {100, 105, 110, 115, 121, 127, 133, 140, 147, 154, 162, 169,
                                     178, 187, 196, 205, 215, 226, 237, 249, 261, 274, 287, 301,
                                     316, 332, 348, 365, 383, 402, 422, 442, 464, 487, 511, 536,
                                     562, 590, 619, 649, 681, 715, 750, 787, 825, 866, 909, 953};
constexpr std::array<int, 96> E96 = {
    100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
    147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
    215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
    316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
    464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
    681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};
constexpr std::array<int, 192> E192 = {
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120, 121, 123,
    124, 126, 127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145, 147, 149, 150, 152,
    154, 156, 158, 160, 162, 164, 165, 167, 169, 172, 174, 176, 178, 180, 182, 184, 187, 189,
    191, 193, 196, 198, 200, 203, 205, 208, 210, 213, 215, 218, 221, 223, 226, 229, 232, 234,
    237, 240, 243, 246, 249, 252, 255, 258, 261, 264, 267, 271, 274, 277, 280, 284, 287, 291,
    294, 298, 301, 305, 309, 312, 316, 320, 324, 328, 332, 336, 340, 344, 348, 352, 357, 361,
    365, 370, 374, 379, 383, 388, 392, 397, 402, 407, 412, 417, 422, 427, 432, 437, 442, 448,
    453, 459, 464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530, 536, 542, 549, 556,
    562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673, 681, 690,
    698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816, 825, 835, 845, 856,
    866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};

struct SeriesEntry {
  PreferredSeries series;
  std::string_view name;
  std::span<const int> significands;
};

constexpr std::array<SeriesEntry, 5> SERIES = {{
    {PreferredSeries::e12, "E12", E12},
    {PreferredSeries::e24, "E24", E24},
    {PreferredSeries::e48, "E48", E48},
    {PreferredSeries::e96, "E96", E96},
    {PreferredSeries::e192, "E192", E192},
}};

const SeriesEntry& entryOf(PreferredSeries series) {
  return SERIES[static_cast<std::size_t>(series)];
}

char upperCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// significand * 10^exponent as the double nearest to that decimal: powers of ten up to 1e22 are
// exact, so one multiplication or division rounds only once.
double scaledDecimal(int significand, int exponent) {
  const double power = std::pow(10.0, std::abs(exponent));
  return exponent >= 0 ? significand * power : significand / power;
}

}  // namespace

std::optional<PreferredSeries> preferredSeriesFromName(std::string_view name) {
  for (const SeriesEntry& entry : SERIES) {
    if (name.size() == entry.name.size()) {
      bool same = true;
      for (std::size_t i = 0; i < name.size(); ++i) {
        same = same && upperCase(name[i]) == entry.name[i];
      }
      if (same) {
        return entry.series;
      }
    }
  }
  return std::nullopt;
}

std::string_view preferredSeriesName(PreferredSeries series) {
  return entryOf(series).name;
}

std::span<const int> preferredSignificands(PreferredSeries series) {
  return entryOf(series).significands;
}

std::optional<double> nearestStandardValue(double value, PreferredSeries series) {
  if (!std::isfinite(value) || !(value > 0.0)) {
    return std::nullopt;
  }
  const std::span<const int> significands = preferredSignificands(series);
  const int digits = significands.front() >= 100 ? 3 : 2;
  // Distances are compared as logarithms, so a candidate beyond the range of doubles still
  // counts (and is then refused); the decade below and above take part too: 9.6 rounds up to
  // the next decade's 10.
  const double target = std::log10(value);
  const int decade = static_cast<int>(std::floor(target));
  int bestSignificand = 0;
  int bestExponent = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (int exponent = decade - digits; exponent <= decade - digits + 2; ++exponent) {
    for (const int significand : significands) {
      const double distance = std::fabs(std::log10(significand) + exponent - target);
      if (distance < bestDistance) {
        bestSignificand = significand;
        bestExponent = exponent;
        bestDistance = distance;
      }
    }
  }
  const double best = scaledDecimal(bestSignificand, bestExponent);
  if (!std::isfinite(best) || !(best > 0.0)) {
    return std::nullopt;
  }
  return best;
}

}  // namespace bandmatch
