#include "tools/export/export_options.hpp"

#include <cstdint>
#include <memory>
#include <optional>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "tools/common/option_values.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view DESCRIPTION =
    "Reads a CSV report written by bandmatch and writes the files of its matching network.";
constexpr std::string_view FOOTER =
    "Files:\n"
    "  BASE.cir  SPICE netlist with an AC sweep that prints the input reflection magnitude\n"
    "  BASE.s1p  Touchstone file of the input reflection, referenced to the source resistance\n"
    "  BASE.svg  plot of the return loss against frequency\n"
    "With --load, position 1 (the load resistance and the load's own L(1), C(1)) is replaced by\n"
    "the measured impedance, interpolated linearly between the file's points, plus the element\n"
    "that retunes it to resonate at f0 (as bandmatch-fit computes it). BASE.s1p then holds the\n"
    "network on the measured load, the plot shows both curves, and the worst in-band |Gamma|\n"
    "and SWR of each are printed. A sweep reaching beyond the data is clipped to them (a note\n"
    "says so); the band itself must be covered. BASE.cir stays the network on its model load.\n"
    "With --source-ohms, --series, --q-inductor, --q-capacitor or --parts, the files describe\n"
    "the network as built, the plot has one curve per variant (ideal, standard values, with\n"
    "losses), a table of each variant's worst in-band figures is printed, and two more files\n"
    "are written:\n"
    "  BASE-parts.csv      the list of parts, from the source to the load\n"
    "  BASE-schematic.svg  the schematic with the values\n"
    "Position 1 is the load's own resonator: it is never rounded or given losses.\n"
    "With --tolerance, --tolerance-l or --tolerance-c the network is built too, and each of\n"
    "--trials trials draws every L and C of positions 2 to N uniformly within its tolerance\n"
    "(std::mt19937_64 from --seed; the same figures on every machine and thread count). The\n"
    "summary adds the yield (trials whose worst in-band SWR is at most --goal-swr) with its\n"
    "95 % Wilson score interval on a line starting \"Yield:\", the 50th, 90th and 99th\n"
    "percentiles of the worst in-band SWR, and the change of the worst in-band |S11| for +1 %\n"
    "of each part, largest first; the list of parts shows that change too, and the plot the\n"
    "band holding 90 % of the trials' return loss. With --load the trials run on the\n"
    "measured load.\n"
    "With --smith one more file is written:\n"
    "  BASE-smith.svg      the Smith chart of the network's reflection over the sweep, heavy\n"
    "                      inside the band, f1, f0 and f2 marked, with the goal SWR's circle\n"
    "                      and, with --load, the network on the measured load and the load\n"
    "                      alone\n"
    "Exit status: 0 when all files are written, 2 on any error (then no file is written\n"
    "or replaced, and an --out that would replace an input file is refused).";

// The exporter's own option words as typed, checked after parsing like the shared ones.
struct TypedExportOptions {
  std::string tolerance;
  std::string inductorTolerance;
  std::string capacitorTolerance;
  std::string trials;
  std::string seed;
  std::string goalSwr;
  bool smith = false;
};

std::unique_ptr<CLI::App> exportApp(TypedNetworkOptions& typed, TypedExportOptions& own) {
  auto app = std::make_unique<CLI::App>(std::string(DESCRIPTION), std::string(EXPORT_PROGRAM_NAME));
  addStandardFlags(*app);
  app->footer(std::string(FOOTER));
  addNetworkFileOptions(*app, typed);
  app->add_option("--tolerance", own.tolerance,
                  "run tolerance trials: every L and C of positions 2 to N drawn uniformly within "
                  "+-PCT percent (0 to 50)")
      ->type_name("PCT");
  app->add_option("--tolerance-l", own.inductorTolerance,
                  "the inductors' tolerance in percent, 0 to 50 (overrides --tolerance for them)")
      ->type_name("PCT");
  app->add_option("--tolerance-c", own.capacitorTolerance,
                  "the capacitors' tolerance in percent, 0 to 50 (overrides --tolerance for them)")
      ->type_name("PCT");
  app->add_option("--trials", own.trials, "number of tolerance trials, 1 to 1000000 (default 1000)")
      ->type_name("N");
  app->add_option("--seed", own.seed,
                  "seed of the trials' generator, 0 to 18446744073709551615 (default 1)")
      ->type_name("S");
  app->add_option("--goal-swr", own.goalSwr,
                  "the SWR a trial must not exceed anywhere in the band to count to the yield, "
                  "1 or more (default 2); also the circle of the Smith chart")
      ->type_name("S");
  app->add_flag("--smith", own.smith,
                "also write BASE-smith.svg, the Smith chart of the network's reflection");
  return app;
}

ExportOptions refused(std::string message) {
  ExportOptions options;
  options.action = CommandAction::fail;
  options.error = std::move(message);
  return options;
}

// A tolerance in percent, 0 to 50; `fallback` when the option is not given.
double parseTolerance(const CLI::App& app, std::string_view name, const std::string& typed,
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
std::string readExportOptions(const CLI::App& app, const TypedExportOptions& typed,
                              ExportOptions& options) {
  options.smith = typed.smith;
  std::string error;
  const double common = parseTolerance(app, "--tolerance", typed.tolerance, 0.0, error);
  ToleranceOptions tolerance;
  tolerance.inductorPercent =
      parseTolerance(app, "--tolerance-l", typed.inductorTolerance, common, error);
  tolerance.capacitorPercent =
      parseTolerance(app, "--tolerance-c", typed.capacitorTolerance, common, error);
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

}  // namespace

ExportOptions parseExportOptions(const std::vector<std::string>& args) {
  TypedNetworkOptions typed;
  TypedExportOptions own;
  const std::unique_ptr<CLI::App> app = exportApp(typed, own);
  const CommandRequest request = parseCommandLine(*app, args);
  if (request.action != CommandAction::run) {
    ExportOptions options;
    options.action = request.action;
    options.error = request.error;
    return options;
  }
  ExportOptions options;
  std::string error = readNetworkFileOptions(*app, typed, options);
  if (error.empty()) {
    error = readExportOptions(*app, own, options);
  }
  return error.empty() ? options : refused(error);
}

bool exportBuildsNetwork(const ExportOptions& options) {
  return buildsNetwork(options) || options.tolerance.has_value();
}

std::string exportUsage() {
  TypedNetworkOptions typed;
  TypedExportOptions own;
  return exportApp(typed, own)->help();
}

}  // namespace bandmatch
