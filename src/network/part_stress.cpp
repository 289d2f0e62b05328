#include "network/part_stress.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "network/worst_case_judge.hpp"

namespace bandmatch {

namespace {

using Complex = std::complex<double>;

// Samples per half wavelength along a line: the standing wave has one maximum of voltage and one
// of current in each, so each lies between two samples of one rising and one falling side.
constexpr int SAMPLES_PER_HALF_WAVE = 8;
constexpr int GOLDEN_STEPS = 60;

double rms(Complex peak) {
  return std::abs(peak) / std::numbers::sqrt2;
}

// The largest of figure(t) over 0 <= t <= 1: samples, then golden-section search between the
// neighbours of the largest sample, where the figure has its one maximum.
template <typename Figure>
double largestAlong(const Figure& figure, double halfWaves) {
  const int intervals = SAMPLES_PER_HALF_WAVE * (1 + static_cast<int>(std::ceil(halfWaves)));
  const double step = 1.0 / intervals;
  double bestAt = 0.0;
  double best = figure(0.0);
  for (int k = 1; k <= intervals; ++k) {
    const double t = k * step;
    const double value = figure(t);
    if (value > best) {
      best = value;
      bestAt = t;
    }
  }
  constexpr double golden = 0.6180339887498949;  // (sqrt(5) - 1) / 2
  double low = std::max(0.0, bestAt - step);
  double high = std::min(1.0, bestAt + step);
  double left = high - golden * (high - low);
  double right = low + golden * (high - low);
  double leftValue = figure(left);
  double rightValue = figure(right);
  for (int i = 0; i < GOLDEN_STEPS; ++i) {
    best = std::max({best, leftValue, rightValue});
    if (leftValue > rightValue) {
      high = right;
      right = left;
      rightValue = leftValue;
      left = high - golden * (high - low);
      leftValue = figure(left);
    } else {
      low = left;
      left = right;
      leftValue = rightValue;
      right = low + golden * (high - low);
      rightValue = figure(right);
    }
  }
  return std::max({best, leftValue, rightValue});
}

// A line's worst voltage and current from its input voltage and current (flowing into it), along
// its length: V(t) = cosh(t gl) V0 - Zc sinh(t gl) I0, I(t) = cosh(t gl) I0 - sinh(t gl) V0 / Zc.
PartStress lineStress(const Section& section, double frequencyMHz, double centreMHz,
                      Complex inputVoltage, Complex inputCurrent) {
  const LinePropagation line = linePropagation(section, frequencyMHz, centreMHz);
  const double halfWaves = std::fabs(line.propagation.imag()) / std::numbers::pi;
  const auto voltageAt = [&](double t) {
    const Complex along = t * line.propagation;
    return std::abs(std::cosh(along) * inputVoltage - line.impedance * std::sinh(along) * inputCurrent);
  };
  const auto currentAt = [&](double t) {
    const Complex along = t * line.propagation;
    return std::abs(std::cosh(along) * inputCurrent - std::sinh(along) * inputVoltage / line.impedance);
  };
  PartStress stress;
  stress.element = StressedElement::line;
  stress.peakVoltage = largestAlong(voltageAt, halfWaves);
  stress.rmsCurrent = largestAlong(currentAt, halfWaves) / std::numbers::sqrt2;
  return stress;
}

// The inductor and the capacitor of a section, from their voltages and currents.
void addPair(std::vector<PartStress>& parts, std::size_t index, Complex inductorVoltage,
             Complex inductorCurrent, Complex capacitorVoltage, Complex capacitorCurrent) {
  parts.push_back({index, StressedElement::inductor, std::abs(inductorVoltage), rms(inductorCurrent)});
  parts.push_back(
      {index, StressedElement::capacitor, std::abs(capacitorVoltage), rms(capacitorCurrent)});
}

// The resonances of the sections that hold an L and a C, in MHz: where a figure changes fast.
std::vector<double> sectionResonances(const CascadeNetwork& network) {
  std::vector<double> resonances;
  for (const Section& section : network.sections) {
    const bool pair = section.kind == SectionKind::seriesResonator ||
                      section.kind == SectionKind::shuntResonator ||
                      section.kind == SectionKind::seriesTank ||
                      section.kind == SectionKind::shuntTank;
    if (pair) {
      const double omega = 1.0 / std::sqrt(section.inductance * section.capacitance);
      resonances.push_back(omega / (2.0 * std::numbers::pi * 1e6));
    }
  }
  return resonances;
}

// The cascade of a ladder as built, from its source to the load: the transformer (the ladder's
// turns ratio is the cascade's reciprocal), positions N down to `lastPosition` as series L-C or
// shunt parallel L-C with the Q their loss resistance has at f0. `positions` receives the
// position of each section, 0 for the transformer.
CascadeNetwork ladderCascade(const LadderNetwork& ladder, double centreMHz, int lastPosition,
                             std::vector<int>& positions) {
  const double omega0 = angularFrequency(centreMHz);
  CascadeNetwork network{{}, centreMHz};
  if (ladder.turnsRatio) {
    network.sections.push_back({.kind = SectionKind::transformer, .turnsRatio = 1.0 / *ladder.turnsRatio});
    positions.push_back(0);
  }
  const int count = static_cast<int>(std::min(ladder.inductance.size(), ladder.capacitance.size()));
  for (int position = count; position >= lastPosition; --position) {
    const auto index = static_cast<std::size_t>(position - 1);
    const double inductance = ladder.inductance[index];
    const double capacitance = ladder.capacitance[index];
    const double inductorLoss = lossAt(ladder.inductorLoss, index);
    const double capacitorLoss = lossAt(ladder.capacitorLoss, index);
    network.sections.push_back(
        {.kind = isSeriesPosition(ladder.loadType, position) ? SectionKind::seriesResonator
                                                             : SectionKind::shuntTank,
         .inductance = inductance,
         .capacitance = capacitance,
         .inductorQ = inductorLoss > 0.0 ? omega0 * inductance / inductorLoss : LOSSLESS_Q,
         .capacitorQ =
             capacitorLoss > 0.0 ? 1.0 / (omega0 * capacitance * capacitorLoss) : LOSSLESS_Q});
    positions.push_back(position);
  }
  return network;
}

// A measured load's retuning element as the section before the load, with its loss as its Q.
Section retuningSection(const Retuning& retuning, double centreMHz) {
  const double omega0 = angularFrequency(centreMHz);
  Section section;
  switch (retuning.kind) {
    case RetuningKind::seriesCapacitor:
      section.kind = SectionKind::seriesCapacitor;
      break;
    case RetuningKind::seriesInductor:
      section.kind = SectionKind::seriesInductor;
      break;
    case RetuningKind::shuntCapacitor:
      section.kind = SectionKind::shuntCapacitor;
      break;
    case RetuningKind::shuntInductor:
    case RetuningKind::none:
      section.kind = SectionKind::shuntInductor;
      break;
  }
  if (retunesWithInductor(retuning.kind)) {
    section.inductance = retuning.value;
    section.inductorQ = retuning.loss > 0.0 ? omega0 * retuning.value / retuning.loss : LOSSLESS_Q;
  } else {
    section.capacitance = retuning.value;
    section.capacitorQ =
        retuning.loss > 0.0 ? 1.0 / (omega0 * retuning.value * retuning.loss) : LOSSLESS_Q;
  }
  return section;
}

// The stresses of the sections that stand for parts to buy, named by their positions.
std::vector<LadderPartStress> byPosition(const std::vector<PartStress>& stresses,
                                         const std::vector<int>& positions, int firstBought) {
  std::vector<LadderPartStress> parts;
  for (const PartStress& stress : stresses) {
    const int position = positions[stress.section];
    if (position >= firstBought) {
      parts.push_back({position, stress.element, stress.peakVoltage, stress.rmsCurrent});
    }
  }
  return parts;
}

}  // namespace

double sourceEmf(double availablePower, std::complex<double> source) {
  return std::sqrt(8.0 * availablePower * source.real());
}

std::vector<PartStress> cascadeStressAt(const CascadeNetwork& network, double frequencyMHz,
                                        std::complex<double> source, std::complex<double> load,
                                        double availablePower) {
  const std::size_t count = network.sections.size();
  const double centre = network.centreMHz;
  // Voltage and current at each section's source port for one ampere into the load; entry
  // `count` is the load's port.
  std::vector<Complex> voltage(count + 1);
  std::vector<Complex> current(count + 1);
  voltage[count] = load;
  current[count] = 1.0;
  for (std::size_t i = count; i-- > 0;) {
    const ChainMatrix m = sectionMatrix(network.sections[i], frequencyMHz, centre);
    voltage[i] = m.a * voltage[i + 1] + m.b * current[i + 1];
    current[i] = m.c * voltage[i + 1] + m.d * current[i + 1];
  }
  // Scaled to the EMF of the asked power; the common phase does not change a magnitude.
  const double scale = sourceEmf(availablePower, source) / std::abs(voltage[0] + source * current[0]);
  for (std::size_t i = 0; i <= count; ++i) {
    voltage[i] *= scale;
    current[i] *= scale;
  }

  std::vector<PartStress> parts;
  for (std::size_t i = 0; i < count; ++i) {
    const Section& section = network.sections[i];
    const Complex across = voltage[i] - voltage[i + 1];  // a series arm's voltage
    const Complex drawn = current[i] - current[i + 1];   // a shunt arm's current
    const auto inductor = [&] { return partInductorImpedance(section, frequencyMHz, centre); };
    const auto capacitor = [&] { return partCapacitorImpedance(section, frequencyMHz, centre); };
    switch (section.kind) {
      case SectionKind::seriesInductor:
      case SectionKind::seriesCapacitor:
        parts.push_back({i,
                         section.kind == SectionKind::seriesInductor ? StressedElement::inductor
                                                                     : StressedElement::capacitor,
                         std::abs(across), rms(current[i])});
        break;
      case SectionKind::shuntInductor:
      case SectionKind::shuntCapacitor:
        parts.push_back({i,
                         section.kind == SectionKind::shuntInductor ? StressedElement::inductor
                                                                    : StressedElement::capacitor,
                         std::abs(voltage[i]), rms(drawn)});
        break;
      case SectionKind::seriesResonator:
        addPair(parts, i, current[i] * inductor(), current[i], current[i] * capacitor(), current[i]);
        break;
      case SectionKind::shuntResonator:
        addPair(parts, i, drawn * inductor(), drawn, drawn * capacitor(), drawn);
        break;
      case SectionKind::seriesTank:
        addPair(parts, i, across, across / inductor(), across, across / capacitor());
        break;
      case SectionKind::shuntTank:
        addPair(parts, i, voltage[i], voltage[i] / inductor(), voltage[i], voltage[i] / capacitor());
        break;
      case SectionKind::line:
        parts.push_back(lineStress(section, frequencyMHz, centre, voltage[i], current[i]));
        parts.back().section = i;
        break;
      case SectionKind::openStub:
      case SectionKind::shortStub:
        parts.push_back(lineStress(section, frequencyMHz, centre, voltage[i], drawn));
        parts.back().section = i;
        break;
      case SectionKind::transformer:
        break;
    }
  }
  return parts;
}

std::vector<PartStress> cascadePartStress(const CascadeNetwork& network, const ImpedanceAt& sourceAt,
                                          const ImpedanceAt& loadAt, double f1, double f2,
                                          double availablePower,
                                          const std::vector<double>* dataMHz) {
  BandToJudge band;
  band.f1 = f1;
  band.f2 = f2;
  band.resonanceMHz = sectionResonances(network);
  band.dataMHz = dataMHz;
  const std::vector<double> grid = judgeGrid(band);
  const auto stressAt = [&](double f) {
    return cascadeStressAt(network, f, sourceAt(f), loadAt(f), availablePower);
  };

  std::vector<PartStress> worst = stressAt(grid.front());
  std::vector<std::vector<double>> voltages(worst.size());
  std::vector<std::vector<double>> currents(worst.size());
  std::vector<double> logGrid;
  for (const double f : grid) {
    logGrid.push_back(std::log(f));
    const std::vector<PartStress> parts = stressAt(f);
    for (std::size_t k = 0; k < parts.size(); ++k) {
      voltages[k].push_back(parts[k].peakVoltage);
      currents[k].push_back(parts[k].rmsCurrent);
    }
  }
  for (std::size_t k = 0; k < worst.size(); ++k) {
    worst[k].peakVoltage =
        refinedLargest([&](double f) { return stressAt(f)[k].peakVoltage; }, logGrid, voltages[k]);
    worst[k].rmsCurrent =
        refinedLargest([&](double f) { return stressAt(f)[k].rmsCurrent; }, logGrid, currents[k]);
  }
  return worst;
}

std::vector<LadderPartStress> ladderPartStress(const LadderNetwork& ladder, double f1, double f2,
                                               double availablePower) {
  std::vector<int> positions;
  const CascadeNetwork network = ladderCascade(ladder, std::sqrt(f1 * f2), 1, positions);
  const std::complex<double> source(ladder.sourceResistance, 0.0);
  const std::complex<double> load(ladder.loadResistance, 0.0);
  return byPosition(cascadePartStress(
                        network, [&](double) { return source; }, [&](double) { return load; }, f1,
                        f2, availablePower),
                    positions, 2);
}

std::vector<LadderPartStress> ladderPartStressOnLoad(const LadderNetwork& ladder,
                                                     const MeasuredLoad& load,
                                                     const Retuning& retuning, double f1,
                                                     double f2, double availablePower) {
  const double centre = std::sqrt(f1 * f2);
  std::vector<int> positions;
  CascadeNetwork network = ladderCascade(ladder, centre, 2, positions);
  if (retuning.kind != RetuningKind::none) {
    network.sections.push_back(retuningSection(retuning, centre));
    positions.push_back(1);
  }
  const std::complex<double> source(ladder.sourceResistance, 0.0);
  return byPosition(
      cascadePartStress(
          network, [&](double) { return source; },
          [&](double f) { return interpolatedImpedance(load, f); }, f1, f2, availablePower,
          &load.frequencyMHz),
      positions, 1);
}

}  // namespace bandmatch
