#include "runs/network_files.hpp"

#include "core/number_format.hpp"
#include "drawing/schematic.hpp"
#include "formats/parts_list.hpp"
#include "formats/spice_netlist.hpp"
#include "formats/touchstone.hpp"
#include "core/number_format.hpp"
#include "network/measured_load.hpp"
#include "runs/text_table.hpp"

namespace bandmatch {

namespace {

constexpr int POWER_DIGITS = 6;

}  // namespace

ToleranceFigures toleranceFigures(const ReportedDesign& design, const NetworkVariant& built,
                                  const LoadOnNetwork* measured, const Sweep& sweep,
                                  const ToleranceOptions& options, int threads) {
  ToleranceProblem problem{built.ladder, sweep, design.f1, design.f2, {}, {}, nullptr};
  if (measured != nullptr) {
    problem.measuredImpedance = [measured](double f) {
      return interpolatedImpedance(measured->load, f);
    };
    problem.retuning = built.retuning;
    problem.dataMHz = &measured->load.frequencyMHz;
  }
  return {runTolerance(problem, options, threads), partSensitivities(problem)};
}

PlotBand trialsBand(const ToleranceOptions& options, const ToleranceFigures& figures) {
  return {"90 % of " + formatInteger(options.trials) + " trials", &figures.trials.band};
}

std::vector<LadderPartStress> partStresses(const ReportedDesign& design,
                                           const NetworkVariant& built,
                                           const LoadOnNetwork* measured, double watts) {
  if (measured != nullptr) {
    return ladderPartStressOnLoad(built.ladder, measured->load, built.retuning, design.f1,
                                  design.f2, watts);
  }
  return ladderPartStress(built.ladder, design.f1, design.f2, watts);
}

std::string stressHeading(double watts) {
  return "Part stress with " + formatPlainDecimal(watts, POWER_DIGITS) +
         " W available from the source, worst over the band:\n";
}

std::string renderStressSummary(const std::vector<LadderPartStress>& stresses, double watts) {
  std::string text = stressHeading(watts);
  std::vector<std::vector<std::string>> rows = {
      {"part", std::string(PEAK_VOLTAGE_HEADER), std::string(RMS_CURRENT_HEADER)}};
  for (const LadderPartStress& stress : stresses) {
    const char element = stress.element == StressedElement::inductor ? 'L' : 'C';
    rows.push_back({elementName(element, static_cast<std::size_t>(stress.position) - 1),
                    formatScientific(stress.peakVoltage, STRESS_DIGITS),
                    formatScientific(stress.rmsCurrent, STRESS_DIGITS)});
  }
  return text + alignedTable(rows);
}

std::vector<NetworkFile> networkFiles(const NetworkToWrite& network) {
  const ReportedDesign& design = network.design;
  const LadderNetwork& built = network.built.ladder;
  const bool measured = network.measured != nullptr;
  std::vector<NetworkFile> files = {
      {".cir", renderSpiceNetlist(design, built, network.sweep, network.origin,
                                  network.building ? NetlistPrints::reflectionAndLoadPower
                                                   : NetlistPrints::reflection)},
      {".s1p", renderTouchstone(design, built, measured ? network.onLoad : network.onModel,
                                network.origin)},
      {".svg", renderResponsePlot(design, network.curves, network.origin, network.spread,
                                  network.levels)},
  };
  if (network.building) {
    const std::optional<MeasuredLoadParts> loadParts =
        measured ? std::optional(MeasuredLoadParts{network.measured->model,
                                                   network.ideal.retuning, network.built.retuning})
                 : std::nullopt;
    const MeasuredLoadParts* partsOfLoad = loadParts ? &*loadParts : nullptr;
    files.push_back({"-parts.csv", renderPartsList(design, network.ideal.ladder, built,
                                                   network.options, network.sensitivities,
                                                   partsOfLoad, network.stresses)});
    files.push_back(
        {"-schematic.svg",
         renderSchematic(layoutSchematic(design, built, network.options, network.origin,
                                         partsOfLoad),
                         network.schematicTitle)});
  }
  if (network.smithGoal) {
    files.push_back({"-smith.svg", renderNetworkSmithChart(design, network.built, network.onModel,
                                                           network.onLoad, network.measured,
                                                           *network.smithGoal, network.origin)});
  }
  return files;
}

}  // namespace bandmatch
