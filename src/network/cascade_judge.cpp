#include "network/cascade_judge.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bandmatch {

namespace {

bool lossy(const Section& section) {
  switch (section.kind) {
    case SectionKind::seriesInductor:
    case SectionKind::shuntInductor:
      return section.inductorQ != LOSSLESS_Q;
    case SectionKind::seriesCapacitor:
    case SectionKind::shuntCapacitor:
      return section.capacitorQ != LOSSLESS_Q;
    case SectionKind::seriesResonator:
    case SectionKind::shuntResonator:
    case SectionKind::seriesTank:
    case SectionKind::shuntTank:
      return section.inductorQ != LOSSLESS_Q || section.capacitorQ != LOSSLESS_Q;
    case SectionKind::line:
    case SectionKind::openStub:
    case SectionKind::shortStub:
      return section.lineLossDb != 0.0;
    case SectionKind::transformer:
      return false;
  }
  return false;
}

}  // namespace

bool hasLosses(const CascadeNetwork& network) {
  return std::any_of(network.sections.begin(), network.sections.end(), lossy);
}

std::vector<double> cascadeResonances(const CascadeNetwork& network, double upperMHz) {
  std::vector<double> resonances;
  for (const Section& section : network.sections) {
    switch (section.kind) {
      case SectionKind::seriesResonator:
      case SectionKind::shuntResonator:
      case SectionKind::seriesTank:
      case SectionKind::shuntTank:
        resonances.push_back(
            1e-6 / (2.0 * std::numbers::pi * std::sqrt(section.inductance * section.capacitance)));
        break;
      case SectionKind::openStub:
      case SectionKind::shortStub: {
        // theta = theta0 f / f0 reaches the pole's length (2k + 1) pi / 2 or k pi.
        const double first = section.kind == SectionKind::openStub ? 0.5 : 1.0;
        for (double multiple = first;; multiple += 1.0) {
          const double f = network.centreMHz * multiple * std::numbers::pi / section.length;
          if (!(f <= upperMHz) || resonances.size() > 1000) {
            break;
          }
          resonances.push_back(f);
        }
        break;
      }
      default:
        break;
    }
  }
  return resonances;
}

std::vector<double> endDataMHz(const NetworkEnd& source, const NetworkEnd& load) {
  std::vector<double> merged;
  std::merge(source.measured.frequencyMHz.begin(), source.measured.frequencyMHz.end(),
             load.measured.frequencyMHz.begin(), load.measured.frequencyMHz.end(),
             std::back_inserter(merged));
  merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
  return merged;
}

JudgedBand judgeCascade(const CascadeNetwork& network, const NetworkEnd& source,
                        const NetworkEnd& load, double f1, double f2, double peaksAbove) {
  CascadeWorkspace workspace;
  const auto responseAt = [&](double f) {
    return cascadeResponse(network, f, endImpedance(source, f).value_or(0.0),
                           endImpedance(load, f).value_or(0.0), workspace);
  };
  const std::vector<double> data = endDataMHz(source, load);
  BandToJudge band;
  band.f1 = f1;
  band.f2 = f2;
  band.reflectionAt = [&](double f) { return responseAt(f).reflection; };
  if (hasLosses(network)) {
    band.gainAt = [&](double f) { return responseAt(f).transducerGain; };
  }
  band.resonanceMHz = cascadeResonances(network, 2.0 * f2);
  band.dataMHz = data.empty() ? nullptr : &data;
  band.peaksAbove = peaksAbove;
  JudgedBand judged = judgeBand(band);
  if (!std::isfinite(judged.worstReflection) || !std::isfinite(judged.worstGain)) {
    judged.worstReflection = HUGE_VAL;
    judged.worstGain = 0.0;
  }
  return judged;
}

}  // namespace bandmatch
