// The source and the load a network is matched between: a resistance, or a lumped R-L-C model in
// series or in parallel, read from text such as "50", "series:R=12.5,L=1.2u,C=80p" or
// "parallel:R=200,C=5p"; and their impedance at a frequency.
#pragma once

#include <complex>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace bandmatch {

// A measured one-port is an end of its own kind: its data live with the unit that reads them,
// and endImpedance does not evaluate it.
enum class EndKind { resistance, seriesModel, parallelModel, measured };

// An end in SI units; the models leave out the parts they do not have.
struct NetworkEnd {
  EndKind kind = EndKind::resistance;
  double resistance = 0.0;            // ohms, above zero
  std::optional<double> inductance;   // henries
  std::optional<double> capacitance;  // farads
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

// The impedance of a resistance or a model at a frequency in MHz; none for a measured end.
std::optional<std::complex<double>> endImpedance(const NetworkEnd& end, double frequencyMHz);

}  // namespace bandmatch
