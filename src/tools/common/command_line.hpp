// The command line of a companion program, parsed by CLI11 the same way for every tool: a
// generated --help, --version, each option that takes a value given at most once, and any
// refusal as one line of text.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bandmatch {

// Exit statuses of every companion program.
inline constexpr int TOOL_SUCCESS = 0;
// Any refused input or failed write; no file is written or replaced then.
inline constexpr int TOOL_FAILURE = 2;

// What the command line asks for; `fail` carries its reason.
enum class CommandAction { run, help, version, fail };

struct CommandRequest {
  CommandAction action = CommandAction::run;
  std::string error;
};

// A tool's options that carry the request's action and reason instead of a run: the usage, the
// version or a refusal. `Options` has the members `action` and `error`.
template <typename Options>
Options optionsOfRequest(CommandRequest request) {
  Options options;
  options.action = request.action;
  options.error = std::move(request.error);
  return options;
}

// A tool's options refused with the reason `message`.
template <typename Options>
Options refusedOptions(std::string message) {
  return optionsOfRequest<Options>({CommandAction::fail, std::move(message)});
}

// Gives the application the options every tool shares: --help and --version.
void addStandardFlags(CLI::App& app);

// Declares --json on `app`: the summary on standard output as one JSON document.
void addJsonFlag(CLI::App& app, bool& json);

// Parses the arguments after the program name into the options bound to `app`.
CommandRequest parseCommandLine(CLI::App& app, const std::vector<std::string>& args);

// Writes "PROGRAM: MESSAGE" as one line on `err`, whatever bytes the message holds, and returns
// TOOL_FAILURE.
int refuse(std::ostream& err, std::string_view program, std::string_view message);

// For a request other than run: the usage or the version on `out` (TOOL_SUCCESS), or the
// refusal on `err` (TOOL_FAILURE).
int answerRequest(const CommandRequest& request, std::string_view usage, std::string_view program,
                  std::ostream& out, std::ostream& err);

}  // namespace bandmatch
