#include "tools/tune/tune_options.hpp"

#include <memory>
#include <optional>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/real_parse.hpp"
#include "tools/common/option_values.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view DESCRIPTION =
    "Reads a CSV report written by bandmatch, tunes its matching network for the least worst "
    "in-band reflection on the model load or a measured one, and writes the files of the tuned "
    "network.";
constexpr std::string_view FOOTER =
    "Tuned values: L and C of positions 2 to N, and the source resistance (with --source-ohms\n"
    "the transformer's turns ratio instead); with --tune-retuning also the element that retunes\n"
    "the measured load. Position 1 stays the load. The objective is the worst |Gamma| over the\n"
    "measured points inside the band and its edges, or over 2001 points logarithmic over it on\n"
    "the model load; NLopt's SLSQP solves it from the report's values, each kept within --range\n"
    "of its start. The worst-case judge then looks over the whole band; a peak it finds between\n"
    "the samples joins them and the tuning goes on until both agree. A tuned network never\n"
    "replaces the start unless it is better, and every printed figure is that of the network\n"
    "as the written report states it. With --series the tuned parts (and the retuning element)\n"
    "are rounded to standard values and the source side tuned again. The other options mean\n"
    "what they mean to bandmatch-export, tolerance trials and the Smith chart included.\n"
    "Files, BASE being the report's name without .csv with \"-tuned\" added unless --out names\n"
    "it: those of bandmatch-export for the tuned network (BASE.cir, BASE.s1p, BASE.svg, and\n"
    "when building BASE-parts.csv and BASE-schematic.svg, with --smith BASE-smith.svg), and\n"
    "  BASE.csv         the tuned network as a report, which bandmatch-export and\n"
    "                   bandmatch-tune read back with the same figures\n"
    "  BASE-values.csv  every element value before and after tuning\n"
    "Exit status: 0 when all files are written, 2 on any error (then no file is written\n"
    "or replaced).";

std::unique_ptr<CLI::App> tuneApp(TypedNetworkOptions& typed, std::string& range,
                                  bool& tuneRetuning) {
  auto app = std::make_unique<CLI::App>(std::string(DESCRIPTION), std::string(TUNE_PROGRAM_NAME));
  addStandardFlags(*app);
  app->footer(std::string(FOOTER));
  addNetworkFileOptions(*app, typed);
  app->add_option("--range", range,
                  "how far each value may move from its start, in percent, above 0 and at most "
                  "1000 (default 50): up to its start times (1 + PCT/100) and down to its start "
                  "divided by (1 + PCT/100)")
      ->type_name("PCT");
  app->add_flag("--tune-retuning", tuneRetuning,
                "tune the element that retunes the measured load (--load) too");
  return app;
}

}  // namespace

TuneOptions parseTuneOptions(const std::vector<std::string>& args) {
  TypedNetworkOptions typed;
  std::string range;
  bool tuneRetuning = false;
  const std::unique_ptr<CLI::App> app = tuneApp(typed, range, tuneRetuning);
  const CommandRequest request = parseCommandLine(*app, args);
  if (request.action != CommandAction::run) {
    return optionsOfRequest<TuneOptions>(request);
  }
  TuneOptions options;
  if (std::string error = readNetworkFileOptions(*app, typed, options); !error.empty()) {
    return refusedOptions<TuneOptions>(std::move(error));
  }
  // Beside the exporter's files of the same report, not in their place.
  if (typed.outBase.empty()) {
    options.outBase += std::string(TUNED_SUFFIX);
  }
  if (app->count("--range") > 0) {
    const std::optional<double> percent = parseWholeReal(range);
    if (!percent || !(*percent > 0.0) || *percent > MAX_RANGE_PERCENT) {
      return refusedOptions<TuneOptions>("--range must be a number above 0 and at most " +
                                         formatPlainDecimal(MAX_RANGE_PERCENT, 0) + ", found " +
                                         quotedText(range));
    }
    options.rangePercent = *percent;
  }
  if (tuneRetuning && options.loadPath.empty()) {
    return refusedOptions<TuneOptions>("--tune-retuning needs a measured load (--load)");
  }
  options.tuneRetuning = tuneRetuning;
  return options;
}

std::string tuneUsage() {
  TypedNetworkOptions typed;
  std::string range;
  bool tuneRetuning = false;
  return tuneApp(typed, range, tuneRetuning)->help();
}

}  // namespace bandmatch
