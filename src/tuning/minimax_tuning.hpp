// Minimax tuning of a network against its target: the element values that make the worst
// reflection over the band's samples as small as they can be, found by the minimax solver
// (minimise t subject to |Gamma_i|^2 <= t at every sample) with exact gradients, the variables
// on a logarithmic scale within a box around the start.
#pragma once

#include <string>
#include <vector>

#include "network/reflection_gradient.hpp"

namespace bandmatch {

struct TuningSettings {
  // Each value may move from its start divided by (1 + range) to its start times (1 + range):
  // the same factor either way on a logarithmic scale.
  double range = 0.5;
  // A tuned network replaces the start only when it lowers the worst sampled |Gamma| by more
  // than this fraction: smaller gains are artefacts of the sampling.
  double minimumGain = 1e-6;
  int maxEvaluations = 3000;
  double relativeStep = 1e-8;  // the solver stops when no value moves by more than this share
};

struct TuningOutcome {
  TunableNetwork network;   // the tuned network, or the start when nothing better was found
  double startWorst = 0.0;  // worst sampled |Gamma| of the start
  double worst = 0.0;       // worst sampled |Gamma| of `network`
  int evaluations = 0;      // sweeps of all samples with their gradients
  bool keptStart = true;
  std::string stop;  // why the solver stopped, in words
};

// The largest factor a value may move by either way: 1 + range.
double rangeFactor(const TuningSettings& settings);

// Tunes the given variables of `start` against the target's samples, from `from` when given (a
// network with the same variables inside the range; the range stays the start's). Never returns
// a network worse than the one it starts from on those samples.
TuningOutcome tuneMinimax(const TunableNetwork& start, const TuningTarget& target,
                          const std::vector<TuningVariable>& variables,
                          const TuningSettings& settings, const TunableNetwork* from = nullptr);

}  // namespace bandmatch
