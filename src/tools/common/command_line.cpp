#include "tools/common/command_line.hpp"

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/version.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view HELP_HINT = " (try --help)";

// An option that takes one value but was given more; nothing when there is none.
const CLI::Option* repeatedOption(const CLI::App& app) {
  for (const CLI::Option* option : app.get_options()) {
    const int most = option->get_items_expected_max();
    if (most >= 1 && option->count() > static_cast<std::size_t>(most)) {
      return option;
    }
  }
  return nullptr;
}

}  // namespace

void addStandardFlags(CLI::App& app) {
  app.set_help_flag("--help", "print this help and exit");
  app.set_version_flag("--version", programWithVersion(app.get_name()),
                       "print the version and exit");
  // Two values for one setting are a mistake to point out, not a choice to make silently; a
  // repeated flag says the same thing twice and stays allowed.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

void addJsonFlag(CLI::App& app, bool& json) {
  app.add_flag("--json", json,
               "print the summary on standard output as one JSON document instead of the tables "
               "(the schema is docs/json/" + app.get_name() + ".schema.json)");
}

CommandRequest parseCommandLine(CLI::App& app, const std::vector<std::string>& args) {
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return {CommandAction::help, {}};
  } catch (const CLI::CallForVersion&) {
    return {CommandAction::version, {}};
  } catch (const CLI::ParseError& error) {
    if (const CLI::Option* repeated = repeatedOption(app)) {
      return {CommandAction::fail, repeated->get_name() + " is given " +
                                       formatInteger(static_cast<long long>(repeated->count())) +
                                       " times; it takes one value" + std::string(HELP_HINT)};
    }
    return {CommandAction::fail, std::string(error.what()) + std::string(HELP_HINT)};
  }
  return {CommandAction::run, {}};
}

int refuse(std::ostream& err, std::string_view program, std::string_view message) {
  writeLine(err, std::string(program) + ": " + printableText(message));
  return TOOL_FAILURE;
}

int answerRequest(const CommandRequest& request, std::string_view usage, std::string_view program,
                  std::ostream& out, std::ostream& err) {
  switch (request.action) {
    case CommandAction::help:
      writeText(out, usage);
      out.flush();
      return TOOL_SUCCESS;
    case CommandAction::version:
      writeLine(out, programWithVersion(program));
      return TOOL_SUCCESS;
    case CommandAction::fail:
    case CommandAction::run:
      break;
  }
  return refuse(err, program, request.error);
}

}  // namespace bandmatch
