#include "tools/fit/fit_run.hpp"

#include <optional>
#include <sstream>

#include "core/text_sink.hpp"
#include "fitting/dialogue_answers.hpp"
#include "fitting/fit_report.hpp"
#include "network/load_fit.hpp"
#include "runs/json_summary.hpp"
#include "formats/touchstone_reader.hpp"
#include "tools/common/command_line.hpp"
#include "tools/common/input_file.hpp"
#include "tools/fit/fit_options.hpp"

namespace bandmatch {

namespace {

int fail(std::ostream& err, std::string_view message) {
  return refuse(err, FIT_PROGRAM_NAME, message);
}

}  // namespace

int runFit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const FitOptions options = parseFitOptions(args);
  if (options.action != CommandAction::run) {
    return answerRequest({options.action, options.error}, fitUsage(), FIT_PROGRAM_NAME, out, err);
  }
  if (options.decrement) {
    if (options.json) {
      writeText(out, jsonText(decrementJson(*options.decrement)));
      out.flush();
      return TOOL_SUCCESS;
    }
    writeBestMatch(out, *options.decrement);
    return TOOL_SUCCESS;
  }

  const FileText file = readInputFile(options.loadPath, LOAD_FILE_SIZE_LIMIT, LOAD_FILE_TOO_LARGE);
  if (!file.text) {
    return fail(err, file.error);
  }
  const TouchstoneReading reading = readTouchstone(*file.text);
  if (!reading.load) {
    return fail(err, options.loadPath + ": " + reading.error);
  }
  const MeasuredLoad& load = *reading.load;
  const BandPoints band = pointsInBand(load, options.f1, options.f2);
  if (!band.error.empty()) {
    return fail(err, options.loadPath + ": " + band.error);
  }
  if (const std::optional<ActivePoint> active = firstActivePoint(load, options.f1, options.f2)) {
    return fail(err, options.loadPath + ": " + activeLoadReason(*active));
  }
  const LoadFit fit = fitLoad(load, band, options.f1, options.f2, options.model);
  if (!fit.error.empty()) {
    return fail(err, options.loadPath + ": " + fit.error);
  }
  const DialogueAnswers answers = dialogueAnswers(fit, options.answersN.value_or(1), options.name);
  if (options.answersN) {
    if (!answers.error.empty()) {
      return fail(err, options.loadPath + ": " + answers.error);
    }
    std::ostringstream words;
    for (const std::string& word : answers.words) {
      writeLine(words, word);
    }
    writeText(out, words.str());
    out.flush();
    return TOOL_SUCCESS;
  }
  if (options.json) {
    writeText(out, jsonText(fitJson(options.loadPath, load, band, fit, answers)));
    out.flush();
    return TOOL_SUCCESS;
  }
  writeFitReport(out, options.loadPath, load, band, fit, answers);
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
