#include "tools/common/network_options.hpp"

#include <optional>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
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
  options.outBase = typed.outBase.empty() ? defaultOutputBase(options.reportPath) : typed.outBase;
  return {};
}

bool buildsNetwork(const NetworkFileOptions& options) {
  return options.parts || changesNetwork(options.build);
}

std::string defaultOutputBase(std::string_view reportPath) {
  if (endsWithIgnoringCase(reportPath, REPORT_SUFFIX) && reportPath.size() > REPORT_SUFFIX.size()) {
    return std::string(reportPath.substr(0, reportPath.size() - REPORT_SUFFIX.size()));
  }
  return std::string(reportPath);
}

}  // namespace bandmatch
