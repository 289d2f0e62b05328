// Monte Carlo tolerance trials of a cascade between two ends, run as the ladder's are: every
// inductor, capacitor, line and stub drawn uniformly within its tolerance, each trial judged on
// the nominal cascade's grid, and each part's effect on the worst reflection.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "network/network_end.hpp"
#include "network/sweep.hpp"
#include "network/tolerance.hpp"
#include "network/two_port.hpp"

namespace bandmatch {

// The cascade the trials perturb, its ends, the band it is judged over and the sweep the band of
// return loss is drawn over.
struct CascadeProblem {
  CascadeNetwork network;
  NetworkEnd source;
  NetworkEnd load;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
  Sweep sweep;
};

// The tolerances of a cascade's parts in percent (0 to 50) and the draws: the inductors', the
// capacitors' and the draws as the ladder's trials take them, and the lines' and stubs', which
// apply to a line's characteristic impedance and to its electrical length alike. Unset, a line's
// tolerance is the capacitors': both are set by a dielectric and a geometry, and a plain
// --tolerance then varies every part of a cascade.
struct CascadeToleranceOptions {
  ToleranceOptions parts;
  std::optional<double> linePercent;
};

// The tolerance of lines and stubs: their own, else the capacitors'.
double lineTolerancePercent(const CascadeToleranceOptions& options);

// The values of a section that vary: an inductance, a capacitance, or a line's or stub's
// characteristic impedance Z0 and electrical length theta0. A transformer is ideal and fixed.
enum class CascadeQuantity { inductance, capacitance, impedance, length };

struct CascadePart {
  std::size_t section = 0;  // index from the source end
  CascadeQuantity quantity = CascadeQuantity::inductance;

  bool operator==(const CascadePart&) const = default;
};

// The varying parts in the order a trial draws them: the sections from the load end to the
// source, in each its L before its C, its Z0 before its theta0. A ladder written as a cascade of
// resonators (its position 1 in the load) thus draws what the ladder's own trials draw.
std::vector<CascadePart> cascadeParts(const CascadeNetwork& network);

// The tolerance in percent of a part of that quantity.
double partTolerancePercent(const CascadeToleranceOptions& options, CascadeQuantity quantity);

// The network with the part scaled by `factor`. An inductor or capacitor keeps its Q and a line
// its loss in dB per wavelength, so that their loss resistances follow the value as a real part
// of another value would.
void scaleCascadePart(CascadeNetwork& network, const CascadePart& part, double factor);

// "L(2)", "C(2)", "Z0(3)", "theta0(3)": the quantity and its section counted from 1 at the
// source, as the parts list counts them.
std::string cascadePartName(const CascadePart& part);

// The change of the worst in-band |S11| for +1 % of a part: half the difference of the worst
// |S11| judged at +1 % and at -1 %.
struct CascadeSensitivity {
  CascadePart part;
  double change = 0.0;
};

// One entry per varying part, in the order of cascadeParts.
std::vector<CascadeSensitivity> cascadeSensitivities(const CascadeProblem& problem);

struct CascadeToleranceResult {
  ToleranceResult trials;
  std::vector<CascadeSensitivity> sensitivities;
  std::size_t parts = 0;     // a trial draws, those at a zero tolerance kept at their value
  bool transformer = false;  // the cascade holds an ideal transformer, which stays fixed
};

// Each trial takes one draw per entry of cascadeParts and is judged by the power-wave |Gamma|
// between the ends, as judgeCascade judges the nominal cascade; the trials are shared among
// `threads` threads without changing any figure.
CascadeToleranceResult runCascadeTolerance(const CascadeProblem& problem,
                                           const CascadeToleranceOptions& options, int threads);

}  // namespace bandmatch
