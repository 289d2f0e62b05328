#include "network/topology.hpp"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

#include "core/display_text.hpp"

namespace bandmatch {

namespace {

struct NamedKind {
  std::string_view name;
  SectionKind kind;
  int parts;
};

constexpr std::array<NamedKind, 12> SECTION_NAMES = {{
    {"sL", SectionKind::seriesInductor, 1},
    {"sC", SectionKind::seriesCapacitor, 1},
    {"pL", SectionKind::shuntInductor, 1},
    {"pC", SectionKind::shuntCapacitor, 1},
    {"sLC", SectionKind::seriesResonator, 2},
    {"pLC", SectionKind::shuntResonator, 2},
    {"sL|C", SectionKind::seriesTank, 2},
    {"pL|C", SectionKind::shuntTank, 2},
    {"T", SectionKind::line, 1},
    {"oS", SectionKind::openStub, 1},
    {"sS", SectionKind::shortStub, 1},
    {"X", SectionKind::transformer, 0},
}};

const NamedKind& namedKind(SectionKind kind) {
  return *std::find_if(SECTION_NAMES.begin(), SECTION_NAMES.end(),
                       [kind](const NamedKind& named) { return named.kind == kind; });
}

// The arms of a lumped ladder: L, C, L-C in series, L parallel C; in the series arm and in the
// shunt arm.
enum class Arm { inductor, capacitor, resonator, tank };
constexpr std::array<Arm, 4> ARMS = {Arm::inductor, Arm::capacitor, Arm::resonator, Arm::tank};

SectionKind armKind(Arm arm, bool series) {
  switch (arm) {
    case Arm::inductor:
      return series ? SectionKind::seriesInductor : SectionKind::shuntInductor;
    case Arm::capacitor:
      return series ? SectionKind::seriesCapacitor : SectionKind::shuntCapacitor;
    case Arm::resonator:
      return series ? SectionKind::seriesResonator : SectionKind::shuntResonator;
    case Arm::tank:
      return series ? SectionKind::seriesTank : SectionKind::shuntTank;
  }
  return SectionKind::seriesInductor;
}

// The ladder of alternating arms that starts with a series arm when `seriesFirst` is set.
Topology ladder(const std::vector<Arm>& arms, bool seriesFirst) {
  Topology topology;
  bool series = seriesFirst;
  for (const Arm arm : arms) {
    topology.push_back(armKind(arm, series));
    series = !series;
  }
  return topology;
}

// Collects entries in order, each topology once and only within the part limit.
struct Library {
  int maxParts = 0;
  std::set<Topology> seen;
  std::vector<LibraryTopology> entries;

