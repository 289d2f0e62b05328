#include "synthesis/synthesis.hpp"

#include "synthesis/element_values.hpp"
#include "synthesis/fano_solver.hpp"
#include "synthesis/match_figures.hpp"
#include "synthesis/prototype_values.hpp"

namespace bandmatch {

void synthesize(DesignCase& design) {
  applyFanoSolution(design);
  computeMatchFigures(design);
  computePrototypeValues(design);
  computeElementValues(design);
}

}  // namespace bandmatch
