#include "network/two_port.hpp"

#include <cmath>
#include <numbers>

namespace bandmatch {

namespace {

using Complex = std::complex<double>;

// Nepers of field attenuation in one decibel.
constexpr double NEPERS_PER_DB = std::numbers::ln10 / 20.0;

struct Frequencies {
  double omega = 0.0;   // radians per second
  double omega0 = 0.0;  // at the centre frequency, where losses are taken
  double ratio = 0.0;   // f / f0, which scales every electrical length
};

Frequencies frequencies(double frequencyMHz, double centreMHz) {
  const double radiansPerMHz = 2.0 * std::numbers::pi * 1e6;
  return {radiansPerMHz * frequencyMHz, radiansPerMHz * centreMHz, frequencyMHz / centreMHz};
}

// 1 / z in real arithmetic: the general complex division guards against overflow at several
// times the cost, and a part's impedance (or a response's EMF) is far from those limits.
Complex reciprocal(Complex z) {
  return std::conj(z) / std::norm(z);
}

// L (jw + w0 / Q): the loss resistance follows L at fixed Q, so d/d(log L) is the impedance.
Complex inductorImpedance(const Section& section, const Frequencies& at) {
  return {at.omega0 / section.inductorQ * section.inductance, at.omega * section.inductance};
}

// (1 / C) (1 / (jw) + 1 / (w0 Q)): d/d(log C) is minus the impedance.
Complex capacitorImpedance(const Section& section, const Frequencies& at) {
  return {1.0 / (at.omega0 * section.capacitorQ * section.capacitance),
          -1.0 / (at.omega * section.capacitance)};
}

ChainMatrix seriesMatrix(Complex impedance) {
  return {1.0, impedance, 0.0, 1.0};
}

ChainMatrix shuntMatrix(Complex admittance) {
  return {1.0, 0.0, admittance, 1.0};
}

ChainMatrix seriesDerivative(Complex impedanceDerivative) {
  return {0.0, impedanceDerivative, 0.0, 0.0};
}

ChainMatrix shuntDerivative(Complex admittanceDerivative) {
  return {0.0, 0.0, admittanceDerivative, 0.0};
}

// A line as an RLGC line with G = 0: over its whole length (LEN = 1 in ngspice's LTRA model)
// L = Z0 theta0 / w0, C = theta0 / (w0 Z0) and R = c Z0 theta0, where c sets the attenuation at
// f0 to k = A / (20 log10 e) / (2 pi) nepers per radian of theta0 exactly: Re sqrt(-1 + jc) = k
// gives c = 2 k sqrt(1 + k^2). Then gamma len = theta0 sqrt((c + j r) j r) and
// Zc = Z0 sqrt((c + j r) / (j r)) with r = f / f0: the first scales with theta0 only, the second
// with Z0 only, which keeps the derivatives as simple as the lossless line's.
double lineResistanceRatio(const Section& section) {
  const double nepersPerRadian = section.lineLossDb * NEPERS_PER_DB / (2.0 * std::numbers::pi);
  return 2.0 * nepersPerRadian * std::sqrt(1.0 + nepersPerRadian * nepersPerRadian);
}

LinePropagation lineTerms(const Section& section, const Frequencies& at) {
  const double r = at.ratio;
  const double resistanceRatio = lineResistanceRatio(section);
  // The lossless line keeps gamma exactly j r: the square root of -r^2 + j0 could take either sign.
  const Complex perRadian =
      resistanceRatio == 0.0 ? Complex(0.0, r) : std::sqrt(Complex(-r * r, resistanceRatio * r));
  // sqrt((c + j r) / (j r)) = perRadian / (j r), the root with a positive real part.
  const Complex impedanceRatio = Complex(perRadian.imag(), -perRadian.real()) / r;
  return {section.length * perRadian, section.impedance * impedanceRatio};
}

// The chain matrix of a section and, when `derivatives` is given, its derivatives by the
// logarithms of the section's free values, in the order of sectionVariableCount.
ChainMatrix sectionTerms(const Section& section, const Frequencies& at, ChainMatrix* derivatives) {
  ChainMatrix unused[2];
  ChainMatrix* d = derivatives != nullptr ? derivatives : unused;
  switch (section.kind) {
    case SectionKind::seriesInductor: {
      const Complex z = inductorImpedance(section, at);
      d[0] = seriesDerivative(z);
      return seriesMatrix(z);
    }
    case SectionKind::seriesCapacitor: {
      const Complex z = capacitorImpedance(section, at);
      d[0] = seriesDerivative(-z);
      return seriesMatrix(z);
    }
    case SectionKind::shuntInductor: {
      const Complex y = reciprocal(inductorImpedance(section, at));
      d[0] = shuntDerivative(-y);
      return shuntMatrix(y);
    }
    case SectionKind::shuntCapacitor: {
      const Complex y = reciprocal(capacitorImpedance(section, at));
      d[0] = shuntDerivative(y);
      return shuntMatrix(y);
    }
    case SectionKind::seriesResonator: {
      const Complex zl = inductorImpedance(section, at);
      const Complex zc = capacitorImpedance(section, at);
      d[0] = seriesDerivative(zl);
      d[1] = seriesDerivative(-zc);
      return seriesMatrix(zl + zc);
    }
    case SectionKind::shuntResonator: {
      const Complex zl = inductorImpedance(section, at);
      const Complex zc = capacitorImpedance(section, at);
      const Complex y = reciprocal(zl + zc);
      d[0] = shuntDerivative(-y * y * zl);
      d[1] = shuntDerivative(y * y * zc);
      return shuntMatrix(y);
    }
    case SectionKind::seriesTank: {
      const Complex yl = reciprocal(inductorImpedance(section, at));
      const Complex yc = reciprocal(capacitorImpedance(section, at));
      const Complex z = reciprocal(yl + yc);
      d[0] = seriesDerivative(z * z * yl);
      d[1] = seriesDerivative(-z * z * yc);
      return seriesMatrix(z);
    }
    case SectionKind::shuntTank: {
      const Complex yl = reciprocal(inductorImpedance(section, at));
      const Complex yc = reciprocal(capacitorImpedance(section, at));
      d[0] = shuntDerivative(-yl);
      d[1] = shuntDerivative(yc);
      return shuntMatrix(yl + yc);
    }
    case SectionKind::transformer: {
      const double n = section.turnsRatio;
      d[0] = {n, 0.0, 0.0, -1.0 / n};
      return {n, 0.0, 0.0, 1.0 / n};
    }
    case SectionKind::line: {
      const LinePropagation line = lineTerms(section, at);
      const Complex ch = std::cosh(line.propagation);
      const Complex sh = std::sinh(line.propagation);
      const Complex zc = line.impedance;
      const Complex yc = reciprocal(zc);
      d[0] = {0.0, zc * sh, -sh * yc, 0.0};
      d[1] = {line.propagation * sh, line.propagation * zc * ch, line.propagation * ch * yc,
              line.propagation * sh};
      return {ch, zc * sh, sh * yc, ch};
    }
    case SectionKind::openStub: {
      const LinePropagation line = lineTerms(section, at);
      const Complex ch = std::cosh(line.propagation);
      const Complex inverse = reciprocal(ch * line.impedance);
      const Complex y = std::sinh(line.propagation) * inverse;
      d[0] = shuntDerivative(-y);
      d[1] = shuntDerivative(line.propagation * inverse * reciprocal(ch));
      return shuntMatrix(y);
    }
    case SectionKind::shortStub: {
      const LinePropagation line = lineTerms(section, at);
      const Complex sh = std::sinh(line.propagation);
      const Complex inverse = reciprocal(sh * line.impedance);
      const Complex y = std::cosh(line.propagation) * inverse;
      d[0] = shuntDerivative(-y);
      d[1] = shuntDerivative(-line.propagation * inverse * reciprocal(sh));
      return shuntMatrix(y);
    }
  }
  return {};
}

// The field that holds free value number `index` of a section.
double& variableField(Section& section, std::size_t index) {
  switch (section.kind) {
    case SectionKind::seriesInductor:
    case SectionKind::shuntInductor:
      return section.inductance;
    case SectionKind::seriesCapacitor:
    case SectionKind::shuntCapacitor:
      return section.capacitance;
    case SectionKind::seriesResonator:
    case SectionKind::shuntResonator:
    case SectionKind::seriesTank:
    case SectionKind::shuntTank:
      return index == 0 ? section.inductance : section.capacitance;
    case SectionKind::transformer:
      return section.turnsRatio;
    case SectionKind::line:
    case SectionKind::openStub:
    case SectionKind::shortStub:
      return index == 0 ? section.impedance : section.length;
  }
  return section.inductance;
}

}  // namespace

ChainMatrix operator*(const ChainMatrix& left, const ChainMatrix& right) {
  return {left.a * right.a + left.b * right.c, left.a * right.b + left.b * right.d,
          left.c * right.a + left.d * right.c, left.c * right.b + left.d * right.d};
}

ChainMatrix sectionMatrix(const Section& section, double frequencyMHz, double centreMHz) {
  return sectionTerms(section, frequencies(frequencyMHz, centreMHz), nullptr);
}

ChainMatrix cascadeMatrix(const CascadeNetwork& network, double frequencyMHz) {
  const Frequencies at = frequencies(frequencyMHz, network.centreMHz);
  ChainMatrix chain;
  for (const Section& section : network.sections) {
    chain = chain * sectionTerms(section, at, nullptr);
  }
  return chain;
}

std::complex<double> cascadeInputImpedance(const ChainMatrix& chain, std::complex<double> load) {
  return (chain.a * load + chain.b) / (chain.c * load + chain.d);
}

std::complex<double> cascadeReflection(const ChainMatrix& chain, std::complex<double> source,
                                       std::complex<double> load) {
  const Complex input = cascadeInputImpedance(chain, load);
  return (input - std::conj(source)) / (input + source);
}

double cascadeTransducerGain(const ChainMatrix& chain, std::complex<double> source,
                             std::complex<double> load) {
  const Complex emf = chain.a * load + chain.b + source * (chain.c * load + chain.d);
  return 4.0 * source.real() * load.real() / std::norm(emf);
}

std::complex<double> partInductorImpedance(const Section& section, double frequencyMHz,
                                           double centreMHz) {
  return inductorImpedance(section, frequencies(frequencyMHz, centreMHz));
}

std::complex<double> partCapacitorImpedance(const Section& section, double frequencyMHz,
                                            double centreMHz) {
  return capacitorImpedance(section, frequencies(frequencyMHz, centreMHz));
}

LinePropagation linePropagation(const Section& section, double frequencyMHz, double centreMHz) {
  return lineTerms(section, frequencies(frequencyMHz, centreMHz));
}

LineConstants lineConstants(const Section& section, double centreMHz) {
  const double omega0 = frequencies(centreMHz, centreMHz).omega0;
  const double inductance = section.impedance * section.length / omega0;
  return {lineResistanceRatio(section) * section.impedance * section.length, inductance,
          section.length / (omega0 * section.impedance)};
}

std::size_t sectionVariableCount(SectionKind kind) {
  switch (kind) {
    case SectionKind::seriesInductor:
    case SectionKind::seriesCapacitor:
    case SectionKind::shuntInductor:
    case SectionKind::shuntCapacitor:
    case SectionKind::transformer:
      return 1;
    default:
      return 2;
  }
}

std::size_t variableCount(const CascadeNetwork& network) {
  std::size_t count = 0;
  for (const Section& section : network.sections) {
    count += sectionVariableCount(section.kind);
  }
  return count;
}

std::vector<double> logVariables(const CascadeNetwork& network) {
  std::vector<double> values;
  for (Section section : network.sections) {
    for (std::size_t k = 0; k < sectionVariableCount(section.kind); ++k) {
      values.push_back(std::log(variableField(section, k)));
    }
  }
  return values;
}

void setLogVariables(CascadeNetwork& network, std::span<const double> logValues) {
  std::size_t at = 0;
  for (Section& section : network.sections) {
    for (std::size_t k = 0; k < sectionVariableCount(section.kind); ++k) {
      variableField(section, k) = std::exp(logValues[at++]);
    }
  }
}

void setLogVariable(CascadeNetwork& network, std::size_t index, double logValue) {
  for (Section& section : network.sections) {
    const std::size_t count = sectionVariableCount(section.kind);
    if (index < count) {
      variableField(section, index) = std::exp(logValue);
      return;
    }
    index -= count;
  }
}

CascadeResponse cascadeResponse(const CascadeNetwork& network, double frequencyMHz,
                                std::complex<double> source, std::complex<double> load,
                                CascadeWorkspace& workspace, std::span<double> reflectionGradient,
                                std::span<double> gainGradient) {
  const std::size_t count = network.sections.size();
  const Frequencies at = frequencies(frequencyMHz, network.centreMHz);
  const bool gradients = !reflectionGradient.empty() || !gainGradient.empty();
  if (gradients) {
    workspace.matrices.resize(count);
    workspace.derivatives.resize(2 * count);
    workspace.loadSide.resize(2 * count);
  }

  // From the load to the source: [V; I] at each section's load port for one ampere into the load.
  Complex voltage = load;
  Complex current = 1.0;
  for (std::size_t i = count; i-- > 0;) {
    ChainMatrix m;
    if (gradients) {
      workspace.loadSide[2 * i] = voltage;
      workspace.loadSide[2 * i + 1] = current;
      m = sectionTerms(network.sections[i], at, &workspace.derivatives[2 * i]);
      workspace.matrices[i] = m;
    } else {
      m = sectionTerms(network.sections[i], at, nullptr);
    }
    const Complex nextVoltage = m.a * voltage + m.b * current;
    current = m.c * voltage + m.d * current;
    voltage = nextVoltage;
  }

  // The source's EMF that drives that ampere, E = V1 + Zs I1, and the reflected wave's
  // numerator V1 - conj(Zs) I1.
  const Complex emf = voltage + source * current;
  const Complex mismatch = voltage - std::conj(source) * current;
  const Complex inverseEmf = reciprocal(emf);
  CascadeResponse response;
  response.inputImpedance = voltage * reciprocal(current);
  response.reflection = mismatch * inverseEmf;
  response.reflectionPower = std::norm(response.reflection);
  response.transducerGain = 4.0 * source.real() * load.real() / std::norm(emf);
  if (!gradients) {
    return response;
  }

  // From the source to the load: the rows [1, Zs] and [1, -conj(Zs)] times the sections before
  // section i, so that dE = row d(M_i) [V; I] behind it.
  Complex emfRow[2] = {1.0, source};
  Complex mismatchRow[2] = {1.0, -std::conj(source)};
  std::size_t variable = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const Complex loadVoltage = workspace.loadSide[2 * i];
    const Complex loadCurrent = workspace.loadSide[2 * i + 1];
    for (std::size_t k = 0; k < sectionVariableCount(network.sections[i].kind); ++k) {
      const ChainMatrix& d = workspace.derivatives[2 * i + k];
      const Complex dVoltage = d.a * loadVoltage + d.b * loadCurrent;
      const Complex dCurrent = d.c * loadVoltage + d.d * loadCurrent;
      const Complex dEmf = emfRow[0] * dVoltage + emfRow[1] * dCurrent;
      const Complex dMismatch = mismatchRow[0] * dVoltage + mismatchRow[1] * dCurrent;
      if (!reflectionGradient.empty()) {
        const Complex dReflection = (dMismatch - response.reflection * dEmf) * inverseEmf;
        reflectionGradient[variable] =
            2.0 * std::real(std::conj(response.reflection) * dReflection);
      }
      if (!gainGradient.empty()) {
        gainGradient[variable] = -2.0 * response.transducerGain * std::real(dEmf * inverseEmf);
      }
      ++variable;
    }
    const ChainMatrix& m = workspace.matrices[i];
    const Complex emfA = emfRow[0] * m.a + emfRow[1] * m.c;
    emfRow[1] = emfRow[0] * m.b + emfRow[1] * m.d;
    emfRow[0] = emfA;
    const Complex mismatchA = mismatchRow[0] * m.a + mismatchRow[1] * m.c;
    mismatchRow[1] = mismatchRow[0] * m.b + mismatchRow[1] * m.d;
    mismatchRow[0] = mismatchA;
  }
  return response;
}

}  // namespace bandmatch
