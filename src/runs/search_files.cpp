#include "runs/search_files.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"
#include "drawing/cascade_schematic.hpp"
#include "drawing/gain_plot.hpp"
#include "drawing/schematic.hpp"
#include "drawing/smith_chart.hpp"
#include "formats/cascade_netlist.hpp"
#include "formats/cascade_parts_list.hpp"
#include "formats/two_port_touchstone.hpp"
#include "network/cascade_judge.hpp"
#include "network/tolerance.hpp"
#include "network/topology.hpp"
#include "runs/text_table.hpp"

namespace bandmatch {

namespace {

constexpr int BOARD_DIGITS = 6;
constexpr double MILLIMETRES_PER_METRE = 1e3;
constexpr double DEGREES_PER_RADIAN = 180.0 / std::numbers::pi;
constexpr std::string_view NO_WIDTH = "none on this board";

using Row = std::vector<std::string>;

// A measured end refers to the data it was read from; the others carry their values.
std::optional<CascadeEnd> namedEnd(const NetworkEnd& end, const std::string& name, double f1,
                                   double f2) {
  if (end.kind == EndKind::measured) {
    return measuredEnd(end.measured, name, f1, f2);
  }
  return modelEnd(end, name);
}

std::string millimetres(double metres) {
  return formatPlainDecimal(metres * MILLIMETRES_PER_METRE, BOARD_DIGITS);
}

std::string gainDecibelsText(double gain) {
  return formatFixed(gainDecibels(gain), figure_digits::GAIN_DB);
}

// "X pC sL from 50 to 200, band 100.000000 to 150.000000 MHz; worst gain -0.0294 dB, worst
// |Gamma| 0.082085": a subtitle, for the title is kept short enough for the drawing's width.
std::string figuresLine(const ChosenNetwork& chosen) {
  return cascadeSummary(chosen.cascade) + "; worst gain " +
         gainDecibelsText(chosen.figures.worstGain) + " dB, worst |Gamma| " +
         formatFixed(chosen.figures.worstReflection, figure_digits::REFLECTION);
}

// "Transducer gain and return loss, rank 1 of bandmatch-search".
std::string rankTitle(std::string_view what, const ChosenNetwork& chosen,
                      std::string_view program) {
  return std::string(what) + ", rank " + formatInteger(chosen.rank) + " of " +
         std::string(program);
}

GainPlot gainPlot(const ChosenNetwork& chosen, std::string_view program) {
  const MatchedCascade& cascade = chosen.cascade;
  GainPlot plot;
  plot.title = rankTitle("Transducer gain and return loss", chosen, program);
  plot.subtitle = figuresLine(chosen);
  plot.f1 = cascade.f1;
  plot.f2 = cascade.f2;
  plot.worstGain = chosen.figures.worstGain;
  plot.worstReflection = chosen.figures.worstReflection;
  CascadeWorkspace workspace;
  for (int i = 0; i < chosen.sweep.points; ++i) {
    const double f = sweepFrequency(chosen.sweep, i);
    const CascadeResponse response =
        cascadeResponse(cascade.network, f, cascade.source.impedanceAt(f),
                        cascade.load.impedanceAt(f), workspace);
    plot.frequencyMHz.push_back(f);
    plot.transducerGain.push_back(response.transducerGain);
    plot.reflection.push_back(std::abs(response.reflection));
  }
  return plot;
}

// The input impedance with the load attached, as a reflection against the one-port file's
// reference resistance, so that the chart and BASE.s1p show the same points.
std::complex<double> inputReflection(const MatchedCascade& cascade, double f, double reference) {
  const std::complex<double> input = cascadeInputImpedance(cascadeMatrix(cascade.network, f),
                                                           cascade.load.impedanceAt(f));
  return (input - reference) / (input + reference);
}

SmithChart smithChart(const ChosenNetwork& chosen, std::string_view program) {
  const MatchedCascade& cascade = chosen.cascade;
  const double reference = touchstoneReference(cascade.source);
  SmithChart chart;
  chart.title = rankTitle("Smith chart of the matching network", chosen, program);
  chart.subtitle = figuresLine(chosen);
  chart.f1 = cascade.f1;
  chart.f2 = cascade.f2;
  chart.goalSwr = DEFAULT_GOAL_SWR;
  chart.referenceOhms = reference;
  SmithCurve curve;
  curve.label = "input of the network with the load";
  for (int i = 0; i < chosen.sweep.points; ++i) {
    const double f = sweepFrequency(chosen.sweep, i);
    chart.frequencyMHz.push_back(f);
    curve.reflection.push_back(inputReflection(cascade, f, reference));
  }
  const double f0 = std::sqrt(cascade.f1 * cascade.f2);
  curve.bandMarks = {inputReflection(cascade, cascade.f1, reference),
                     inputReflection(cascade, f0, reference),
                     inputReflection(cascade, cascade.f2, reference)};
  chart.curves.push_back(std::move(curve));
  return chart;
}

// "er 4.4, h 1.6 mm, t 0.035 mm".
std::string boardText(const Substrate& substrate) {
  return "er " + formatPlainDecimal(substrate.permittivity, BOARD_DIGITS) + ", h " +
         millimetres(substrate.height) + " mm, t " + millimetres(substrate.thickness) + " mm";
}

bool isLine(SectionKind kind) {
  return kind == SectionKind::line || kind == SectionKind::openStub ||
         kind == SectionKind::shortStub;
}

std::string elementText(const PartStress& stress) {
  switch (stress.element) {
    case StressedElement::inductor:
      return "L";
    case StressedElement::capacitor:
      return "C";
    case StressedElement::line:
      break;
  }
  return "line";
}

}  // namespace

std::optional<ChosenNetwork> chooseNetwork(const SearchProblem& problem,
                                           const SearchResult& result, int rank,
                                           const std::string& sourceName,
                                           const std::string& loadName, const Sweep& sweep,
                                           const ChosenFileRequest& request) {
  if (rank < 1 || static_cast<std::size_t>(rank) > result.candidates.size()) {
    return std::nullopt;
  }
  const SearchCandidate& candidate = result.candidates[static_cast<std::size_t>(rank - 1)];
  std::optional<CascadeEnd> source = namedEnd(problem.source, sourceName, problem.f1, problem.f2);
  std::optional<CascadeEnd> load = namedEnd(problem.load, loadName, problem.f1, problem.f2);
  if (!candidate.error.empty() || !source || !load) {
    return std::nullopt;
  }
  ChosenNetwork chosen;
  chosen.rank = rank;
  chosen.topology = topologyText(candidate.topology.topology);
  chosen.cascade = {builtNetwork(candidate), std::move(*source), std::move(*load), problem.f1,
                    problem.f2};
  chosen.sweep = sweep;
  chosen.figures = builtFigures(candidate);
  chosen.request = request;
  if (request.powerWatts) {
    const std::vector<double> dataMHz = endDataMHz(problem.source, problem.load);
    chosen.stresses = cascadePartStress(
        chosen.cascade.network, chosen.cascade.source.impedanceAt,
        chosen.cascade.load.impedanceAt, problem.f1, problem.f2, *request.powerWatts,
        dataMHz.empty() ? nullptr : &dataMHz);
  }
  return chosen;
}

std::vector<NetworkFile> chosenNetworkFiles(const ChosenNetwork& chosen, std::string_view program) {
  const MatchedCascade& cascade = chosen.cascade;
  const double reference = touchstoneReference(cascade.source);
  const std::vector<PartStress>* stresses =
      chosen.request.powerWatts ? &chosen.stresses : nullptr;
  std::vector<NetworkFile> files = {
      {".cir", renderCascadeNetlist(cascade, chosen.sweep, program)},
      {".s2p", renderTwoPortTouchstone(cascade, chosen.sweep, reference, program)},
      {".s1p", renderSourceSideTouchstone(cascade, chosen.sweep, reference, program)},
      {".svg", renderGainPlot(gainPlot(chosen, program))},
      {"-parts.csv", renderCascadePartsList(cascade, chosen.request.substrate, stresses)},
      {"-schematic.svg",
       renderSchematic(layoutCascadeSchematic(cascade, program, chosen.request.substrate),
                       "Schematic of the matching network: " + cascadeSummary(cascade))},
  };
  if (chosen.request.smith) {
    files.push_back({"-smith.svg", renderSmithChart(smithChart(chosen, program))});
  }
  return files;
}

std::string renderMicrostripSummary(const ChosenNetwork& chosen) {
  if (!chosen.request.substrate) {
    return {};
  }
  const Substrate& substrate = *chosen.request.substrate;
  const CascadeNetwork& network = chosen.cascade.network;
  std::vector<Row> rows = {{"section", "part", "Z0 (ohm)", "length (deg at f0)", "width (mm)",
                            "length (mm)"}};
  double validBelowMHz = HUGE_VAL;
  for (std::size_t i = 0; i < network.sections.size(); ++i) {
    const Section& section = network.sections[i];
    if (!isLine(section.kind)) {
      continue;
    }
    Row row = {formatInteger(static_cast<long long>(i) + 1), std::string(sectionName(section.kind)),
               formatPlainDecimal(section.impedance, BOARD_DIGITS),
               formatPlainDecimal(section.length * DEGREES_PER_RADIAN, BOARD_DIGITS)};
    if (const std::optional<double> width = microstripWidth(substrate, section.impedance)) {
      row.push_back(millimetres(*width));
      row.push_back(millimetres(
          microstripLength(substrate, *width, section.length, network.centreMHz)));
      validBelowMHz = std::min(validBelowMHz, quasiStaticLimitMHz(substrate, section.impedance));
    } else {
      row.insert(row.end(), {std::string(NO_WIDTH), std::string(NO_WIDTH)});
    }
    rows.push_back(std::move(row));
  }
  const std::string board = "Microstrip on " + boardText(substrate);
  if (rows.size() == 1) {
    return board + ": the network has no line or stub\n";
  }
  std::string text = board;
  if (std::isfinite(validBelowMHz)) {
    text += ", quasi-static widths and lengths, good below " +
            formatFixed(validBelowMHz, figure_digits::FREQUENCY_MHZ) + " MHz";
  }
  return text + ":\n" + alignedTable(rows);
}

std::string renderChosenStressSummary(const ChosenNetwork& chosen) {
  if (!chosen.request.powerWatts) {
    return {};
  }
  std::vector<Row> rows = {{"section", "part", "element", std::string(PEAK_VOLTAGE_HEADER),
                            std::string(RMS_CURRENT_HEADER)}};
  for (const PartStress& stress : chosen.stresses) {
    rows.push_back({formatInteger(static_cast<long long>(stress.section) + 1),
                    std::string(sectionName(chosen.cascade.network.sections[stress.section].kind)),
                    elementText(stress), formatScientific(stress.peakVoltage, STRESS_DIGITS),
                    formatScientific(stress.rmsCurrent, STRESS_DIGITS)});
  }
  return stressHeading(*chosen.request.powerWatts) + alignedTable(rows);
}

}  // namespace bandmatch
