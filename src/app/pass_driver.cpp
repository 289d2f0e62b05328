#include "app/pass_driver.hpp"

#include <array>
#include <cerrno>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "console/console_input.hpp"
#include "core/design_case.hpp"
#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "entry/letter_question.hpp"
#include "entry/problem_dialogue.hpp"
#include "entry/refusal_reasons.hpp"
#include "files/replace_file.hpp"
#include "report/csv_report.hpp"
#include "report/report_rows.hpp"
#include "report/text_report.hpp"
#include "synthesis/fano_solver.hpp"
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
constexpr std::string_view OUTPUT_FAILED_MESSAGE = "bandmatch: cannot write standard output";

// One report file of the pass: a temporary beside NAME from the moment the name is typed,
// renamed over NAME when the report is complete. `error` is the errno once it has failed.
struct ReportFile {
  std::string name;
  TemporaryFile temporary;
  int error = 0;
};

// Both report files; whatever way the pass ends, an unfinished temporary is removed.
struct PassFiles {
  ReportFile text;
  ReportFile csv;

  PassFiles() = default;
  PassFiles(const PassFiles&) = delete;
  PassFiles& operator=(const PassFiles&) = delete;
  ~PassFiles() {
    discardTemporary(text.temporary);
    discardTemporary(csv.temporary);
  }
};

// A line on the error stream, after everything the console has been given, so a terminal shows
// the two streams in the order they were written.
void tellUser(std::ostream& out, std::ostream& err, std::string_view line) {
  out.flush();
  writeLine(err, line);
}

// "bandmatch: cannot write NAME: reason", the name as typed and on one line whatever it holds.
void reportFailure(std::ostream& out, std::ostream& err, const ReportFile& file) {
  tellUser(out, err,
           std::string(MESSAGE_LEAD) + "cannot write " + printableText(file.name) + ": " +
               systemReason(file.error));
}

void beginReport(ReportFile& file, std::string name) {
  file.name = std::move(name);
  // A folder at the name would refuse the rename only once the design is done.
  std::error_code unknown;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(file.name, unknown))) {
    file.error = EISDIR;
    return;
  }
  file.error = createTemporaryBeside(file.name, file.temporary);
}

// Asks for the result name until both report files can be created beside their names, each
// refused name told on `err` and asked again from its line end; false when the input ends.
bool askResultName(std::istream& in, std::ostream& out, std::ostream& err, PassFiles& files) {
  writeText(out, RESULT_NAME_PROMPT);
  for (;;) {
    const std::optional<std::string> baseName = readWord(in, out);
    if (!baseName) {
      return false;
    }
    beginReport(files.text, *baseName + ".txt");
    beginReport(files.csv, *baseName + ".csv");
    const ReportFile& refused = files.text.error != 0 ? files.text : files.csv;
    if (refused.error == 0) {
      return true;
    }
    reportFailure(out, err, refused);
    discardTemporary(files.text.temporary);
    discardTemporary(files.csv.temporary);
    writeLine(out);
    writeText(out, RESULT_NAME_PROMPT);
  }
}

void finishReport(ReportFile& file, std::string_view content) {
  if (file.error == 0) {
    file.error = replaceWith(file.temporary, file.name, content);
  }
}

// Why the console could not go on: the output failed (errno still holds its reason), or the
// input ended.
PassEnd sessionStopped(const std::ostream& out, bool reportFailed) {
  if (!out) {
    return {PassOutcome::outputFailed, reportFailed, errno};
  }
  return {PassOutcome::inputEnded, reportFailed, 0};
}

// The solver ran out of evaluations or overflowed, or its A and B give no passive match: the
// figures of the pass are not a design, and the report alone would not say so. The figures are
// shown as the report shows them.
void warnIfNoDesign(std::ostream& out, std::ostream& err, const DesignCase& design) {
  const std::string lead = std::string(MESSAGE_LEAD) + "warning: N = " + formatInteger(design.N) +
                           ", decrement " + scientific9(design.decrement) + ": ";
  if (!(design.FV <= FANO_TOLERANCE)) {
    tellUser(out, err,
             lead + "the Newton - Raphson solution did not converge (FV = " +
                 scientific3(design.FV) + " after " + formatInteger(design.IT) +
                 " evaluations); the figures of this pass are not a design");
  } else if (!(design.rhoMax < 1.0)) {
    tellUser(out, err,
             lead + "the largest reflection magnitude is " + fixed9(design.rhoMax) +
                 ", not below 1; the figures of this pass are not a design");
  }
}

