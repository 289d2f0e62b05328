#include "network/tolerance.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <system_error>
#include <thread>

#include "network/measured_network.hpp"
#include "network/worst_case_judge.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {

namespace {

// The return loss of the trials is counted in steps of 0.05 dB from 0 to -100 dB at each plotted
// frequency: far finer than a plot shows, and a fixed memory per thread whatever the trials.
constexpr double BAND_STEP_DB = 0.05;
constexpr int BAND_STEPS = 2000;
constexpr double BAND_FLOOR_DB = -BAND_STEP_DB * BAND_STEPS;
// Each side of the band leaves out at most this share of the trials.
constexpr long long BAND_OUTSIDE_PERCENT = 5;
constexpr int MAX_THREADS = 8;
// A trial is judged on at most this many points of the nominal network's grid.
constexpr std::size_t MAX_TRIAL_POINTS = 8192;
constexpr double Z_95 = 1.959963984540054;
constexpr double TWO_TO_MINUS_53 = 1.0 / 9007199254740992.0;

// The ladder's frequencies with what its walk from the load needs at each: the judged points
// first, then the band's.
struct TrialGrid {
  std::vector<double> frequencyMHz;
  std::vector<double> omega;
  std::vector<double> inverseOmega;
  // The impedance at the load end of the first position analysed, without a retuning element.
  std::vector<std::complex<double>> load;
};

// One position as a trial evaluates it, with the reciprocals the reactances need.
struct TrialPart {
  bool series = true;
  bool lossless = true;
  double inductance = 0.0;
  double capacitance = 0.0;
  double inverseInductance = 0.0;
  double inverseCapacitance = 0.0;
  double inductorLoss = 0.0;
  double capacitorLoss = 0.0;
};

bool onMeasuredLoad(const ToleranceProblem& problem) {
  return static_cast<bool>(problem.measuredImpedance);
}

// Where the walk from the load starts: position 2 on a measured load, else position 1.
std::size_t firstIndex(const ToleranceProblem& problem) {
  return onMeasuredLoad(problem) ? 1 : 0;
}

TrialGrid trialGrid(const ToleranceProblem& problem, const TrialFrequencies& frequencies) {
  TrialGrid grid;
  const auto add = [&](double frequency) {
    const double omega = angularFrequency(frequency);
    grid.frequencyMHz.push_back(frequency);
    grid.omega.push_back(omega);
    grid.inverseOmega.push_back(1.0 / omega);
    grid.load.push_back(onMeasuredLoad(problem)
                            ? problem.measuredImpedance(frequency)
                            : std::complex<double>(problem.network.loadResistance));
  };
  for (const double frequency : frequencies.judgedMHz) {
    add(frequency);
  }
  for (const double frequency : frequencies.bandMHz) {
    add(frequency);
  }
  return grid;
}

void fillParts(const LadderNetwork& ladder, std::size_t first, std::vector<TrialPart>& parts) {
  const std::size_t positions = std::min(ladder.inductance.size(), ladder.capacitance.size());
  parts.clear();
  for (std::size_t index = first; index < positions; ++index) {
    TrialPart part;
    part.series = isSeriesPosition(ladder.loadType, static_cast<int>(index) + 1);
    part.inductance = ladder.inductance[index];
    part.capacitance = ladder.capacitance[index];
    part.inverseInductance = 1.0 / part.inductance;
    part.inverseCapacitance = 1.0 / part.capacitance;
    part.inductorLoss = lossAt(ladder.inductorLoss, index);
    part.capacitorLoss = lossAt(ladder.capacitorLoss, index);
    part.lossless = part.inductorLoss == 0.0 && part.capacitorLoss == 0.0;
    parts.push_back(part);
  }
}

// Working arrays of one thread.
struct TrialScratch {
  std::vector<double> real;
  std::vector<double> imag;
  std::vector<TrialPart> parts;
  LadderNetwork ladder;
  Retuning retuning;
};

// The squared reflection magnitude at every grid frequency, into scratch.real. Walks from the
// load to the source holding an impedance before a series position and an admittance before a
// shunt one, one reciprocal in real arithmetic per change; each loop runs over the frequencies so
// that the compiler can vectorise it.
void squaredReflection(const TrialGrid& grid, double sourceAtLadder, TrialScratch& scratch) {
  const std::size_t count = grid.omega.size();
  std::vector<double>& re = scratch.real;
  std::vector<double>& im = scratch.imag;
  re.resize(count);
  im.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::complex<double> terminal = grid.load[i];
    if (scratch.retuning.kind != RetuningKind::none) {
      terminal = withRetuning(scratch.retuning, terminal, grid.frequencyMHz[i]);
    }
    re[i] = terminal.real();
    im[i] = terminal.imag();
  }
  const auto invert = [&re, &im, count]() {
    for (std::size_t i = 0; i < count; ++i) {
      const double scale = 1.0 / (re[i] * re[i] + im[i] * im[i]);
      re[i] *= scale;
      im[i] *= -scale;
    }
  };
  bool admittance = false;
  for (const TrialPart& part : scratch.parts) {
    if (part.series == admittance) {
      invert();  // a series position adds to an impedance, a shunt one to an admittance
      admittance = !part.series;
    }
    if (part.series) {
      const double loss = part.inductorLoss + part.capacitorLoss;
      for (std::size_t i = 0; i < count; ++i) {
        re[i] += loss;
        im[i] += grid.omega[i] * part.inductance - grid.inverseOmega[i] * part.inverseCapacitance;
      }
    } else if (part.lossless) {
      for (std::size_t i = 0; i < count; ++i) {
        im[i] += grid.omega[i] * part.capacitance - grid.inverseOmega[i] * part.inverseInductance;
      }
    } else {
      // Each part with its series loss resistance, as admittances in parallel.
      for (std::size_t i = 0; i < count; ++i) {
        const double inductive = grid.omega[i] * part.inductance;
        const double capacitive = -grid.inverseOmega[i] * part.inverseCapacitance;
        const double inductorScale =
            1.0 / (part.inductorLoss * part.inductorLoss + inductive * inductive);
        const double capacitorScale =
            1.0 / (part.capacitorLoss * part.capacitorLoss + capacitive * capacitive);
        re[i] += part.inductorLoss * inductorScale + part.capacitorLoss * capacitorScale;
        im[i] -= inductive * inductorScale + capacitive * capacitorScale;
      }
    }
  }
  if (admittance) {
    invert();
  }
  for (std::size_t i = 0; i < count; ++i) {
    const double below = re[i] - sourceAtLadder;
    const double above = re[i] + sourceAtLadder;
    const double squared = im[i] * im[i];
    const double power = (below * below + squared) / (above * above + squared);
    // An infinite impedance reflects everything.
    re[i] = std::isnan(power) ? 1.0 : power;
  }
}

