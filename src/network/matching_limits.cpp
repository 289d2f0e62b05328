#include "network/matching_limits.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "network/best_match.hpp"

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

std::optional<EndResonator> endResonator(const NetworkEnd& end, double f1MHz, double f2MHz) {
  const double omega0 = 2.0 * std::numbers::pi * 1e6 * std::sqrt(f1MHz * f2MHz);
  const double wm = (f2MHz - f1MHz) / std::sqrt(f1MHz * f2MHz);
  EndResonator resonator;
  if (end.kind == EndKind::measured) {
    const BandPoints band = pointsInBand(end.measured, f1MHz, f2MHz);
    if (!band.error.empty()) {
      return std::nullopt;
    }
    const LoadFit fit = fitLoad(end.measured, band, f1MHz, f2MHz, LoadModelChoice::automatic);
    if (!fit.error.empty() || fit.candidates.front().model.worstError > RESONATOR_FIT_ERROR) {
      return std::nullopt;
    }
    const ModelCandidate& chosen = fit.candidates.front();
    resonator = {chosen.model.type, chosen.model.level, chosen.retuning, fit.load.decrement, true,
                 chosen.model.worstError};
    return resonator;
  }
  const bool series = end.kind == EndKind::seriesModel;
  if ((!series && end.kind != EndKind::parallelModel) || (!end.inductance && !end.capacitance)) {
    return std::nullopt;
  }
  // A part left out is a short in series or an open across: no reactance of its own.
  const double inductance = end.inductance.value_or(series ? 0.0 : HUGE_VAL);
  const double capacitance = end.capacitance.value_or(series ? HUGE_VAL : 0.0);
  resonator.type = series ? LoadType::series : LoadType::parallel;
  resonator.level = series ? end.resistance : 1.0 / end.resistance;
  resonator.retuning = retuneToCentre(resonator.type, inductance, capacitance, omega0);
  resonator.decrement = resonator.level / resonator.retuning.slope / wm;
  return resonator;
}

std::optional<MatchingLimit> matchingLimit(const NetworkEnd& source, const NetworkEnd& load,
                                           double f1MHz, double f2MHz) {
  std::optional<MatchingLimit> limit;
  for (const bool atSource : {false, true}) {
    const NetworkEnd& end = atSource ? source : load;
    MatchingLimit candidate;
    candidate.atSource = atSource;
    if (end.kind == EndKind::measured) {
      candidate.fit = endResonator(end, f1MHz, f2MHz);
      if (!candidate.fit) {
        continue;
      }
      candidate.reflection = fanoLimitReflection(candidate.fit->decrement);
    } else if (const std::optional<double> bound = bodeFanoLimit(end, f1MHz, f2MHz)) {
      candidate.reflection = *bound;
    } else {
      continue;
    }
    if (!limit || candidate.reflection > limit->reflection) {
      limit = candidate;
    }
  }
  return limit;
}

}  // namespace bandmatch
