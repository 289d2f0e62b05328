#include "network/two_port.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "network/ladder_analysis.hpp"
#include "network/network_build.hpp"
#include "support/matched_cascades.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

using Complex = std::complex<double>;
constexpr double PI = std::numbers::pi;

// A section of each kind with values of the size they take around 100 MHz.
Section sampleSection(SectionKind kind, bool lossy) {
  return {.kind = kind,
          .inductance = 120e-9,
          .capacitance = 15e-12,
          .impedance = kind == SectionKind::line ? 70.0 : 40.0,
          .length = kind == SectionKind::shortStub ? 1.1 : 0.7,
          .turnsRatio = 1.6,
          .inductorQ = lossy ? 40.0 : LOSSLESS_Q,
          .capacitorQ = lossy ? 150.0 : LOSSLESS_Q,
          .lineLossDb = lossy ? 0.8 : 0.0};
}

// Every free value's gradient, within a cascade that carries other sections before and after,
// against central differences of the response in the logarithm of that value.
TEST(TwoPort, GradientsOfEverySectionKindAgreeWithCentralDifferences) {
  const Complex source(30.0, 12.0);
  const Complex load(80.0, -45.0);
  const double frequency = 117.0;
  for (int kindIndex = 0; kindIndex <= static_cast<int>(SectionKind::transformer); ++kindIndex) {
    for (const bool lossy : {false, true}) {
      const auto kind = static_cast<SectionKind>(kindIndex);
      CascadeNetwork network;
      network.centreMHz = 100.0;
      network.sections = {sampleSection(SectionKind::shuntCapacitor, lossy),
                          sampleSection(kind, lossy), sampleSection(SectionKind::line, lossy)};
      const std::size_t count = variableCount(network);
      std::vector<double> reflection(count);
      std::vector<double> gain(count);
      CascadeWorkspace workspace;
      cascadeResponse(network, frequency, source, load, workspace, reflection, gain);

      const std::vector<double> point = logVariables(network);
      const double step = 1e-5;
      for (std::size_t v = 0; v < count; ++v) {
        const auto responseAt = [&](double offset) {
          CascadeNetwork moved = network;
          std::vector<double> values = point;
          values[v] += offset;
          setLogVariables(moved, values);
          return cascadeResponse(moved, frequency, source, load, workspace);
        };
        const CascadeResponse up = responseAt(step);
        const CascadeResponse down = responseAt(-step);
        const double reflectionDifference =
            (up.reflectionPower - down.reflectionPower) / (2.0 * step);
        const double gainDifference = (up.transducerGain - down.transducerGain) / (2.0 * step);
        SCOPED_TRACE(::testing::Message()
                     << "kind " << kindIndex << " lossy " << lossy << " value " << v);
        EXPECT_NEAR(reflection[v], reflectionDifference, 1e-7 + 1e-6 * std::fabs(reflection[v]));
        EXPECT_NEAR(gain[v], gainDifference, 1e-7 + 1e-6 * std::fabs(gain[v]));
      }
    }
  }
}

// Without losses the power the load does not take is reflected: |Gamma|^2 + GT = 1 for random
// cascades of every kind between random complex ends; the matrix product agrees with the walk.
TEST(TwoPort, LosslessCascadesConservePower) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const auto within = [&](double low, double high) {
    return low * std::pow(high / low, unit(random));
  };
  CascadeWorkspace workspace;
  for (int trial = 0; trial < 200; ++trial) {
    CascadeNetwork network;
    network.centreMHz = 100.0;
    const int sections = 1 + trial % 8;
    for (int s = 0; s < sections; ++s) {
      network.sections.push_back({.kind = static_cast<SectionKind>(random() % 12),
                                  .inductance = within(10e-9, 1e-6),
                                  .capacitance = within(1e-12, 200e-12),
                                  .impedance = within(20.0, 150.0),
                                  .length = within(0.1, 2.5),
                                  .turnsRatio = within(0.5, 2.0)});
    }
    const Complex source(within(5.0, 200.0), 100.0 * (unit(random) - 0.5));
    const Complex load(within(5.0, 200.0), 100.0 * (unit(random) - 0.5));
    const double frequency = within(50.0, 200.0);
    const CascadeResponse response = cascadeResponse(network, frequency, source, load, workspace);
    EXPECT_NEAR(response.reflectionPower + response.transducerGain, 1.0, 1e-12);
    const ChainMatrix chain = cascadeMatrix(network, frequency);
    EXPECT_NEAR(std::abs(cascadeReflection(chain, source, load) - response.reflection), 0.0, 1e-12);
    EXPECT_NEAR(cascadeTransducerGain(chain, source, load), response.transducerGain, 1e-12);
  }
}

