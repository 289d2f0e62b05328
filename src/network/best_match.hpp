// The best match a load of a given decrement allows: the equal-ripple reflection Fano's
// equations give for N = 1 to 10 resonators, and the bound for infinitely many.
#pragma once

#include <vector>

namespace bandmatch {

struct BestMatchRow {
  int n = 0;            // resonators; 0 for the limit of infinitely many
  bool solved = false;  // the solver met its tolerance and the figures are finite
  double rhoMin = 0.0;
  double rhoMax = 0.0;
  double worstReturnLossDb = 0.0;  // negative, as the reports show losses
  double worstSwr = 0.0;
};

// Fano's integral bound for a resonant load with infinitely many resonators: exp(-pi * decrement)
// at every frequency of the band.
double fanoLimitReflection(double decrement);

// Rows for N = 1 to 10 from the project's solver and match figures, then the limit row.
std::vector<BestMatchRow> bestMatchTable(double decrement);

}  // namespace bandmatch
