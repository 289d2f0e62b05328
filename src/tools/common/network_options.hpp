// The command-line options of every program that writes the files of a report's network
// (bandmatch-export, bandmatch-tune): the report, the sweep, the base name of the files, a
// measured load and what to build. Declared once, so they mean the same and default alike.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "network/network_build.hpp"
#include "network/tolerance.hpp"
#include "network/sweep.hpp"

namespace bandmatch {

inline constexpr int DEFAULT_POINTS = DEFAULT_SWEEP_POINTS;
inline constexpr int MIN_POINTS = 2;
inline constexpr int MAX_POINTS = 100000;
inline constexpr double DEFAULT_SPAN = DEFAULT_SWEEP_SPAN;
inline constexpr double MIN_SPAN = 1.0;
inline constexpr double MAX_SPAN = 10.0;
// The source's available power in watts, both included.
inline constexpr double MIN_POWER_WATTS = 1e-9;
inline constexpr double MAX_POWER_WATTS = 1e9;

struct NetworkFileOptions {
  std::string reportPath;
  int points = DEFAULT_POINTS;
  double span = DEFAULT_SPAN;  // sweep width as a multiple of the band
  std::string outBase;         // path of the files without their suffixes
  std::string loadPath;        // a measured load (Touchstone one-port) for position 1, if any
  BuildOptions build;          // the network to build instead of the report's ideal ladder
  bool parts = false;          // the list of parts and schematic even when nothing else is asked
  std::optional<ToleranceOptions> tolerance;  // the Monte Carlo trials, when a tolerance is given
  double goalSwr = DEFAULT_GOAL_SWR;          // the yield's goal and the Smith chart's circle
  bool smith = false;                         // BASE-smith.svg too
  std::optional<double> powerWatts;  // the source's available power: each part's stress
  bool json = false;                 // the summary as one JSON document
};

// The option words as typed, checked after parsing so that every refusal names what was found.
struct TypedNetworkOptions {
  std::string reportPath;
  std::string points;
  std::string span;
  std::string outBase;
  std::string loadPath;
  std::string sourceOhms;
  std::string series;
  std::string inductorQ;
  std::string capacitorQ;
  bool parts = false;
  std::string tolerance;
  std::string inductorTolerance;
  std::string capacitorTolerance;
  std::string trials;
  std::string seed;
  std::string goalSwr;
  bool smith = false;
  std::string power;
  bool json = false;
};

// Declares --points and --span on `app`, bound to the words typed.
void addSweepOptions(CLI::App& app, std::string& points, std::string& span);

// Checks the words of --points and --span, where given, into `points` and `span`; returns the
// refusal, or nothing when both are good.
std::string readSweepOptions(const CLI::App& app, const std::string& typedPoints,
                             const std::string& typedSpan, int& points, double& span);

// Checks the word of --series, where given, into `series`; returns the refusal or nothing.
std::string readSeriesOption(const CLI::App& app, const std::string& typed,
                             std::optional<PreferredSeries>& series);

// Checks the word of the quality factor option `name` (--q-inductor, --q-capacitor), where
// given, into `q`: a finite number above zero. Returns the refusal or nothing.
std::string readQualityOption(const CLI::App& app, std::string_view name,
                              const std::string& typed, std::optional<double>& q);

// Declares --power on `app`, bound to the word typed.
void addPowerOption(CLI::App& app, std::string& power);

// Checks the word of --power, where given, into `watts`: MIN_POWER_WATTS to MAX_POWER_WATTS.
// Returns the refusal or nothing.
std::string readPowerOption(const CLI::App& app, const std::string& typed,
                            std::optional<double>& watts);

// The word of the tolerance option `name` in percent, 0 to 50; `fallback` when the option is not
// given or `error` already holds a refusal, which a bad word sets.
double readTolerancePercent(const CLI::App& app, std::string_view name, const std::string& typed,
                            double fallback, std::string& error);

// Checks --tolerance, --tolerance-l, --tolerance-c, --trials, --seed and --goal-swr (and takes
// --smith) from `typed` into `options`: the trials and the seed need a tolerance, the goal a
// tolerance or the Smith chart. Returns the refusal or nothing.
std::string readToleranceOptions(const CLI::App& app, const TypedNetworkOptions& typed,
                                 NetworkFileOptions& options);

// Declares the report and the options on `app`, bound to `typed`.
void addNetworkFileOptions(CLI::App& app, TypedNetworkOptions& typed);

// Checks the parsed words into `options`; returns the refusal, or nothing when all are good.
std::string readNetworkFileOptions(const CLI::App& app, const TypedNetworkOptions& typed,
                                   NetworkFileOptions& options);

// Whether the run builds a network: it then also writes the list of parts and the schematic and
// prints the worst figures of each step.
bool buildsNetwork(const NetworkFileOptions& options);

// The report's path without a final ".csv" (any letter case); other names are kept whole.
std::string defaultOutputBase(std::string_view reportPath);

}  // namespace bandmatch
