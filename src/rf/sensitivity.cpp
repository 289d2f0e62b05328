#include "rf/sensitivity.hpp"

#include <algorithm>
#include <cmath>

#include "core/number_format.hpp"
#include "rf/measured_network.hpp"
#include "rf/network_build.hpp"

namespace bandmatch {

namespace {

constexpr double STEP = 0.01;
constexpr int CHANGE_DIGITS = 3;

double worstReflection(const LadderNetwork& ladder, double f1, double f2,
                       const LadderReflection& reflection) {
  return reflectionExtremes(
             [&](double frequency) { return std::abs(reflection(ladder, frequency)); }, f1, f2)
      .rhoMax;
}

}  // namespace

std::vector<PartSensitivity> partSensitivities(const LadderNetwork& network, double f1, double f2,
                                               const LadderReflection& reflection) {
  std::vector<PartSensitivity> sensitivities;
  const std::size_t positions = std::min(network.inductance.size(), network.capacitance.size());
  for (std::size_t index = 1; index < positions; ++index) {
    for (const PartKind kind : {PartKind::inductor, PartKind::capacitor}) {
      LadderNetwork above = network;
      scalePart(above, index, kind, 1.0 + STEP);
      LadderNetwork below = network;
      scalePart(below, index, kind, 1.0 - STEP);
      const double change = (worstReflection(above, f1, f2, reflection) -
                             worstReflection(below, f1, f2, reflection)) /
                            2.0;
      sensitivities.push_back({static_cast<int>(index) + 1, kind, change});
    }
  }
  return sensitivities;
}

std::vector<PartSensitivity> largestFirst(std::vector<PartSensitivity> sensitivities) {
  std::stable_sort(sensitivities.begin(), sensitivities.end(),
                   [](const PartSensitivity& a, const PartSensitivity& b) {
                     return std::fabs(a.change) > std::fabs(b.change);
                   });
  return sensitivities;
}

std::string partName(const PartSensitivity& sensitivity) {
  return elementName(sensitivity.kind == PartKind::inductor ? 'L' : 'C',
                     static_cast<std::size_t>(sensitivity.position) - 1);
}

std::string formatSensitivity(double change) {
  return formatScientific(change, CHANGE_DIGITS);
}

}  // namespace bandmatch
