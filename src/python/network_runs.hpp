// The runs of the companion programs on a network the Python module holds: bandmatch-tune's
// tuning of a design's network and bandmatch-export's tolerance trials with each part's
// sensitivity, with their arguments checked against the ranges of the programs' options.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "network/part_sensitivity.hpp"
#include "network/tolerance.hpp"
#include "python/network_records.hpp"
#include "runs/tuning_summary.hpp"
#include "tuning/network_tuning.hpp"

namespace bandmatch {

// bandmatch-tune's options beyond the network to build.
struct TuneArguments {
  BuildOptions build;
  double rangePercent = 50.0;
  bool tuneRetuning = false;
};

// The tuning, its networks as handed out (untuned and tuned, then with standard values the
// untuned and tuned rounded ones; the last is the network the tuner's files describe), and the
// tuner's summary; or why the design cannot be tuned.
struct TuneRun {
  NetworkTuning tuning;
  std::vector<HandedNetwork> networks;
  TuningContext context;
  std::string summary;
  std::string values;  // the tuner's NAME-values.csv
  std::string error;
};

// Why bandmatch-tune would refuse the options, `measured` saying whether a load is given; empty
// when it takes them.
std::string tuneArgumentsRefusal(const TuneArguments& arguments, bool measured);

TuneRun runTuning(const std::shared_ptr<const ReportedDesign>& design,
                  const std::shared_ptr<const LoadOnNetwork>& measured,
                  const TuneArguments& arguments);

// bandmatch-export's tolerance options: a tolerance in percent for all parts, for the inductors
// and for the capacitors (each overriding the first), the trials, their seed and the goal SWR.
struct ToleranceArguments {
  std::optional<double> tolerance;
  std::optional<double> inductorTolerance;
  std::optional<double> capacitorTolerance;
  long long trials = DEFAULT_TRIALS;
  std::optional<std::uint64_t> seed = DEFAULT_SEED;  // none: beyond the generator's seeds
  double goalSwr = DEFAULT_GOAL_SWR;
};

// The trials' figures and each part's sensitivity (largest first), as bandmatch-export prints
// them in its summary; or why the arguments are refused.
struct ToleranceRun {
  ToleranceOptions options;
  ToleranceResult result;
  YieldFigures yield;
  std::vector<PartSensitivity> sensitivities;
  std::string summary;
  std::string error;
};

ToleranceRun runToleranceTrials(const HandedNetwork& network, const ToleranceArguments& arguments);

}  // namespace bandmatch
