// The list of parts of a chosen cascade as CSV, from the source to the load: the source's own
// rows, every inductor and capacitor, line, stub and transformer, the load's own rows; with a
// substrate each line's microstrip width and length, with a power each part's stress.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "network/matched_cascade.hpp"
#include "network/microstrip.hpp"
#include "network/part_stress.hpp"

namespace bandmatch {

// The cells: the header row, then one row per part, every row with the header's columns. A
// part's row gives its section (counted from 1 at the source), its name in the topology
// grammar, its arm and element, its value in engineering units and, in the column "exact value
// (SI)", the value the network is analysed with to seventeen digits (henries, farads, ohms for a line's Z0, the
// turns ratio); a line's or stub's electrical length is in degrees at f0 and, exactly, in
// radians. With a substrate two columns give each line's microstrip width and length in mm;
// with stresses (cascadePartStress of the same network) two more give each part's worst peak
// voltage and RMS current. No cell holds a comma or a quote: names given by the user have theirs
// replaced by ';' and an apostrophe.
std::vector<std::vector<std::string>> cascadePartsRows(
    const MatchedCascade& cascade, const std::optional<Substrate>& substrate = std::nullopt,
    const std::vector<PartStress>* stresses = nullptr);

// The same rows as CSV.
std::string renderCascadePartsList(const MatchedCascade& cascade,
                                   const std::optional<Substrate>& substrate = std::nullopt,
                                   const std::vector<PartStress>* stresses = nullptr);

}  // namespace bandmatch
