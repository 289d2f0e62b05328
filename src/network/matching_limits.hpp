// The Bode-Fano limits: the smallest reflection that any lossless network can hold constant over
// a band in front of a resistance with a reactive part, a bound no search can beat; and the one
// resonator an end stands for, with Fano's bound for it.
#pragma once

#include <optional>

#include "core/design_case.hpp"
#include "network/load_fit.hpp"
#include "network/network_end.hpp"

namespace bandmatch {

// The smallest |Gamma| a lossless network can hold over [f1, f2] MHz (and |Gamma| = 1 outside)
// in front of a series or parallel model end; none for a plain resistance, which a network can
// match perfectly, and for a measured end. The limit applies at either end of the network: a
// lossless network shows the same |Gamma| at both ports, so with two model ends the larger of
// their two limits holds.
std::optional<double> bodeFanoLimit(const NetworkEnd& end, double f1MHz, double f2MHz);

// A measured end stands for one resonator only where the fitted one differs from every point in
// the band by at most this share of its impedance.
inline constexpr double RESONATOR_FIT_ERROR = 0.25;

// The resonator an end is over the band: a series or parallel model, or the resonator fitted to
// measured data (bandmatch-fit's fit), retuned to resonate at f0 = sqrt(f1 f2).
struct EndResonator {
  LoadType type = LoadType::series;
  double level = 0.0;  // R in ohms (series) or G in siemens (parallel)
  Retuning retuning;   // the element that makes it resonate at f0, with its slope parameter
  double decrement = 0.0;
  bool fitted = false;      // fitted to measured data
  double fitError = 0.0;    // the fit's worst relative error over the band
};

// None for a resistance, a model with neither L nor C, and measured data that no resonator fits
// within RESONATOR_FIT_ERROR (or with fewer than MIN_BAND_POINTS in the band).
std::optional<EndResonator> endResonator(const NetworkEnd& end, double f1MHz, double f2MHz);

// The limit beside a search's result: the ideal |Gamma| no lossless network between the two
// ends can beat over the band (and no network with losses a transducer gain above 1 - |Gamma|^2).
// A lossless network shows the same |Gamma| at both ports, so each end's limit holds and the
// larger one is given: the Bode-Fano limit of a model end, Fano's bound exp(-pi decrement) of the
// resonator a measured end fits.
struct MatchingLimit {
  double reflection = 0.0;
  bool atSource = false;  // the source's limit, else the load's
  std::optional<EndResonator> fit;  // the fitted resonator the limit is Fano's bound of
};

// None when neither end has a limit.
std::optional<MatchingLimit> matchingLimit(const NetworkEnd& source, const NetworkEnd& load,
                                           double f1MHz, double f2MHz);

}  // namespace bandmatch
