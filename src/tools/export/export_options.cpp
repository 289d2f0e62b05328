#include "tools/export/export_options.hpp"

#include <memory>

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
    "Exit status: 0 when all files are written, 2 on any error (then no file is written\n"
    "or replaced, and an --out that would replace an input file is refused).";

std::unique_ptr<CLI::App> exportApp(TypedNetworkOptions& typed) {
  auto app = std::make_unique<CLI::App>(std::string(DESCRIPTION), std::string(EXPORT_PROGRAM_NAME));
  addStandardFlags(*app);
  app->footer(std::string(FOOTER));
  addNetworkFileOptions(*app, typed);
  return app;
}

ExportOptions refused(std::string message) {
  ExportOptions options;
  options.action = CommandAction::fail;
  options.error = std::move(message);
  return options;
}

}  // namespace

ExportOptions parseExportOptions(const std::vector<std::string>& args) {
  TypedNetworkOptions typed;
  const std::unique_ptr<CLI::App> app = exportApp(typed);
  const CommandRequest request = parseCommandLine(*app, args);
  if (request.action != CommandAction::run) {
    ExportOptions options;
    options.action = request.action;
    options.error = request.error;
    return options;
  }
  ExportOptions options;
  const std::string error = readNetworkFileOptions(*app, typed, options);
  return error.empty() ? options : refused(error);
}

std::string exportUsage() {
  TypedNetworkOptions typed;
  return exportApp(typed)->help();
}

}  // namespace bandmatch
