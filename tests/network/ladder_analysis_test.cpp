// Physical check of synthesized networks: an AC analysis of the ladder built from the element
// values, independent of the scaling code, must show the reflection the match figures promise.
#include "network/ladder_analysis.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "support/printed_values.hpp"

namespace bandmatch {
namespace {

using testing::synthesizedDesign;

// Expected values evaluated by hand from the circuit: at 12 MHz, 50 ohm load, position 1
// L = 1 uH, C = 100 pF, position 2 L = 200 nH, C = 500 pF, source 40 ohms.
TEST(LadderAnalysis, MatchesHandEvaluatedCircuits) {
  const double tolerance = 1e-9;
  LadderNetwork series;
  series.loadType = LoadType::series;
  series.inductance = {1e-6, 2e-7};
  series.capacitance = {1e-10, 5e-10};
  series.loadResistance = 50.0;
  series.sourceResistance = 40.0;
  const std::complex<double> seriesImpedance = inputImpedance(series, 12.0);
  EXPECT_NEAR(seriesImpedance.real(), 20.376930540455703, tolerance);
  EXPECT_NEAR(seriesImpedance.imag(), 44.02804982872263, tolerance);
  const std::complex<double> seriesReflection = inputReflection(series, 12.0);
  EXPECT_NEAR(seriesReflection.real(), 0.1349766606414259, tolerance);
  EXPECT_NEAR(seriesReflection.imag(), 0.6307920980310221, tolerance);

  LadderNetwork parallel = series;
  parallel.loadType = LoadType::parallel;
  const std::complex<double> parallelImpedance = inputImpedance(parallel, 12.0);
  EXPECT_NEAR(parallelImpedance.real(), 46.21565916468934, tolerance);
  EXPECT_NEAR(parallelImpedance.imag(), 1.7786387023640557, tolerance);
  const std::complex<double> parallelReflection = inputReflection(parallel, 12.0);
  EXPECT_NEAR(parallelReflection.real(), 0.07248906825132487, tolerance);
  EXPECT_NEAR(parallelReflection.imag(), 0.019134654377839486, tolerance);

  // One series resonator at 10 MHz: 50 + j(62.83185 - 159.15494) ohms.
  series.inductance.resize(1);
  series.capacitance.resize(1);
  const std::complex<double> single = inputImpedance(series, 10.0);
  EXPECT_NEAR(single.real(), 50.0, tolerance);
  EXPECT_NEAR(single.imag(), -96.3230900200995, tolerance);
}

// A measured load enters as the impedance at position 1's source side; with the model's own
// position 1 worked out here by hand, the walk from position 2 must give the whole ladder's.
TEST(LadderAnalysis, StartsFromAGivenImpedanceAtAnyPosition) {
  for (const LoadType type : {LoadType::series, LoadType::parallel}) {
    LadderNetwork ladder;
    ladder.loadType = type;
    ladder.inductance = {1e-6, 2e-7, 3e-7};
    ladder.capacitance = {1e-10, 5e-10, 4e-10};
    ladder.loadResistance = 50.0;
    ladder.sourceResistance = 40.0;
    const double frequency = 12.0;
    const double w = 2.0 * std::numbers::pi * 1e6 * frequency;
    const std::complex<double> j(0.0, 1.0);
    const std::complex<double> position1 =
        type == LoadType::series ? 50.0 + j * (w * 1e-6 - 1.0 / (w * 1e-10))
                                 : 1.0 / (1.0 / 50.0 + j * (w * 1e-10 - 1.0 / (w * 1e-6)));
    const std::complex<double> whole = inputImpedance(ladder, frequency);
    const std::complex<double> fromTwo = impedanceFromPosition(ladder, 2, position1, frequency);
    EXPECT_NEAR(std::abs(fromTwo - whole), 0.0, 1e-9 * std::abs(whole));
    // Past the last position the terminal is seen as it is.
    EXPECT_EQ(impedanceFromPosition(ladder, 4, position1, frequency), position1);
    const std::complex<double> reflection = reflectionAtSource(ladder, 40.0 + j * 30.0);
    EXPECT_NEAR(std::abs(reflection - j * 30.0 / (80.0 + j * 30.0)), 0.0, 1e-15);
  }
}

TEST(LadderAnalysis, TakesPositionsOneToNOfTheDesign) {
  DesignCase design;
  design.N = 2;
  design.loadType = LoadType::parallel;
  design.L = {9.0, 1.0, 2.0, 9.0};
  design.C = {9.0, 3.0, 4.0, 9.0};
  design.loadResistance = 50.0;
  design.sourceResistance = 60.0;
  const LadderNetwork ladder = ladderFromDesign(design);
  EXPECT_EQ(ladder.loadType, LoadType::parallel);
  EXPECT_EQ(ladder.inductance, (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(ladder.capacitance, (std::vector<double>{3.0, 4.0}));
  EXPECT_EQ(ladder.loadResistance, 50.0);
  EXPECT_EQ(ladder.sourceResistance, 60.0);
}

double reflectionMagnitude(const LadderNetwork& ladder, double frequencyMHz) {
  return std::abs(inputReflection(ladder, frequencyMHz));
}

// Golden-section search for the local minimum (sign +1) or maximum (sign -1) in [low, high].
double refineExtremum(const LadderNetwork& ladder, double low, double high, double sign) {
  const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
  double inner1 = high - ratio * (high - low);
  double inner2 = low + ratio * (high - low);
  double value1 = sign * reflectionMagnitude(ladder, inner1);
  double value2 = sign * reflectionMagnitude(ladder, inner2);
  for (int step = 0; step < 60; ++step) {
    if (value1 < value2) {
      high = inner2;
      inner2 = inner1;
      value2 = value1;
      inner1 = high - ratio * (high - low);
      value1 = sign * reflectionMagnitude(ladder, inner1);
    } else {
      low = inner1;
      inner1 = inner2;
      value1 = value2;
      inner2 = low + ratio * (high - low);
      value2 = sign * reflectionMagnitude(ladder, inner2);
    }
  }
  return sign * std::min(value1, value2);
}

struct Extremes {
  double min;
  double max;
};

// |Gamma| from f1 to f2, sampled evenly in log frequency (which spreads the ripples of a wide
// band about evenly), with every sampled local extremum refined.
Extremes reflectionExtremes(const LadderNetwork& ladder, double f1, double f2) {
  const int samples = 5000;
  std::vector<double> frequency(samples);
  std::vector<double> magnitude(samples);
  for (int i = 0; i < samples; ++i) {
    frequency[i] = f1 * std::pow(f2 / f1, i / (samples - 1.0));
    magnitude[i] = reflectionMagnitude(ladder, frequency[i]);
  }
  frequency.front() = f1;
  frequency.back() = f2;
  Extremes extremes{*std::min_element(magnitude.begin(), magnitude.end()),
                    *std::max_element(magnitude.begin(), magnitude.end())};
  for (int i = 1; i + 1 < samples; ++i) {
    const double low = frequency[i - 1];
    const double high = frequency[i + 1];
    if (magnitude[i] <= magnitude[i - 1] && magnitude[i] <= magnitude[i + 1]) {
      extremes.min = std::min(extremes.min, refineExtremum(ladder, low, high, 1.0));
    }
    if (magnitude[i] >= magnitude[i - 1] && magnitude[i] >= magnitude[i + 1]) {
      extremes.max = std::max(extremes.max, refineExtremum(ladder, low, high, -1.0));
    }
  }
  return extremes;
}

// The smallest and largest |Gamma| over the band equal rhoMin and rhoMax. The solver stops at
// F1^2 + F2^2 <= 1e-9, so the realized network may differ from the figures by a few 1e-6.
TEST(NetworkCheck, ReflectionOverTheBandMatchesTheMatchFigures) {
  struct Case {
    LoadType loadType;
    int n;
    double decrement, f1, f2;
  };
  const Case cases[] = {
      {LoadType::series, 1, 1.0, 10.0, 20.0},    {LoadType::parallel, 1, 0.5, 144.0, 148.0},
      {LoadType::series, 2, 0.8, 0.5, 30.0},     {LoadType::parallel, 2, 3.0, 10.0, 20.0},
      {LoadType::parallel, 3, 1.0, 10.0, 20.0},  {LoadType::series, 3, 0.05, 144.0, 148.0},
      {LoadType::series, 4, 2.0, 144.0, 148.0},  {LoadType::parallel, 5, 0.1, 0.5, 30.0},
      {LoadType::series, 6, 0.4, 0.5, 30.0},     {LoadType::parallel, 7, 5.0, 10.0, 20.0},
      {LoadType::series, 10, 0.3, 144.0, 148.0}, {LoadType::parallel, 10, 0.3, 0.5, 30.0},
      {LoadType::series, 10, 0.05, 10.0, 20.0},  {LoadType::parallel, 10, 0.02, 144.0, 148.0},
      {LoadType::series, 9, 1.5, 0.5, 30.0},     {LoadType::parallel, 8, 0.7, 144.0, 148.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << (c.loadType == LoadType::series ? "series" : "parallel") << " N=" << c.n
                 << " decrement=" << c.decrement << " band " << c.f1 << ".." << c.f2);
    const DesignCase design = synthesizedDesign(c.n, c.decrement, c.loadType, c.f1, c.f2);
    const Extremes extremes = reflectionExtremes(ladderFromDesign(design), c.f1, c.f2);
    EXPECT_NEAR(extremes.min, design.rhoMin, 1e-4 * design.rhoMin + 1e-5);
    EXPECT_NEAR(extremes.max, design.rhoMax, 1e-4 * design.rhoMax + 1e-5);
  }
}

}  // namespace
}  // namespace bandmatch
