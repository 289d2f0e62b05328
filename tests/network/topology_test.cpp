#include "network/topology.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

TEST(Topology, ReadsPrintsAndCountsEveryName) {
  struct Case {
    std::string text;
    std::string printed;  // empty when refused
    int parts;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"sL pC", "sL pC", 2, ""},
      {"  X\tpC  sL|C pLC ", "X pC sL|C pLC", 5, ""},
      {"T oS T sS", "T oS T sS", 4, ""},
      {"X", "X", 0, ""},
      {"sL pc", "", 0, "unknown section \"pc\" at position 2"},
      {"sL pC sL||C", "", 0, "unknown section \"sL||C\" at position 3"},
      {" \t ", "", 0, "the topology names no section"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TopologyParse parse = parseTopology(c.text);
    if (c.printed.empty()) {
      EXPECT_TRUE(parse.topology.empty());
      EXPECT_EQ(parse.error.substr(0, c.error.size()), c.error);
      EXPECT_EQ(parse.error.find('\n'), std::string::npos);
      continue;
    }
    EXPECT_EQ(parse.error, "");
    EXPECT_EQ(topologyText(parse.topology), c.printed);
    EXPECT_EQ(partCount(parse.topology), c.parts);
  }
}

// The number of arm sequences of exactly p parts with a given first arm orientation: the last arm
// is L or C (one part) or L-C in series or in parallel (two), so a(p) = 2 a(p-1) + 2 a(p-2).
long long ladderCount(int maxParts) {
  std::vector<long long> exactly = {1, 2};
  long long total = 0;
  for (int p = 1; p <= maxParts; ++p) {
    if (p >= 2) {
      exactly.push_back(2 * exactly[p - 1] + 2 * exactly[p - 2]);
    }
    total += exactly[p];
  }
  return 2 * total;  // either arm first
}

// The count of each family worked out by hand: band-pass ladders beyond the free ladders' limit
// (N resonators, 2N parts, either arm first); single stubs (2 parts, 4 of them); double stubs
// (3 parts, 4); stepped lines (1 to 4 parts, one each); line-and-stub cascades of 2 to 4 sections
// (2m parts, 4 each; one section is a single stub).
long long expectedCount(int maxParts) {
  long long lumped = ladderCount(std::min(maxParts, FREE_LADDER_PART_LIMIT));
  for (int resonators = 1; resonators <= 10; ++resonators) {
    if (2 * resonators > FREE_LADDER_PART_LIMIT && 2 * resonators <= maxParts) {
      lumped += 2;
    }
  }
  long long lines = (maxParts >= 2 ? 4 : 0) + (maxParts >= 3 ? 4 : 0) + std::min(maxParts, 4);
  for (int sections = 2; sections <= 4; ++sections) {
    lines += 2 * sections <= maxParts ? 4 : 0;
  }
  return 2 * lumped + lines;  // each lumped one also behind a transformer
}

TEST(Topology, LibraryHoldsEachTopologyOnceWithinThePartLimit) {
  for (const int maxParts : {1, 2, 3, 5, 8, 9, 12, 20}) {
    SCOPED_TRACE(maxParts);
    const std::vector<LibraryTopology> library = topologyLibrary(maxParts);
    EXPECT_EQ(static_cast<long long>(library.size()), expectedCount(maxParts));
    std::set<std::string> texts;
    for (const LibraryTopology& entry : library) {
      EXPECT_LE(partCount(entry.topology), maxParts);
      const std::string text = topologyText(entry.topology);
      EXPECT_TRUE(texts.insert(text).second) << text;
      EXPECT_EQ(parseTopology(text).topology, entry.topology);
    }
  }
  struct Member {
    int maxParts;
    std::string text;
    std::string family;  // empty when it must not be there
  };
  const std::vector<Member> members = {
      {2, "pC sL", "L network"},
      {3, "pC sL pC", "Pi network"},
      {8, "pC sL pC sL pC sL pC sL", "low-pass ladder"},
      {20, "pL|C sLC pL|C sLC pL|C sLC pL|C sLC pL|C sLC", "band-pass ladder"},
      {5, "pC sL|C pLC", "ladder"},
      {6, "X pLC sL|C pC", "transformer + ladder"},
      {2, "sS T", "single stub"},
      {3, "oS T sS", "double stub"},
      {4, "T T T T", "stepped line"},
      {8, "sS T sS T sS T sS T", "line and stub"},
      {20, "pC pL", ""},
      {20, "T X", ""},
      {12, "sL pC sL pC sL pC sL pC sL", ""},
      {9, "sC pL sC pL sC pL sC pL sLC", ""},
  };
  for (const Member& member : members) {
    SCOPED_TRACE(member.text);
    const std::vector<LibraryTopology> library = topologyLibrary(member.maxParts);
    const Topology wanted = parseTopology(member.text).topology;
    const auto found = std::find_if(library.begin(), library.end(),
                                    [&](const LibraryTopology& e) { return e.topology == wanted; });
    if (member.family.empty()) {
      EXPECT_EQ(found, library.end());
    } else {
      ASSERT_NE(found, library.end());
      EXPECT_EQ(found->family, member.family);
    }
  }
}

}  // namespace
}  // namespace bandmatch
