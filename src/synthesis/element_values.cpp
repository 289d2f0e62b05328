#include "synthesis/element_values.hpp"

namespace bandmatch {
namespace {

bool isEven(int k) {
  return k % 2 == 0;
}

// A reactance-slope branch (ohms) is a series resonator: L = x / omega0, C = (1 / x) / omega0.
void setFromReactanceSlope(DesignCase& design, int k, double slope) {
  design.L[k] = slope / design.omega0;
  design.C[k] = (1.0 / slope) / design.omega0;
}

// A susceptance-slope branch (siemens) is a shunt resonator: L = (1 / b) / omega0, C = b / omega0.
void setFromSusceptanceSlope(DesignCase& design, int k, double slope) {
  design.L[k] = (1.0 / slope) / design.omega0;
  design.C[k] = slope / design.omega0;
}

void computeSeriesLoad(DesignCase& design) {
  const int n = design.N;
  const double r = design.averageResistance;
  ValueArray scaled{};
  // Impedance scaling: even indices are conductances, odd indices resistances or reactances.
  for (int k = 0; k <= n + 1; ++k) {
    scaled[k] = isEven(k) ? design.g[k] / r : r * design.g[k];
  }
  for (int k = 1; k <= n; ++k) {
    const double slope = scaled[k] / design.wm;
    if (isEven(k)) {
      setFromSusceptanceSlope(design, k, slope);
    } else {
      setFromReactanceSlope(design, k, slope);
    }
  }
  design.loadResistance = 1.0 / scaled[0];
  design.sourceResistance = isEven(n) ? scaled[n + 1] : 1.0 / scaled[n + 1];
}

void computeParallelLoad(DesignCase& design) {
  const int n = design.N;
  const double r = 1.0 / design.averageConductance;
  ValueArray scaled{};
  // Admittance scaling, the dual: even indices are resistances, odd indices conductances.
  for (int k = 0; k <= n + 1; ++k) {
    scaled[k] = isEven(k) ? r * design.g[k] : design.g[k] / r;
  }
  for (int k = 1; k <= n; ++k) {
    const double slope = scaled[k] / design.wm;
    if (isEven(k)) {
      setFromReactanceSlope(design, k, slope);
    } else {
      setFromSusceptanceSlope(design, k, slope);
    }
  }
  design.loadResistance = scaled[0];
  design.sourceResistance = isEven(n) ? 1.0 / scaled[n + 1] : scaled[n + 1];
}

}  // namespace

void computeElementValues(DesignCase& design) {
  // The dialogue bounds N; a count outside 1..10 would index past the value arrays.
  if (!isValidElementCount(design.N)) {
    return;
  }
  if (design.loadType == LoadType::series) {
    computeSeriesLoad(design);
  } else {
    computeParallelLoad(design);
  }
}

}  // namespace bandmatch