// Closed forms worked by hand, f0 = 100 MHz.
TEST(TwoPort, MatchesClosedForms) {
  const Complex j(0.0, 1.0);
  // A quarter-wave line of 70 ohms turns 100 ohms into 70^2 / 100 = 49 ohms.
  const Section quarterWave{.kind = SectionKind::line, .impedance = 70.0, .length = PI / 2.0};
  EXPECT_NEAR(
      std::abs(cascadeInputImpedance(sectionMatrix(quarterWave, 100.0, 100.0), 100.0) - 49.0), 0.0,
      1e-12);
  // Stubs of 50 ohms and 0.6 rad at f0, seen at 1.3 f0, put Y = j tan(0.78) / 50 (open) and
  // -j cot(0.78) / 50 (shorted) in the shunt arm, the C of the chain matrix.
  Section stub{.kind = SectionKind::openStub, .impedance = 50.0, .length = 0.6};
  EXPECT_NEAR(std::abs(sectionMatrix(stub, 130.0, 100.0).c - j * std::tan(0.78) / 50.0), 0.0,
              1e-15);
  stub.kind = SectionKind::shortStub;
  EXPECT_NEAR(std::abs(sectionMatrix(stub, 130.0, 100.0).c + j / (std::tan(0.78) * 50.0)), 0.0,
              1e-15);
  // An ideal 2:1 transformer shows the load 4 times larger: 10 + 5j becomes 40 + 20j.
  const Section transformer{.kind = SectionKind::transformer, .turnsRatio = 2.0};
  const Complex scaled = cascadeInputImpedance(sectionMatrix(transformer, 55.0, 100.0), {10, 5});
  EXPECT_NEAR(std::abs(scaled - Complex(40.0, 20.0)), 0.0, 1e-14);
}

// A lossy line is an RLGC line: its chain matrix gives gamma l = acosh(A) and Zc = sqrt(B / C),
// so R + jwL = gamma l Zc and G + jwC = gamma l / Zc. G must be zero; R, L and C constant over
// frequency, L and C those of the lossless line (Z0 theta0 / w0 and theta0 / (Z0 w0)); the loss
// at f0 the asked 1.5 dB per wavelength, over 0.9 rad 1.5 * 0.9 / (2 pi) dB.
TEST(TwoPort, LossyLineIsAConstantRlgcLineWithTheAskedAttenuation) {
  const Section line{
      .kind = SectionKind::line, .impedance = 60.0, .length = 0.9, .lineLossDb = 1.5};
  const auto propagationAndImpedance = [&](double f) {
    const ChainMatrix chain = sectionMatrix(line, f, 100.0);
    return std::pair{std::acosh(chain.a), std::sqrt(chain.b / chain.c)};
  };
  const double w0 = 2.0 * PI * 1e8;
  const auto [centreGamma, centreImpedance] = propagationAndImpedance(100.0);
  EXPECT_NEAR(20.0 * std::log10(std::exp(centreGamma.real())), 1.5 * 0.9 / (2.0 * PI), 1e-12);
  const double resistance = (centreGamma * centreImpedance).real();
  for (const double f : {30.0, 100.0, 170.0}) {
    const auto [gamma, impedance] = propagationAndImpedance(f);
    const double w = 2.0 * PI * 1e6 * f;
    EXPECT_NEAR((gamma * impedance).real(), resistance, 1e-12 * resistance);
    EXPECT_NEAR((gamma * impedance).imag() / w, 60.0 * 0.9 / w0, 1e-12 * 60.0 * 0.9 / w0);
    EXPECT_NEAR((gamma / impedance).real(), 0.0, 1e-15);
    EXPECT_NEAR((gamma / impedance).imag() / w, 0.9 / (w0 * 60.0), 1e-12 * 0.9 / (w0 * 60.0));
  }
}

