#include "network/closed_form_starts.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bandmatch {

namespace {

using Complex = std::complex<double>;
using Polynomial = std::vector<double>;  // coefficients from the constant term up

double angularFrequency(double frequencyMHz) {
  return 2.0 * std::numbers::pi * 1e6 * frequencyMHz;
}

// A series arm of a reactance as the part that has it at w0; nothing for zero.
void addSeriesArm(std::vector<Section>& sections, double reactance, double omega0) {
  if (reactance > 0.0) {
    sections.push_back({.kind = SectionKind::seriesInductor, .inductance = reactance / omega0});
  } else if (reactance < 0.0) {
    sections.push_back(
        {.kind = SectionKind::seriesCapacitor, .capacitance = -1.0 / (omega0 * reactance)});
  }
}

// A shunt arm of a susceptance as the part that has it at w0; nothing for zero.
void addShuntArm(std::vector<Section>& sections, double susceptance, double omega0) {
  if (susceptance > 0.0) {
    sections.push_back({.kind = SectionKind::shuntCapacitor, .capacitance = susceptance / omega0});
  } else if (susceptance < 0.0) {
    sections.push_back(
        {.kind = SectionKind::shuntInductor, .inductance = -1.0 / (omega0 * susceptance)});
  }
}

// The two arms of an L network: the series arm's reactance and the shunt arm's susceptance.
struct LArms {
  double reactance = 0.0;
  double susceptance = 0.0;
};

// Series arm at the source, shunt arm at the load. The shunt arm turns the load's admittance
// G + jBL into G + jB' with Re(1 / (G + jB')) = G / (G^2 + B'^2) = Rs, so B'^2 = G / Rs - G^2;
// the series arm then cancels the rest of the reactance against the source's: Zin = conj(Zs).
std::vector<LArms> seriesFirstArms(Complex source, Complex load) {
  const Complex admittance = 1.0 / load;
  const double g = admittance.real();
  const double sourceResistance = source.real();
  const double square = g / sourceResistance - g * g;
  if (!(g > 0.0 && sourceResistance > 0.0 && square >= 0.0)) {
    return {};
  }
  std::vector<LArms> arms;
  const double root = std::sqrt(square);
  for (const double b : {root, -root}) {
    const Complex shunted = 1.0 / Complex(g, b);
    arms.push_back({-source.imag() - shunted.imag(), b - admittance.imag()});
    if (root == 0.0) {
      break;
    }
  }
  return arms;
}

// Shunt arm at the source, series arm at the load: the dual, X'^2 = RL / Gs - RL^2 with
// Gs = Re(1 / Zs), and the shunt arm makes Yin = conj(Ys).
std::vector<LArms> shuntFirstArms(Complex source, Complex load) {
  const Complex sourceAdmittance = 1.0 / source;
  const double gs = sourceAdmittance.real();
  const double r = load.real();
  const double square = r / gs - r * r;
  if (!(gs > 0.0 && r > 0.0 && square >= 0.0)) {
    return {};
  }
  std::vector<LArms> arms;
  const double root = std::sqrt(square);
  for (const double x : {root, -root}) {
    const Complex seriesAdmittance = 1.0 / Complex(r, x);
    arms.push_back({x - load.imag(), -sourceAdmittance.imag() - seriesAdmittance.imag()});
    if (root == 0.0) {
      break;
    }
  }
  return arms;
}

Polynomial multiply(const Polynomial& a, const Polynomial& b) {
  Polynomial product(a.size() + b.size() - 1, 0.0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t k = 0; k < b.size(); ++k) {
      product[i + k] += a[i] * b[k];
    }
  }
  return product;
}

template <typename Number>
Number evaluate(const Polynomial& p, Number x) {
  Number value = 0.0;
  for (std::size_t i = p.size(); i-- > 0;) {
    value = value * x + p[i];
  }
  return value;
}

// The roots of a polynomial of degree 1 or more by the Durand-Kerner iteration, which refines
// them all at once from distinct complex starts.
std::vector<Complex> polynomialRoots(const Polynomial& p) {
  const std::size_t degree = p.size() - 1;
  std::vector<Complex> roots(degree);
  for (std::size_t k = 0; k < degree; ++k) {
    roots[k] = std::pow(Complex(0.4, 0.9), static_cast<double>(k));
  }
  for (int iteration = 0; iteration < 1000; ++iteration) {
    double largestStep = 0.0;
    for (std::size_t k = 0; k < degree; ++k) {
      Complex others = p.back();
      for (std::size_t j = 0; j < degree; ++j) {
        others *= j == k ? 1.0 : roots[k] - roots[j];
      }
      const Complex step = evaluate(p, roots[k]) / others;
      roots[k] -= step;
      largestStep = std::max(largestStep, std::abs(step) / (1.0 + std::abs(roots[k])));
    }
    if (largestStep < 1e-15) {
      break;
    }
  }
  return roots;
}

