#include "tools/search/search_options.hpp"

#include <memory>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/real_parse.hpp"
#include "tools/common/network_options.hpp"
#include "tools/common/option_values.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view DESCRIPTION =
    "Searches for the matching network between a source and a load over the band F1 to F2 "
    "(MHz): every topology of a built-in library, or the one given, optimised for the least "
    "worst in-band loss, and ranked by the worst transducer gain the worst-case judge finds.";
constexpr std::string_view FOOTER =
    "Ends: SOURCE and LOAD are each a resistance in ohms (50), a model of R with L and C in\n"
    "series (series:R=12.5,L=1.2u,C=80p) or in parallel (parallel:R=200,C=5p), L and C optional,\n"
    "values with one of the prefixes p n u m k M; or a Touchstone one-port file (.s1p) of passive\n"
    "data that cover the band, interpolated linearly between its points.\n"
    "Topologies: sections from the source to the load, separated by blanks:\n"
    "  sL sC      an inductor or a capacitor in the series arm\n"
    "  pL pC      an inductor or a capacitor across the line (shunt arm)\n"
    "  sLC pLC    an inductor and a capacitor in series, in the series or the shunt arm\n"
    "  sL|C pL|C  an inductor and a capacitor in parallel, in the series or the shunt arm\n"
    "  T          a transmission line (impedance and length at f0 free)\n"
    "  oS sS      an open-circuited or short-circuited stub across the line\n"
    "  X          an ideal transformer (not counted as a part)\n"
    "e.g. \"X pLC sL|C pC\". The library holds the L, Pi and Tee networks, low-pass and\n"
    "high-pass ladders, band-pass ladders of resonators, every other alternating ladder of\n"
    "such arms, each also behind a transformer, single and double stubs, stepped lines and\n"
    "line-and-stub cascades, all of at most --max-parts parts.\n"
    "Values stay physical: every L and C has a reactance at f0 = sqrt(F1 F2) within 1e-4 to 1e4\n"
    "times R0, the geometric mean of the ends' resistances at f0; a line or stub 10 to 200 ohms\n"
    "and 0.01 rad to half a wave at f0; a transformer a turns ratio of 0.01 to 100.\n"
    "Output: the candidates carried through the search, ranked by worst gain, with the limit no\n"
    "lossless network can beat where one applies; the last line is\n"
    "  Best: TOPOLOGY worst |Gamma| R worst gain G dB\n"
    "Files of the chosen network (rank 1, or --pick), all written or none: BASE.cir (ngspice\n"
    "netlist), BASE.s2p (the network's two-port), BASE.s1p (the input with the load attached),\n"
    "BASE.svg (transducer gain and return loss), BASE-parts.csv, BASE-schematic.svg and with\n"
    "--smith BASE-smith.svg; before the last line, a line naming them.\n"
    "Exit status: 0 on success, 2 on any error (one line on standard error).";

// The option words as typed, checked after parsing so that every refusal names what was found.
struct TypedSearchOptions {
  std::string source;
  std::string load;
  std::string f1;
  std::string f2;
  std::string maxParts;
  std::string topology;
  std::string pick;
  std::string outBase;
  std::string points;
  std::string span;
  std::string series;
  std::string inductorQ;
  std::string capacitorQ;
  std::string lineLoss;
  std::string substrate;
  std::string power;
  bool smith = false;
  bool json = false;
  TypedNetworkOptions tolerance;  // the tolerance words, read as the exporter reads them
  std::string lineTolerance;
};

