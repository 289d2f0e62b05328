#include "network/part_sensitivity.hpp"

#include <algorithm>
#include <cmath>

#include "core/number_format.hpp"
#include "network/measured_network.hpp"
#include "network/worst_case_judge.hpp"
#include "network/network_build.hpp"

namespace bandmatch {

namespace {

constexpr double STEP = 0.01;
constexpr int CHANGE_DIGITS = 3;

double worstReflection(const ToleranceProblem& problem, const LadderNetwork& ladder,
                       const Retuning& retuning) {
  BandToJudge band;
  band.f1 = problem.f1;
  band.f2 = problem.f2;
  band.reflectionAt = [&](double frequency) {
    return problemReflection(problem, ladder, retuning, frequency);
  };
  band.resonanceMHz = ladderResonances(ladder);
  band.dataMHz = problem.dataMHz;
  return judgeBand(band).worstReflection;
}

}  // namespace

double changeForOnePercent(const std::function<double(double)>& worstAt) {
  return (worstAt(1.0 + STEP) - worstAt(1.0 - STEP)) / 2.0;
}

std::vector<PartSensitivity> partSensitivities(const ToleranceProblem& problem) {
  std::vector<PartSensitivity> sensitivities;
  const LadderNetwork& network = problem.network;
  const Retuning& retuning = problem.retuning;
  const std::size_t positions = std::min(network.inductance.size(), network.capacitance.size());
  for (std::size_t index = 1; index < positions; ++index) {
    for (const PartKind kind : {PartKind::inductor, PartKind::capacitor}) {
      const double change = changeForOnePercent([&](double factor) {
        LadderNetwork scaled = network;
        scalePart(scaled, index, kind, factor);
        return worstReflection(problem, scaled, retuning);
      });
      sensitivities.push_back({static_cast<int>(index) + 1, kind, change});
    }
  }
  if (retuning.kind != RetuningKind::none) {
    const bool inductor = retuning.kind == RetuningKind::seriesInductor ||
                          retuning.kind == RetuningKind::shuntInductor;
    const double change = changeForOnePercent([&](double factor) {
      return worstReflection(problem, network, scaledRetuning(retuning, factor));
    });
    sensitivities.push_back({1, inductor ? PartKind::inductor : PartKind::capacitor, change});
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
