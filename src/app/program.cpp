#include "app/program.hpp"

#include "app/pass_driver.hpp"
#include "core/display_text.hpp"
#include "core/text_sink.hpp"
#include "core/version.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view PROGRAM_NAME = "bandmatch";
constexpr std::string_view USAGE = "bandmatch [-h | --help | --version]";
constexpr std::string_view HELP_OPTION = "--help";
constexpr std::string_view SHORT_HELP_OPTION = "-h";
constexpr std::string_view VERSION_OPTION = "--version";

constexpr std::string_view HELP =
    "Usage: bandmatch [-h | --help | --version]\n"
    "\n"
    "Designs a broadband band-pass matching network of N resonators (1 to 10) between a\n"
    "resistive source and a resonant load: Fano's gain-bandwidth equations solved by a damped\n"
    "Newton - Raphson iteration, Levy's prototype values scaled to an inductance and a\n"
    "capacitance per resonator.\n"
    "\n"
    "Without arguments the program asks its questions on standard output and reads the answers\n"
    "word by word from standard input, so a whole session can be piped in. A letter answer takes\n"
    "one character: \"continue\" answers c and leaves \"ontinue\" as the next answer. When the\n"
    "answers are typed at a terminal, a refused answer is explained in one line on standard error\n"
    "before its question is asked again; from a pipe or a file it is asked again without a word.\n"
    "\n"
    "Reports: each design goes to the console and to NAME.txt (text) and NAME.csv (rows of label\n"
    "and value), NAME being the result name typed, relative to the working folder. An existing\n"
    "report of that name is replaced only when the new one is complete. A name whose reports\n"
    "cannot be created (a missing folder, no permission) is reported and asked again.\n"
    "\n"
    "Options:\n"
    "  -h, --help  print this help and exit\n"
    "  --version   print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the session ended at \"e\" (or the input ended at the closing question) and every\n"
    "     report was written\n"
    "  1  the input ended before a design was complete, a report could not be written, or\n"
    "     standard output failed; one line on standard error says which\n"
    "  2  the command line was not understood\n";

bool asksForHelp(const std::string& arg) {
  return arg == HELP_OPTION || arg == SHORT_HELP_OPTION;
}

bool isOption(const std::string& arg) {
  return asksForHelp(arg) || arg == VERSION_OPTION;
}

}  // namespace

int runProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, const LocalClock& clock, bool inputIsTerminal) {
  if (args.empty()) {
    return runPasses(in, out, err, clock, inputIsTerminal);
  }
  if (args.size() == 1 && isOption(args[0])) {
    if (asksForHelp(args[0])) {
      writeText(out, HELP);
    } else {
      writeLine(out, programWithVersion(PROGRAM_NAME));
    }
    out.flush();
    return out ? EXIT_STATUS_DONE : EXIT_STATUS_FAILED;
  }
  const std::string& unexpected = isOption(args[0]) ? args[1] : args[0];
  writeLine(err, std::string(PROGRAM_NAME) + ": unexpected argument " +
                     quotedText(printableText(unexpected)) + "; usage: " + std::string(USAGE));
  return EXIT_STATUS_USAGE;
}

}  // namespace bandmatch
