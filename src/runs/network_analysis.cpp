#include "runs/network_analysis.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <functional>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/figure_digits.hpp"
#include "network/measured_network.hpp"
#include "drawing/schematic.hpp"
#include "drawing/smith_chart.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {

namespace {

constexpr int FIGURE_DIGITS = 6;
// Beyond this the report's position 1 was not designed for the measured load's description.
constexpr double POSITION_1_TOLERANCE = 0.01;

std::string notFinite(std::string_view what, double frequencyMHz) {
  return "the network's reflection" + std::string(what) + " is not finite at " +
         formatFullPrecision(frequencyMHz) + " MHz";
}

// How far the report's L(1) and C(1) lie from the measured load's retuned resonator.
double positionOneMismatch(const ReportedDesign& design, const Retuning& retuning) {
  const double inductance = design.ladder.inductance.front() / retuning.inductance - 1.0;
  const double capacitance = design.ladder.capacitance.front() / retuning.capacitance - 1.0;
  return std::max(std::fabs(inductance), std::fabs(capacitance));
}

std::string extremesLine(std::string_view what, const JudgedBand& judged) {
  return "In-band |Gamma| on the " + std::string(what) + ": min " +
         formatScientific(judged.bestReflection, FIGURE_DIGITS) + ", max " +
         formatScientific(judged.worstReflection, FIGURE_DIGITS) + ", worst SWR " +
         formatScientific(standingWaveRatio(judged.worstReflection), FIGURE_DIGITS) + "\n";
}

// The reflection at f1, f0 and f2, the marks of a Smith chart's curve.
std::array<std::complex<double>, 3> bandMarks(
    const ReportedDesign& design, const std::function<std::complex<double>(double)>& at) {
  return {at(design.f1), at(std::sqrt(design.f1 * design.f2)), at(design.f2)};
}

}  // namespace

LoadOnNetworkFit loadOnNetwork(MeasuredLoad load, const ReportedDesign& design) {
  const BandPoints band = pointsInBand(load, design.f1, design.f2);
  if (!band.error.empty()) {
    return {std::nullopt, band.error};
  }
  const LoadFit fit = fitLoad(
      load, band, design.f1, design.f2,
      design.loadType == LoadType::series ? LoadModelChoice::series : LoadModelChoice::parallel);
  if (!fit.error.empty()) {
    return {std::nullopt, fit.error};
  }
  Retuning retuning = fit.candidates.front().retuning;
  // A tuned network's report brings the element it was tuned with, for the load it was tuned on.
  if (design.retuning && design.retuning->kind == retuning.kind) {
    retuning.value = design.retuning->value;
  }
  return {LoadOnNetwork{std::move(load), band, fit.candidates.front().model, retuning,
                        fit.load.decrement},
          {}};
}

NetworkAnalysis analyseNetwork(const ReportedDesign& design, const Sweep& wanted,
                               const BuildOptions& options, const LoadOnNetwork* measured) {
  NetworkAnalysis analysis;
  analysis.sweep = measured ? clippedToData(wanted, measured->load) : wanted;
  NetworkVariants built =
      networkVariants(design, options, measured ? measured->retuning : Retuning{});
  if (!built.error.empty()) {
    analysis.error = built.error;
    return analysis;
  }
  analysis.variants = std::move(built.variants);
  for (const NetworkVariant& variant : analysis.variants) {
    analysis.responses.push_back(analyseSweep(variant.ladder, analysis.sweep));
    if (const std::optional<double> frequency =
            firstNonFiniteFrequency(analysis.responses.back())) {
      analysis.error = notFinite({}, *frequency);
      return analysis;
    }
  }
  if (measured) {
    const NetworkVariant& network = analysis.variants.back();
    analysis.onLoad =
        analyseSweepOnLoad(network.ladder, measured->load, network.retuning, analysis.sweep);
    if (const std::optional<double> frequency = firstNonFiniteFrequency(analysis.onLoad)) {
      analysis.loadError = notFinite(" on the measured load", *frequency);
    }
  }
  return analysis;
}

std::vector<PlotCurve> networkCurves(const NetworkAnalysis& analysis) {
  std::vector<PlotCurve> curves;
  const std::size_t count = analysis.variants.size();
  for (std::size_t i = 0; i < count; ++i) {
    curves.push_back({count == 1 ? std::string("Model load") : analysis.variants[i].label,
                      analysis.responses[i]});
  }
  if (!analysis.onLoad.frequencyMHz.empty()) {
    curves.push_back({"Measured load", analysis.onLoad});
  }
  return curves;
}

std::vector<JudgedBand> variantFigures(const ReportedDesign& design,
                                       const NetworkAnalysis& analysis) {
  std::vector<JudgedBand> figures;
  for (const NetworkVariant& variant : analysis.variants) {
    figures.push_back(judgeBand(ladderBand(variant.ladder, design.f1, design.f2)));
  }
  return figures;
}

