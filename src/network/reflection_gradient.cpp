#include "network/reflection_gradient.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bandmatch {

namespace {

using Complex = std::complex<double>;

constexpr int NO_VARIABLE = -1;

std::size_t positionCount(const LadderNetwork& ladder) {
  return std::min(ladder.inductance.size(), ladder.capacitance.size());
}

// Where each value sits among the variables, NO_VARIABLE where it is held.
struct VariableIndex {
  std::vector<int> inductance;
  std::vector<int> capacitance;
  int source = NO_VARIABLE;
  int retuning = NO_VARIABLE;
};

VariableIndex indexOf(const LadderNetwork& ladder, const std::vector<TuningVariable>& variables) {
  VariableIndex index;
  index.inductance.assign(positionCount(ladder), NO_VARIABLE);
  index.capacitance.assign(positionCount(ladder), NO_VARIABLE);
  for (std::size_t v = 0; v < variables.size(); ++v) {
    const int at = static_cast<int>(v);
    const auto position = static_cast<std::size_t>(std::max(variables[v].position, 1)) - 1;
    switch (variables[v].kind) {
      case VariableKind::inductance:
        index.inductance.at(position) = at;
        break;
      case VariableKind::capacitance:
        index.capacitance.at(position) = at;
        break;
      case VariableKind::source:
        index.source = at;
        break;
      case VariableKind::retuning:
        index.retuning = at;
        break;
    }
  }
  return index;
}

// The retuning element's impedance (series kinds) or admittance (shunt kinds) with its loss
// resistance; at a fixed Q the element's impedance scales with an inductor's value and with the
// reciprocal of a capacitor's, so d/d(log value) is +/- the immittance itself.
struct RetuningBranch {
  bool series = true;
  Complex immittance;
  double sign = 1.0;  // d immittance / d(log value) = sign * immittance
};

RetuningBranch retuningBranch(const Retuning& retuning, double omega) {
  const Complex j(0.0, 1.0);
  const double loss = retuning.loss;
  switch (retuning.kind) {
    case RetuningKind::seriesInductor:
      return {true, loss + j * omega * retuning.value, 1.0};
    case RetuningKind::seriesCapacitor:
      return {true, loss - j / (omega * retuning.value), -1.0};
    // A lossless shunt element keeps the plain susceptance form, as the analysis has it.
    case RetuningKind::shuntCapacitor:
      return {false,
              loss == 0.0 ? j * omega * retuning.value : 1.0 / (loss - j / (omega * retuning.value)),
              1.0};
    case RetuningKind::shuntInductor:
      return {false,
              loss == 0.0 ? -j / (omega * retuning.value) : 1.0 / (loss + j * omega * retuning.value),
              -1.0};
    case RetuningKind::none:
      break;
  }
  return {true, Complex(0.0, 0.0), 1.0};
}

// The walk from the load to the source, carrying dZ / d(log value) of every variable.
class ImpedanceWalk {
 public:
  ImpedanceWalk(Complex terminal, std::size_t variables, bool withGradient)
      : impedance_(terminal), derivative_(withGradient ? variables : 0, Complex(0.0, 0.0)) {}

  // A series branch of impedance z whose derivative by variable `at` is dz.
  void addSeries(Complex z, int at, Complex dz) {
    impedance_ += z;
    if (!derivative_.empty() && at != NO_VARIABLE) {
      derivative_[static_cast<std::size_t>(at)] += dz;
    }
  }

  // A shunt branch of admittance y: Z' = 1 / (1 / Z + y), so dZ' = (Z' / Z)^2 dZ - Z'^2 dy.
  void addShunt(Complex y, int firstAt, Complex firstDy, int secondAt = NO_VARIABLE,
                Complex secondDy = {}) {
    const Complex next = 1.0 / (1.0 / impedance_ + y);
    if (!derivative_.empty()) {
      const Complex ratio = (next / impedance_) * (next / impedance_);
      for (Complex& d : derivative_) {
        d *= ratio;
      }
      if (firstAt != NO_VARIABLE) {
        derivative_[static_cast<std::size_t>(firstAt)] -= next * next * firstDy;
      }
      if (secondAt != NO_VARIABLE) {
        derivative_[static_cast<std::size_t>(secondAt)] -= next * next * secondDy;
      }
    }
    impedance_ = next;
  }

