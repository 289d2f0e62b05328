// A chosen cascade for the tests of its files: the sections at a centre frequency between two
// ends given as the user writes them ("50", "series:R=12.5,L=1.2u"), over a band; and a ladder's
// position as the section that stands for it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network/ladder_analysis.hpp"
#include "network/matched_cascade.hpp"

namespace bandmatch::support {

inline CascadeEnd endFromText(const std::string& text) {
  const EndParse parse = parseNetworkEnd(text);
  EXPECT_TRUE(parse.end) << parse.error;
  return modelEnd(parse.end.value_or(NetworkEnd{}), text);
}

inline MatchedCascade matchedCascade(std::vector<Section> sections, double centreMHz,
                                     const std::string& source, const std::string& load,
                                     double f1, double f2) {
  MatchedCascade cascade;
  cascade.network.sections = std::move(sections);
  cascade.network.centreMHz = centreMHz;
  cascade.source = endFromText(source);
  cascade.load = endFromText(load);
  cascade.f1 = f1;
  cascade.f2 = f2;
  return cascade;
}

// Position `position` of the ladder as a series resonator or a shunt tank whose parts have the Q
// of its loss resistances at w0 (radians per second).
inline Section ladderSection(const LadderNetwork& ladder, int position, double w0) {
  const auto k = static_cast<std::size_t>(position - 1);
  const double l = ladder.inductance[k];
  const double c = ladder.capacitance[k];
  const double lossL = lossAt(ladder.inductorLoss, k);
  const double lossC = lossAt(ladder.capacitorLoss, k);
  return {.kind = isSeriesPosition(ladder.loadType, position) ? SectionKind::seriesResonator
                                                              : SectionKind::shuntTank,
          .inductance = l,
          .capacitance = c,
          .inductorQ = lossL > 0.0 ? w0 * l / lossL : LOSSLESS_Q,
          .capacitorQ = lossC > 0.0 ? 1.0 / (w0 * c * lossC) : LOSSLESS_Q};
}

}  // namespace bandmatch::support
