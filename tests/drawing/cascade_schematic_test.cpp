#include "drawing/cascade_schematic.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "support/matched_cascades.hpp"
#include "support/text_boxes.hpp"

namespace bandmatch {
namespace {

using support::TextBox;

std::string render(const MatchedCascade& cascade, const std::optional<Substrate>& substrate) {
  return renderSchematic(layoutCascadeSchematic(cascade, "bandmatch-search", substrate),
                         "schematic");
}

// Random cascades of one to eight sections of every kind, with and without losses and a board,
// between every kind of end: no two labels overlap and every label lies inside the drawing.
TEST(CascadeSchematic, NoTwoLabelsOverlapForAnyTopology) {
  const std::vector<const char*> ends = {"50", "series:R=12.5,L=1.2u,C=80p", "series:R=3",
                                         "parallel:R=200,L=1u,C=5p", "parallel:R=75,C=2p"};
  const Substrate fr4 = *parseSubstrate("er=4.4,h=1.6mm,t=35um").substrate;
  std::mt19937 random(11);
  for (int trial = 0; trial < 300; ++trial) {
    MatchedCascade cascade;
    cascade.network.centreMHz = 400.0;
    for (int s = 0; s < 1 + trial % 8; ++s) {
      const bool lossy = random() % 2 == 0;
      cascade.network.sections.push_back(
          {.kind = static_cast<SectionKind>(random() % 12),
           .inductance = 1e-9 * static_cast<double>(1 + random() % 900),
           .capacitance = 1e-13 * static_cast<double>(1 + random() % 9000),
           .impedance = 10.0 + static_cast<double>(random() % 140),
           .length = 0.1 + 0.01 * static_cast<double>(random() % 300),
           .turnsRatio = 0.3 + 0.01 * static_cast<double>(random() % 300),
           .inductorQ = lossy ? 123.4 : LOSSLESS_Q,
           .capacitorQ = lossy ? 1500.0 : LOSSLESS_Q,
           .lineLossDb = lossy ? 0.25 : 0.0});
    }
    const char* source = ends[random() % ends.size()];
    const char* load = ends[random() % ends.size()];
    cascade.source = support::endFromText(source);
    cascade.load = support::endFromText(load);
    if (trial % 7 == 0) {
      cascade.load.end.kind = EndKind::measured;
      cascade.load.name = "antenna-simulated.s1p";
    }
    if (trial % 11 == 0) {
      cascade.source.end.kind = EndKind::measured;
      cascade.source.name = "amplifier output.s1p";
    }
    cascade.f1 = 380.0;
    cascade.f2 = 420.0;
    const std::string svg = render(cascade, trial % 3 == 0 ? std::optional(fr4) : std::nullopt);
    SCOPED_TRACE(::testing::Message() << "trial " << trial);
    const std::vector<TextBox> boxes = support::expectLabelsApartAndInside(svg);
    EXPECT_GE(boxes.size(), 2 + 2 * cascade.network.sections.size());
  }
}

// The labels written out from the values: 70 ohms and pi/2 at f0, a 2 : 1 transformer showing
// the load 4 times larger; a line's and a stub's shaded box each, the open stub's open end.
TEST(CascadeSchematic, NamesEveryPartWithItsValues) {
  const MatchedCascade cascade = support::matchedCascade(
      {{.kind = SectionKind::seriesTank, .inductance = 100e-9, .capacitance = 4.7e-12, .inductorQ = 80},
       {.kind = SectionKind::line, .impedance = 70.0, .length = std::numbers::pi / 2.0},
       {.kind = SectionKind::openStub, .impedance = 50.0, .length = std::numbers::pi / 4.0},
       {.kind = SectionKind::shortStub, .impedance = 35.0, .length = 1.0, .lineLossDb = 0.5},
       {.kind = SectionKind::transformer, .turnsRatio = 2.0}},
      100.0, "50", "series:R=12.5,L=1.2u", 90.0, 110.0);
  const std::string svg = render(cascade, std::nullopt);
  std::vector<std::string> texts;
  for (const TextBox& box : support::textBoxes(svg)) {
    texts.push_back(box.text);
  }
  for (const char* text :
       {"Rs", "50 \xce\xa9", "L1", "100 nH", "Q 80", "C1", "4.7 pF", "T2", "Z0 70 \xce\xa9",
        "\xce\xb8 90\xc2\xb0 at f0", "S3 open", "Z0 50 \xce\xa9", "\xce\xb8 45\xc2\xb0 at f0",
        "S4 shorted", "0.5 dB/\xce\xbb", "transformer X5", "2 : 1", "Z 4 : 1",
        "ZL: R-L-C in series", "R 12.5 \xce\xa9", "L 1.2 \xc2\xb5H", "source", "load",
        "Matching network: sL|C T oS sS X from 50 to series:R=12.5,L=1.2u, band 90.000000 to "
        "110.000000 MHz"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
  }
  static const std::regex shaded("fill=\"#c8c8c8\"");
  EXPECT_EQ(std::distance(std::sregex_iterator(svg.begin(), svg.end(), shaded),
                          std::sregex_iterator()),
            3);
  EXPECT_NE(svg.find(" r=\"3\" fill=\"white\""), std::string::npos);
}

}  // namespace
}  // namespace bandmatch
