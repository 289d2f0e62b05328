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
    "Position 1 is the load's own resonator: it is never rounded or given losses; a measured\n"
    "load's retuning element is a part and is built like the others.\n"
    "With --tolerance, --tolerance-l or --tolerance-c the network is built too, and each of\n"
    "--trials trials draws every L and C of positions 2 to N (and a measured load's retuning\n"
    "element) uniformly within its tolerance\n"
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

std::unique_ptr<CLI::App> exportApp(TypedNetworkOptions& typed) {
  auto app = std::make_unique<CLI::App>(std::string(DESCRIPTION), std::string(EXPORT_PROGRAM_NAME));
  addStandardFlags(*app);
  app->footer(std::string(FOOTER));
  addNetworkFileOptions(*app, typed);
  return app;
}

}  // namespace

ExportOptions parseExportOptions(const std::vector<std::string>& args) {
  TypedNetworkOptions typed;
  const std::unique_ptr<CLI::App> app = exportApp(typed);
  const CommandRequest request = parseCommandLine(*app, args);
  if (request.action != CommandAction::run) {
    return optionsOfRequest<ExportOptions>(request);
  }
  ExportOptions options;
  const std::string error = readNetworkFileOptions(*app, typed, options);
  return error.empty() ? options : refusedOptions<ExportOptions>(error);
}

std::string exportUsage() {
  TypedNetworkOptions typed;
  return exportApp(typed)->help();
}

}  // namespace bandmatch
