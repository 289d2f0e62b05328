#include "export/export_options.hpp"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "export/export_text.hpp"
#include "report/number_format.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view POINTS_OPTION = "--points";
constexpr std::string_view SPAN_OPTION = "--span";
constexpr std::string_view OUT_OPTION = "--out";
constexpr std::string_view HELP_OPTION = "--help";
constexpr std::string_view VERSION_OPTION = "--version";
constexpr std::string_view END_OF_OPTIONS = "--";
constexpr std::string_view REPORT_SUFFIX = ".csv";

ExportOptions failure(std::string message) {
  ExportOptions options;
  options.action = ExportAction::fail;
  options.error = std::move(message);
  return options;
}

// The whole word as a decimal integer; signs, blanks and exponents are refused.
std::optional<int> parseWholeInteger(std::string_view word) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (word.empty() || ec != std::errc() || ptr != end) {
    return std::nullopt;
  }
  return value;
}

// The whole word as a finite real number.
std::optional<double> parseWholeReal(std::string_view word) {
  double value = 0.0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (word.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
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

}  // namespace

ExportOptions parseExportOptions(const std::vector<std::string>& args) {
  ExportOptions options;
  bool reportSeen = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool isOption = !optionsEnded && arg.size() > 1 && arg.front() == '-';
    if (!isOption) {
      if (reportSeen) {
        return failure("more than one report given: " + quoted(options.reportPath) + " and " +
                       quoted(arg) + " (try --help)");
      }
      options.reportPath = std::string(arg);
      reportSeen = true;
      continue;
    }
    if (arg == END_OF_OPTIONS) {
      optionsEnded = true;
      continue;
    }
    if (arg == HELP_OPTION) {
      options.action = ExportAction::help;
      return options;
    }
    if (arg == VERSION_OPTION) {
      options.action = ExportAction::version;
      return options;
    }

    // The options that take a value, as "--name value" or "--name=value".
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    if (name != POINTS_OPTION && name != SPAN_OPTION && name != OUT_OPTION) {
      return failure("unknown option " + quoted(arg) + " (try --help)");
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return failure(std::string(name) + " needs a value (try --help)");
    }

    if (name == POINTS_OPTION) {
      const std::optional<int> points = parseWholeInteger(value);
      if (!points || *points < MIN_POINTS || *points > MAX_POINTS) {
        return failure("--points must be a whole number from " + formatInteger(MIN_POINTS) +
                       " to " + formatInteger(MAX_POINTS) + ", found " + quoted(value));
      }
      options.points = *points;
    } else if (name == SPAN_OPTION) {
      const std::optional<double> span = parseWholeReal(value);
      if (!span || *span < MIN_SPAN || *span > MAX_SPAN) {
        return failure("--span must be a number from 1 to 10, found " + quoted(value));
      }
      options.span = *span;
    } else {
      if (value.empty()) {
        return failure("--out needs a non-empty base name");
      }
      options.outBase = std::string(value);
    }
  }

  if (!reportSeen) {
    return failure("no report given (try --help)");
  }
  if (options.reportPath.empty()) {
    return failure("the report name is empty");
  }
  if (options.outBase.empty()) {
    options.outBase = defaultOutputBase(options.reportPath);
  }
  return options;
}

std::string defaultOutputBase(std::string_view reportPath) {
  if (endsWithIgnoringCase(reportPath, REPORT_SUFFIX) && reportPath.size() > REPORT_SUFFIX.size()) {
    return std::string(reportPath.substr(0, reportPath.size() - REPORT_SUFFIX.size()));
  }
  return std::string(reportPath);
}

std::vector<std::string> exportUsageLines() {
  return {
      "Usage: bandmatch-export REPORT.csv [--points N] [--span F] [--out BASE]",
      "",
      "Reads a CSV report written by bandmatch and writes three files of its matching network:",
      "  BASE.cir  SPICE netlist with an AC sweep that prints the input reflection magnitude",
      "  BASE.s1p  Touchstone file of the input reflection, referenced to the source resistance",
      "  BASE.svg  plot of the return loss against frequency",
      "",
      "Options:",
      "  --points N  frequency points of the sweep, 2 to 100000 (default 801)",
      "  --span F    sweep width as a multiple of the band, 1 to 10 (default 1.5; 1 sweeps the",
      "              band alone)",
      "  --out BASE  base name of the three files (default: the report's name without .csv)",
      "  --help      print this help and exit",
      "  --version   print the version and exit",
      "",
      "Exit status: 0 when the three files are written, 2 on any error (then no file is written).",
  };
}

}  // namespace bandmatch