// p(t) / (1 - t^2) from the top coefficient down; the remainder, zero but for rounding, is
// dropped.
Polynomial dividedByOneMinusSquare(const Polynomial& p) {
  const std::size_t n = p.size() - 1;
  Polynomial quotient(n - 1, 0.0);
  for (std::size_t k = n; k >= 2; --k) {
    const double above = k < n - 1 ? quotient[k] : 0.0;
    quotient[k - 2] = above - p[k];
  }
  return quotient;
}

}  // namespace

std::vector<CascadeNetwork> lNetworkMatches(std::complex<double> source, std::complex<double> load,
                                            double centreMHz) {
  const double omega0 = angularFrequency(centreMHz);
  std::vector<CascadeNetwork> networks;
  for (const LArms& arms : seriesFirstArms(source, load)) {
    CascadeNetwork network{{}, centreMHz};
    addSeriesArm(network.sections, arms.reactance, omega0);
    addShuntArm(network.sections, arms.susceptance, omega0);
    networks.push_back(network);
  }
  for (const LArms& arms : shuntFirstArms(source, load)) {
    CascadeNetwork network{{}, centreMHz};
    addShuntArm(network.sections, arms.susceptance, omega0);
    addSeriesArm(network.sections, arms.reactance, omega0);
    // Ends that are already conjugate give the empty network in both orientations.
    if (std::find(networks.begin(), networks.end(), network) == networks.end()) {
      networks.push_back(network);
    }
  }
  return networks;
}

std::vector<CascadeNetwork> piNetworkMatches(std::complex<double> source, std::complex<double> load,
                                             double centreMHz, double loadedQ) {
  const double sourceParallel = 1.0 / (1.0 / source).real();
  const double loadParallel = 1.0 / (1.0 / load).real();
  const double virtualResistance =
      std::max(sourceParallel, loadParallel) / (1.0 + loadedQ * loadedQ);
  if (!(virtualResistance <= std::min(sourceParallel, loadParallel))) {
    return {};
  }
  const double omega0 = angularFrequency(centreMHz);
  std::vector<CascadeNetwork> networks;
  for (const LArms& sourceHalf : shuntFirstArms(source, virtualResistance)) {
    for (const LArms& loadHalf : seriesFirstArms(virtualResistance, load)) {
      CascadeNetwork network{{}, centreMHz};
      addShuntArm(network.sections, sourceHalf.susceptance, omega0);
      addSeriesArm(network.sections, sourceHalf.reactance + loadHalf.reactance, omega0);
      addShuntArm(network.sections, loadHalf.susceptance, omega0);
      networks.push_back(network);
    }
  }
  return networks;
}

std::vector<CascadeNetwork> teeNetworkMatches(std::complex<double> source,
                                              std::complex<double> load, double centreMHz,
                                              double loadedQ) {
  const double virtualResistance = std::min(source.real(), load.real()) * (1.0 + loadedQ * loadedQ);
  if (!(virtualResistance >= std::max(source.real(), load.real()))) {
    return {};
  }
  const double omega0 = angularFrequency(centreMHz);
  std::vector<CascadeNetwork> networks;
  for (const LArms& sourceHalf : seriesFirstArms(source, virtualResistance)) {
    for (const LArms& loadHalf : shuntFirstArms(virtualResistance, load)) {
      CascadeNetwork network{{}, centreMHz};
      addSeriesArm(network.sections, sourceHalf.reactance, omega0);
      addShuntArm(network.sections, sourceHalf.susceptance + loadHalf.susceptance, omega0);
      addSeriesArm(network.sections, loadHalf.reactance, omega0);
      networks.push_back(network);
    }
  }
  return networks;
}