  // An ideal transformer dividing the impedance by n^2.
  void divide(double factor) {
    impedance_ /= factor;
    for (Complex& d : derivative_) {
      d /= factor;
    }
  }

  Complex impedance() const { return impedance_; }
  std::vector<Complex>& derivative() { return derivative_; }

 private:
  Complex impedance_;
  std::vector<Complex> derivative_;
};

}  // namespace

std::vector<TuningVariable> tuningVariables(const TunableNetwork& network, bool components,
                                            bool retuning) {
  std::vector<TuningVariable> variables;
  if (components) {
    for (std::size_t index = 1; index < positionCount(network.ladder); ++index) {
      const int position = static_cast<int>(index) + 1;
      variables.push_back({VariableKind::inductance, position});
      variables.push_back({VariableKind::capacitance, position});
    }
  }
  variables.push_back({VariableKind::source, 0});
  if (retuning && network.retuning.kind != RetuningKind::none) {
    variables.push_back({VariableKind::retuning, 0});
  }
  return variables;
}

std::vector<double> variableValues(const TunableNetwork& network,
                                   const std::vector<TuningVariable>& variables) {
  std::vector<double> values;
  for (const TuningVariable& variable : variables) {
    const auto index = static_cast<std::size_t>(std::max(variable.position, 1)) - 1;
    switch (variable.kind) {
      case VariableKind::inductance:
        values.push_back(network.ladder.inductance.at(index));
        break;
      case VariableKind::capacitance:
        values.push_back(network.ladder.capacitance.at(index));
        break;
      case VariableKind::source:
        values.push_back(network.ladder.turnsRatio.value_or(network.ladder.sourceResistance));
        break;
      case VariableKind::retuning:
        values.push_back(network.retuning.value);
        break;
    }
  }
  return values;
}

TunableNetwork scaledNetwork(const TunableNetwork& network,
                             const std::vector<TuningVariable>& variables,
                             const double* logFactors) {
  TunableNetwork scaled = network;
  LadderNetwork& ladder = scaled.ladder;
  for (std::size_t v = 0; v < variables.size(); ++v) {
    const double factor = std::exp(logFactors[v]);
    const auto index = static_cast<std::size_t>(std::max(variables[v].position, 1)) - 1;
    switch (variables[v].kind) {
      case VariableKind::inductance:
        ladder.inductance.at(index) *= factor;
        if (index < ladder.inductorLoss.size()) {
          ladder.inductorLoss[index] *= factor;
        }
        break;
      case VariableKind::capacitance:
        ladder.capacitance.at(index) *= factor;
        if (index < ladder.capacitorLoss.size()) {
          ladder.capacitorLoss[index] /= factor;
        }
        break;
      case VariableKind::source:
        if (ladder.turnsRatio) {
          *ladder.turnsRatio *= factor;
        } else {
          ladder.sourceResistance *= factor;
        }
        break;
      case VariableKind::retuning:
        scaled.retuning = scaledRetuning(scaled.retuning, factor);
        break;
    }
  }
  return scaled;
}

