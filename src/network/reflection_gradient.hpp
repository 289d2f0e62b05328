// The input reflection of a ladder at the frequencies of a band, with its exact derivatives with
// respect to the logarithms of the values a tuner may move: L and C of positions 2..N, the
// source resistance or the transformer's turns ratio, and the element that retunes a measured
// load. Position 1 on a model load and the load resistance stay as they are.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

#include "network/ladder_analysis.hpp"
#include "network/load_fit.hpp"

namespace bandmatch {

// What the network is matched to: at each frequency either the model load (position 1 of the
// ladder with the load resistance) or a measured impedance in place of position 1.
struct TuningTarget {
  std::vector<double> frequencyMHz;
  // The measured impedance at each frequency; empty for the model load.
  std::vector<std::complex<double>> measured;
};

// The network a tuner moves: the ladder and, on a measured load, the retuning element added to
// it (its kind and value; the resonator fields are those of the fit and are not updated).
struct TunableNetwork {
  LadderNetwork ladder;
  Retuning retuning;
};

enum class VariableKind { inductance, capacitance, source, retuning };

// One value a tuner moves. `position` counts from the load, for L and C only. The source is the
// source resistance, or the turns ratio when the ladder has a transformer.
struct TuningVariable {
  VariableKind kind = VariableKind::inductance;
  int position = 0;
};

// The variables of a network in their order: L(2), C(2), ..., L(N), C(N) when `components` is set,
// then the source, then the retuning element when `retuning` is set and the network has one.
std::vector<TuningVariable> tuningVariables(const TunableNetwork& network, bool components,
                                            bool retuning);

// The current value of each variable.
std::vector<double> variableValues(const TunableNetwork& network,
                                   const std::vector<TuningVariable>& variables);

// The network with each variable multiplied by exp(logFactors[i]). A part's loss resistance
// follows its value at a fixed Q: w0 L / Q grows with L, 1 / (w0 C Q) falls as C grows.
TunableNetwork scaledNetwork(const TunableNetwork& network,
                             const std::vector<TuningVariable>& variables,
                             const double* logFactors);

// |Gamma|^2 at sample `sample` of the target, referenced to the source resistance; when
// `gradient` is given it receives d|Gamma|^2 / d(log value) of every variable, in their order.
double reflectionPower(const TunableNetwork& network, const TuningTarget& target,
                       std::size_t sample, const std::vector<TuningVariable>& variables,
                       std::vector<double>* gradient);

// The largest |Gamma| over the target's samples.
double worstSampledReflection(const TunableNetwork& network, const TuningTarget& target);

// Evenly spaced frequencies from f1 to f2 MHz, both included; the last one is f2 exactly.
std::vector<double> bandFrequencies(double f1, double f2, int points);

// Frequencies from f1 to f2 MHz evenly spaced on a logarithmic scale, both ends exact.
std::vector<double> logarithmicBandFrequencies(double f1, double f2, int points);

}  // namespace bandmatch
