// The IEC 60063 series against the series' own rule (ten-to-the-i-over-n, rounded, with the
// documented exceptions), and the nearest-value choice against a plain table lookup written
// here: geometric midpoints between neighbours of one decade.
#include "network/standard_values.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace bandmatch {
namespace {

// 10^(i/n) rounded to the series' digits; E12 and E24 keep their historic values where the rule
// differs (2.7 for 2.6 ... 8.2 for 8.3), E192 has 920 for 919, E12/E48/E96 thin out E24/E192.
std::vector<int> ruleTable(PreferredSeries series) {
  const bool twoDigits = series == PreferredSeries::e12 || series == PreferredSeries::e24;
  const int n = twoDigits ? 24 : 192;
  const int step = series == PreferredSeries::e12 || series == PreferredSeries::e96 ? 2
                   : series == PreferredSeries::e48                                 ? 4
                                                                                    : 1;
  std::vector<int> table;
  for (int i = 0; i < n; i += step) {
    int value =
        static_cast<int>(std::lround(std::pow(10.0, i / double(n)) * (twoDigits ? 10 : 100)));
    const std::vector<std::pair<int, int>> exceptions = {{26, 27}, {29, 30}, {32, 33}, {35, 36},
                                                         {38, 39}, {42, 43}, {46, 47}, {83, 82}};
    for (const auto& [rule, historic] : exceptions) {
      value = twoDigits && value == rule ? historic : value;
    }
    table.push_back(!twoDigits && value == 919 ? 920 : value);
  }
  return table;
}

const PreferredSeries ALL[] = {PreferredSeries::e12, PreferredSeries::e24, PreferredSeries::e48,
                               PreferredSeries::e96, PreferredSeries::e192};

TEST(StandardValues, TablesFollowTheSeriesRule) {
  const std::size_t sizes[] = {12, 24, 48, 96, 192};
  for (std::size_t i = 0; i < 5; ++i) {
    const std::span<const int> table = preferredSignificands(ALL[i]);
    EXPECT_EQ(table.size(), sizes[i]);
    EXPECT_EQ(std::vector<int>(table.begin(), table.end()), ruleTable(ALL[i]))
        << preferredSeriesName(ALL[i]);
  }
}

// A plain lookup: the value's mantissa in [1, 10) against the midpoints between neighbours,
// with the next decade's first value closing the table.
double lookedUp(double value, PreferredSeries series) {
  std::vector<int> table = ruleTable(series);
  const double unit = table.front();
  table.push_back(static_cast<int>(unit) * 10);
  const double decade = std::floor(std::log10(value));
  const double mantissa = value / std::pow(10.0, decade) * unit;
  std::size_t k = 0;
  while (k + 1 < table.size() && mantissa > std::sqrt(double(table[k]) * table[k + 1])) {
    ++k;
  }
  return table[k] / unit * std::pow(10.0, decade);
}

TEST(StandardValues, NearestValueEqualsAPlainTableLookup) {
  std::mt19937_64 generator(20261207);
  std::uniform_real_distribution<double> exponent(-14.0, 3.0);
  for (const PreferredSeries series : ALL) {
    for (int i = 0; i < 300; ++i) {
      const double value = std::pow(10.0, exponent(generator));
      const std::optional<double> chosen = nearestStandardValue(value, series);
      ASSERT_TRUE(chosen) << value;
      EXPECT_NEAR(*chosen, lookedUp(value, series), 1e-12 * *chosen)
          << preferredSeriesName(series) << " for " << value;
    }
  }
}

TEST(StandardValues, DecadeEdgesAndExactValues) {
  const struct {
    PreferredSeries series;
    double value;
    double chosen;
  } cases[] = {
      {PreferredSeries::e24, 9.5e-9, 9.1e-9},    {PreferredSeries::e24, 9.6e-9, 1e-8},
      {PreferredSeries::e24, 0.96, 1.0},         {PreferredSeries::e24, 1.04, 1.0},
      {PreferredSeries::e96, 987e-12, 976e-12},  {PreferredSeries::e96, 988e-12, 1e-9},
      {PreferredSeries::e12, 8.9e-7, 8.2e-7},    {PreferredSeries::e12, 9.1e-7, 1e-6},
      {PreferredSeries::e192, 993.0, 988.0},     {PreferredSeries::e192, 995.0, 1000.0},
      {PreferredSeries::e48, 4.7e-12, 4.64e-12}, {PreferredSeries::e24, 4.7e-12, 4.7e-12},
      {PreferredSeries::e192, 9.2e-6, 9.2e-6},   {PreferredSeries::e24, 1e-15, 1e-15},
  };
  for (const auto& c : cases) {
    // Exact decimals come out as the double nearest to them.
    EXPECT_EQ(nearestStandardValue(c.value, c.series), c.chosen)
        << preferredSeriesName(c.series) << " for " << c.value;
  }
}

TEST(StandardValues, ValuesWithoutAStandardValueAreRefused) {
  for (const double value : {0.0, -4.7e-9, 1.0 / 0.0, std::nan(""), 1.75e308}) {
    EXPECT_FALSE(nearestStandardValue(value, PreferredSeries::e24)) << value;
  }
}

TEST(StandardValues, SeriesNamesInEitherCase) {
  EXPECT_EQ(preferredSeriesFromName("E24"), PreferredSeries::e24);
  EXPECT_EQ(preferredSeriesFromName("e192"), PreferredSeries::e192);
  EXPECT_EQ(preferredSeriesFromName("e12"), PreferredSeries::e12);
  for (const char* name : {"E6", "", "E 24", "E2", "E1920", "24"}) {
    EXPECT_FALSE(preferredSeriesFromName(name)) << name;
  }
  for (const PreferredSeries series : ALL) {
    EXPECT_EQ(preferredSeriesFromName(preferredSeriesName(series)), series);
  }
}

}  // namespace
}  // namespace bandmatch
