#include "report/text_report.hpp"

#include <algorithm>
#include <span>
#include <string>

#include "report/credits.hpp"
#include "report/number_format.hpp"
#include "report/text_sink.hpp"

namespace bandmatch {

namespace {

using namespace reportLabels;

// Labels of equal length put their values in one column.
static_assert(TEXT_FILE_NAME.size() == 41 && CSV_FILE_NAME.size() == 41 && N.size() == 41);
static_assert(LOW_FREQUENCY.size() == 41 && HIGH_FREQUENCY.size() == 41);
static_assert(DECREMENT_ENTERED_DIRECTLY.size() == 34 &&
              DECREMENT_FROM_LOAD_PARAMETERS.size() == 47 && DECREMENT_FROM_Q.size() == 58);
static_assert(ENTERED_DECREMENT.size() == 41 && ENTERED_LOAD_Q.size() == 41);
static_assert(SERIES_LOAD.size() == 17 && PARALLEL_LOAD.size() == 19);
static_assert(SERIES_LOAD_PARAMETERS.size() == 36 && PARALLEL_LOAD_PARAMETERS.size() == 38);
static_assert(AVERAGE_RESISTANCE.size() == 41 && AVERAGE_CONDUCTANCE.size() == 41 &&
              DELTA_BANDWIDTH.size() == 41 && DELTA_REACTANCE.size() == 41 &&
              DELTA_SUSCEPTANCE.size() == 41);
static_assert(CENTER_FREQUENCY.size() == 45 && MATCH_BANDWIDTH.size() == 45 &&
              FRACTIONAL_BANDWIDTH.size() == 51);
static_assert(REACTANCE_SLOPE.size() == 45 && SUSCEPTANCE_SLOPE.size() == 45);
static_assert(DERIVED_DECREMENT.size() == 45 && DERIVED_LOAD_Q.size() == 45);
static_assert(FV.size() == 26 && IT.size() == 50 && A.size() == 26 && B.size() == 26);
static_assert(RHO_MIN.size() == 45 && RHO_MAX.size() == 45);
static_assert(MISMATCH_LOSS_MIN.size() == 28 && MISMATCH_LOSS_MAX.size() == 28);
static_assert(RETURN_LOSS_MIN.size() == 26 && RETURN_LOSS_MAX.size() == 26);
static_assert(SWR_MIN.size() == 26 && SWR_MAX.size() == 26);
static_assert(G_OPEN.size() == 5 && G_LOAD_CLOSE.size() == 17 && G_CLOSE.size() == 17 &&
              G_SOURCE_CLOSE.size() == 17);
static_assert(LOAD_RESISTANCE.size() == 30 && SOURCE_RESISTANCE.size() == 30);
static_assert(L_OPEN.size() == 5 && C_OPEN.size() == 5 && L_CLOSE.size() == 24 &&
              C_CLOSE.size() == 24);

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

std::string fixed6(double value) {
  return formatFixed(value, 6);
}
std::string fixed9(double value) {
  return formatFixed(value, 9);
}
std::string scientific3(double value) {
  return formatScientific(value, 3);
}
std::string scientific6(double value) {
  return formatScientific(value, 6);
}
std::string scientific9(double value) {
  return formatScientific(value, 9);
}

// The text report writes the value right after its label; the CSV report puts a comma between.
void writeValueLine(std::ostream& out, std::string_view label, std::string_view separator,
                    std::string_view value) {
  // Written piece by piece: no line is assembled in memory, and the line end flushes it whole.
  writeText(out, label);
  writeText(out, separator);
  writeLine(out, value);
}

void writeValueLine(std::ostream& out, std::string_view label, std::string_view value) {
  writeValueLine(out, label, {}, value);
}

void writeReportLine(std::ostream& out, const ReportLine& line, const DesignCase& design,
                     std::string (*format)(double)) {
  if (line.value == nullptr) {
    writeLine(out, line.label);
  } else {
    writeValueLine(out, line.label, format(design.*line.value));
  }
}

// "   G(" 3 ") (load)   =     ": the index has no field width, so two digits shift the value.
std::string indexedLabel(std::string_view open, int index, std::string_view close) {
  std::string label(open);
  label += formatInteger(index);
  label += close;
  return label;
}

void writeInputs(std::ostream& out, const DesignCase& design) {
  writeLine(out, INPUTS_HEADING);
  writeValueLine(out, TEXT_FILE_NAME, design.textFileName);
  writeValueLine(out, CSV_FILE_NAME, design.csvFileName);
  writeValueLine(out, N, formatInteger(design.N));
  writeValueLine(out, LOW_FREQUENCY, fixed6(design.f1));
  writeValueLine(out, HIGH_FREQUENCY, fixed6(design.f2));
  for (const ReportLine& line : caseLines(design.method, design.loadType).decrementBlock) {
    writeReportLine(out, line, design, scientific6);
  }
}

void writePreliminary(std::ostream& out, const DesignCase& design) {
  writeLine(out, OUTPUT_PART_1_HEADING);
  writeValueLine(out, CENTER_FREQUENCY, fixed6(design.f0));
  writeValueLine(out, MATCH_BANDWIDTH, fixed6(design.matchBandwidth));
  writeValueLine(out, FRACTIONAL_BANDWIDTH, fixed9(design.wm));
  writeReportLine(out, slopeLine(design.method, design.loadType), design, scientific9);
  if (showsDerivedDecrement(design.method)) {
    writeValueLine(out, DERIVED_DECREMENT, scientific9(design.decrement));
  }
  if (showsDerivedLoadQ(design.method)) {
    writeValueLine(out, DERIVED_LOAD_Q, scientific9(design.loadQ));
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

int elementCount(const DesignCase& design) {
  return std::clamp(design.N, 0, MAX_ELEMENTS);
}

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
