// The sweep around the band, and the exporter's AC analysis of real designs against the match
// the report promises.
#include "network/sweep.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "formats/csv_report_reader.hpp"
#include "support/report_files.hpp"

namespace bandmatch {
namespace {

struct SweepCase {
  double f1;
  double f2;
  double span;
  double lower;
  double upper;
};

// Ends worked out by hand: f1 - (F - 1)(f2 - f1)/2 and f2 + (F - 1)(f2 - f1)/2, the lower end
// never below f1 / 10.
TEST(Sweep, WidensTheBandAboutItsMiddleAndStaysAboveATenthOfF1) {
  const std::vector<SweepCase> cases = {
      {10.0, 20.0, 1.0, 10.0, 20.0}, {10.0, 20.0, 1.5, 7.5, 22.5},  {10.0, 20.0, 2.5, 2.5, 27.5},
      {10.0, 20.0, 3.0, 1.0, 30.0},  {10.0, 20.0, 10.0, 1.0, 65.0}, {1.0, 10.0, 10.0, 0.1, 50.5},
      {0.5, 2.0, 1.5, 0.125, 2.375},
  };
  for (const SweepCase& c : cases) {
    const Sweep sweep = sweepAroundBand(c.f1, c.f2, c.span, 801);
    EXPECT_DOUBLE_EQ(sweep.lowerMHz, c.lower) << c.f1 << " " << c.f2 << " " << c.span;
    EXPECT_DOUBLE_EQ(sweep.upperMHz, c.upper) << c.f1 << " " << c.f2 << " " << c.span;
    EXPECT_EQ(sweep.points, 801);
  }
}

TEST(Sweep, SpacesThePointsEvenlyFromEndToEnd) {
  LadderNetwork ladder;
  ladder.loadResistance = 50.0;
  ladder.sourceResistance = 50.0;
  for (const int points : {2, 3, 801, 100000}) {
    const Sweep sweep = sweepAroundBand(3.0, 7.0, 1.0, points);
    const FrequencyResponse response = analyseSweep(ladder, sweep);
    ASSERT_EQ(response.frequencyMHz.size(), static_cast<std::size_t>(points));
    ASSERT_EQ(response.reflection.size(), static_cast<std::size_t>(points));
    EXPECT_EQ(response.frequencyMHz.front(), 3.0);
    EXPECT_EQ(response.frequencyMHz.back(), 7.0);
    const double step = 4.0 / (points - 1);
    for (int i = 1; i < points; ++i) {
      const auto at = static_cast<std::size_t>(i);
      EXPECT_NEAR(response.frequencyMHz[at] - response.frequencyMHz[at - 1], step, 1e-12);
    }
    // A bare load equal to the source reflects nothing.
    EXPECT_EQ(std::abs(response.reflection[static_cast<std::size_t>(points / 2)]), 0.0);
  }
}

struct Design {
  int n;
  double decrement;
  LoadType loadType;
};

// The extremes of |S11| over the band, sampled densely enough that the ripple crests and troughs
// of ten resonators are found within the tolerance, equal the reported rhoMin and rhoMax.
TEST(Sweep, ReflectionOverTheBandSpansTheReportedMinimumAndMaximum) {
  const std::vector<Design> designs = {
      {1, 1.0, LoadType::series},    {1, 0.5, LoadType::parallel}, {2, 1.0, LoadType::series},
      {2, 2.0, LoadType::parallel},  {3, 1.0, LoadType::series},   {3, 1.0, LoadType::parallel},
      {4, 2.0, LoadType::series},    {5, 0.7, LoadType::parallel}, {10, 1.0, LoadType::series},
      {10, 0.5, LoadType::parallel},
  };
  for (const Design& d : designs) {
    const DesignCase written = testing::synthesizedDesign(d.n, d.decrement, d.loadType, 10.0, 20.0);
    const ReportReading reading = readCsvReport(testing::realReportText(written));
    ASSERT_TRUE(reading.design) << reading.error;
    const ReportedDesign& design = *reading.design;
    const FrequencyResponse response =
        analyseSweep(design.ladder, sweepAroundBand(design.f1, design.f2, 1.0, 20001));
    double smallest = 1.0;
    double largest = 0.0;
    for (const std::complex<double>& s11 : response.reflection) {
      smallest = std::min(smallest, std::abs(s11));
      largest = std::max(largest, std::abs(s11));
    }
    const std::string name = "N = " + std::to_string(d.n) + ", decrement " +
                             std::to_string(d.decrement) +
                             (d.loadType == LoadType::series ? ", series" : ", parallel");
    EXPECT_NEAR(smallest, design.rhoMin, 1e-4 * design.rhoMin) << name;
    EXPECT_NEAR(largest, design.rhoMax, 1e-4 * design.rhoMax) << name;
  }
}

// A response on a measured load has reflections only, no gains: they are not read past the end.
TEST(Sweep, FindsTheFirstPointWithoutAFiniteResponse) {
  const double nan = std::nan("");
  const struct {
    std::vector<std::complex<double>> reflection;
    std::vector<double> gain;
    std::optional<double> expected;
  } cases[] = {
      {{0.1, 0.2, 0.3}, {}, std::nullopt},
      {{0.1, {0.2, nan}, 0.3}, {}, 2.0},
      {{0.1, 0.2, 0.3}, {1.0, 1.0, HUGE_VAL}, 3.0},
      {{0.1, 0.2, nan}, {nan, 1.0, 1.0}, 1.0},
  };
  for (const auto& c : cases) {
    FrequencyResponse response;
    response.frequencyMHz = {1.0, 2.0, 3.0};
    response.reflection = c.reflection;
    response.transducerGain = c.gain;
    response.transducerGain.reserve(3);
    EXPECT_EQ(firstNonFiniteFrequency(response), c.expected);
  }
}

}  // namespace
}  // namespace bandmatch
