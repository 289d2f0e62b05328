// Measured loads for the Python module, read from a Touchstone file's text or given as numbers
// (a network of another library), and bandmatch-fit's fit of one over a band with the answers
// that give it to the dialogue.
#pragma once

#include <complex>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fitting/dialogue_answers.hpp"
#include "network/load_fit.hpp"
#include "network/measured_load.hpp"
#include "python/design_arguments.hpp"

namespace bandmatch {

// The load, or why it is refused (one line).
struct MeasuredReading {
  std::shared_ptr<const MeasuredLoad> load;
  std::string error;
};

// A Touchstone one-port file's whole text, as bandmatch-fit reads it.
MeasuredReading measuredLoadOfText(std::string_view text);

// Impedances in ohms at frequencies in Hz, each point checked as a file's point is.
MeasuredReading measuredLoadOfNumbers(std::span<const double> frequenciesHz,
                                      std::span<const std::complex<double>> impedance);

// bandmatch-fit's fit over the band f1 to f2 (Hz) with the model "series", "parallel" or
// "auto", or the first reason it is refused, in the program's order.
struct FitRun {
  LoadFit fit;
  BandPoints band;
  std::string error;
};
FitRun fitMeasuredLoad(const MeasuredLoad& load, double f1, double f2, std::string_view model);

// The report bandmatch-fit prints for the fit; `loadName` names the load file in it.
std::string fitReportText(const MeasuredLoad& load, const FitRun& run, std::string_view loadName);

// The answer words of bandmatch-fit --answers N --name NAME, or why there are none.
DialogueAnswers fitAnswers(const LoadFit& fit, int n, std::string_view name);

// The answers the dialogue reads from the answer words: method l with the fitted load's slope
// parameters, so that a design made from them is the one the words give the console program.
DesignArguments designArgumentsOf(const DialogueAnswers& answers);

}  // namespace bandmatch