// "bandmatch: cannot write standard output: reason"; it goes to the error stream alone, as the
// console can no longer take anything.
void reportOutputFailure(std::ostream& err, int error) {
  writeLine(err, std::string(OUTPUT_FAILED_MESSAGE) +
                     (error != 0 ? ": " + systemReason(error) : std::string()));
}

}  // namespace

PassOutcome askContinue(std::istream& in, std::ostream& out, std::ostream* reasons) {
  return askLetter<PassOutcome>(in, out, CLOSING_LINES, CLOSING_ANSWERS, reasons)
      .value_or(PassOutcome::inputEnded);
}

PassEnd runPass(std::istream& in, std::ostream& out, std::ostream& err, const LocalClock& clock,
                bool inputIsTerminal) {
  std::ostream* const reasons = inputIsTerminal ? &err : nullptr;
  // One stamp for the whole pass, shown alike in all three renderings.
  const std::string dateStamp = takeDateStamp(clock);
  writeCreditsBlock(out, dateStamp, false);

  // The files are created as the name is typed, so a name that cannot be written is asked again
  // before the dialogue; an earlier report of that name stays untouched until the new one is
  // complete.
  PassFiles files;
  if (!askResultName(in, out, err, files)) {
    return sessionStopped(out, false);
  }
  DesignCase design;
  design.textFileName = files.text.name;
  design.csvFileName = files.csv.name;
  bool reportFailed = false;

  if (runProblemDialogue(in, out, design, reasons) != EntryStatus::complete) {
    return sessionStopped(out, reportFailed);
  }
  synthesize(design);
  writeConsoleReport(out, design);
  warnIfNoDesign(out, err, design);

  std::ostringstream text;
  writeTextReport(text, design, dateStamp);
  std::ostringstream csv;
  writeCsvReport(csv, design, dateStamp);
  for (const auto& [file, content] : {std::pair{&files.text, &text}, std::pair{&files.csv, &csv}}) {
    finishReport(*file, content->view());
    if (file->error != 0) {
      reportFailure(out, err, *file);
      reportFailed = true;
    }
  }

  // The design is complete on disk; input ending at the closing question is a normal end.
  const PassOutcome answer = askContinue(in, out, reasons);
  if (answer == PassOutcome::inputEnded) {
    return out ? PassEnd{PassOutcome::exitProgram, reportFailed, 0}
               : sessionStopped(out, reportFailed);
  }
  return {answer, reportFailed, 0};
}

int runPasses(std::istream& in, std::ostream& out, std::ostream& err, const LocalClock& clock,
              bool inputIsTerminal) {
  bool reportFailed = false;
  for (;;) {
    const PassEnd end = runPass(in, out, err, clock, inputIsTerminal);
    reportFailed = reportFailed || end.reportFailed;
    switch (end.outcome) {
      case PassOutcome::continueDesign:
        continue;
      case PassOutcome::exitProgram:
        break;
      case PassOutcome::inputEnded:
        tellUser(out, err, INPUT_ENDED_MESSAGE);
        return EXIT_STATUS_FAILED;
      case PassOutcome::outputFailed:
        reportOutputFailure(err, end.outputError);
        return EXIT_STATUS_FAILED;
    }
    // The last of the console reaches its reader before the status says all went well.
    errno = 0;
    out.flush();
    if (!out) {
      reportOutputFailure(err, errno);
      return EXIT_STATUS_FAILED;
    }
    return reportFailed ? EXIT_STATUS_FAILED : EXIT_STATUS_DONE;
  }
}

}  // namespace bandmatch