std::string measuredLoadLines(const ReportedDesign& design, const LoadOnNetwork& measured,
                              const Retuning& built, std::string_view loadName,
                              const Sweep& sweep, const Sweep& wanted) {
  std::string text;
  if (sweep.lowerMHz != wanted.lowerMHz || sweep.upperMHz != wanted.upperMHz) {
    text += "Note: the sweep is clipped to the measured data, which cover " +
            formatFixed(measured.load.frequencyMHz.front(), figure_digits::FREQUENCY_MHZ) + " to " +
            formatFixed(measured.load.frequencyMHz.back(), figure_digits::FREQUENCY_MHZ) + " MHz\n";
  }
  const Retuning& retuning = measured.retuning;
  const std::string value = formatScientific(retuning.value, figure_digits::ELEMENT_VALUE);
  const std::string builtValue = formatScientific(built.value, figure_digits::ELEMENT_VALUE);
  text += "Measured load " + printableText(loadName) + " at position 1, retuned by " +
          (retuning.kind == RetuningKind::none
               ? std::string("no element")
               : std::string(retuningName(retuning.kind)) + " " + value) +
          (builtValue != value ? ", built as " + builtValue : std::string()) + "\n";
  const double mismatch = positionOneMismatch(design, retuning);
  if (!(mismatch <= POSITION_1_TOLERANCE)) {
    text += "Note: the report's L(1) and C(1) differ by " + formatFixed(100.0 * mismatch, 1) +
            " % from the measured load's retuned resonator; the design was made for another "
            "load description\n";
  }
  return text;
}

std::string renderMeasuredLoadSummary(const ReportedDesign& design, const NetworkAnalysis& analysis,
                                      const LoadOnNetwork& measured, std::string_view loadName,
                                      const Sweep& wanted) {
  const NetworkVariant& network = analysis.variants.back();
  std::string text =
      measuredLoadLines(design, measured, network.retuning, loadName, analysis.sweep, wanted);
  const MeasuredLoadFigures figures = measuredLoadFigures(design, analysis, measured);
  text += extremesLine("model load", figures.onModel);
  text += extremesLine("measured load", figures.onLoad);
  return text;
}

MeasuredLoadFigures measuredLoadFigures(const ReportedDesign& design,
                                        const NetworkAnalysis& analysis,
                                        const LoadOnNetwork& measured) {
  const NetworkVariant& network = analysis.variants.back();
  const LadderNetwork& ladder = network.ladder;
  return {judgeBand(ladderBand(ladder, design.f1, design.f2)),
          judgeBand(ladderBandOnLoad(ladder, measured.load, network.retuning, design.f1,
                                     design.f2))};
}

std::optional<MeasuredLoadParts> measuredLoadParts(const NetworkAnalysis& analysis,
                                                   const LoadOnNetwork* measured) {
  if (measured == nullptr || analysis.variants.empty()) {
    return std::nullopt;
  }
  return MeasuredLoadParts{measured->model, analysis.variants.front().retuning,
                           analysis.variants.back().retuning};
}

std::string renderNetworkSchematic(const ReportedDesign& design, const LadderNetwork& built,
                                   const BuildOptions& options, const FileOrigin& origin,
                                   const MeasuredLoadParts* measured) {
  return renderSchematic(layoutSchematic(design, built, options, origin, measured),
                         "Schematic of the matching network: " + designSummary(design));
}

std::string renderNetworkSmithChart(const ReportedDesign& design, const NetworkVariant& built,
                                    const FrequencyResponse& onModel,
                                    const FrequencyResponse& onLoad, const LoadOnNetwork* measured,
                                    double goalSwr, const FileOrigin& origin) {
  const LadderNetwork& network = built.ladder;
  const Retuning& retuning = built.retuning;
  SmithChart chart;
  chart.title = smithChartTitle(design);
  chart.subtitle =
      smithChartSubtitle(origin, onModel.frequencyMHz.size(), network.sourceResistance);
  chart.frequencyMHz = onModel.frequencyMHz;
  chart.f1 = design.f1;
  chart.f2 = design.f2;
  chart.goalSwr = goalSwr;
  chart.referenceOhms = network.sourceResistance;
  chart.curves.push_back(
      {measured ? "On the model load" : "Network", onModel.reflection,
       bandMarks(design, [&](double f) { return inputReflection(network, f); })});
  if (measured) {
    const auto onReal = [&](double f) {
      return measuredLoadReflection(network, measured->load, retuning, f);
    };
    const auto own = [&](double f) {
      return reflectionAtSource(network, interpolatedImpedance(measured->load, f));
    };
    std::vector<std::complex<double>> alone;
    for (const double frequency : onModel.frequencyMHz) {
      alone.push_back(own(frequency));
    }
    chart.curves.push_back(
        {"On the measured load", onLoad.reflection, bandMarks(design, onReal)});
    chart.curves.push_back({"Measured load alone", std::move(alone), bandMarks(design, own)});
  }
  return renderSmithChart(chart);
}

}  // namespace bandmatch
