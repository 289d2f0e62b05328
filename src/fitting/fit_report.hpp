// What bandmatch-fit prints, and the web page shows, of a measured load: the fitted model, its
// retuning, the load description with the answers of the dialogue's method l, and the table of
// the best match for N = 1 to 10 and the limit of infinitely many resonators.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "fitting/dialogue_answers.hpp"
#include "network/load_fit.hpp"
#include "network/measured_load.hpp"

namespace bandmatch {

// The fitted model's own resonance in MHz; none when its L or C is not positive.
std::optional<double> ownResonanceMHz(const LoadModel& model);

// The whole report of a fit; the answers (or why there are none) are shown as method l's.
void writeFitReport(std::ostream& out, std::string_view loadPath, const MeasuredLoad& load,
                    const BandPoints& band, const LoadFit& fit, const DialogueAnswers& answers);

// The report without the table of the best match: the load, its model, retuning, description,
// answers and the dialogue's range warnings.
void writeFitSummary(std::ostream& out, std::string_view loadPath, const MeasuredLoad& load,
                     const BandPoints& band, const LoadFit& fit, const DialogueAnswers& answers);

// The table of the best match as text cells, for a printed table or a page's.
struct BestMatchTableRow {
  int n = 0;                       // resonators; 0 for the limit of infinitely many
  std::vector<std::string> cells;  // one per heading, the first the row's N ("inf" for the limit)
  std::string note;  // why a row has no figures, in place of all cells after the first
};

struct BestMatchTable {
  std::string title;
  std::vector<std::string> headings;
  std::vector<BestMatchTableRow> rows;
};

BestMatchTable bestMatchTableText(double decrement);

// The decrement's range warning as the dialogue shows it, then the table.
void writeBestMatch(std::ostream& out, double decrement);

}  // namespace bandmatch
