// Closed-form microstrip on a substrate of relative permittivity er, height h and strip
// thickness t: the Hammerstad-Jensen quasi-static characteristic impedance and effective
// permittivity of a width, the width of a wanted impedance, and the length of an electrical
// length. Quasi-static means without dispersion, which the usual rule lets one neglect below
// f = 0.3 sqrt(Z0 / (h sqrt(er - 1))) GHz with h in cm: about 4 GHz for 50 ohms on 1.6 mm FR4,
// 5 GHz on 0.635 mm alumina. Above it eps_eff rises towards er with frequency.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bandmatch {

// A substrate and its copper, lengths in metres.
struct Substrate {
  double permittivity = 1.0;  // er
  double height = 0.0;        // h
  double thickness = 0.0;     // t, 0 for an infinitely thin strip
};

// A substrate read from text, or the one-line reason the text is none.
struct SubstrateParse {
  std::optional<Substrate> substrate;
  std::string error;
};

// Reads "er=4.4,h=1.6mm,t=35um": items in any order separated by commas, er and h required,
// lengths with one of the units m, mm, um, mil; er at least 1, h above zero, 0 <= t < h.
SubstrateParse parseSubstrate(std::string_view text);

// What a strip of a width carries.
struct MicrostripLine {
  double impedance = 0.0;              // ohms
  double effectivePermittivity = 1.0;  // eps_eff
};

// The Hammerstad-Jensen analysis of a strip `width` metres wide, with their thickness
// correction. Their fit holds for 0.01 <= w/h <= 100 and er <= 128.
MicrostripLine microstripLine(const Substrate& substrate, double width);

// The width in metres that has the wanted impedance: Wheeler's synthesis formula as the start,
// refined by Newton's method on the analysis above, to 1e-12 relative; none when no width
// within 0.001 <= w/h <= 1000 has it.
std::optional<double> microstripWidth(const Substrate& substrate, double impedance);

// The length in metres of `electricalLength` radians at `centreMHz` on a strip of `width`.
double microstripLength(const Substrate& substrate, double width, double electricalLength,
                        double centreMHz);

// The frequency in MHz below which the quasi-static figures hold, by the rule above.
double quasiStaticLimitMHz(const Substrate& substrate, double impedance);

}  // namespace bandmatch
