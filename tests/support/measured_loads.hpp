// Touchstone files of loads with exactly known values, written here by the closed forms of a
// series R-L-C or a parallel G-L-C, for the tests of the fit and of the export on real data.
#pragma once

#include <cmath>
#include <complex>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "core/design_case.hpp"
#include "network/measured_load.hpp"

namespace bandmatch::testing {

struct ExactLoad {
  LoadType type = LoadType::series;
  double level = 50.0;  // ohms or siemens
  double resonanceMHz = 3.75;
  double q = 10.0;  // at the resonance
  double inductance() const {
    const double w = 2.0 * std::numbers::pi * 1e6 * resonanceMHz;
    return type == LoadType::series ? q * level / w : 1.0 / (w * q * level);
  }
  double capacitance() const {
    const double w = 2.0 * std::numbers::pi * 1e6 * resonanceMHz;
    return 1.0 / (w * w * inductance());
  }
  std::complex<double> impedance(double frequencyMHz) const {
    const double w = 2.0 * std::numbers::pi * 1e6 * frequencyMHz;
    const double reactive = type == LoadType::series ? w * inductance() - 1.0 / (w * capacitance())
                                                     : w * capacitance() - 1.0 / (w * inductance());
    const std::complex<double> value(level, reactive);
    return type == LoadType::series ? value : 1.0 / value;
  }
};

// "# MHZ Z RI R 50" with `points` evenly spaced frequencies from lowMHz to highMHz.
inline std::string exactLoadFile(const ExactLoad& load, double lowMHz, double highMHz, int points) {
  std::ostringstream file;
  file.precision(17);
  file << "! exact model\n# MHZ Z RI R 50\n";
  for (int i = 0; i < points; ++i) {
    const double f = lowMHz + (highMHz - lowMHz) * i / (points - 1);
    const std::complex<double> z = load.impedance(f) / 50.0;
    file << f << ' ' << z.real() << ' ' << z.imag() << '\n';
  }
  return file.str();
}

// The same points as a measured load, without a file: the line numbers those of exactLoadFile.
inline MeasuredLoad exactMeasuredLoad(const ExactLoad& load, double lowMHz, double highMHz,
                                      int points) {
  MeasuredLoad measured;
  for (int i = 0; i < points; ++i) {
    const double f = lowMHz + (highMHz - lowMHz) * i / (points - 1);
    measured.frequencyMHz.push_back(f);
    measured.impedance.push_back(load.impedance(f));
    measured.line.push_back(i + 3);
  }
  return measured;
}

}  // namespace bandmatch::testing
