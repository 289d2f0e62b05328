// The files every network program writes for the network it settles on, as suffixes of the base
// name with their texts: the SPICE netlist, the Touchstone file and the plot; when building, the
// parts list and the schematic; on request, the Smith chart. And the tolerance trials with each
// part's sensitivity, which the plot, the parts list and the summary show.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_origin.hpp"
#include "drawing/response_plot.hpp"
#include "network/network_build.hpp"
#include "network/part_sensitivity.hpp"
#include "network/part_stress.hpp"
#include "network/reported_design.hpp"
#include "network/sweep.hpp"
#include "network/tolerance.hpp"
#include "runs/network_analysis.hpp"

namespace bandmatch {

// The tolerance trials of a built network and each part's sensitivity in it, on the measured
// load when there is one (its retuning element a part like the others).
struct ToleranceFigures {
  ToleranceResult trials;
  std::vector<PartSensitivity> sensitivities;
};

ToleranceFigures toleranceFigures(const ReportedDesign& design, const NetworkVariant& built,
                                  const LoadOnNetwork* measured, const Sweep& sweep,
                                  const ToleranceOptions& options, int threads);

// The plot's band of the trials, "90 % of 1000 trials"; the figures must outlive it.
PlotBand trialsBand(const ToleranceOptions& options, const ToleranceFigures& figures);

// Each part's worst in-band stress in the built network (on the measured load when there is
// one, its retuning element last) when the source makes `watts` available.
std::vector<LadderPartStress> partStresses(const ReportedDesign& design,
                                           const NetworkVariant& built,
                                           const LoadOnNetwork* measured, double watts);

// The stress columns' headings and the digits of their figures in every summary.
inline constexpr std::string_view PEAK_VOLTAGE_HEADER = "peak voltage (V)";
inline constexpr std::string_view RMS_CURRENT_HEADER = "RMS current (A)";
inline constexpr int STRESS_DIGITS = 4;

// "Part stress with W W available from the source, worst over the band:" and a line break.
std::string stressHeading(double watts);

// The lines that give them: a heading with the power, then a table of each part's peak voltage
// and RMS current, from the source to the load.
std::string renderStressSummary(const std::vector<LadderPartStress>& stresses, double watts);

// What the files describe. The references must outlive the call.
struct NetworkToWrite {
  const ReportedDesign& design;
  const NetworkVariant& ideal;  // before rounding and losses: the parts list's ideal column
  const NetworkVariant& built;  // the network every file describes
  const LoadOnNetwork* measured = nullptr;
  Sweep sweep;
  const FrequencyResponse& onModel;  // `built` on its model load over the sweep
  const FrequencyResponse& onLoad;   // `built` on the measured load; empty without one
  std::vector<PlotCurve> curves;
  PlotBand spread;
  std::optional<PlotLevels> levels;
  FileOrigin origin;
  BuildOptions options;              // how `built` was built from the design
  bool building = false;             // the parts list and the schematic too
  std::optional<double> smithGoal;   // the Smith chart, with this goal SWR's circle
  const std::vector<PartSensitivity>* sensitivities = nullptr;
  std::string schematicTitle;
  const std::vector<LadderPartStress>* stresses = nullptr;  // with a power given
};

// A file as the base name's suffix (".cir", "-parts.csv") and its whole text.
struct NetworkFile {
  std::string suffix;
  std::string content;
};

std::vector<NetworkFile> networkFiles(const NetworkToWrite& network);

}  // namespace bandmatch
