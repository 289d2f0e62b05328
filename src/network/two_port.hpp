// A cascade of two-port sections from the source to the load - lumped parts, lines, stubs and
// ideal transformers - with its exact chain (ABCD) matrices, its response between complex ends,
// and the exact gradient of that response with respect to the logarithms of the section values.
#pragma once

#include <complex>
#include <cstddef>
#include <limits>
#include <span>
#include <vector>

namespace bandmatch {

// The kinds of section, with their names in the topology grammar.
enum class SectionKind {
  seriesInductor,   // sL
  seriesCapacitor,  // sC
  shuntInductor,    // pL
  shuntCapacitor,   // pC
  seriesResonator,  // sLC: L and C in series, in the series arm
  shuntResonator,   // pLC: L and C in series, in the shunt arm
  seriesTank,       // sL|C: L and C in parallel, in the series arm
  shuntTank,        // pL|C: L and C in parallel, in the shunt arm
  line,             // T: a TEM line
  openStub,         // oS: an open-circuited shunt stub
  shortStub,        // sS: a short-circuited shunt stub
  transformer,      // X: an ideal transformer
};

// The quality factor of a part without loss.
inline constexpr double LOSSLESS_Q = std::numeric_limits<double>::infinity();

// One section and its values in SI units; a kind reads only the fields it has. Losses are taken
// at the cascade's centre frequency f0 and held constant over frequency, as the ladder's are: an
// inductor carries a series resistance w0 L / Q, a capacitor 1 / (w0 C Q). A line or stub of
// loss A dB per wavelength carries the constant series resistance per unit length that makes its
// attenuation at f0 exactly A dB per nominal wavelength (2 pi radians of theta0), with G = 0.
struct Section {
  SectionKind kind = SectionKind::seriesInductor;
  double inductance = 0.0;        // henries
  double capacitance = 0.0;       // farads
  double impedance = 0.0;         // ohms: characteristic impedance Z0 of a line or stub
  double length = 0.0;            // radians: electrical length theta0 at f0, theta = theta0 f / f0
  double turnsRatio = 1.0;        // n: the load side is seen from the source n^2 times larger
  double inductorQ = LOSSLESS_Q;  // at f0
  double capacitorQ = LOSSLESS_Q;
  double lineLossDb = 0.0;  // dB per wavelength at f0

  bool operator==(const Section&) const = default;
};

// The sections from the source to the load and the centre frequency their lengths and losses
// refer to.
struct CascadeNetwork {
  std::vector<Section> sections;
  double centreMHz = 0.0;

  bool operator==(const CascadeNetwork&) const = default;
};

// [V1; I1] = [[a, b], [c, d]] [V2; I2], the current I2 flowing out of port 2 into the load.
struct ChainMatrix {
  std::complex<double> a{1.0, 0.0};
  std::complex<double> b{0.0, 0.0};
  std::complex<double> c{0.0, 0.0};
  std::complex<double> d{1.0, 0.0};
};

ChainMatrix operator*(const ChainMatrix& left, const ChainMatrix& right);

// The chain matrix of one section at a frequency in MHz, its lengths and losses referred to f0.
ChainMatrix sectionMatrix(const Section& section, double frequencyMHz, double centreMHz);

// The product of the sections' chain matrices, source end first.
ChainMatrix cascadeMatrix(const CascadeNetwork& network, double frequencyMHz);

// The impedance the source sees with `load` at port 2.
std::complex<double> cascadeInputImpedance(const ChainMatrix& chain, std::complex<double> load);

// The power-wave reflection at the source port, (Zin - conj(Zs)) / (Zin + Zs).
std::complex<double> cascadeReflection(const ChainMatrix& chain, std::complex<double> source,
                                       std::complex<double> load);

// The power delivered to the load over the power the source makes available:
// 4 Re(Zs) Re(ZL) / |A ZL + B + Zs (C ZL + D)|^2.
double cascadeTransducerGain(const ChainMatrix& chain, std::complex<double> source,
                             std::complex<double> load);

// The impedance of a section's inductor or capacitor at a frequency in MHz, its loss resistance
// (taken at f0 from its Q) included.
std::complex<double> partInductorImpedance(const Section& section, double frequencyMHz,
                                           double centreMHz);
std::complex<double> partCapacitorImpedance(const Section& section, double frequencyMHz,
                                            double centreMHz);

// What a line or stub is at a frequency: gamma times its length and its characteristic
// impedance Zc, both with its loss.
struct LinePropagation {
  std::complex<double> propagation;
  std::complex<double> impedance;
};
LinePropagation linePropagation(const Section& section, double frequencyMHz, double centreMHz);

// A line's or stub's series resistance, inductance and capacitance over its whole length, the
// RLGC line (G = 0) the section is realised as: L = Z0 theta0 / w0, C = theta0 / (w0 Z0) and the
// R that gives its loss at f0.
struct LineConstants {
  double resistance = 0.0;   // ohms
  double inductance = 0.0;   // henries
  double capacitance = 0.0;  // farads
};
LineConstants lineConstants(const Section& section, double centreMHz);

// The free values of a section kind, in their order: L, then C, then n, then Z0, then theta0.
// The optimiser moves the natural logarithm of every one of them.
std::size_t sectionVariableCount(SectionKind kind);

// The number of free values of the whole cascade, section after section from the source.
std::size_t variableCount(const CascadeNetwork& network);

// The logarithms of the free values, in the order of variableCount.
std::vector<double> logVariables(const CascadeNetwork& network);

// Sets the free values to exp(logValues[i]); the losses follow at fixed Q and fixed dB per
// wavelength.
void setLogVariables(CascadeNetwork& network, std::span<const double> logValues);

// Sets free value number `index` (in the order of variableCount) to exp(logValue), leaving every
// other value as it is to the bit.
void setLogVariable(CascadeNetwork& network, std::size_t index, double logValue);

// What the source sees at one frequency.
struct CascadeResponse {
  std::complex<double> inputImpedance;
  std::complex<double> reflection;  // power-wave reflection at the source port
  double reflectionPower = 0.0;     // |reflection|^2
  double transducerGain = 0.0;
};

// Scratch room of cascadeResponse, kept by the caller so that repeated calls allocate nothing
// once it has grown to the network's size.
struct CascadeWorkspace {
  std::vector<ChainMatrix> matrices;
  std::vector<ChainMatrix> derivatives;        // two per section
  std::vector<std::complex<double>> loadSide;  // [V; I] behind each section, two per section
};

// The response at a frequency in MHz between a source of impedance `source` and `load` (both
// at that frequency). A non-empty gradient span, variableCount(network) long, receives
// d|Gamma|^2 / d(log value) or dGT / d(log value) of every free value: the section matrices are
// carried once from the load to the source and once back, so the cost is linear in the sections.
CascadeResponse cascadeResponse(const CascadeNetwork& network, double frequencyMHz,
                                std::complex<double> source, std::complex<double> load,
                                CascadeWorkspace& workspace,
                                std::span<double> reflectionGradient = {},
                                std::span<double> gainGradient = {});

}  // namespace bandmatch