std::optional<SteppedTransformer> chebyshevTransformer(double sourceOhms, double loadOhms,
                                                       int sections, double f1MHz, double f2MHz) {
  if (sections < 1 || sections > 4 || !(sourceOhms > 0.0) || !(loadOhms > 0.0) || !(f1MHz > 0.0) ||
      !(f2MHz > f1MHz)) {
    return std::nullopt;
  }
  const auto n = static_cast<std::size_t>(sections);
  const double centreMHz = (f1MHz + f2MHz) / 2.0;
  const double ratio = loadOhms / sourceOhms;
  SteppedTransformer transformer;
  transformer.network.centreMHz = centreMHz;
  if (ratio == 1.0) {
    transformer.impedances.assign(n, sourceOhms);
  } else {
    // Insertion loss 1 + eps T_N^2(x / mu), x = cos(theta), mu = cos(theta1), equal at DC
    // (x = 1, no lines) to the plain mismatch 1 + (R - 1)^2 / (4 R).
    const double mu = std::cos(std::numbers::pi / 2.0 * f1MHz / centreMHz);
    const double edgeChebyshev = std::cosh(sections * std::acosh(1.0 / mu));
    const double eps =
        (ratio - 1.0) * (ratio - 1.0) / (4.0 * ratio) / (edgeChebyshev * edgeChebyshev);
    transformer.worstReflection = std::sqrt(eps / (1.0 + eps));

    // In Richards' variable t = j tan(theta), with s = t^2 and x^2 = 1 / (1 - s), the roots
    // y_k = cos((2k - 1) pi / (2N)) of T_N give eps T_N^2 = h(s)^2 / (1 - s)^N with
    // h(s) = sqrt(eps) 2^(N-1) mu^-N prod_k (1 - b_k + b_k s), b_k = (y_k mu)^2.
    Polynomial h = {std::sqrt(eps) * std::pow(2.0, sections - 1) / std::pow(mu, sections)};
    for (int k = 1; 2 * k <= sections; ++k) {
      const double y = std::cos((2.0 * k - 1.0) * std::numbers::pi / (2.0 * sections));
      const double b = y * y * mu * mu;
      h = multiply(h, {1.0 - b, b});
    }
    // |S11|^2 = h^2 / D with D(s) = (1 - s)^N + h(s)^2 = g(t) g(-t), g the Hurwitz factor: its
    // roots are the left-half-plane square roots of D's.
    Polynomial denominator = {1.0};
    for (std::size_t k = 0; k < n; ++k) {
      denominator = multiply(denominator, {1.0, -1.0});
    }
    const Polynomial hSquared = multiply(h, h);
    for (std::size_t i = 0; i < hSquared.size(); ++i) {
      denominator[i] += hSquared[i];
    }
    std::vector<Complex> g = {std::sqrt((n % 2 == 0 ? 1.0 : -1.0) * denominator.back())};
    for (const Complex root : polynomialRoots(denominator)) {
      const Complex t = -std::sqrt(root);
      std::vector<Complex> product(g.size() + 1, 0.0);
      for (std::size_t i = 0; i < g.size(); ++i) {
        product[i + 1] += g[i];
        product[i] -= t * g[i];
      }
      g = product;
    }
    Polynomial numerator(n + 1, 0.0);
    Polynomial impedanceDenominator(n + 1, 0.0);
    // S11 = sign h / g, the sign that shows the load itself at DC: Zin(0) = R.
    const double sign = (ratio - 1.0) * g[0].real() * h[0] >= 0.0 ? 1.0 : -1.0;
    for (std::size_t i = 0; i <= n; ++i) {
      const double hi = i % 2 == 0 && i / 2 < h.size() ? h[i / 2] : 0.0;
      numerator[i] = g[i].real() + sign * hi;
      impedanceDenominator[i] = g[i].real() - sign * hi;
    }
    // Richards' extraction: a line of impedance Z1 = Zin(1) leaves a remainder of one degree
    // less, its numerator and denominator divided by (1 - t^2).
    for (std::size_t k = 0; k < n; ++k) {
      const double z = evaluate(numerator, 1.0) / evaluate(impedanceDenominator, 1.0);
      transformer.impedances.push_back(z * sourceOhms);
      Polynomial nextNumerator = numerator;
      Polynomial nextDenominator = impedanceDenominator;
      nextNumerator.push_back(0.0);
      nextDenominator.push_back(0.0);
      for (std::size_t i = 0; i < numerator.size(); ++i) {
        nextNumerator[i + 1] -= z * impedanceDenominator[i];
        nextDenominator[i + 1] -= numerator[i] / z;
      }
      numerator = dividedByOneMinusSquare(nextNumerator);
      impedanceDenominator = dividedByOneMinusSquare(nextDenominator);
    }
  }
  for (const double impedance : transformer.impedances) {
    transformer.network.sections.push_back(
        {.kind = SectionKind::line, .impedance = impedance, .length = std::numbers::pi / 2.0});
  }
  return transformer;
}

}  // namespace bandmatch
