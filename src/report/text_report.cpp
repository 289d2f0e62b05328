#include "report/text_report.hpp"

#include <span>
#include <string>

#include "core/number_format.hpp"
#include "core/report_layout.hpp"
#include "core/text_sink.hpp"
#include "report/credits.hpp"

namespace bandmatch {

namespace {

using namespace reportLabels;

// The decrement block shows what the user entered for the method and the load type.
constexpr ReportLine DIRECT_SERIES_BLOCK[] = {
    {DECREMENT_ENTERED_DIRECTLY},
    {ENTERED_DECREMENT, &DesignCase::decrement},
    {SERIES_LOAD},
    {AVERAGE_RESISTANCE, &DesignCase::averageResistance},
};
constexpr ReportLine DIRECT_PARALLEL_BLOCK[] = {
    {DECREMENT_ENTERED_DIRECTLY},
    {ENTERED_DECREMENT, &DesignCase::decrement},
    {PARALLEL_LOAD},
    {AVERAGE_CONDUCTANCE, &DesignCase::averageConductance},
};
constexpr ReportLine FROM_Q_SERIES_BLOCK[] = {
    {DECREMENT_FROM_Q},
    {ENTERED_LOAD_Q, &DesignCase::loadQ},
    {SERIES_LOAD},
    {AVERAGE_RESISTANCE, &DesignCase::averageResistance},
};
constexpr ReportLine FROM_Q_PARALLEL_BLOCK[] = {
    {DECREMENT_FROM_Q},
    {ENTERED_LOAD_Q, &DesignCase::loadQ},
    {PARALLEL_LOAD},
    {AVERAGE_CONDUCTANCE, &DesignCase::averageConductance},
};
constexpr ReportLine LOAD_PARAMETERS_SERIES_BLOCK[] = {
    {DECREMENT_FROM_LOAD_PARAMETERS},
    {SERIES_LOAD_PARAMETERS},
    {AVERAGE_RESISTANCE, &DesignCase::averageResistance},
    {DELTA_BANDWIDTH, &DesignCase::deltaBandwidth},
    {DELTA_REACTANCE, &DesignCase::deltaReactance},
};
constexpr ReportLine LOAD_PARAMETERS_PARALLEL_BLOCK[] = {
    {DECREMENT_FROM_LOAD_PARAMETERS},
    {PARALLEL_LOAD_PARAMETERS},
    {AVERAGE_CONDUCTANCE, &DesignCase::averageConductance},
    {DELTA_BANDWIDTH, &DesignCase::deltaBandwidth},
    {DELTA_SUSCEPTANCE, &DesignCase::deltaSusceptance},
};

struct CaseLines {
  Method method;
  LoadType loadType;
  std::span<const ReportLine> decrementBlock;
  ReportLine slope;
};

constexpr CaseLines CASE_LINES[] = {
    {Method::direct, LoadType::series, DIRECT_SERIES_BLOCK, {NO_REACTANCE_SLOPE_DECREMENT}},
    {Method::direct, LoadType::parallel, DIRECT_PARALLEL_BLOCK, {NO_SUSCEPTANCE_SLOPE_DECREMENT}},
    {Method::fromQ, LoadType::series, FROM_Q_SERIES_BLOCK, {NO_REACTANCE_SLOPE_Q}},
    {Method::fromQ, LoadType::parallel, FROM_Q_PARALLEL_BLOCK, {NO_SUSCEPTANCE_SLOPE_Q}},
    {Method::loadParameters,
     LoadType::series,
     LOAD_PARAMETERS_SERIES_BLOCK,
     {REACTANCE_SLOPE, &DesignCase::reactanceSlope}},
    {Method::loadParameters,
     LoadType::parallel,
     LOAD_PARAMETERS_PARALLEL_BLOCK,
     {SUSCEPTANCE_SLOPE, &DesignCase::susceptanceSlope}},
};

const CaseLines& caseLines(Method method, LoadType loadType) {
  for (const CaseLines& entry : CASE_LINES) {
    if (entry.method == method && entry.loadType == loadType) {
      return entry;
    }
  }
  return CASE_LINES[0];  // every enumerator pair is in the table
}

void writeInputs(std::ostream& out, const DesignCase& design) {
  writeLine(out, INPUTS_HEADING);
  writeValueLine(out, TEXT_FILE_NAME, {}, design.textFileName);
  writeValueLine(out, CSV_FILE_NAME, {}, design.csvFileName);
  writeValueLine(out, N, {}, formatInteger(design.N));
  writeValueLine(out, LOW_FREQUENCY, {}, fixed6(design.f1));
  writeValueLine(out, HIGH_FREQUENCY, {}, fixed6(design.f2));
  for (const ReportLine& line : caseLines(design.method, design.loadType).decrementBlock) {
    writeReportLine(out, line, design, {}, scientific6);
  }
}

void writePreliminary(std::ostream& out, const DesignCase& design) {
  writeLine(out, OUTPUT_PART_1_HEADING);
  writeValueLine(out, CENTER_FREQUENCY, {}, fixed6(design.f0));
  writeValueLine(out, MATCH_BANDWIDTH, {}, fixed6(design.matchBandwidth));
  writeValueLine(out, FRACTIONAL_BANDWIDTH, {}, fixed9(design.wm));
  writeReportLine(out, slopeLine(design.method, design.loadType), design, {}, scientific9);
  if (showsDerivedDecrement(design.method)) {
    writeValueLine(out, DERIVED_DECREMENT, {}, scientific9(design.decrement));
  }
  if (showsDerivedLoadQ(design.method)) {
    writeValueLine(out, DERIVED_LOAD_Q, {}, scientific9(design.loadQ));
  }
}

// Output Parts 2 to 4 differ between the renderings only in the separator after each label.
void writeFanoSolution(std::ostream& out, const DesignCase& design, std::string_view separator) {
  const auto row = [&out, separator](std::string_view label, std::string_view value) {
    writeValueLine(out, label, separator, value);
  };
  writeLine(out, OUTPUT_PART_2_HEADING);
  row(FV, scientific3(design.FV));
  row(IT, formatInteger(design.IT));
  row(A, fixed9(design.A));
  row(B, fixed9(design.B));
  row(RHO_MIN, fixed9(design.rhoMin));
  row(RHO_MAX, fixed9(design.rhoMax));
  row(MISMATCH_LOSS_MIN, fixed9(design.mismatchLossMin));
  row(MISMATCH_LOSS_MAX, fixed9(design.mismatchLossMax));
  row(RETURN_LOSS_MIN, fixed9(design.returnLossMin));
  row(RETURN_LOSS_MAX, fixed9(design.returnLossMax));
  row(SWR_MIN, fixed9(design.swrMin));
  row(SWR_MAX, fixed9(design.swrMax));
}

void writePrototypeValues(std::ostream& out, const DesignCase& design, std::string_view separator) {
  const int n = elementCount(design);
  writeLine(out, OUTPUT_PART_3_HEADING);
  writeValueLine(out, indexedLabel(G_OPEN, 0, G_LOAD_CLOSE), separator, fixed9(design.g[0]));
  for (int i = 1; i <= n; ++i) {
    writeValueLine(out, indexedLabel(G_OPEN, i, G_CLOSE), separator, fixed9(design.g[i]));
  }
  writeValueLine(out, indexedLabel(G_OPEN, n + 1, G_SOURCE_CLOSE), separator,
                 fixed9(design.g[n + 1]));
}

void writeElementValues(std::ostream& out, const DesignCase& design, std::string_view separator) {
  writeLine(out, OUTPUT_PART_4_HEADING);
  writeValueLine(out, LOAD_RESISTANCE, separator, scientific9(design.loadResistance));
  for (int i = 1; i <= elementCount(design); ++i) {
    writeValueLine(out, indexedLabel(L_OPEN, i, L_CLOSE), separator, scientific9(design.L[i]));
    writeValueLine(out, indexedLabel(C_OPEN, i, C_CLOSE), separator, scientific9(design.C[i]));
  }
  writeValueLine(out, SOURCE_RESISTANCE, separator, scientific9(design.sourceResistance));
}

}  // namespace

ReportLine slopeLine(Method method, LoadType loadType) {
  return caseLines(method, loadType).slope;
}

bool showsDerivedDecrement(Method method) {
  return method != Method::direct;
}
bool showsDerivedLoadQ(Method method) {
  return method != Method::fromQ;
}

void writeReportBody(std::ostream& out, const DesignCase& design) {
  writeInputs(out, design);
  writeLine(out);
  writePreliminary(out, design);
  writeLine(out);
  writeSolutionSections(out, design, {});
}

void writeSolutionSections(std::ostream& out, const DesignCase& design,
                           std::string_view separator) {
  writeFanoSolution(out, design, separator);
  writeLine(out);
  writePrototypeValues(out, design, separator);
  writeLine(out);
  writeElementValues(out, design, separator);
}

void writeConsoleReport(std::ostream& console, const DesignCase& design) {
  writeLine(console);
  writeReportBody(console, design);
}

void writeTextReport(std::ostream& file, const DesignCase& design, std::string_view dateStamp) {
  writeCreditsBlock(file, dateStamp, false);
  writeReportBody(file, design);
}

}  // namespace bandmatch
