// What bandmatch-export works out for a report before it writes a file, shared with the web page:
// the measured load fitted for position 1, the network variants the build options lead to,
// each analysed over the sweep, the built network on the measured load, and the lines that
// summarise them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "network/reported_design.hpp"
#include "core/file_origin.hpp"
#include "network/load_fit.hpp"
#include "network/network_build.hpp"
#include "drawing/response_plot.hpp"
#include "network/sweep.hpp"
#include "network/measured_load.hpp"
#include "network/worst_case_judge.hpp"

namespace bandmatch {

// The measured load in place of position 1, with the element that retunes it to resonate at
// f0 (as bandmatch-fit retunes it) and the decrement of the fitted, retuned resonator; the load
// type is the report's.
struct LoadOnNetwork {
  MeasuredLoad load;
  BandPoints band;
  LoadModel model;     // the load's own fitted values
  Retuning retuning;   // exact, as the fit computes it; the variants build it
  double decrement = 0.0;
};

// The load, or why it cannot stand in for position 1 (the band not covered, no model).
struct LoadOnNetworkFit {
  std::optional<LoadOnNetwork> load;
  std::string error;
};

// Fits the load over the report's band with the report's load type.
LoadOnNetworkFit loadOnNetwork(MeasuredLoad load, const ReportedDesign& design);

struct NetworkAnalysis {
  Sweep sweep;  // the wanted sweep, clipped to the measured data when there are any
  std::vector<NetworkVariant> variants;      // the last one is the network to build
  std::vector<FrequencyResponse> responses;  // one per variant
  FrequencyResponse onLoad;  // the network to build on the measured load; empty without one
  std::string error;         // why the report's network has no response, e.g. "the network's
                             // reflection is not finite at 3.5 MHz"
  std::string loadError;     // why the measured load's has none
};

// Every variant and the measured load's response over the sweep; stops at the first error.
NetworkAnalysis analyseNetwork(const ReportedDesign& design, const Sweep& wanted,
                               const BuildOptions& options, const LoadOnNetwork* measured);

// The plot's curves: each variant ("Model load" when it is the only one), then the measured
// load's. They refer to the analysis, which must outlive them.
std::vector<PlotCurve> networkCurves(const NetworkAnalysis& analysis);

// The worst in-band figures of each variant, for the summary of the variants.
std::vector<JudgedBand> variantFigures(const ReportedDesign& design,
                                       const NetworkAnalysis& analysis);

// The lines that say how the measured load stands in for position 1, each ending in a line feed:
// a note when the sweep had to be clipped to the data (`sweep` against the `wanted` one), the
// retuning element (and its value as `built` when that differs), and a note when the report's
// position 1 was designed for another load.
std::string measuredLoadLines(const ReportedDesign& design, const LoadOnNetwork& measured,
                              const Retuning& built, std::string_view loadName,
                              const Sweep& sweep, const Sweep& wanted);

// The network to build judged over the band on its model load and on the measured load.
struct MeasuredLoadFigures {
  JudgedBand onModel;
  JudgedBand onLoad;
};

MeasuredLoadFigures measuredLoadFigures(const ReportedDesign& design,
                                        const NetworkAnalysis& analysis,
                                        const LoadOnNetwork& measured);

// The lines printed about a measured load: measuredLoadLines, then the worst in-band |Gamma|
// and SWR on the model load and on the measured load.
std::string renderMeasuredLoadSummary(const ReportedDesign& design, const NetworkAnalysis& analysis,
                                      const LoadOnNetwork& measured, std::string_view loadName,
                                      const Sweep& wanted);

// The measured load's parts of the analysis: its fitted values and its retuning element, ideal and
// as the network to build has it; nothing without a measured load.
std::optional<MeasuredLoadParts> measuredLoadParts(const NetworkAnalysis& analysis,
                                                   const LoadOnNetwork* measured);

// The schematic of the network to build, titled as the exporter titles it.
std::string renderNetworkSchematic(const ReportedDesign& design, const LadderNetwork& built,
                                   const BuildOptions& options, const FileOrigin& origin,
                                   const MeasuredLoadParts* measured = nullptr);

// The Smith chart of the network to build: on its model load (`onModel` over the sweep), and
// with a measured load also on that load (`onLoad`) and the load alone, referenced to the same
// resistance; `goalSwr` draws its circle.
std::string renderNetworkSmithChart(const ReportedDesign& design, const NetworkVariant& built,
                                    const FrequencyResponse& onModel,
                                    const FrequencyResponse& onLoad, const LoadOnNetwork* measured,
                                    double goalSwr, const FileOrigin& origin);

}  // namespace bandmatch
