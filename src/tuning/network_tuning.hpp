// Tuning of a reported design as it will be built, against its model load or a measured one:
// the network the build options describe (transformer, part losses) is tuned with continuous
// values; with standard values the tuned components are then rounded and the values left continuous
// (the source side, the retuning element) tuned again. Every figure is the worst in-band |Gamma|
// as the worst-case judge finds it; where the judge finds a peak the tuner's samples missed, the
// peak joins the samples and the tuning goes on.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "network/reported_design.hpp"
#include "tuning/minimax_tuning.hpp"
#include "network/network_build.hpp"
#include "network/measured_load.hpp"
#include "network/worst_case_judge.hpp"

namespace bandmatch {

// Samples of the band on the model load, logarithmic in frequency; the peaks the judge finds
// between them are added.
inline constexpr int MODEL_LOAD_SAMPLES = 2001;

// The measured load a network is tuned on, with the element that retunes it to f0.
struct MeasuredTarget {
  const MeasuredLoad* load = nullptr;
  BandPoints band;
  Retuning retuning;
};

struct TuningRequest {
  BuildOptions build;
  TuningSettings settings;
  bool tuneRetuning = false;
};

// A network of the comparison with its worst in-band |Gamma| on the target.
struct RatedNetwork {
  TunableNetwork network;
  double worst = 0.0;
};

struct NetworkTuning {
  RatedNetwork untuned;  // the report's network as the options build it, continuous values
  RatedNetwork tuned;
  // With standard values: the untuned network rounded (as the exporter builds it), and the
  // tuned one rounded with the continuous values tuned again.
  std::optional<RatedNetwork> untunedStandard;
  std::optional<RatedNetwork> tunedStandard;
  std::vector<TuningVariable> variables;          // of the continuous tuning
  std::vector<TuningVariable> standardVariables;  // of the tuning after rounding
  // The variables that ended at the range's limit in the network each tuning kept: a wider range
  // may tune further.
  std::vector<TuningVariable> atLimit;
  std::vector<TuningVariable> standardAtLimit;
  int samples = 0;      // of the target, the interpolated band edges included
  int edgeSamples = 0;  // band edges between measured points, judged on interpolated data
  // The samples the optimiser started on: all of them, or of a very long measured file those of
  // each block of points where the resistance and reactance are least and greatest (the judge
  // still looks at every point, and its peaks join them).
  int optimisedSamples = 0;
  int evaluations = 0;
  int standardEvaluations = 0;
  // The network the tuning settles on (the standard-value one with --series) as a report of it
  // states it: the tuned values to the report's digits, the source resistance the ladder sees,
  // and with a measured load its retuning element; the best and worst |Gamma| are those on the
  // model load. The settled network's figures are those of this report rebuilt as every program
  // rebuilds a report's network, so a program reading it back prints the same.
  ReportedDesign reported;
  std::string error;  // a part without a standard value
};

// The target's samples: the measured points inside the band with each band edge that falls
// between two of them, or MODEL_LOAD_SAMPLES points spread over the band.
TuningTarget tuningTarget(const ReportedDesign& design, const MeasuredTarget* measured);

// The worst |Gamma| of a network over [f1, f2] on the model load or the measured one.
double worstInBandReflection(const TunableNetwork& network, const ReportedDesign& design,
                             const MeasuredTarget* measured);

// The judge's whole verdict on a network over [f1, f2], with every peak that could rise above
// `peaksAbove` located.
JudgedBand judgeTunable(const TunableNetwork& network, const ReportedDesign& design,
                        const MeasuredTarget* measured,
                        double peaksAbove = std::numeric_limits<double>::infinity());

// Tunes the design's network; `measured` is null for the model load.
NetworkTuning tuneNetwork(const ReportedDesign& design, const MeasuredTarget* measured,
                          const TuningRequest& request);

// The network of a report as the build options and a measured load make it, as every program
// builds it: the last of the network variants, with the fit's retuning element (at the report's
// value when the report carries a tuned one).
TunableNetwork rebuiltNetwork(const ReportedDesign& design, const BuildOptions& build,
                              const MeasuredTarget* measured);

// The decrement of the report's load: its resistance or conductance over the slope parameter of
// position 1 at f0, divided by the fractional bandwidth.
double reportedDecrement(const ReportedDesign& design);

}  // namespace bandmatch
