// The source and the load a network is matched between: a resistance, or a lumped R-L-C model in
// series or in parallel, read from text such as "50", "series:R=12.5,L=1.2u,C=80p" or
// "parallel:R=200,C=5p", or a measured one-port; and their impedance at a frequency.
#pragma once

#include <complex>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "network/measured_load.hpp"

namespace bandmatch {

// A measured one-port is read from its file by the program that names it and checked here
// against the band it is used over (measuredEnd).
enum class EndKind { resistance, seriesModel, parallelModel, measured };

// An end in SI units; the models leave out the parts they do not have.
struct NetworkEnd {
  EndKind kind = EndKind::resistance;
  double resistance = 0.0;            // ohms, above zero
  std::optional<double> inductance;   // henries
  std::optional<double> capacitance;  // farads
  MeasuredLoad measured;              // the data of a measured end, empty for the others
};

// An end's impedance as a function of the frequency in MHz: a model's, or a measured one-port's
// interpolated between its points.
using ImpedanceAt = std::function<std::complex<double>(double)>;

// An end read from text, or the one-line reason the text is none.
struct EndParse {
  std::optional<NetworkEnd> end;
  std::string error;
};

// Reads a resistance ("50", "1.5k") or "series:" / "parallel:" followed by R=, L= and C= values
// separated by commas, in any order, R required; numbers may carry one of the SI prefixes p n u
// m k M or an exponent ("1e-9"); every value must be finite and above zero.
EndParse parseNetworkEnd(std::string_view text);

// A measured one-port as an end used over the band [f1, f2] MHz, or the reason it cannot be one:
// its data must cover the band, and it must be passive over [fromMHz, toMHz] as far as the data
// reach (the band and whatever sweep its response is shown over), worded as activeLoadReason.
EndParse measuredEnd(MeasuredLoad data, double f1, double f2, double fromMHz, double toMHz);

// The impedance of a resistance or a model at a frequency in MHz; for a measured end the data
// interpolated linearly between their points (held at the first and last point beyond them);
// none for a measured end without data.
std::optional<std::complex<double>> endImpedance(const NetworkEnd& end, double frequencyMHz);

}  // namespace bandmatch
