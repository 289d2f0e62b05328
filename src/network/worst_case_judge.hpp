// The one judge of every worst-case figure printed for a network: the largest |Gamma| (and the
// smallest transducer gain) over the closed band [f1, f2], found on a grid that resolves the
// response and refined at every local extreme that could beat the grid's, so that a printed
// worst figure is never below the true one by more than JUDGE_TOLERANCE.
#pragma once

#include <complex>
#include <functional>
#include <limits>
#include <vector>

namespace bandmatch {

// What the judge promises: the true worst |Gamma| exceeds the judged one by at most this.
inline constexpr double JUDGE_TOLERANCE = 1e-6;

// The band and the response to judge over it. `reflectionAt` gives Gamma at a frequency in MHz;
// `gainAt` the transducer gain, when the response has one (a network with losses); without it
// no gain figure is judged.
struct BandToJudge {
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
  std::function<std::complex<double>(double)> reflectionAt;
  std::function<double(double)> gainAt;
  // Frequencies where the response may change fast (the resonators' own resonances): the grid
  // is made denser about those inside the band.
  std::vector<double> resonanceMHz;
  // Measured points: every one inside the band is a grid point (the response has a corner there).
  const std::vector<double>* dataMHz = nullptr;
  // Every local maximum of |Gamma| that could rise above this level is located too, not only
  // those that could beat the worst (a tuner asks for the peaks above its sampled level).
  double peaksAbove = std::numeric_limits<double>::infinity();
};

// A located local maximum of |Gamma|.
struct ReflectionPeak {
  double frequencyMHz = 0.0;
  double magnitude = 0.0;
};

struct JudgedBand {
  double worstReflection = 0.0;  // largest |Gamma| over [f1, f2]
  double worstReflectionMHz = 0.0;
  double bestReflection = 0.0;  // smallest |Gamma| over [f1, f2]
  // Smallest transducer gain, and smallest gain / (1 - |Gamma|^2): the share the parts' losses
  // leave. Without a gain function the network has no losses: the gain is 1 - |Gamma|^2 and
  // the share is 1.
  double worstGain = 1.0;
  double worstGainMHz = 0.0;
  double worstDissipation = 1.0;
  // Every local maximum of |Gamma| that was refined, by frequency.
  std::vector<ReflectionPeak> peaks;
  // The grid the response was sampled on, halvings included: it resolves this response, and a
  // slightly changed network (a part's tolerance) is judged on it too.
  std::vector<double> gridMHz;
  int evaluations = 0;  // of the reflection
};

// The SWR of a reflection magnitude; infinite where the network reflects everything (|Gamma| of
// 1 or more, or not finite), so that no figure ever shows a negative SWR.
double standingWaveRatio(double rho);

// Judges the response over the band. A non-finite reflection anywhere makes the worst |Gamma|
// infinite.
JudgedBand judgeBand(const BandToJudge& band);

// The largest of a figure sampled at ascending frequencies inside a band (a grid that resolves
// it), with every local maximum that could beat the largest sample searched between its
// neighbours by `figureAt`, a function of the frequency in MHz. The frequencies are given by
// their natural logarithms (of MHz), so that a caller judging many networks on one grid takes
// them once.
double refinedLargest(const std::function<double(double)>& figureAt,
                      const std::vector<double>& logFrequency, const std::vector<double>& values);

// The judge's base grid: points logarithmic in frequency from f1 to f2 (both included), denser
// about the resonances, with the measured points inside the band; ascending, no repeats.
std::vector<double> judgeGrid(const BandToJudge& band);

}  // namespace bandmatch
