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
    "Reads a CSV report written by bandmatch and writes three files of its matching network.";
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
    "says so); the band itself must be covered. BASE.cir stays the network as designed.\n"
    "Exit status: 0 when the three files are written, 2 on any error (then no file is written\n"
    "or replaced, and an --out that would replace an input file is refused).";

// The option values as typed, checked after parsing so that every refusal names what was found.
struct TypedOptions {
  std::string reportPath;
  std::string points;
  std::string span;
  std::string outBase;
  std::string loadPath;
};

std::unique_ptr<CLI::App> exportApp(TypedOptions& typed) {
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
                  "base name of the three files (default: the report's name without .csv)")
      ->type_name("BASE");
  app->add_option("--load", typed.loadPath,
                  "a measured load (Touchstone one-port file) to put in place of position 1")
      ->type_name("FILE");
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

}  // namespace

ExportOptions parseExportOptions(const std::vector<std::string>& args) {
  TypedOptions typed;
  const std::unique_ptr<CLI::App> app = exportApp(typed);
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
  options.outBase = typed.outBase.empty() ? defaultOutputBase(options.reportPath) : typed.outBase;
  return options;
}

std::string defaultOutputBase(std::string_view reportPath) {
  if (endsWithIgnoringCase(reportPath, REPORT_SUFFIX) && reportPath.size() > REPORT_SUFFIX.size()) {
    return std::string(reportPath.substr(0, reportPath.size() - REPORT_SUFFIX.size()));
  }
  return std::string(reportPath);
}

std::string exportUsage() {
  TypedOptions typed;
  return exportApp(typed)->help();
}

}  // namespace bandmatch
