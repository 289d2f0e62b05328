// What bandmatch-fit prints: the fitted model, its retuning, the load description with the
// answers of the dialogue's method l, and the table of the best match for N = 1 to 10 and the
// limit of infinitely many resonators.
#pragma once

#include <ostream>
#include <string_view>

#include "rf/load_fit.hpp"
#include "rf/touchstone_reader.hpp"
#include "tools/fit/dialogue_answers.hpp"

namespace bandmatch {

// The whole report of a fit; the answers (or why there are none) are shown as method l's.
void writeFitReport(std::ostream& out, std::string_view loadPath, const MeasuredLoad& load,
                    const BandPoints& band, const LoadFit& fit, const DialogueAnswers& answers);

// The decrement's range warning as the dialogue shows it, then the table.
void writeBestMatch(std::ostream& out, double decrement);

}  // namespace bandmatch