// The step of the band's count a squared reflection falls in: 0 holds 0 to -0.05 dB.
std::size_t bandStep(double power) {
  const double steps = -10.0 * std::log10(power) / BAND_STEP_DB;
  if (!(steps > 0.0)) {
    return 0;
  }
  return steps >= BAND_STEPS ? BAND_STEPS - 1 : static_cast<std::size_t>(steps);
}

// The judge's grid of the nominal network, thinned as trialFrequencies says.
std::vector<double> thinnedGrid(const std::vector<double>& judged,
                                const std::function<double(double)>& nominalMagnitude) {
  if (judged.size() <= MAX_TRIAL_POINTS) {
    return judged;
  }
  const std::size_t block = (judged.size() + MAX_TRIAL_POINTS / 2 - 1) / (MAX_TRIAL_POINTS / 2);
  std::vector<double> kept = {judged.front()};
  for (std::size_t from = 0; from < judged.size(); from += block) {
    const std::size_t to = std::min(from + block, judged.size());
    std::size_t least = from;
    std::size_t greatest = from;
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    for (std::size_t i = from; i < to; ++i) {
      const double magnitude = nominalMagnitude(judged[i]);
      if (magnitude < low) {
        low = magnitude;
        least = i;
      }
      if (magnitude > high) {
        high = magnitude;
        greatest = i;
      }
    }
    for (const std::size_t i : {std::min(least, greatest), std::max(least, greatest)}) {
      if (judged[i] > kept.back()) {
        kept.push_back(judged[i]);
      }
    }
  }
  if (judged.back() > kept.back()) {
    kept.push_back(judged.back());
  }
  return kept;
}

