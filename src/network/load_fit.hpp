// The one resonator that stands for a measured load over the band: a series R-L-C or a parallel
// G-L-C fitted to the data, the one element that retunes it to resonate at the band's centre,
// and the load description (slope parameter, decrement, Q) the dialogue's method l would derive.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "core/design_case.hpp"
#include "network/measured_load.hpp"

namespace bandmatch {

enum class LoadModelChoice { series, parallel, automatic };

// Series: Z = R + j(wL - 1/(wC)). Parallel: Y = G + j(wC - 1/(wL)).
struct LoadModel {
  LoadType type = LoadType::series;
  double level = 0.0;        // R in ohms or G in siemens: the band average of the data's
  double inductance = 0.0;   // henries, the load's own
  double capacitance = 0.0;  // farads, the load's own
  double worstError = 0.0;   // largest |Z(model) - Z(data)| / |Z(data)| over the band's points
  double worstErrorMHz = 0.0;
};

// Least squares of the reactance (series) or susceptance (parallel) in w and 1/w over the
// band's points; the level is the band average of the resistance or conductance.
LoadModel fitLoadModel(const MeasuredLoad& load, const BandPoints& band, LoadType type);

enum class RetuningKind { none, seriesCapacitor, seriesInductor, shuntCapacitor, shuntInductor };

// The element that makes the model resonate at w0, and the resonator it forms with the load's
// own L and C. Series capacitors and shunt inductors combine as reciprocals, series inductors
// and shunt capacitors add.
struct Retuning {
  RetuningKind kind = RetuningKind::none;
  double value = 0.0;        // farads or henries; 0 for none
  double inductance = 0.0;   // henries, of the retuned resonator
  double capacitance = 0.0;  // farads, of the retuned resonator
  double slope = 0.0;        // w0 L' (ohms, series) or w0 C' (siemens, parallel)
  // Series loss resistance of the element as built, in ohms, constant over frequency: w0 L / Q
  // or 1 / (w0 C Q) for a part of quality factor Q; zero for a lossless one.
  double loss = 0.0;
};

// "series capacitor (F)", "shunt inductor (H)", ...; "none" for none.
std::string_view retuningName(RetuningKind kind);

// The same without the unit: "series capacitor", "shunt inductor", ...; "none" for none.
std::string_view retuningWord(RetuningKind kind);

// Whether the element is an inductor (its value in henries) rather than a capacitor (farads).
bool retuningIsInductor(RetuningKind kind);

// The exact retuning of a resonator of that type at w0 (rad/s); none when it resonates within a
// relative 5e-10 of w0 already. The slope is positive only when the model can be retuned to a
// resonator; otherwise it is zero or negative.
Retuning retuneToCentre(LoadType type, double inductance, double capacitance, double omega0);

// Whether the retuning element is an inductor (else a capacitor, or none).
bool retunesWithInductor(RetuningKind kind);

// Whether the retuning element sits in series with the load (else across it, or none).
bool retunesInSeries(RetuningKind kind);

// The retuning element at `factor` times its value with its Q kept: an inductor's loss w0 L / Q
// grows with it, a capacitor's 1 / (w0 C Q) shrinks.
Retuning scaledRetuning(Retuning retuning, double factor);

// The load's impedance with the retuning element (and its loss resistance) added in series or in
// shunt.
std::complex<double> withRetuning(const Retuning& retuning, std::complex<double> loadImpedance,
                                  double frequencyMHz);

// A model that was tried: its values, its retuning, and why it cannot serve (empty if it can).
struct ModelCandidate {
  LoadModel model;
  Retuning retuning;
  std::string refusal;
};

// The fitted load as the dialogue's method l takes it: band quantities, decrement and Q of the
// retuned resonator, from the band's f1, f2 and the chosen model.
struct LoadFit {
  DesignCase load;  // f1, f2, f0, omega0, matchBandwidth, wm, loadType, decrement, loadQ and
                    // the average resistance or conductance and slope parameter
  std::vector<ModelCandidate> candidates;  // the models tried, the chosen one first
  std::string error;                       // set when no model can serve
};

// Fits the load over [f1, f2] (points from pointsInBand) with the chosen model, or with the
// one of smaller worst error among those that retune to a resonator.
LoadFit fitLoad(const MeasuredLoad& load, const BandPoints& band, double f1, double f2,
                LoadModelChoice choice);

// "series" or "parallel".
std::string_view modelName(LoadType type);

}  // namespace bandmatch
