#include "tools/export/export_options.hpp"

#include <memory>
#include <optional>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "tools/common/option_values.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view REPORT_SUFFIX = ".csv";

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
    "Exit status: 0 when all files are written, 2 on any error (then no file is written\n"
    "or replaced, and an --out that would replace an input file is refused).";

// The option values as typed, checked after parsing so that every refusal names what was found.
struct TypedOptions {
  std::string reportPath;
  std::string points;
  std::string span;
  std::string outBase;
  std::string loadPath;
  std::string sourceOhms;
  std::string series;
  std::string inductorQ;
  std::string capacitorQ;
};

std::unique_ptr<CLI::App> exportApp(TypedOptions& typed, bool& parts) {
  auto app = std::make_unique<CLI::App>(std::string(DESCRIPTION), std::string(EXPORT_PROGRAM_NAME));
  addStandardFlags(*app);
  app->footer(std::string(FOOTER));
  app->add_option("REPORT", typed.reportPath, "the CSV report written by bandmatch")
      ->required()
      ->type_name("");
  app->add_option("--points", typed.points,
                  "frequency points of the sweep, 2 to 100000 (default 801)")
      ->type_name("N");
  app->add_option("--span", typed.span,
                  "sweep width as a multiple of the band, 1 to 10 (default 1.5; 1 sweeps the band "
                  "alone); the sweep starts no lower than f1/10")
      ->type_name("F");
  app->add_option("--out", typed.outBase,
                  "base name of the files (default: the report's name without .csv)")
      ->type_name("BASE");
  app->add_option("--load", typed.loadPath,
                  "a measured load (Touchstone one-port file) to put in place of position 1")
      ->type_name("FILE");
  app->add_option("--source-ohms", typed.sourceOhms,
                  "drive the ladder from a source of R ohms (0.001 to 1000000) through an ideal "
                  "transformer of turns ratio sqrt(Rdesign / R); the Touchstone file is then "
                  "referenced to R")
      ->type_name("R");
  app->add_option("--series", typed.series,
                  "replace every L and C of positions 2 to N by the nearest standard value of "
                  "E12, E24, E48, E96 or E192")
      ->type_name("E");
  app->add_option("--q-inductor", typed.inductorQ,
                  "give each inductor of positions 2 to N a series loss resistance w0 L / Q, "
                  "taken at the band centre and held constant over the sweep")
      ->type_name("Q");
  app->add_option("--q-capacitor", typed.capacitorQ,
                  "give each capacitor of positions 2 to N a series loss resistance "
                  "1 / (w0 C Q), taken at the band centre and held constant over the sweep")
      ->type_name("Q");
  app->add_flag("--parts", parts,
                "write the list of parts and schematic and print the summary even with nothing "
                "else to build");
  return app;
}

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

ExportOptions refused(std::string message) {
  ExportOptions options;
  options.action = CommandAction::fail;
  options.error = std::move(message);
  return options;
}

// A quality factor: a finite number above zero.
std::optional<double> parseQuality(const CLI::App& app, std::string_view name,
                                   const std::string& typed, std::string& error) {
  if (app.count(std::string(name)) == 0) {
    return std::nullopt;
  }
  const std::optional<double> q = parseWholeReal(typed);
  if (!q || !(*q > 0.0)) {
    error = std::string(name) + " must be a number above 0, found " + quotedText(typed);
    return std::nullopt;
  }
  return q;
}

}  // namespace

ExportOptions parseExportOptions(const std::vector<std::string>& args) {
  TypedOptions typed;
  bool parts = false;
  const std::unique_ptr<CLI::App> app = exportApp(typed, parts);
  const CommandRequest request = parseCommandLine(*app, args);
  if (request.action != CommandAction::run) {
    ExportOptions options;
    options.action = request.action;
    options.error = request.error;
    return options;
  }

  ExportOptions options;
  options.reportPath = typed.reportPath;
  if (options.reportPath.empty()) {
    return refused("the report name is empty");
  }
  if (app->count("--points") > 0) {
    const std::optional<int> points = parseWholeInteger(typed.points);
    if (!points || *points < MIN_POINTS || *points > MAX_POINTS) {
      return refused("--points must be a whole number from " + formatInteger(MIN_POINTS) + " to " +
                     formatInteger(MAX_POINTS) + ", found " + quotedText(typed.points));
    }
    options.points = *points;
  }
  if (app->count("--span") > 0) {
    const std::optional<double> span = parseWholeReal(typed.span);
    if (!span || *span < MIN_SPAN || *span > MAX_SPAN) {
      return refused("--span must be a number from 1 to 10, found " + quotedText(typed.span));
    }
    options.span = *span;
  }
  if (app->count("--load") > 0 && typed.loadPath.empty()) {
    return refused("the load file name is empty");
  }
  options.loadPath = typed.loadPath;
  if (app->count("--source-ohms") > 0) {
    const std::optional<double> ohms = parseWholeReal(typed.sourceOhms);
    if (!ohms || *ohms < MIN_SOURCE_OHMS || *ohms > MAX_SOURCE_OHMS) {
      return refused("--source-ohms must be a number from 0.001 to 1000000, found " +
                     quotedText(typed.sourceOhms));
    }
    options.build.sourceOhms = *ohms;
  }
  if (app->count("--series") > 0) {
    options.build.series = preferredSeriesFromName(typed.series);
    if (!options.build.series) {
      return refused("--series must be one of E12, E24, E48, E96 and E192, found " +
                     quotedText(typed.series));
    }
  }
  std::string error;
  options.build.inductorQ = parseQuality(*app, "--q-inductor", typed.inductorQ, error);
  if (error.empty()) {
    options.build.capacitorQ = parseQuality(*app, "--q-capacitor", typed.capacitorQ, error);
  }
  if (!error.empty()) {
    return refused(error);
  }
  options.parts = parts;
  options.outBase = typed.outBase.empty() ? defaultOutputBase(options.reportPath) : typed.outBase;
  return options;
}

bool buildsNetwork(const ExportOptions& options) {
  const BuildOptions& build = options.build;
  return options.parts || build.sourceOhms || build.series || build.inductorQ || build.capacitorQ;
}

std::string defaultOutputBase(std::string_view reportPath) {
  if (endsWithIgnoringCase(reportPath, REPORT_SUFFIX) && reportPath.size() > REPORT_SUFFIX.size()) {
    return std::string(reportPath.substr(0, reportPath.size() - REPORT_SUFFIX.size()));
  }
  return std::string(reportPath);
}

std::string exportUsage() {
  TypedOptions typed;
  bool parts = false;
  return exportApp(typed, parts)->help();
}

}  // namespace bandmatch