// The worst SWR of a judged |Gamma|; a network that reflects everything somewhere has none.
double swrOfWorst(double rho) {
  return standingWaveRatio(rho);
}

// The draws of one trial: positions 2..N, then the retuning element when there is one.
std::size_t drawsPerTrial(const ToleranceProblem& problem) {
  const LadderNetwork& nominal = problem.network;
  const std::size_t positions = std::min(nominal.inductance.size(), nominal.capacitance.size());
  return (positions > 1 ? 2 * (positions - 1) : 0) +
         (problem.retuning.kind != RetuningKind::none ? 1 : 0);
}

// Draws one trial's ladder and retuning element into scratch: positions 2..N, each inductor
// before its capacitor, then the retuning element.
void drawLadderTrial(const ToleranceProblem& problem, const ToleranceOptions& options,
                     std::mt19937_64& generator, TrialScratch& scratch) {
  const LadderNetwork& nominal = problem.network;
  const std::size_t positions = std::min(nominal.inductance.size(), nominal.capacitance.size());
  const double retuningPercent = retunesWithInductor(problem.retuning.kind)
                                     ? options.inductorPercent
                                     : options.capacitorPercent;
  scratch.ladder = nominal;
  scratch.retuning = problem.retuning;
  for (std::size_t index = 1; index < positions; ++index) {
    scalePart(scratch.ladder, index, PartKind::inductor,
              toleranceFactor(generator(), options.inductorPercent));
    scalePart(scratch.ladder, index, PartKind::capacitor,
              toleranceFactor(generator(), options.capacitorPercent));
  }
  if (problem.retuning.kind != RetuningKind::none) {
    scratch.retuning =
        scaledRetuning(problem.retuning, toleranceFactor(generator(), retuningPercent));
  }
  fillParts(scratch.ladder, firstIndex(problem), scratch.parts);
}

// Trials [first, end) of a plan: the worst SWR of each into worst[trial], the band's counts into
// counts.
void runBlock(const TrialPlan& plan, const std::vector<double>& judgedLogMHz,
              const ToleranceOptions& options, int first, int end, std::vector<double>& worst,
              std::vector<std::uint32_t>& counts) {
  const std::size_t judged = plan.frequencies.judgedMHz.size();
  const std::size_t bandSlots = plan.frequencies.bandMHz.size();
  std::mt19937_64 generator(options.seed);
  generator.discard(static_cast<unsigned long long>(first) * plan.drawsPerTrial);
  const TrialWorker worker = plan.newWorker();
  std::vector<double> magnitude(judged);
  for (int trial = first; trial < end; ++trial) {
    const std::vector<double>& power = worker.drawTrial(generator);
    for (std::size_t i = 0; i < judged; ++i) {
      magnitude[i] = std::sqrt(power[i]);
    }
    worst[static_cast<std::size_t>(trial)] =
        swrOfWorst(refinedLargest(worker.magnitudeAt, judgedLogMHz, magnitude));
    for (std::size_t slot = 0; slot < bandSlots; ++slot) {
      ++counts[slot * BAND_STEPS + bandStep(power[judged + slot])];
    }
  }
}

// The band at one frequency from its counts, deepest step last.
void bandEdges(const std::uint32_t* counts, long long trials, double& lowerDb, double& upperDb) {
  const long long outside = trials * BAND_OUTSIDE_PERCENT / 100;
  long long left = 0;
  int shallowest = 0;
  while (shallowest < BAND_STEPS - 1 && left + counts[shallowest] <= outside) {
    left += counts[shallowest++];
  }
  long long right = 0;
  int deepest = BAND_STEPS - 1;
  while (deepest > 0 && right + counts[deepest] <= outside) {
    right += counts[deepest--];
  }
  upperDb = -BAND_STEP_DB * shallowest;
  lowerDb = deepest == BAND_STEPS - 1 ? BAND_FLOOR_DB : -BAND_STEP_DB * (deepest + 1);
}

}  // namespace

