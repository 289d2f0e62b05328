// From the ideal ladder of a report to a network one can build: an ideal transformer to a
// required source resistance, standard part values, and the losses of real inductors and
// capacitors. Position 1 is the load's own resonator and is never changed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "network/reported_design.hpp"
#include "network/ladder_analysis.hpp"
#include "network/load_fit.hpp"
#include "network/standard_values.hpp"

namespace bandmatch {

// The source resistances the exporter and the page take, in ohms, both included.
inline constexpr double MIN_SOURCE_OHMS = 1e-3;
inline constexpr double MAX_SOURCE_OHMS = 1e6;

// What is asked of the network beyond the design's ideal ladder; nothing given leaves it as is.
struct BuildOptions {
  std::optional<double> sourceOhms;  // the real source's resistance
  std::optional<PreferredSeries> series;
  std::optional<double> inductorQ;
  std::optional<double> capacitorQ;
};

// Whether the options change the design's ideal ladder at all.
bool changesNetwork(const BuildOptions& options);

// The first position that stands for real parts; position 1 is the load itself.
inline constexpr int FIRST_BUILT_POSITION = 2;

// The ladder driven from a source of `sourceOhms` through an ideal transformer of turns ratio
// n = sqrt(Rdesign / sourceOhms), so that the ladder still sees its design source resistance.
LadderNetwork withSourceResistance(LadderNetwork ladder, double sourceOhms);

// The ladder with every L and C of positions 2..N replaced by the nearest value of the series,
// or the reason one has none.
struct StandardLadder {
  std::optional<LadderNetwork> ladder;
  std::string error;
};
StandardLadder withStandardValues(LadderNetwork ladder, PreferredSeries series);

// The ladder with a series loss resistance in each part of positions 2..N: w0 L / Q for an
// inductor and 1 / (w0 C Q) for a capacitor, at the band's centre, constant over frequency.
LadderNetwork withComponentLosses(LadderNetwork ladder, double centreMHz,
                                  std::optional<double> inductorQ,
                                  std::optional<double> capacitorQ);

// The retuning element of a measured load as built: its value rounded to the series when one is
// given, or nothing with the reason ("L(1) = ... has no E24 value ..."); and with the loss of
// its Q at the band centre when one is given.
std::optional<Retuning> withStandardRetuning(Retuning retuning, PreferredSeries series,
                                             std::string& error);
Retuning withRetuningLoss(Retuning retuning, double centreMHz, std::optional<double> inductorQ,
                          std::optional<double> capacitorQ);

// One network the export analyses, with the name its curve and summary row carry. On a measured
// load the retuning element is one of its parts, built like the others (kind none otherwise).
struct NetworkVariant {
  std::string label;
  LadderNetwork ladder;
  Retuning retuning;
};

// Each variant the options lead to, in order: the ideal ladder (with the transformer when a
// source resistance is asked), then with standard values, then with losses. The last one is
// the network to build. `retuning` is a measured load's retuning element, if any.
struct NetworkVariants {
  std::vector<NetworkVariant> variants;
  std::string error;  // when a standard value cannot be found
};
NetworkVariants networkVariants(const ReportedDesign& design, const BuildOptions& options,
                                const Retuning& retuning = {});

// A measured load at position 1 as the list of parts and the schematic show it: the load's own
// fitted values (not parts to buy) and its retuning element, ideal and as built.
struct MeasuredLoadParts {
  LoadModel model;
  Retuning ideal;
  Retuning built;
};

// "L(3)" for element 'L' at index 2 (position 3).
std::string elementName(char element, std::size_t index);

// One line saying how the built network differs from the report's, e.g. "E24 values; inductor
// Q 100; ideal transformer to a 50 ohm source". Empty when nothing is asked.
std::string buildDescription(const BuildOptions& options);

// The options as a companion program takes them on its command line, e.g. "--series E12
// --q-inductor 100"; empty when nothing is asked.
std::string buildOptionWords(const BuildOptions& options);

}  // namespace bandmatch
