// Starting values from closed forms: the L networks that match two complex ends at one
// frequency, Pi and Tee networks of a chosen loaded Q, and the equal-ripple Chebyshev stepped
// quarter-wave transformer between two resistances over a band.
#pragma once

#include <complex>
#include <optional>
#include <vector>

#include "network/two_port.hpp"

namespace bandmatch {

// Every L network that makes the source see its own conjugate (Gamma = 0) at `centreMHz`: the
// series arm next to the source and the shunt arm next to the load, then the reverse, each with
// both signs of its root where the ends allow it (a repeated root once). A reactance becomes an
// inductor or a capacitor by its sign; an arm of zero reactance is left out.
std::vector<CascadeNetwork> lNetworkMatches(std::complex<double> source, std::complex<double> load,
                                            double centreMHz);

// The Pi networks (shunt, series, shunt) that match at `centreMHz` through a virtual resistance
// Rv = max(Rp) / (1 + Q^2) between two L networks, Rp being each end's parallel resistance
// 1 / Re(1 / Z): the loaded Q is that of the higher-resistance end. Both signs of each half
// (up to four networks); none when Rv would exceed the smaller Rp.
std::vector<CascadeNetwork> piNetworkMatches(std::complex<double> source, std::complex<double> load,
                                             double centreMHz, double loadedQ);

// The Tee networks (series, shunt, series), the dual: Rv = min(Rs) (1 + Q^2) from each end's
// series resistance Re(Z), none when Rv would be below the larger one.
std::vector<CascadeNetwork> teeNetworkMatches(std::complex<double> source,
                                              std::complex<double> load, double centreMHz,
                                              double loadedQ);

// A stepped transformer of quarter-wave lines at the band's arithmetic centre, source side first.
struct SteppedTransformer {
  CascadeNetwork network;
  std::vector<double> impedances;  // ohms
  double worstReflection = 0.0;    // the equal ripple of |Gamma| over [f1, f2]
};

// The equal-ripple Chebyshev transformer of 1 to 4 sections from `sourceOhms` to `loadOhms`
// over [f1, f2] MHz, by exact synthesis (not the small-reflection approximation): the
// insertion loss 1 + eps T_N^2(cos(theta) / cos(theta1)), theta1 the band edge's electrical
// length, is factored in Richards' variable and the lines are extracted one by one. None for
// another number of sections or a band that does not satisfy 0 < f1 < f2.
std::optional<SteppedTransformer> chebyshevTransformer(double sourceOhms, double loadOhms,
                                                       int sections, double f1MHz, double f2MHz);

}  // namespace bandmatch
