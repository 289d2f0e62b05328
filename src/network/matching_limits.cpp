#include "network/matching_limits.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bandmatch {

// The load's reactance fixes the first term of its reflection's expansion at a transmission
// zero, and Fano's integrals turn that into a budget for ln(1 / |Gamma|) over all frequencies:
//   a shunt C across R (zero at infinity):  integral of ln(1/|Gamma|) dw        <= pi / (R C)
//   a series L with R (zero at infinity):   integral of ln(1/|Gamma|) dw        <= pi R / L
//   a series C with R (zero at DC):         integral of ln(1/|Gamma|) / w^2 dw  <= pi R C
//   a shunt L across R (zero at DC):        integral of ln(1/|Gamma|) / w^2 dw  <= pi L / R
// (the second is the first's dual, Z for Y; the last two are the first two with w -> 1/w).
// Spending the whole budget on a constant |Gamma| = G in [w1, w2] gives
//   ln(1/G) (w2 - w1) <= budget   or   ln(1/G) (1/w1 - 1/w2) <= budget.
// A model with both L and C has both zeros, and both integrals bind: G is at least the larger of
// the two limits. They are equal when the model resonates at sqrt(w1 w2), Fano's band-pass case.
std::optional<double> bodeFanoLimit(const NetworkEnd& end, double f1MHz, double f2MHz) {
  const bool series = end.kind == EndKind::seriesModel;
  if ((!series && end.kind != EndKind::parallelModel) || (!end.inductance && !end.capacitance)) {
    return std::nullopt;
  }
  const double radiansPerMHz = 2.0 * std::numbers::pi * 1e6;
  const double w1 = radiansPerMHz * f1MHz;
  const double w2 = radiansPerMHz * f2MHz;
  const double pi = std::numbers::pi;
  const double r = end.resistance;
  double limit = 0.0;
  // The part that makes the zero at infinity: the series L or the shunt C.
  if (series && end.inductance) {
    limit = std::max(limit, std::exp(-pi * r / (*end.inductance * (w2 - w1))));
  }
  if (!series && end.capacitance) {
    limit = std::max(limit, std::exp(-pi / (r * *end.capacitance * (w2 - w1))));
  }
  // The part that makes the zero at DC: the series C or the shunt L.
  if (series && end.capacitance) {
    limit = std::max(limit, std::exp(-pi * r * *end.capacitance / (1.0 / w1 - 1.0 / w2)));
  }
  if (!series && end.inductance) {
    limit = std::max(limit, std::exp(-pi * *end.inductance / (r * (1.0 / w1 - 1.0 / w2))));
  }
  return limit;
}

}  // namespace bandmatch
