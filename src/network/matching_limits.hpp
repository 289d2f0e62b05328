// The Bode-Fano limits: the smallest reflection that any lossless network can hold constant over
// a band in front of a resistance with a reactive part, a bound no search can beat.
#pragma once

#include <optional>

#include "network/network_end.hpp"

namespace bandmatch {

// The smallest |Gamma| a lossless network can hold over [f1, f2] MHz (and |Gamma| = 1 outside)
// in front of a series or parallel model end; none for a plain resistance, which a network can
// match perfectly, and for a measured end. The limit applies at either end of the network: a
// lossless network shows the same |Gamma| at both ports, so with two model ends the larger of
// their two limits holds.
std::optional<double> bodeFanoLimit(const NetworkEnd& end, double f1MHz, double f2MHz);

}  // namespace bandmatch
