// The record of one design pass: what the user entered, the band and load quantities derived
// from it, and every result of the synthesis. The dialogue and synthesis fill it; reports read it.
#pragma once

#include <algorithm>
#include <array>
#include <string>

namespace bandmatch {

// N is at most 10 and the prototype values need two terminations, g(0) and g(N+1).
inline constexpr int VALUE_CAPACITY = 12;
inline constexpr int MIN_ELEMENTS = 1;
inline constexpr int MAX_ELEMENTS = 10;

// How the load decrement is obtained; the dialogue letters are D, L and Q.
enum class Method { direct, loadParameters, fromQ };

// Series load (resistance in series with a series resonance) or its parallel dual.
enum class LoadType { series, parallel };

using ValueArray = std::array<double, VALUE_CAPACITY>;

struct DesignCase {
  // Result files of the pass, names with their suffixes.
  std::string textFileName;
  std::string csvFileName;

  // Problem entry.
  int N = 0;
  Method method = Method::direct;
  LoadType loadType = LoadType::series;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz

  // Band quantities.
  double f0 = 0.0;              // MHz, geometric mean of the band edges
  double omega0 = 0.0;          // rad/s
  double matchBandwidth = 0.0;  // MHz
  double wm = 0.0;              // fractional match bandwidth

  // Load description.
  double decrement = 0.0;
  double loadQ = 0.0;
  double averageResistance = 0.0;   // ohms, series load
  double averageConductance = 0.0;  // siemens, parallel load
  double deltaBandwidth = 0.0;      // MHz, method L
  double deltaReactance = 0.0;      // ohms, method L with a series load
  double deltaSusceptance = 0.0;    // siemens, method L with a parallel load
  double reactanceSlope = 0.0;      // ohms
  double susceptanceSlope = 0.0;    // siemens

  // Fano solution.
  double A = 0.0;
  double B = 0.0;
  double FV = 0.0;  // squared residual of Fano's equations at (A, B)
  int IT = 0;       // residual evaluations

  // Match figures.
  double rhoMin = 0.0;
  double rhoMax = 0.0;
  double mismatchLossMin = 0.0;  // dB
  double mismatchLossMax = 0.0;  // dB
  double returnLossMin = 0.0;    // dB
  double returnLossMax = 0.0;    // dB
  double swrMin = 0.0;
  double swrMax = 0.0;

  // Prototype values g(0)..g(N+1); element values indexed 1..N (index 0 unused).
  ValueArray g{};
  ValueArray L{};                 // henries
  ValueArray C{};                 // farads
  double loadResistance = 0.0;    // ohms
  double sourceResistance = 0.0;  // ohms
};

// Whether N is a number of resonators the value arrays can hold.
constexpr bool isValidElementCount(int n) {
  return n >= MIN_ELEMENTS && n <= MAX_ELEMENTS;
}

// N kept within the value arrays, so a record with a stray N never reads beyond them.
inline int elementCount(const DesignCase& design) {
  return std::clamp(design.N, 0, MAX_ELEMENTS);
}

}  // namespace bandmatch