// The ladder of network/ladder_analysis is one cascade: from the source, the transformer (whose n is
// the reciprocal of the ladder's turns ratio), then positions N..1, a series position an sLC
// and a shunt one a pL|C, with each loss resistance as the Q it has at f0. Position 1 is either
// the last section before the load resistance or folded into a complex load.
TEST(TwoPort, TodaysLadderIsOneCascade) {
  const double f0 = 14.0;
  const double w0 = 2.0 * PI * 1e6 * f0;
  for (const LoadType type : {LoadType::series, LoadType::parallel}) {
    for (int n = 1; n <= 10; ++n) {
      for (int variant = 0; variant < 3; ++variant) {
        LadderNetwork ladder =
            ladderFromDesign(support::synthesizedDesign(n, 1.0, type, 10.0, 20.0));
        if (variant >= 1) {
          ladder = withComponentLosses(ladder, f0, 80.0, 300.0);
        }
        if (variant == 2) {
          ladder = withSourceResistance(ladder, 75.0);
        }
        CascadeNetwork network{{}, f0};
        if (ladder.turnsRatio) {
          network.sections.push_back(
              {.kind = SectionKind::transformer, .turnsRatio = 1.0 / *ladder.turnsRatio});
        }
        for (int position = n; position >= 1; --position) {
          network.sections.push_back(support::ladderSection(ladder, position, w0));
        }
        CascadeNetwork withoutFirst = network;
        withoutFirst.sections.pop_back();
        CascadeWorkspace workspace;
        for (double f = 8.0; f <= 22.0; f += 0.25) {
          const Complex resistance(ladder.loadResistance, 0.0);
          const ChainMatrix first = sectionMatrix(network.sections.back(), f, f0);
          const Complex folded = cascadeInputImpedance(first, resistance);
          const Complex reflection = inputReflection(ladder, f);
          const double gain = transducerGain(ladder, f);
          for (const auto& [cascade, load] :
               {std::pair{&network, resistance}, std::pair{&withoutFirst, folded}}) {
            const CascadeResponse response =
                cascadeResponse(*cascade, f, ladder.sourceResistance, load, workspace);
            SCOPED_TRACE(::testing::Message() << "N " << n << " variant " << variant << " f " << f);
            EXPECT_NEAR(std::abs(response.reflection - reflection), 0.0, 1e-12);
            EXPECT_NEAR(response.transducerGain, gain, 1e-12 * gain);
          }
        }
      }
    }
  }
}

// Setting one value leaves every other to the bit (a standard value stays one), and sets that
// one as setting them all does.
TEST(TwoPort, SetsOneValueAndLeavesTheOthers) {
  CascadeNetwork network;
  network.centreMHz = 100.0;
  for (const SectionKind kind : {SectionKind::transformer, SectionKind::shuntTank,
                                 SectionKind::line, SectionKind::seriesCapacitor}) {
    network.sections.push_back(sampleSection(kind, false));
  }
  const std::vector<double> before = logVariables(network);
  for (std::size_t v = 0; v < before.size(); ++v) {
    CascadeNetwork one = network;
    setLogVariable(one, v, before[v] + 0.25);
    CascadeNetwork all = network;
    std::vector<double> moved = before;
    moved[v] += 0.25;
    setLogVariables(all, moved);
    const std::vector<double> after = logVariables(one);
    for (std::size_t k = 0; k < before.size(); ++k) {
      EXPECT_EQ(after[k], k == v ? logVariables(all)[k] : before[k]) << v << " " << k;
    }
  }
}

}  // namespace
}  // namespace bandmatch
