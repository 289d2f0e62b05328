#include "tools/fit/fit_options.hpp"

#include <cmath>
#include <memory>

#include "core/design_case.hpp"
#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/real_parse.hpp"
#include "tools/common/option_values.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view DESCRIPTION =
    "Fits one resonator to a measured load (a Touchstone one-port file) over the band F1 to F2 "
    "(MHz), reports the load as the bandmatch dialogue takes it and the best match N = 1 to 10 "
    "resonators and infinitely many can reach.";
constexpr std::string_view FOOTER =
    "Forms:\n"
    "  bandmatch-fit LOAD F1 F2 [--model M]           the fit, the load description and the "
    "table\n"
    "  bandmatch-fit LOAD F1 F2 --answers N --name NAME\n"
    "                                                the answer words of bandmatch, for a pipe\n"
    "  bandmatch-fit --decrement D                   the table alone, for any load\n"
    "With --json the report (or the table alone) is one JSON document instead.\n"
    "LOAD is a Touchstone 1.x or 2.0 one-port file (S, Y or Z; MA, DB or RI).\n"
    "Exit status: 0 on success, 2 on any error (one line on standard error).";

struct TypedOptions {
  std::string loadPath;
  std::string f1;
  std::string f2;
  std::string model;
  std::string answers;
  std::string name;
  std::string decrement;
  bool json = false;
};

std::unique_ptr<CLI::App> fitApp(TypedOptions& typed) {
  auto app = std::make_unique<CLI::App>(std::string(DESCRIPTION), std::string(FIT_PROGRAM_NAME));
  addStandardFlags(*app);
  app->footer(std::string(FOOTER));
  app->add_option("LOAD", typed.loadPath, "the measured load, a Touchstone one-port file")
      ->type_name("");
  app->add_option("F1", typed.f1, "lower band edge in MHz")->type_name("");
  app->add_option("F2", typed.f2, "upper band edge in MHz")->type_name("");
  app->add_option("--model", typed.model,
                  "series, parallel or auto (default: the one with the smaller worst error)")
      ->type_name("M");
  app->add_option("--answers", typed.answers,
                  "print only the answer words bandmatch needs for N resonators (1 to 10)")
      ->type_name("N");
  app->add_option("--name", typed.name, "the result name among the answers (one word)")
      ->type_name("NAME");
  app->add_option("--decrement", typed.decrement,
                  "print the table of the best match for this load decrement alone")
      ->type_name("D");
  addJsonFlag(*app, typed.json);
  return app;
}

// A name the dialogue reads as one word: no white space and no control characters.
bool isOneWord(std::string_view name) {
  if (name.empty()) {
    return false;
  }
  for (const char c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (code <= 0x20 || code == 0x7f) {
      return false;
    }
  }
  return true;
}

}  // namespace

FitOptions parseFitOptions(const std::vector<std::string>& args) {
  TypedOptions typed;
  const std::unique_ptr<CLI::App> app = fitApp(typed);
  const CommandRequest request = parseCommandLine(*app, args);
  if (request.action != CommandAction::run) {
    return optionsOfRequest<FitOptions>(request);
  }

  FitOptions options;
  options.json = typed.json;
  const bool hasLoad = app->count("LOAD") > 0;
  if (app->count("--decrement") > 0) {
    if (hasLoad || app->count("--model") > 0 || app->count("--answers") > 0 ||
        app->count("--name") > 0) {
      return refusedOptions<FitOptions>(
          "--decrement takes no load file, band, --model, --answers or --name");
    }
    const std::optional<double> decrement = parseWholeReal(typed.decrement);
    if (!decrement || *decrement <= 0.0) {
      return refusedOptions<FitOptions>("--decrement must be a number above 0, found " +
                                        quotedText(typed.decrement));
    }
    options.decrement = *decrement;
    return options;
  }

  if (!hasLoad || app->count("F2") == 0) {
    return refusedOptions<FitOptions>(
        "give a load file and the band edges F1 F2 in MHz, or --decrement D");
  }
  options.loadPath = typed.loadPath;
  if (options.loadPath.empty()) {
    return refusedOptions<FitOptions>("the load file name is empty");
  }
  const std::optional<double> f1 = parseWholeReal(typed.f1);
  const std::optional<double> f2 = parseWholeReal(typed.f2);
  if (!f1 || *f1 <= 0.0) {
    return refusedOptions<FitOptions>("F1 must be a frequency above 0 MHz, found " +
                                      quotedText(typed.f1));
  }
  if (!f2 || *f2 <= *f1) {
    return refusedOptions<FitOptions>("F2 must be a frequency above F1, found " +
                                      quotedText(typed.f2));
  }
  options.f1 = *f1;
  options.f2 = *f2;

  if (app->count("--model") > 0) {
    if (typed.model == "series") {
      options.model = LoadModelChoice::series;
    } else if (typed.model == "parallel") {
      options.model = LoadModelChoice::parallel;
    } else if (typed.model != "auto") {
      return refusedOptions<FitOptions>("--model must be series, parallel or auto, found " +
                                        quotedText(typed.model));
    }
  }
  if ((app->count("--answers") > 0) != (app->count("--name") > 0)) {
    return refusedOptions<FitOptions>("--answers and --name go together");
  }
  if (app->count("--answers") > 0) {
    if (options.json) {
      return refusedOptions<FitOptions>("--json does not go with --answers, whose words are for bandmatch's "
                     "dialogue");
    }
    const std::optional<int> n = parseWholeInteger(typed.answers);
    if (!n || !isValidElementCount(*n)) {
      return refusedOptions<FitOptions>(
          "--answers must be a whole number from " + formatInteger(MIN_ELEMENTS) + " to " +
          formatInteger(MAX_ELEMENTS) + ", found " + quotedText(typed.answers));
    }
    if (!isOneWord(typed.name)) {
      return refusedOptions<FitOptions>("--name must be one word without blanks, found " +
                                        quotedText(typed.name));
    }
    options.answersN = *n;
    options.name = typed.name;
  }
  return options;
}

std::string fitUsage() {
  TypedOptions typed;
  return fitApp(typed)->help();
}

}  // namespace bandmatch