double toleranceFactor(std::uint64_t draw, double percent) {
  const double unit = (static_cast<double>(draw >> 11) + 0.5) * TWO_TO_MINUS_53;
  return 1.0 + percent / 100.0 * (2.0 * unit - 1.0);
}

std::complex<double> problemReflection(const ToleranceProblem& problem,
                                       const LadderNetwork& ladder, const Retuning& retuning,
                                       double frequencyMHz) {
  if (!onMeasuredLoad(problem)) {
    return inputReflection(ladder, frequencyMHz);
  }
  const std::complex<double> terminal =
      withRetuning(retuning, problem.measuredImpedance(frequencyMHz), frequencyMHz);
  return reflectionAtSource(ladder,
                            impedanceFromPosition(ladder, 2, terminal, frequencyMHz));
}

void scalePart(LadderNetwork& ladder, std::size_t index, PartKind kind, double factor) {
  std::vector<double>& values = kind == PartKind::inductor ? ladder.inductance : ladder.capacitance;
  std::vector<double>& losses =
      kind == PartKind::inductor ? ladder.inductorLoss : ladder.capacitorLoss;
  values[index] *= factor;
  if (index < losses.size()) {
    losses[index] = kind == PartKind::inductor ? losses[index] * factor : losses[index] / factor;
  }
}

TrialFrequencies trialFrequencies(const std::vector<double>& nominalGridMHz,
                                  const std::function<double(double)>& nominalMagnitude,
                                  const Sweep& sweep) {
  TrialFrequencies frequencies;
  frequencies.judgedMHz = thinnedGrid(nominalGridMHz, nominalMagnitude);
  const int points = sweep.points;
  const int bandPoints = std::min(points, MAX_BAND_POINTS);
  for (int k = 0; k < bandPoints; ++k) {
    // A longer sweep than the band takes is sampled evenly, both ends kept; the step exceeds one
    // point, so the chosen points are distinct.
    const long long index =
        bandPoints == points
            ? k
            : std::llround(static_cast<double>(k) * (points - 1) / (bandPoints - 1));
    frequencies.bandMHz.push_back(sweepFrequency(sweep, static_cast<int>(index)));
  }
  return frequencies;
}

ToleranceResult runTrialPlan(const TrialPlan& plan, const ToleranceOptions& options, int threads) {
  std::vector<double> judgedLogMHz;
  for (const double frequency : plan.frequencies.judgedMHz) {
    judgedLogMHz.push_back(std::log(frequency));
  }
  const std::size_t slots = plan.frequencies.bandMHz.size();
  const int trials = std::max(options.trials, 0);
  const int workers = std::clamp(std::min(threads, trials), 1, MAX_THREADS);
  std::vector<double> worst(static_cast<std::size_t>(trials), 0.0);
  std::vector<std::vector<std::uint32_t>> counts(static_cast<std::size_t>(workers));
  const auto work = [&](int worker) {
    counts[static_cast<std::size_t>(worker)].assign(slots * BAND_STEPS, 0);
    const auto share = static_cast<long long>(trials);
    runBlock(plan, judgedLogMHz, options, static_cast<int>(share * worker / workers),
             static_cast<int>(share * (worker + 1) / workers), worst,
             counts[static_cast<std::size_t>(worker)]);
  };
  std::vector<std::thread> running;
  for (int worker = 1; worker < workers; ++worker) {
    try {
      running.emplace_back(work, worker);
    } catch (const std::system_error&) {
      work(worker);  // no thread to be had: this one does the block
    }
  }
  work(0);
  for (std::thread& thread : running) {
    thread.join();
  }

  ToleranceResult result;
  result.nominalSwr = plan.nominalSwr;
  std::sort(worst.begin(), worst.end());
  result.worstSwr = std::move(worst);
  std::vector<std::uint32_t> total(slots * BAND_STEPS, 0);
  for (const std::vector<std::uint32_t>& part : counts) {
    for (std::size_t i = 0; i < total.size(); ++i) {
      total[i] += part[i];
    }
  }
  result.band.frequencyMHz = plan.frequencies.bandMHz;
  result.band.lowerDb.resize(slots);
  result.band.upperDb.resize(slots);
  for (std::size_t slot = 0; slot < slots; ++slot) {
    bandEdges(total.data() + slot * BAND_STEPS, trials, result.band.lowerDb[slot],
              result.band.upperDb[slot]);
  }
  return result;
}