  void add(const std::string& family, Topology topology) {
    if (partCount(topology) <= maxParts && seen.insert(topology).second) {
      entries.push_back({family, std::move(topology)});
    }
  }
};

// Every sequence of arms with at most `limit` parts, appended to `all` by depth-first search.
void armSequences(std::vector<Arm>& current, int parts, int limit,
                  std::vector<std::vector<Arm>>& all) {
  for (const Arm arm : ARMS) {
    const int armParts = arm == Arm::inductor || arm == Arm::capacitor ? 1 : 2;
    if (parts + armParts <= limit) {
      current.push_back(arm);
      all.push_back(current);
      armSequences(current, parts + armParts, limit, all);
      current.pop_back();
    }
  }
}

void addLumpedFamilies(Library& library) {
  for (const bool seriesFirst : {true, false}) {
    for (const Arm first : {Arm::inductor, Arm::capacitor}) {
      for (const Arm second : {Arm::inductor, Arm::capacitor}) {
        library.add("L network", ladder({first, second}, seriesFirst));
      }
    }
  }
  for (const bool seriesFirst : {false, true}) {
    for (const Arm first : {Arm::inductor, Arm::capacitor}) {
      for (const Arm second : {Arm::inductor, Arm::capacitor}) {
        for (const Arm third : {Arm::inductor, Arm::capacitor}) {
          library.add(seriesFirst ? "Tee network" : "Pi network",
                      ladder({first, second, third}, seriesFirst));
        }
      }
    }
  }
  // Low-pass ladders have L in the series arms and C in the shunt arms, high-pass the reverse.
  for (const bool highPass : {false, true}) {
    for (int elements = 2; elements <= 8; ++elements) {
      for (const bool seriesFirst : {true, false}) {
        Topology topology;
        for (int k = 0; k < elements; ++k) {
          const bool series = (k % 2 == 0) == seriesFirst;
          topology.push_back(armKind(series != highPass ? Arm::inductor : Arm::capacitor, series));
        }
        library.add(highPass ? "high-pass ladder" : "low-pass ladder", topology);
      }
    }
  }
  for (int resonators = 1; resonators <= 10; ++resonators) {
    for (const bool seriesFirst : {true, false}) {
      Topology topology;
      for (int k = 0; k < resonators; ++k) {
        const bool series = (k % 2 == 0) == seriesFirst;
        topology.push_back(series ? SectionKind::seriesResonator : SectionKind::shuntTank);
      }
      library.add("band-pass ladder", topology);
    }
  }
  std::vector<std::vector<Arm>> sequences;
  std::vector<Arm> current;
  armSequences(current, 0, std::min(library.maxParts, FREE_LADDER_PART_LIMIT), sequences);
  std::vector<Topology> ladders;
  for (const bool seriesFirst : {true, false}) {
    for (const std::vector<Arm>& arms : sequences) {
      ladders.push_back(ladder(arms, seriesFirst));
    }
  }
  std::stable_sort(ladders.begin(), ladders.end(), [](const Topology& a, const Topology& b) {
    return partCount(a) < partCount(b);
  });
  for (Topology& topology : ladders) {
    library.add("ladder", std::move(topology));
  }
}

void addLineFamilies(Library& library) {
  const SectionKind line = SectionKind::line;
  for (const SectionKind stub : {SectionKind::openStub, SectionKind::shortStub}) {
    library.add("single stub", {line, stub});
    library.add("single stub", {stub, line});
  }
  for (const SectionKind first : {SectionKind::openStub, SectionKind::shortStub}) {
    for (const SectionKind second : {SectionKind::openStub, SectionKind::shortStub}) {
      library.add("double stub", {first, line, second});
    }
  }
  for (int sections = 1; sections <= 4; ++sections) {
    library.add("stepped line", Topology(static_cast<std::size_t>(sections), line));
  }
  for (int sections = 1; sections <= 4; ++sections) {
    for (const SectionKind stub : {SectionKind::openStub, SectionKind::shortStub}) {
      for (const bool lineFirst : {true, false}) {
        Topology topology;
        for (int k = 0; k < sections; ++k) {
          topology.push_back(lineFirst ? line : stub);
          topology.push_back(lineFirst ? stub : line);
        }
        library.add("line and stub", topology);
      }
    }
  }
}

}  // namespace

std::string_view sectionName(SectionKind kind) {
  return namedKind(kind).name;
}

TopologyParse parseTopology(std::string_view text) {
  TopologyParse parse;
  std::size_t at = 0;
  while (true) {
    at = text.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) {
      break;
    }
    const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
    const std::string_view token = text.substr(at, end - at);
    const auto named = std::find_if(SECTION_NAMES.begin(), SECTION_NAMES.end(),
                                    [token](const NamedKind& n) { return n.name == token; });
    if (named == SECTION_NAMES.end()) {
      return {{},
              "unknown section " + quotedText(printableText(token)) + " at position " +
                  std::to_string(parse.topology.size() + 1) +
                  " (sections: sL sC pL pC sLC pLC sL|C pL|C T oS sS X)"};
    }
    parse.topology.push_back(named->kind);
    at = end;
  }
  if (parse.topology.empty()) {
    parse.error = "the topology names no section";
  }
  return parse;
}

std::string topologyText(const Topology& topology) {
  std::string text;
  for (const SectionKind kind : topology) {
    if (!text.empty()) {
      text += ' ';
    }
    text += sectionName(kind);
  }
  return text;
}

int partCount(const Topology& topology) {
  int parts = 0;
  for (const SectionKind kind : topology) {
    parts += namedKind(kind).parts;
  }
  return parts;
}

std::vector<LibraryTopology> topologyLibrary(int maxParts) {
  Library library;
  library.maxParts = maxParts;
  addLumpedFamilies(library);
  const std::size_t lumped = library.entries.size();
  for (std::size_t i = 0; i < lumped; ++i) {
    Topology topology = library.entries[i].topology;
    topology.insert(topology.begin(), SectionKind::transformer);
    library.add("transformer + " + library.entries[i].family, std::move(topology));
  }
  addLineFamilies(library);
  return std::move(library.entries);
}

}  // namespace bandmatch
