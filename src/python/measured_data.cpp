#include "python/measured_data.hpp"

#include <cmath>
#include <sstream>

#include "console/console_input.hpp"
#include "fitting/fit_report.hpp"
#include "formats/touchstone_reader.hpp"

namespace bandmatch {

namespace {

struct ModelWord {
  std::string_view word;
  LoadModelChoice model;
};

// bandmatch-fit's --model words.
constexpr ModelWord MODEL_WORDS[] = {
    {"auto", LoadModelChoice::automatic},
    {"series", LoadModelChoice::series},
    {"parallel", LoadModelChoice::parallel},
};

// The answer words' places: name, N, l, s or p, f1, f2, level, delta bandwidth, delta, e.
constexpr std::size_t LOAD_WORD = 3;
constexpr std::size_t F1_WORD = 4;
constexpr std::size_t F2_WORD = 5;
constexpr std::size_t LEVEL_WORD = 6;
constexpr std::size_t DELTA_BANDWIDTH_WORD = 7;
constexpr std::size_t DELTA_WORD = 8;

}  // namespace

MeasuredReading measuredLoadOfText(std::string_view text) {
  if (text.size() > LOAD_FILE_SIZE_LIMIT) {
    return {nullptr, std::string(LOAD_FILE_TOO_LARGE)};
  }
  TouchstoneReading reading = readTouchstone(text);
  if (!reading.load) {
    return {nullptr, reading.error};
  }
  return {std::make_shared<const MeasuredLoad>(std::move(*reading.load)), {}};
}

MeasuredReading measuredLoadOfNumbers(std::span<const double> frequenciesHz,
                                      std::span<const std::complex<double>> impedance) {
  if (frequenciesHz.size() != impedance.size()) {
    return {nullptr, "frequencies and impedances differ in number"};
  }
  if (frequenciesHz.empty()) {
    return {nullptr, "no data points"};
  }
  MeasuredLoad load;
  for (std::size_t i = 0; i < frequenciesHz.size(); ++i) {
    if (std::string reason = appendPoint(load, frequenciesHz[i] / HZ_PER_MHZ, impedance[i], 0);
        !reason.empty()) {
      return {nullptr, reason};
    }
  }
  return {std::make_shared<const MeasuredLoad>(std::move(load)), {}};
}

FitRun fitMeasuredLoad(const MeasuredLoad& load, double f1, double f2, std::string_view model) {
  FitRun run;
  const double f1MHz = f1 / HZ_PER_MHZ;
  const double f2MHz = f2 / HZ_PER_MHZ;
  // As bandmatch-fit takes its band edges and its model.
  if (!(f1MHz > 0.0) || !std::isfinite(f1MHz)) {
    run.error = "f1: not a frequency above 0 Hz";
    return run;
  }
  if (!(f2MHz > f1MHz) || !std::isfinite(f2MHz)) {
    run.error = "f2: not a frequency above f1";
    return run;
  }
  const ModelWord* chosen = nullptr;
  for (const ModelWord& entry : MODEL_WORDS) {
    chosen = entry.word == model ? &entry : chosen;
  }
  if (chosen == nullptr) {
    run.error = "model: answer series, parallel or auto";
    return run;
  }
  run.band = pointsInBand(load, f1MHz, f2MHz);
  if (!run.band.error.empty()) {
    run.error = run.band.error;
    return run;
  }
  if (const std::optional<ActivePoint> active = firstActivePoint(load, f1MHz, f2MHz)) {
    run.error = activeLoadReason(*active);
    return run;
  }
  run.fit = fitLoad(load, run.band, f1MHz, f2MHz, chosen->model);
  run.error = run.fit.error;
  return run;
}

std::string fitReportText(const MeasuredLoad& load, const FitRun& run, std::string_view loadName) {
  // Without --answers the program shows method l's answers for one resonator.
  std::ostringstream report;
  writeFitReport(report, loadName, load, run.band, run.fit, dialogueAnswers(run.fit, 1, {}));
  return report.str();
}

DialogueAnswers fitAnswers(const LoadFit& fit, int n, std::string_view name) {
  for (std::string refusal : {elementCountRefusal(n), nameRefusal(name)}) {
    if (!refusal.empty()) {
      return {{}, std::move(refusal)};
    }
  }
  return dialogueAnswers(fit, n, name);
}

DesignArguments designArgumentsOf(const DialogueAnswers& answers) {
  const std::vector<std::string>& words = answers.words;
  DesignArguments arguments;
  arguments.name = words[0];
  arguments.n = integerFromWord(words[1]);
  arguments.load = words[LOAD_WORD] == "s" ? "series" : "parallel";
  arguments.f1 = realFromWord(words[F1_WORD]);
  arguments.f2 = realFromWord(words[F2_WORD]);
  arguments.level = realFromWord(words[LEVEL_WORD]);
  arguments.slope = {realFromWord(words[DELTA_BANDWIDTH_WORD]), realFromWord(words[DELTA_WORD])};
  return arguments;
}

}  // namespace bandmatch
