#include "tools/common/network_options.hpp"

#include <cstdint>
#include <optional>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/real_parse.hpp"
#include "tools/common/command_line.hpp"
#include "tools/common/option_values.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view REPORT_SUFFIX = ".csv";

char lowerCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) {
    return false;
  }
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (lowerCase(tail[i]) != lowerCase(suffix[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

void addSweepOptions(CLI::App& app, std::string& points, std::string& span) {
  app.add_option("--points", points, "frequency points of the sweep, 2 to 100000 (default 801)")
      ->type_name("N");
  app.add_option("--span", span,
                 "sweep width as a multiple of the band, 1 to 10 (default 1.5; 1 sweeps the band "
                 "alone); the sweep starts no lower than f1/10")
      ->type_name("F");
}

std::string readSweepOptions(const CLI::App& app, const std::string& typedPoints,
                             const std::string& typedSpan, int& points, double& span) {
  if (app.count("--points") > 0) {
    const std::optional<int> read = parseWholeInteger(typedPoints);
    if (!read || *read < MIN_POINTS || *read > MAX_POINTS) {
      return "--points must be a whole number from " + formatInteger(MIN_POINTS) + " to " +
             formatInteger(MAX_POINTS) + ", found " + quotedText(typedPoints);
    }
    points = *read;
  }
  if (app.count("--span") > 0) {
    const std::optional<double> read = parseWholeReal(typedSpan);
    if (!read || *read < MIN_SPAN || *read > MAX_SPAN) {
      return "--span must be a number from 1 to 10, found " + quotedText(typedSpan);
    }
    span = *read;
  }
  return {};
}

std::string readSeriesOption(const CLI::App& app, const std::string& typed,
                             std::optional<PreferredSeries>& series) {
  if (app.count("--series") > 0) {
    series = preferredSeriesFromName(typed);
    if (!series) {
      return "--series must be one of E12, E24, E48, E96 and E192, found " + quotedText(typed);
    }
  }
  return {};
}

std::string readQualityOption(const CLI::App& app, std::string_view name,
                              const std::string& typed, std::optional<double>& q) {
  if (app.count(std::string(name)) == 0) {
    return {};
  }
  q = parseWholeReal(typed);
  if (!q || !(*q > 0.0)) {
    q.reset();
    return std::string(name) + " must be a number above 0, found " + quotedText(typed);
  }
  return {};
}

void addPowerOption(CLI::App& app, std::string& power) {
  app.add_option("--power", power,
                 "the power in watts the source makes available (1e-9 to 1e9): each part's worst "
                 "in-band peak voltage and RMS current in the parts list and the summary")
      ->type_name("W");
}

std::string readPowerOption(const CLI::App& app, const std::string& typed,
                            std::optional<double>& watts) {
  if (app.count("--power") == 0) {
    return {};
  }
  const std::optional<double> value = parseWholeReal(typed);
  if (!value || *value < MIN_POWER_WATTS || *value > MAX_POWER_WATTS) {
    return "--power must be a number of watts from 1e-9 to 1e9, found " + quotedText(typed);
  }
  watts = *value;
  return {};
}


// A tolerance in percent, 0 to 50; `fallback` when the option is not given.
double readTolerancePercent(const CLI::App& app, std::string_view name, const std::string& typed,
                      double fallback, std::string& error) {
  if (app.count(std::string(name)) == 0 || !error.empty()) {
    return fallback;
  }
  const std::optional<double> percent = parseWholeReal(typed);
  if (!percent || *percent < 0.0 || *percent > MAX_TOLERANCE_PERCENT) {
    error =
        std::string(name) + " must be a number of percent from 0 to 50, found " + quotedText(typed);
    return fallback;
  }
  return *percent;
}

// The tolerances, the trials, their seed and the goal; the trials and the seed need a
// tolerance, the goal a tolerance or the Smith chart.
std::string readToleranceOptions(const CLI::App& app, const TypedNetworkOptions& typed,
                                 NetworkFileOptions& options) {
  options.smith = typed.smith;
  std::string error;
  const double common = readTolerancePercent(app, "--tolerance", typed.tolerance, 0.0, error);
  ToleranceOptions tolerance;
  tolerance.inductorPercent =
      readTolerancePercent(app, "--tolerance-l", typed.inductorTolerance, common, error);
  tolerance.capacitorPercent =
      readTolerancePercent(app, "--tolerance-c", typed.capacitorTolerance, common, error);
  if (!error.empty()) {
    return error;
  }
  const bool tolerated =
      app.count("--tolerance") + app.count("--tolerance-l") + app.count("--tolerance-c") > 0;
  constexpr std::string_view ANY_TOLERANCE = "--tolerance, --tolerance-l or --tolerance-c";
  if (app.count("--trials") > 0) {
    const std::optional<int> trials = parseWholeInteger(typed.trials);
    if (!trials || *trials < 1 || *trials > MAX_TRIALS) {
      return "--trials must be a whole number from 1 to " + formatInteger(MAX_TRIALS) + ", found " +
             quotedText(typed.trials);
    }
    if (!tolerated) {
      return "--trials needs a tolerance: " + std::string(ANY_TOLERANCE);
    }
    tolerance.trials = *trials;
  }
  if (app.count("--seed") > 0) {
    const std::optional<std::uint64_t> seed = parseWholeUnsigned(typed.seed);
    if (!seed) {
      return "--seed must be a whole number from 0 to 18446744073709551615, found " +
             quotedText(typed.seed);
    }
    if (!tolerated) {
      return "--seed needs a tolerance: " + std::string(ANY_TOLERANCE);
    }
    tolerance.seed = *seed;
  }
  if (app.count("--goal-swr") > 0) {
    const std::optional<double> goal = parseWholeReal(typed.goalSwr);
    if (!goal || !(*goal >= 1.0)) {
      return "--goal-swr must be a number of 1 or more, found " + quotedText(typed.goalSwr);
    }
    if (!tolerated && !options.smith) {
      return "--goal-swr needs a tolerance (" + std::string(ANY_TOLERANCE) + ") or --smith";
    }
    options.goalSwr = *goal;
  }
  if (tolerated) {
    options.tolerance = tolerance;
  }
  return {};
}


void addNetworkFileOptions(CLI::App& app, TypedNetworkOptions& typed) {
  app.add_option("REPORT", typed.reportPath, "the CSV report written by bandmatch")
      ->required()
      ->type_name("");
  addSweepOptions(app, typed.points, typed.span);
  app.add_option("--out", typed.outBase,
                 "base name of the files (default: the report's name without .csv)")
      ->type_name("BASE");
  app.add_option("--load", typed.loadPath,
                 "a measured load (Touchstone one-port file) to put in place of position 1")
      ->type_name("FILE");
  app.add_option("--source-ohms", typed.sourceOhms,
                 "drive the ladder from a source of R ohms (0.001 to 1000000) through an ideal "
                 "transformer of turns ratio sqrt(Rdesign / R); the Touchstone file is then "
                 "referenced to R")
      ->type_name("R");
  app.add_option("--series", typed.series,
                 "replace every L and C of positions 2 to N by the nearest standard value of "
                 "E12, E24, E48, E96 or E192")
      ->type_name("E");
  app.add_option("--q-inductor", typed.inductorQ,
                 "give each inductor of positions 2 to N a series loss resistance w0 L / Q, "
                 "taken at the band centre and held constant over the sweep")
      ->type_name("Q");
  app.add_option("--q-capacitor", typed.capacitorQ,
                 "give each capacitor of positions 2 to N a series loss resistance "
                 "1 / (w0 C Q), taken at the band centre and held constant over the sweep")
      ->type_name("Q");
  app.add_flag("--parts", typed.parts,
               "write the list of parts and schematic and print the summary even with nothing "
               "else to build");
  app.add_option("--tolerance", typed.tolerance,
                  "run tolerance trials: every L and C of positions 2 to N drawn uniformly within "
                  "+-PCT percent (0 to 50)")
      ->type_name("PCT");
  app.add_option("--tolerance-l", typed.inductorTolerance,
                  "the inductors' tolerance in percent, 0 to 50 (overrides --tolerance for them)")
      ->type_name("PCT");
  app.add_option("--tolerance-c", typed.capacitorTolerance,
                  "the capacitors' tolerance in percent, 0 to 50 (overrides --tolerance for them)")
      ->type_name("PCT");
  app.add_option("--trials", typed.trials, "number of tolerance trials, 1 to 1000000 (default 1000)")
      ->type_name("N");
  app.add_option("--seed", typed.seed,
                  "seed of the trials' generator, 0 to 18446744073709551615 (default 1)")
      ->type_name("S");
  app.add_option("--goal-swr", typed.goalSwr,
                  "the SWR a trial must not exceed anywhere in the band to count to the yield, "
                  "1 or more (default 2); also the circle of the Smith chart")
      ->type_name("S");
  addPowerOption(app, typed.power);
  app.add_flag("--smith", typed.smith,
                "also write BASE-smith.svg, the Smith chart of the network's reflection");
  addJsonFlag(app, typed.json);
}

std::string readNetworkFileOptions(const CLI::App& app, const TypedNetworkOptions& typed,
                                   NetworkFileOptions& options) {
  options.reportPath = typed.reportPath;
  if (options.reportPath.empty()) {
    return "the report name is empty";
  }
  if (std::string error =
          readSweepOptions(app, typed.points, typed.span, options.points, options.span);
      !error.empty()) {
    return error;
  }
  if (app.count("--load") > 0 && typed.loadPath.empty()) {
    return "the load file name is empty";
  }
  if (app.count("--out") > 0 && typed.outBase.empty()) {
    return "the base name of the files (--out) is empty";
  }
  options.loadPath = typed.loadPath;
  if (app.count("--source-ohms") > 0) {
    const std::optional<double> ohms = parseWholeReal(typed.sourceOhms);
    if (!ohms || *ohms < MIN_SOURCE_OHMS || *ohms > MAX_SOURCE_OHMS) {
      return "--source-ohms must be a number from 0.001 to 1000000, found " +
             quotedText(typed.sourceOhms);
    }
    options.build.sourceOhms = *ohms;
  }
  for (std::string error :
       {readSeriesOption(app, typed.series, options.build.series),
        readQualityOption(app, "--q-inductor", typed.inductorQ, options.build.inductorQ),
        readQualityOption(app, "--q-capacitor", typed.capacitorQ, options.build.capacitorQ)}) {
    if (!error.empty()) {
      return error;
    }
  }
  options.parts = typed.parts;
  options.json = typed.json;
  options.outBase = typed.outBase.empty() ? defaultOutputBase(options.reportPath) : typed.outBase;
  if (std::string error = readPowerOption(app, typed.power, options.powerWatts); !error.empty()) {
    return error;
  }
  return readToleranceOptions(app, typed, options);
}

bool buildsNetwork(const NetworkFileOptions& options) {
  return options.parts || changesNetwork(options.build) || options.tolerance.has_value() ||
         options.powerWatts.has_value();
}

std::string defaultOutputBase(std::string_view reportPath) {
  if (endsWithIgnoringCase(reportPath, REPORT_SUFFIX) && reportPath.size() > REPORT_SUFFIX.size()) {
    return std::string(reportPath.substr(0, reportPath.size() - REPORT_SUFFIX.size()));
  }
  return std::string(reportPath);
}

}  // namespace bandmatch