std::unique_ptr<CLI::App> searchApp(TypedSearchOptions& typed) {
  auto app = std::make_unique<CLI::App>(std::string(DESCRIPTION), std::string(SEARCH_PROGRAM_NAME));
  addStandardFlags(*app);
  app->footer(std::string(FOOTER));
  app->add_option("SOURCE", typed.source, "the source: ohms, a model or a one-port file")
      ->required()
      ->type_name("");
  app->add_option("LOAD", typed.load, "the load: ohms, a model or a one-port file")
      ->required()
      ->type_name("");
  app->add_option("F1", typed.f1, "the band's lower edge in MHz")->required()->type_name("");
  app->add_option("F2", typed.f2, "the band's upper edge in MHz")->required()->type_name("");
  app->add_option("--max-parts", typed.maxParts,
                  "search the library's topologies of at most K inductors, capacitors, lines and "
                  "stubs, 1 to 20 (default 6; from 7 on the search takes far longer)")
      ->type_name("K");
  app->add_option("--topology", typed.topology,
                  "optimise this one topology instead of searching the library")
      ->type_name("\"...\"");
  app->add_option("--pick", typed.pick,
                  "the rank of the candidate whose files are wanted (default 1, the best)")
      ->type_name("K");
  app->add_option("--out", typed.outBase,
                  "base name of the chosen network's files (default search)")
      ->type_name("BASE");
  addSweepOptions(*app, typed.points, typed.span);
  app->add_option("--series", typed.series,
                  "build every inductor and capacitor of a standard value of E12, E24, E48, E96 "
                  "or E192: rounded all at once or one part at a time with the values still free "
                  "optimised again, whichever is better")
      ->type_name("E");
  app->add_option("--q-inductor", typed.inductorQ,
                  "give each inductor a series loss resistance w0 L / Q, taken at f0 and held "
                  "constant over frequency")
      ->type_name("Q");
  app->add_option("--q-capacitor", typed.capacitorQ,
                  "give each capacitor a series loss resistance 1 / (w0 C Q), taken at f0 and "
                  "held constant over frequency")
      ->type_name("Q");
  app->add_option("--line-loss", typed.lineLoss,
                  "give each line and stub a loss of DB decibels per wavelength at f0, 0 to 100 "
                  "(default 0)")
      ->type_name("DB");
  app->add_option("--substrate", typed.substrate,
                  "the board of the lines and stubs, such as er=4.4,h=1.6mm,t=35um (lengths in "
                  "m, mm, um or mil; t 0 when left out): each one's microstrip width and length "
                  "in the parts list and the summary")
      ->type_name("BOARD");
  addPowerOption(*app, typed.power);
  app->add_option("--tolerance", typed.tolerance.tolerance,
                  "run tolerance trials of the chosen network: every L, C, line and stub drawn "
                  "uniformly within +-PCT percent (0 to 50; a line's Z0 and electrical length)")
      ->type_name("PCT");
  app->add_option("--tolerance-l", typed.tolerance.inductorTolerance,
                  "the inductors' tolerance in percent, 0 to 50 (overrides --tolerance for them)")
      ->type_name("PCT");
  app->add_option("--tolerance-c", typed.tolerance.capacitorTolerance,
                  "the capacitors' tolerance in percent, 0 to 50 (overrides --tolerance for "
                  "them, and for lines and stubs unless --tolerance-line is given)")
      ->type_name("PCT");
  app->add_option("--tolerance-line", typed.lineTolerance,
                  "the lines' and stubs' tolerance in percent, 0 to 50, of Z0 and electrical "
                  "length alike")
      ->type_name("PCT");
  app->add_option("--trials", typed.tolerance.trials,
                  "number of tolerance trials, 1 to 1000000 (default 1000)")
      ->type_name("N");
  app->add_option("--seed", typed.tolerance.seed,
                  "seed of the trials' generator, 0 to 18446744073709551615 (default 1)")
      ->type_name("S");
  app->add_option("--goal-swr", typed.tolerance.goalSwr,
                  "the SWR a trial must not exceed anywhere in the band to count to the yield, "
                  "1 or more (default 2); also the circle of the Smith chart")
      ->type_name("S");
  app->add_flag("--smith", typed.smith,
                "also write BASE-smith.svg, the Smith chart of the network's input");
  addJsonFlag(*app, typed.json);
  return app;
}

SearchOptions refused(std::string message) {
  SearchOptions options;
  options.action = CommandAction::fail;
  options.error = std::move(message);
  return options;
}

// A band edge: a finite number of MHz above zero.
std::optional<double> bandEdge(const std::string& typed) {
  const std::optional<double> value = parseWholeReal(typed);
  return value && *value > 0.0 ? value : std::nullopt;
}

}  // namespace

