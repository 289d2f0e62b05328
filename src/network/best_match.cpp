#include "network/best_match.hpp"

#include <cmath>
#include <numbers>

#include "core/design_case.hpp"
#include "synthesis/fano_solver.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {

double fanoLimitReflection(double decrement) {
  return std::exp(-std::numbers::pi * decrement);
}

std::vector<BestMatchRow> bestMatchTable(double decrement) {
  std::vector<BestMatchRow> rows;
  for (int n = MIN_ELEMENTS; n <= MAX_ELEMENTS; ++n) {
    DesignCase design;
    design.N = n;
    design.decrement = decrement;
    applyFanoSolution(design);
    computeMatchFigures(design);
    BestMatchRow row{n, false, design.rhoMin, design.rhoMax, design.returnLossMax, design.swrMax};
    row.solved = design.FV <= FANO_TOLERANCE && std::isfinite(design.rhoMin) &&
                 std::isfinite(design.rhoMax) && design.rhoMax < 1.0;
    rows.push_back(row);
  }
  const double limit = fanoLimitReflection(decrement);
  rows.push_back({0, true, limit, limit, 20.0 * std::log10(limit), swrFromRho(limit)});
  return rows;
}

}  // namespace bandmatch
