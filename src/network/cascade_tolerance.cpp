#include "network/cascade_tolerance.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>

#include "core/number_format.hpp"
#include "network/cascade_judge.hpp"
#include "network/part_sensitivity.hpp"
#include "network/worst_case_judge.hpp"

namespace bandmatch {

namespace {

// The ends' impedances at the frequencies of the trials, the judged ones first.
struct EndsOnGrid {
  std::vector<double> frequencyMHz;
  std::vector<std::complex<double>> source;
  std::vector<std::complex<double>> load;
};

EndsOnGrid endsOnGrid(const CascadeProblem& problem, const TrialFrequencies& frequencies) {
  EndsOnGrid ends;
  for (const std::vector<double>* list : {&frequencies.judgedMHz, &frequencies.bandMHz}) {
    for (const double frequency : *list) {
      ends.frequencyMHz.push_back(frequency);
      ends.source.push_back(endImpedance(problem.source, frequency).value_or(0.0));
      ends.load.push_back(endImpedance(problem.load, frequency).value_or(0.0));
    }
  }
  return ends;
}

// |Gamma|^2 of a response; one that is not finite reflects everything, as the judge has it.
double reflectionPower(const CascadeResponse& response) {
  return std::isfinite(response.reflectionPower) ? response.reflectionPower : HUGE_VAL;
}

// |Gamma| between the problem's ends of a network at a frequency in MHz.
double magnitudeOf(const CascadeProblem& problem, const CascadeNetwork& network,
                   CascadeWorkspace& workspace, double frequencyMHz) {
  const CascadeResponse response = cascadeResponse(
      network, frequencyMHz, endImpedance(problem.source, frequencyMHz).value_or(0.0),
      endImpedance(problem.load, frequencyMHz).value_or(0.0), workspace);
  return std::sqrt(reflectionPower(response));
}

// Working room of one thread.
struct CascadeScratch {
  CascadeNetwork network;
  CascadeWorkspace workspace;
  std::vector<double> power;
};

double worstReflection(const CascadeProblem& problem, const CascadeNetwork& network) {
  return judgeCascade(network, problem.source, problem.load, problem.f1, problem.f2)
      .worstReflection;
}

}  // namespace

std::vector<CascadePart> cascadeParts(const CascadeNetwork& network) {
  std::vector<CascadePart> parts;
  for (std::size_t index = network.sections.size(); index-- > 0;) {
    const auto add = [&](CascadeQuantity quantity) { parts.push_back({index, quantity}); };
    switch (network.sections[index].kind) {
      case SectionKind::seriesInductor:
      case SectionKind::shuntInductor:
        add(CascadeQuantity::inductance);
        break;
      case SectionKind::seriesCapacitor:
      case SectionKind::shuntCapacitor:
        add(CascadeQuantity::capacitance);
        break;
      case SectionKind::seriesResonator:
      case SectionKind::shuntResonator:
      case SectionKind::seriesTank:
      case SectionKind::shuntTank:
        add(CascadeQuantity::inductance);
        add(CascadeQuantity::capacitance);
        break;
      case SectionKind::line:
      case SectionKind::openStub:
      case SectionKind::shortStub:
        add(CascadeQuantity::impedance);
        add(CascadeQuantity::length);
        break;
      case SectionKind::transformer:
        break;
    }
  }
  return parts;
}

double lineTolerancePercent(const CascadeToleranceOptions& options) {
  return options.linePercent.value_or(options.parts.capacitorPercent);
}

double partTolerancePercent(const CascadeToleranceOptions& options, CascadeQuantity quantity) {
  switch (quantity) {
    case CascadeQuantity::inductance:
      return options.parts.inductorPercent;
    case CascadeQuantity::capacitance:
      return options.parts.capacitorPercent;
    case CascadeQuantity::impedance:
    case CascadeQuantity::length:
      return lineTolerancePercent(options);
  }
  return 0.0;
}

void scaleCascadePart(CascadeNetwork& network, const CascadePart& part, double factor) {
  Section& section = network.sections[part.section];
  switch (part.quantity) {
    case CascadeQuantity::inductance:
      section.inductance *= factor;
      break;
    case CascadeQuantity::capacitance:
      section.capacitance *= factor;
      break;
    case CascadeQuantity::impedance:
      section.impedance *= factor;
      break;
    case CascadeQuantity::length:
      section.length *= factor;
      break;
  }
}

std::string cascadePartName(const CascadePart& part) {
  const char* quantity = part.quantity == CascadeQuantity::inductance    ? "L"
                         : part.quantity == CascadeQuantity::capacitance ? "C"
                         : part.quantity == CascadeQuantity::impedance   ? "Z0"
                                                                         : "theta0";
  return std::string(quantity) + "(" + formatInteger(static_cast<long long>(part.section) + 1) +
         ")";
}

std::vector<CascadeSensitivity> cascadeSensitivities(const CascadeProblem& problem) {
  std::vector<CascadeSensitivity> sensitivities;
  for (const CascadePart& part : cascadeParts(problem.network)) {
    const double change = changeForOnePercent([&](double factor) {
      CascadeNetwork scaled = problem.network;
      scaleCascadePart(scaled, part, factor);
      return worstReflection(problem, scaled);
    });
    sensitivities.push_back({part, change});
  }
  return sensitivities;
}

CascadeToleranceResult runCascadeTolerance(const CascadeProblem& problem,
                                           const CascadeToleranceOptions& options, int threads) {
  // The nominal cascade judged as the search judges it gives its figure and the grid every trial
  // is judged on.
  const JudgedBand nominal =
      judgeCascade(problem.network, problem.source, problem.load, problem.f1, problem.f2);
  const std::vector<CascadePart> parts = cascadeParts(problem.network);
  std::vector<double> percents;
  for (const CascadePart& part : parts) {
    percents.push_back(partTolerancePercent(options, part.quantity));
  }
  CascadeWorkspace nominalWorkspace;
  TrialPlan plan;
  plan.frequencies = trialFrequencies(
      nominal.gridMHz,
      [&](double frequency) {
        return magnitudeOf(problem, problem.network, nominalWorkspace, frequency);
      },
      problem.sweep);
  plan.drawsPerTrial = parts.size();
  plan.nominalSwr = standingWaveRatio(nominal.worstReflection);
  const EndsOnGrid ends = endsOnGrid(problem, plan.frequencies);
  plan.newWorker = [&problem, &parts, &percents, &ends]() {
    const auto scratch = std::make_shared<CascadeScratch>();
    TrialWorker worker;
    worker.drawTrial = [&problem, &parts, &percents, &ends,
                        scratch](std::mt19937_64& generator) -> const std::vector<double>& {
      scratch->network = problem.network;
      for (std::size_t i = 0; i < parts.size(); ++i) {
        scaleCascadePart(scratch->network, parts[i], toleranceFactor(generator(), percents[i]));
      }
      scratch->power.resize(ends.frequencyMHz.size());
      for (std::size_t i = 0; i < ends.frequencyMHz.size(); ++i) {
        scratch->power[i] =
            reflectionPower(cascadeResponse(scratch->network, ends.frequencyMHz[i], ends.source[i],
                                            ends.load[i], scratch->workspace));
      }
      return scratch->power;
    };
    worker.magnitudeAt = [&problem, scratch](double frequency) {
      return magnitudeOf(problem, scratch->network, scratch->workspace, frequency);
    };
    return worker;
  };

  CascadeToleranceResult result;
  result.trials = runTrialPlan(plan, options.parts, threads);
  result.sensitivities = cascadeSensitivities(problem);
  result.parts = parts.size();
  result.transformer =
      std::any_of(problem.network.sections.begin(), problem.network.sections.end(),
                  [](const Section& section) { return section.kind == SectionKind::transformer; });
  return result;
}

}  // namespace bandmatch