SearchOptions parseSearchOptions(const std::vector<std::string>& args) {
  TypedSearchOptions typed;
  const std::unique_ptr<CLI::App> app = searchApp(typed);
  const CommandRequest request = parseCommandLine(*app, args);
  SearchOptions options;
  if (request.action != CommandAction::run) {
    options.action = request.action;
    options.error = request.error;
    return options;
  }
  if (typed.source.empty() || typed.load.empty()) {
    return refused(std::string(typed.source.empty() ? "the source" : "the load") + " is empty");
  }
  options.source = typed.source;
  options.load = typed.load;
  const std::optional<double> f1 = bandEdge(typed.f1);
  const std::optional<double> f2 = bandEdge(typed.f2);
  if (!f1 || !f2) {
    return refused("F1 and F2 must be frequencies in MHz above 0, found " +
                   quotedText(!f1 ? typed.f1 : typed.f2));
  }
  if (!(*f2 > *f1)) {
    return refused("F2 must lie above F1, found " + quotedText(typed.f1) + " and " +
                   quotedText(typed.f2));
  }
  options.f1 = *f1;
  options.f2 = *f2;
  if (app->count("--max-parts") > 0) {
    const std::optional<int> parts = parseWholeInteger(typed.maxParts);
    if (!parts || *parts < 1 || *parts > MAX_MAX_PARTS) {
      return refused("--max-parts must be a whole number from 1 to " +
                     formatInteger(MAX_MAX_PARTS) + ", found " + quotedText(typed.maxParts));
    }
    options.maxParts = *parts;
  }
  if (app->count("--topology") > 0) {
    if (app->count("--max-parts") > 0) {
      return refused("--max-parts limits the library; it does not apply to --topology");
    }
    TopologyParse parse = parseTopology(typed.topology);
    if (!parse.error.empty()) {
      return refused("--topology: " + parse.error);
    }
    options.topology = std::move(parse.topology);
  }
  if (app->count("--pick") > 0) {
    const std::optional<int> pick = parseWholeInteger(typed.pick);
    if (!pick || *pick < 1) {
      return refused("--pick must be a rank of 1 or more, found " + quotedText(typed.pick));
    }
    options.pick = *pick;
  }
  if (app->count("--out") > 0) {
    if (typed.outBase.empty()) {
      return refused("the base name of the files (--out) is empty");
    }
    options.outBase = typed.outBase;
  }
  options.points = DEFAULT_POINTS;
  options.span = DEFAULT_SPAN;
  for (std::string error :
       {readSweepOptions(*app, typed.points, typed.span, options.points, options.span),
        readSeriesOption(*app, typed.series, options.series),
        readQualityOption(*app, "--q-inductor", typed.inductorQ, options.inductorQ),
        readQualityOption(*app, "--q-capacitor", typed.capacitorQ, options.capacitorQ)}) {
    if (!error.empty()) {
      return refused(std::move(error));
    }
  }
  if (std::string error = readPowerOption(*app, typed.power, options.powerWatts);
      !error.empty()) {
    return refused(std::move(error));
  }
  if (app->count("--substrate") > 0) {
    SubstrateParse parse = parseSubstrate(typed.substrate);
    if (!parse.substrate) {
      return refused("--substrate " + quotedText(printableText(typed.substrate)) + ": " +
                     parse.error);
    }
    options.substrate = parse.substrate;
  }
  options.smith = typed.smith;
  options.json = typed.json;
  TypedNetworkOptions toleranceWords = typed.tolerance;
  toleranceWords.smith = typed.smith;
  NetworkFileOptions tolerance;
  if (std::string error = readToleranceOptions(*app, toleranceWords, tolerance); !error.empty()) {
    return refused(std::move(error));
  }
  options.goalSwr = tolerance.goalSwr;
  if (tolerance.tolerance) {
    options.tolerance = CascadeToleranceOptions{*tolerance.tolerance, std::nullopt};
  }
  if (app->count("--tolerance-line") > 0) {
    std::string error;
    const double percent =
        readTolerancePercent(*app, "--tolerance-line", typed.lineTolerance, 0.0, error);
    if (!error.empty()) {
      return refused(std::move(error));
    }
    if (!options.tolerance) {
      options.tolerance = CascadeToleranceOptions{ToleranceOptions{}, std::nullopt};
    }
    options.tolerance->linePercent = percent;
  }
  if (app->count("--line-loss") > 0) {
    const std::optional<double> loss = parseWholeReal(typed.lineLoss);
    if (!loss || *loss < 0.0 || *loss > MAX_LINE_LOSS_DB) {
      return refused("--line-loss must be a number from 0 to 100, found " +
                     quotedText(typed.lineLoss));
    }
    options.lineLossDb = *loss;
  }
  return options;
}

std::string searchUsage() {
  TypedSearchOptions typed;
  return searchApp(typed)->help();
}

}  // namespace bandmatch