ToleranceResult runTolerance(const ToleranceProblem& problem, const ToleranceOptions& options,
                             int threads) {
  // The nominal network judged over the band gives its figure and the grid every trial is
  // judged on.
  BandToJudge nominalBand;
  nominalBand.f1 = problem.f1;
  nominalBand.f2 = problem.f2;
  nominalBand.reflectionAt = [&problem](double frequency) {
    return problemReflection(problem, problem.network, problem.retuning, frequency);
  };
  nominalBand.resonanceMHz = ladderResonances(problem.network);
  nominalBand.dataMHz = problem.dataMHz;
  const JudgedBand nominal = judgeBand(nominalBand);
  TrialPlan plan;
  plan.frequencies = trialFrequencies(
      nominal.gridMHz,
      [&problem](double frequency) {
        return std::abs(problemReflection(problem, problem.network, problem.retuning, frequency));
      },
      problem.sweep);
  plan.drawsPerTrial = drawsPerTrial(problem);
  plan.nominalSwr = swrOfWorst(nominal.worstReflection);
  const TrialGrid grid = trialGrid(problem, plan.frequencies);
  plan.newWorker = [&problem, &options, &grid]() {
    const auto scratch = std::make_shared<TrialScratch>();
    TrialWorker worker;
    worker.drawTrial = [&problem, &options, &grid,
                        scratch](std::mt19937_64& generator) -> const std::vector<double>& {
      drawLadderTrial(problem, options, generator, *scratch);
      squaredReflection(grid, sourceResistanceAtLadder(problem.network), *scratch);
      return scratch->real;
    };
    worker.magnitudeAt = [&problem, scratch](double frequency) {
      return std::abs(problemReflection(problem, scratch->ladder, scratch->retuning, frequency));
    };
    return worker;
  };
  return runTrialPlan(plan, options, threads);
}

ShareInterval wilsonInterval(long long successes, long long trials) {
  if (trials <= 0) {
    return {0.0, 1.0};
  }
  const double n = static_cast<double>(trials);
  const double share = static_cast<double>(successes) / n;
  const double z2 = Z_95 * Z_95;
  const double denominator = 1.0 + z2 / n;
  const double centre = (share + z2 / (2.0 * n)) / denominator;
  const double half =
      Z_95 / denominator * std::sqrt(share * (1.0 - share) / n + z2 / (4.0 * n * n));
  // The ends are exact where no trial failed or none passed, as the closed form has them.
  return {successes <= 0 ? 0.0 : std::max(0.0, centre - half),
          successes >= trials ? 1.0 : std::min(1.0, centre + half)};
}

YieldFigures yieldAt(const std::vector<double>& sortedWorstSwr, double goalSwr) {
  YieldFigures figures;
  figures.trials = static_cast<long long>(sortedWorstSwr.size());
  figures.passing = std::upper_bound(sortedWorstSwr.begin(), sortedWorstSwr.end(), goalSwr) -
                    sortedWorstSwr.begin();
  figures.share = figures.trials > 0
                      ? static_cast<double>(figures.passing) / static_cast<double>(figures.trials)
                      : 0.0;
  const ShareInterval interval = wilsonInterval(figures.passing, figures.trials);
  figures.lower = interval.lower;
  figures.upper = interval.upper;
  return figures;
}

double nearestRankPercentile(const std::vector<double>& sorted, int percent) {
  if (sorted.empty()) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  const auto n = static_cast<long long>(sorted.size());
  const long long rank = (static_cast<long long>(percent) * n + 99) / 100;
  return sorted[static_cast<std::size_t>(std::clamp(rank - 1, 0LL, n - 1))];
}

}  // namespace bandmatch
