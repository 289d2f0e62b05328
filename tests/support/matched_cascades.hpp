// A chosen cascade for the tests of its files: the sections at a centre frequency between two
// ends given as the user writes them ("50", "series:R=12.5,L=1.2u"), over a band.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace bandmatch::support
