#include "network/two_port.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "rf/ladder_analysis.hpp"
#include "rf/network_build.hpp"
#include "support/sample_design.hpp"

namespace bandmatch {
namespace {

using Complex = std::complex<double>;
constexpr double PI = std::numbers::pi;

// A section of each kind with values of the size they take around 100 MHz.
Section sampleSection(SectionKind kind, bool lossy) {
  Section section;
  section.kind = kind;
  section.inductance = 120e-9;
  section.capacitance = 15e-12;
  section.impedance = kind == SectionKind::line ? 70.0 : 40.0;
  section.length = kind == SectionKind::shortStub ? 1.1 : 0.7;
  section.turnsRatio = 1.6;
  if (lossy) {
    section.inductorQ = 40.0;
    section.capacitorQ = 150.0;
    section.lineLossDb = 0.8;
  }
  return section;
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
      Section section;
      section.kind = static_cast<SectionKind>(random() % 12);
      section.inductance = within(10e-9, 1e-6);
      section.capacitance = within(1e-12, 200e-12);
      section.impedance = within(20.0, 150.0);
      section.length = within(0.1, 2.5);
      section.turnsRatio = within(0.5, 2.0);
      network.sections.push_back(section);
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

// Closed forms worked by hand at the centre frequency f0 = 100 MHz unless said otherwise.
TEST(TwoPort, MatchesClosedForms) {
  const double f0 = 100.0;
  const double w0 = 2.0 * PI * 1e8;
  const Complex j(0.0, 1.0);
  // A quarter-wave line of 70 ohms turns 100 ohms into 70^2 / 100 = 49 ohms.
  Section quarterWave{.kind = SectionKind::line, .impedance = 70.0, .length = PI / 2.0};
  const Complex inverted = cascadeInputImpedance(sectionMatrix(quarterWave, f0, f0), 100.0);
  EXPECT_NEAR(std::abs(inverted - 49.0), 0.0, 1e-12);
  // Stubs of 50 ohms and 0.6 rad at f0, seen at 1.3 f0: Y = j tan(0.78) / 50 open and
  // -j cot(0.78) / 50 shorted, in the shunt arm (C of the chain matrix).
  Section open{.kind = SectionKind::openStub, .impedance = 50.0, .length = 0.6};
  Section shorted = open;
  shorted.kind = SectionKind::shortStub;
  EXPECT_NEAR(std::abs(sectionMatrix(open, 130.0, f0).c - j * std::tan(0.78) / 50.0), 0.0, 1e-15);
  EXPECT_NEAR(std::abs(sectionMatrix(shorted, 130.0, f0).c + j / (std::tan(0.78) * 50.0)), 0.0,
              1e-15);
  // An L network from 50 to 200 ohms: Q = sqrt(200 / 50 - 1), series X = Q 50 next to the
  // source, shunt B = Q / 200 next to the load; matched at f0.
  const double q = std::sqrt(3.0);
  CascadeNetwork lNetwork{{{.kind = SectionKind::seriesInductor, .inductance = q * 50.0 / w0},
                           {.kind = SectionKind::shuntCapacitor, .capacitance = q / 200.0 / w0}},
                          f0};
  CascadeWorkspace workspace;
  const CascadeResponse matched = cascadeResponse(lNetwork, f0, 50.0, 200.0, workspace);
  EXPECT_NEAR(std::abs(matched.inputImpedance - 50.0), 0.0, 1e-12);
  EXPECT_NEAR(matched.transducerGain, 1.0, 1e-14);
  // An ideal 2:1 transformer shows the load 4 times larger: 10 + 5j becomes 40 + 20j.
  Section transformer{.kind = SectionKind::transformer, .turnsRatio = 2.0};
  const Complex scaled = cascadeInputImpedance(sectionMatrix(transformer, 55.0, f0), {10.0, 5.0});
  EXPECT_NEAR(std::abs(scaled - Complex(40.0, 20.0)), 0.0, 1e-14);
}

// A lossy line is an RLGC line: from its chain matrix, gamma l = acosh(A) and Zc = sqrt(B / C)
// give R + jwL = gamma l Zc and G + jwC = gamma l / Zc. G must be zero, R, L and C constant over
// frequency with L and C those of the lossless line, and the attenuation at f0 the asked dB per
// wavelength: 1.5 dB per wavelength over 0.9 rad is 1.5 * 0.9 / (2 pi) dB.
TEST(TwoPort, LossyLineIsAConstantRlgcLineWithTheAskedAttenuation) {
  const double f0 = 100.0;
  const Section line{
      .kind = SectionKind::line, .impedance = 60.0, .length = 0.9, .lineLossDb = 1.5};
  for (const double f : {30.0, 100.0, 170.0}) {
    const ChainMatrix chain = sectionMatrix(line, f, f0);
    const Complex propagation = std::acosh(chain.a);
    const Complex characteristic = std::sqrt(chain.b / chain.c);
    const Complex seriesImpedance = propagation * characteristic;
    const Complex shuntAdmittance = propagation / characteristic;
    const double w = 2.0 * PI * 1e6 * f;
    const double w0 = 2.0 * PI * 1e6 * f0;
    EXPECT_NEAR(shuntAdmittance.real(), 0.0, 1e-15);
    EXPECT_NEAR(shuntAdmittance.imag() / w, 0.9 / (w0 * 60.0), 1e-12 * 0.9 / (w0 * 60.0));
    EXPECT_NEAR(seriesImpedance.imag() / w, 60.0 * 0.9 / w0, 1e-12 * 60.0 * 0.9 / w0);
    if (f == f0) {
      const double lossDb = 20.0 * std::log10(std::exp(propagation.real()));
      EXPECT_NEAR(lossDb, 1.5 * 0.9 / (2.0 * PI), 1e-12);
      const Complex atCentre = seriesImpedance;
      for (const double other : {30.0, 170.0}) {
        const ChainMatrix otherChain = sectionMatrix(line, other, f0);
        const Complex otherSeries =
            std::acosh(otherChain.a) * std::sqrt(otherChain.b / otherChain.c);
        EXPECT_NEAR(otherSeries.real(), atCentre.real(), 1e-12 * atCentre.real());
      }
    }
  }
}

// The ladder of rf/ladder_analysis is one cascade: from the source, the transformer (whose n is
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
          const auto index = static_cast<std::size_t>(position - 1);
          const double inductorLoss = lossAt(ladder.inductorLoss, index);
          const double capacitorLoss = lossAt(ladder.capacitorLoss, index);
          const double inductance = ladder.inductance[index];
          const double capacitance = ladder.capacitance[index];
          network.sections.push_back(
              {.kind = isSeriesPosition(type, position) ? SectionKind::seriesResonator
                                                        : SectionKind::shuntTank,
               .inductance = inductance,
               .capacitance = capacitance,
               .inductorQ = inductorLoss > 0.0 ? w0 * inductance / inductorLoss : LOSSLESS_Q,
               .capacitorQ =
                   capacitorLoss > 0.0 ? 1.0 / (w0 * capacitance * capacitorLoss) : LOSSLESS_Q});
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

}  // namespace
}  // namespace bandmatch
