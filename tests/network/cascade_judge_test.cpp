#include "network/cascade_judge.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace bandmatch {
namespace {

constexpr double PI = std::numbers::pi;

// Resonances worked by hand at f0 = 100 MHz: 1 uH with 1 nF at 1 / (2 pi sqrt(1e-15)) Hz; an
// open stub of 0.5 rad reaches pi/2 and 3 pi/2 at 100 (pi/2) / 0.5 and three times that, a
// shorted one of 1 rad reaches pi, 2 pi and 3 pi at 100 pi, 200 pi and 300 pi MHz; up to
// 1000 MHz.
TEST(CascadeJudge, FindsTheSectionsResonances) {
  const struct {
    Section section;
    std::vector<double> resonances;
  } cases[] = {
      {{.kind = SectionKind::seriesResonator, .inductance = 1e-6, .capacitance = 1e-9},
       {1e-6 / (2.0 * PI * std::sqrt(1e-15))}},
      {{.kind = SectionKind::shuntTank, .inductance = 1e-6, .capacitance = 1e-9},
       {1e-6 / (2.0 * PI * std::sqrt(1e-15))}},
      {{.kind = SectionKind::openStub, .impedance = 50.0, .length = 0.5}, {100.0 * PI, 300.0 * PI}},
      {{.kind = SectionKind::shortStub, .impedance = 50.0, .length = 1.0},
       {100.0 * PI, 200.0 * PI, 300.0 * PI}},
      {{.kind = SectionKind::line, .impedance = 50.0, .length = 1.0}, {}},
      {{.kind = SectionKind::seriesInductor, .inductance = 1e-6}, {}},
  };
  for (const auto& c : cases) {
    const std::vector<double> found = cascadeResonances({{c.section}, 100.0}, 1000.0);
    ASSERT_EQ(found.size(), c.resonances.size());
    for (std::size_t k = 0; k < found.size(); ++k) {
      EXPECT_NEAR(found[k], c.resonances[k], 1e-9 * c.resonances[k]);
    }
  }
}

TEST(CascadeJudge, MergesTheEndsDataAndJudgesANetworkWithoutResponseAsWorst) {
  NetworkEnd source;
  source.kind = EndKind::measured;
  source.measured = {{1.0, 2.0, 3.0}, {50.0, 50.0, 50.0}, {1, 2, 3}};
  NetworkEnd load;
  load.kind = EndKind::measured;
  load.measured = {{2.0, 2.5}, {60.0, 60.0}, {1, 2}};
  EXPECT_EQ(endDataMHz(source, load), (std::vector<double>{1.0, 2.0, 2.5, 3.0}));

  CascadeNetwork broken{{{.kind = SectionKind::seriesInductor, .inductance = std::nan("")}}, 2.0};
  EXPECT_FALSE(hasLosses(broken));
  const JudgedBand judged = judgeCascade(broken, source, load, 2.0, 2.5);
  EXPECT_EQ(judged.worstReflection, HUGE_VAL);
  EXPECT_EQ(judged.worstGain, 0.0);
  broken.sections.front().inductorQ = 80.0;
  EXPECT_TRUE(hasLosses(broken));
}

}  // namespace
}  // namespace bandmatch
