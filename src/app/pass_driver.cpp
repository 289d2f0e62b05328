#include "app/pass_driver.hpp"

#include <array>
#include <fstream>
#include <string>
#include <string_view>

#include "console/console_input.hpp"
#include "core/design_case.hpp"
#include "core/text_sink.hpp"
#include "entry/letter_question.hpp"
#include "entry/problem_dialogue.hpp"
#include "report/csv_report.hpp"
#include "report/text_report.hpp"
#include "synthesis/synthesis.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view RESULT_NAME_PROMPT = "Enter Result File Name without suffix: ";
// The exit line stands above the continue line.
constexpr std::array<std::string_view, 2> CLOSING_LINES = {
    "Enter \"e\" or \"E\" to exit  ",
    "Enter \"c\" or \"C\" to continue  ",
};
constexpr std::array<LetterAnswer<PassOutcome>, 2> CLOSING_ANSWERS = {{
    {'e', 'E', PassOutcome::exitProgram},
    {'c', 'C', PassOutcome::continueDesign},
}};
constexpr std::string_view INPUT_ENDED_MESSAGE =
    "bandmatch: the input ended before the design was complete";

// Created or emptied, never appended to. A name holding a NUL byte cannot name the file as
// typed, so the file stays unopened and its writes are dropped, like any file that fails to open.
std::ofstream openResultFile(const std::string& name) {
  std::ofstream file;
  if (name.find('\0') == std::string::npos) {
    file.open(name, std::ios::out | std::ios::trunc);
  }
  return file;
}

}  // namespace

PassOutcome askContinue(std::istream& in, std::ostream& out) {
  return askLetter<PassOutcome>(in, out, CLOSING_LINES, CLOSING_ANSWERS)
      .value_or(PassOutcome::inputEnded);
}

PassOutcome runPass(std::istream& in, std::ostream& out, const LocalClock& clock) {
  // One stamp for the whole pass, shown alike in all three renderings.
  const std::string dateStamp = takeDateStamp(clock);
  writeCreditsBlock(out, dateStamp, false);

  writeText(out, RESULT_NAME_PROMPT);
  const std::optional<std::string> baseName = readWord(in, out);
  if (!baseName) {
    return PassOutcome::inputEnded;
  }

  DesignCase design;
  design.textFileName = *baseName + ".txt";
  design.csvFileName = *baseName + ".csv";
  std::ofstream textFile = openResultFile(design.textFileName);
  std::ofstream csvFile = openResultFile(design.csvFileName);

  const bool inputComplete = runProblemDialogue(in, out, design) == EntryStatus::complete;
  if (inputComplete) {
    synthesize(design);
    writeConsoleReport(out, design);
    writeTextReport(textFile, design, dateStamp);
    writeCsvReport(csvFile, design, dateStamp);
  }
  textFile.close();
  csvFile.close();
  if (!inputComplete) {
    return PassOutcome::inputEnded;
  }

  // The design is complete on disk; input ending at the closing question is a normal end.
  const PassOutcome answer = askContinue(in, out);
  return answer == PassOutcome::inputEnded ? PassOutcome::exitProgram : answer;
}

int runPasses(std::istream& in, std::ostream& out, std::ostream& err, const LocalClock& clock) {
  for (;;) {
    switch (runPass(in, out, clock)) {
      case PassOutcome::continueDesign:
        break;
      case PassOutcome::exitProgram:
        return EXIT_STATUS_DONE;
      case PassOutcome::inputEnded:
        out.flush();
        writeLine(err, INPUT_ENDED_MESSAGE);
        return EXIT_STATUS_INPUT_ENDED;
    }
  }
}

}  // namespace bandmatch
