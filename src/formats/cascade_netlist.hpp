// The SPICE netlist of a chosen cascade that ngspice runs as it is: the source (a resistance or
// its R-L-C model) driven by an AC source, every section (parts with their loss resistors, lines
// and stubs as transmission lines, the transformer as controlled sources), the load's model, an
// AC sweep and a control block that prints the power-wave reflection at the source, the load's
// power and the transducer gain at every point.
#pragma once

#include <string>
#include <string_view>

#include "network/matched_cascade.hpp"
#include "network/sweep.hpp"

namespace bandmatch {

// The whole netlist text; `program` and the cascade's summary are named in its header comment.
// A lossless line or stub is a lossless "T" element of delay theta0 / (2 pi f0); a lossy one an
// LTRA line of the R, L and C network/two_port realises it with (G = 0). A measured end is
// written as its fitted lumped model, which a comment says, or without one as its resistance at
// the band's centre. The control block prints "rho", "pload" (watts) and "gain" (pload over the
// source's available power) over "frequency" (hertz).
std::string renderCascadeNetlist(const MatchedCascade& cascade, const Sweep& sweep,
                                 std::string_view program);

}  // namespace bandmatch
