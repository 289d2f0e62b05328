// Monte Carlo tolerance analysis of a built network: each trial draws every L and C of positions
// 2..N (and a measured load's retuning element) uniformly within its tolerance and judges the
// worst in-band reflection of the perturbed network; the trials give the yield against a goal SWR, percentiles of the worst SWR and, at
// each plotted frequency, the band that holds 90 % of the trials' return loss. The figures
// depend only on the network, the sweep, the tolerances and the seed: not on the thread count.
#pragma once

#include <complex>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "network/ladder_analysis.hpp"
#include "network/load_fit.hpp"
#include "network/sweep.hpp"

namespace bandmatch {

inline constexpr int DEFAULT_TRIALS = 1000;
inline constexpr int MAX_TRIALS = 1000000;
inline constexpr std::uint64_t DEFAULT_SEED = 1;
inline constexpr double DEFAULT_GOAL_SWR = 2.0;
inline constexpr double MAX_TOLERANCE_PERCENT = 50.0;

// The tolerances of the inductors and the capacitors in percent (0 to 50), and the draws.
struct ToleranceOptions {
  double inductorPercent = 0.0;
  double capacitorPercent = 0.0;
  int trials = DEFAULT_TRIALS;
  std::uint64_t seed = DEFAULT_SEED;
};

enum class PartKind { inductor, capacitor };

// The factor a 64-bit integer of the generator gives a part of that tolerance: its top 53 bits
// as a number x in (0, 1), the middle of one of 2^53 equal steps, and 1 + (tolerance / 100)
// (2 x - 1); so the factor lies strictly within +-tolerance and is exactly 1 at tolerance 0.
double toleranceFactor(std::uint64_t draw, double percent);

// The ladder with the part at `index` (position - 1) scaled by `factor`. A part keeps its Q at
// the band centre: an inductor's loss resistance scales with it, a capacitor's inversely.
void scalePart(LadderNetwork& ladder, std::size_t index, PartKind kind, double factor);

// The network the trials perturb, over the sweep of the export. With a measured load,
// `measuredImpedance` gives the load's impedance at a frequency in MHz, and the retuning element
// (a part like any other) joins it at the load end of position 2; without, position 1 and the
// load resistance close the ladder.
struct ToleranceProblem {
  LadderNetwork network;
  Sweep sweep;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
  std::function<std::complex<double>(double)> measuredImpedance;
  Retuning retuning;
  const std::vector<double>* dataMHz = nullptr;  // the measured points, for the judge's grid
};

// The reflection of the problem's network with other values, at a frequency in MHz.
std::complex<double> problemReflection(const ToleranceProblem& problem,
                                       const LadderNetwork& ladder, const Retuning& retuning,
                                       double frequencyMHz);

// Return loss in dB at each plotted frequency: at least 90 % of the trials lie within
// [lowerDb, upperDb], the 5th and 95th percentiles widened to the 0.05 dB steps they are counted
// in. Return loss deeper than -100 dB counts as -100 dB.
struct ReturnLossBand {
  std::vector<double> frequencyMHz;
  std::vector<double> lowerDb;
  std::vector<double> upperDb;
};

struct ToleranceResult {
  // The worst in-band SWR of every trial, ascending, each judged over the whole band as the
  // nominal network is: on the grid that resolves the nominal response, every local maximum
  // that could be the worst searched.
  std::vector<double> worstSwr;
  double nominalSwr = 0.0;  // of the unperturbed network, by the worst-case judge
  ReturnLossBand band;
};

// Trial t takes D draws of std::mt19937_64 seeded with the seed, from D t on: for positions 2..N
// in turn, the inductor's and then the capacitor's, then the retuning element's when there is
// one; D = 2 (N - 1), plus one with a retuning element. The trials are shared among `threads`
// threads in fixed contiguous blocks.
ToleranceResult runTolerance(const ToleranceProblem& problem, const ToleranceOptions& options,
                             int threads);

// The largest number of the band's frequencies: a longer sweep has its band drawn at evenly
// chosen points of it.
inline constexpr int MAX_BAND_POINTS = 1001;

// What the trials of any network share: the frequencies each trial is evaluated at, how a trial
// is drawn and evaluated, and the figures gathered from all of them.

// The frequencies of every trial: the judge's grid of the nominal network (thinned when very
// long), ascending, and the points of the sweep the band of return loss is drawn at.
struct TrialFrequencies {
  std::vector<double> judgedMHz;
  std::vector<double> bandMHz;
};

// From the grid the judge resolved the nominal network on and its |Gamma| at a frequency in MHz.
// A very long grid (a measured end of many points) keeps, of each block of neighbouring points,
// those where the nominal |Gamma| is least and greatest, and the band's edges: a trial's peaks
// lie where the nominal network's do, and each is searched between its neighbours.
TrialFrequencies trialFrequencies(const std::vector<double>& nominalGridMHz,
                                  const std::function<double(double)>& nominalMagnitude,
                                  const Sweep& sweep);

// One thread's trials. `drawTrial` perturbs the network with the trial's draws, taken from the
// generator in their documented order, and returns the squared |Gamma| at the judged frequencies
// and then the band's (infinite or 1 where the network reflects everything); `magnitudeAt` is
// then |Gamma| of that trial at any frequency in MHz, for the judge's search between grid points.
struct TrialWorker {
  std::function<const std::vector<double>&(std::mt19937_64&)> drawTrial;
  std::function<double(double)> magnitudeAt;
};

// The trials of one network: its frequencies, how many draws each trial takes, the nominal
// network's worst SWR, and a maker of independent workers (one per thread).
struct TrialPlan {
  TrialFrequencies frequencies;
  std::size_t drawsPerTrial = 0;
  double nominalSwr = 0.0;
  std::function<TrialWorker()> newWorker;
};

// Trial t starts at draw drawsPerTrial t of std::mt19937_64 seeded with the seed; the trials are
// shared among `threads` threads (at most 8) in fixed contiguous blocks, so the figures do not
// depend on the thread count. Each trial's worst SWR is judged on the nominal grid with every
// local maximum that could be the worst searched.
ToleranceResult runTrialPlan(const TrialPlan& plan, const ToleranceOptions& options, int threads);

// The yield: trials whose worst SWR is at most the goal, and their share with Wilson's score
// interval at 95 % confidence.
struct YieldFigures {
  long long passing = 0;
  long long trials = 0;
  double share = 0.0;
  double lower = 0.0;
  double upper = 0.0;
};
YieldFigures yieldAt(const std::vector<double>& sortedWorstSwr, double goalSwr);

// Wilson's score interval of a share of `trials` at 95 % confidence (z = 1.959963984540054).
struct ShareInterval {
  double lower = 0.0;
  double upper = 0.0;
};
ShareInterval wilsonInterval(long long successes, long long trials);

// The nearest-rank percentile of ascending values: the smallest value with at least `percent` %
// of them at or below it, element ceil(percent n / 100) - 1 (the first for 0). None for no values.
double nearestRankPercentile(const std::vector<double>& sorted, int percent);

}  // namespace bandmatch