double reflectionPower(const TunableNetwork& network, const TuningTarget& target,
                       std::size_t sample, const std::vector<TuningVariable>& variables,
                       std::vector<double>* gradient) {
  const Complex j(0.0, 1.0);
  const LadderNetwork& ladder = network.ladder;
  const double omega = 2.0 * std::numbers::pi * 1e6 * target.frequencyMHz[sample];
  const VariableIndex index = indexOf(ladder, variables);
  const bool measured = !target.measured.empty();

  // A measured load replaces position 1 and carries the retuning element; the model load is the
  // load resistance with position 1 above it.
  ImpedanceWalk walk(measured ? target.measured[sample] : Complex(ladder.loadResistance, 0.0),
                     variables.size(), gradient != nullptr);
  std::size_t first = 0;
  if (measured) {
    first = 1;
    if (network.retuning.kind != RetuningKind::none) {
      const RetuningBranch branch = retuningBranch(network.retuning, omega);
      const Complex d = branch.sign * branch.immittance;
      if (branch.series) {
        walk.addSeries(branch.immittance, index.retuning, d);
      } else {
        walk.addShunt(branch.immittance, index.retuning, d);
      }
    }
  }
  // Each part's impedance with its loss: jwL + rL scales with L, 1/(jwC) + rC with 1/C.
  for (std::size_t k = first; k < positionCount(ladder); ++k) {
    const Complex inductor = j * omega * ladder.inductance[k] + lossAt(ladder.inductorLoss, k);
    const Complex capacitor =
        -j / (omega * ladder.capacitance[k]) + lossAt(ladder.capacitorLoss, k);
    if (isSeriesPosition(ladder.loadType, static_cast<int>(k) + 1)) {
      walk.addSeries(inductor, index.inductance[k], inductor);
      walk.addSeries(capacitor, index.capacitance[k], -capacitor);
    } else {
      const Complex yInductor = 1.0 / inductor;
      const Complex yCapacitor = 1.0 / capacitor;
      walk.addShunt(yInductor + yCapacitor, index.inductance[k], -yInductor, index.capacitance[k],
                    yCapacitor);
    }
  }

  double source = ladder.sourceResistance;
  if (ladder.turnsRatio) {
    walk.divide(*ladder.turnsRatio * *ladder.turnsRatio);
  }
  const Complex z = walk.impedance();
  const Complex sum = z + source;
  const Complex gamma = (z - source) / sum;
  if (gradient != nullptr) {
    std::vector<Complex>& dz = walk.derivative();
    // dZ / d(log n) = -2 Z behind the transformer; the source resistance does not enter Z.
    if (index.source != NO_VARIABLE && ladder.turnsRatio) {
      dz[static_cast<std::size_t>(index.source)] = -2.0 * z;
    }
    const Complex dGammaDz = 2.0 * source / (sum * sum);
    gradient->assign(variables.size(), 0.0);
    for (std::size_t v = 0; v < variables.size(); ++v) {
      Complex dGamma = dGammaDz * dz[v];
      if (static_cast<int>(v) == index.source && !ladder.turnsRatio) {
        dGamma = -2.0 * z * source / (sum * sum);
      }
      (*gradient)[v] = 2.0 * std::real(std::conj(gamma) * dGamma);
    }
  }
  return std::norm(gamma);
}

double worstSampledReflection(const TunableNetwork& network, const TuningTarget& target) {
  double worst = 0.0;
  for (std::size_t i = 0; i < target.frequencyMHz.size(); ++i) {
    const double power = reflectionPower(network, target, i, {}, nullptr);
    // A network without a finite response anywhere is the worst there is.
    if (!std::isfinite(power)) {
      return HUGE_VAL;
    }
    worst = std::max(worst, power);
  }
  return std::sqrt(worst);
}

std::vector<double> bandFrequencies(double f1, double f2, int points) {
  std::vector<double> frequencies;
  for (int i = 0; i < points; ++i) {
    frequencies.push_back(i + 1 == points ? f2 : f1 + (f2 - f1) * i / (points - 1));
  }
  return frequencies;
}

std::vector<double> logarithmicBandFrequencies(double f1, double f2, int points) {
  std::vector<double> frequencies;
  for (int i = 0; i < points; ++i) {
    frequencies.push_back(i == 0              ? f1
                          : i + 1 == points ? f2
                                            : f1 * std::pow(f2 / f1, static_cast<double>(i) /
                                                                         (points - 1)));
  }
  return frequencies;
}

}  // namespace bandmatch
