#include "report/csv_report.hpp"

#include <array>
#include <cassert>
#include <string>

#include "core/number_format.hpp"
#include "core/report_layout.hpp"
#include "core/text_sink.hpp"
#include "report/credits.hpp"
#include "report/report_rows.hpp"
#include "report/text_report.hpp"

namespace bandmatch {

namespace {

using namespace reportLabels;
using namespace csvRows;

// Method block, always three rows.
struct MethodRows {
  Method method;
  std::string_view choice;
  std::array<ReportLine, csvLines::METHOD_BLOCK_ROWS> rows;
};

constexpr MethodRows METHOD_ROWS[] = {
    {Method::direct,
     DIRECT_CHOICE,
     {{{DECREMENT_ENTERED_DIRECTLY},
       {ENTERED_DECREMENT, &DesignCase::decrement},
       {METHOD_PLACEHOLDER}}}},
    {Method::loadParameters,
     LOAD_PARAMETERS_CHOICE,
     {{{DECREMENT_FROM_LOAD_PARAMETERS}, {METHOD_PLACEHOLDER}, {METHOD_PLACEHOLDER}}}},
    {Method::fromQ,
     FROM_Q_CHOICE,
     {{{DECREMENT_FROM_Q}, {METHOD_PLACEHOLDER}, {ENTERED_LOAD_Q, &DesignCase::loadQ}}}},
};

// Load block, always four rows: methods D and Q share theirs, method L lists the load parameters.
struct LoadRows {
  bool loadParameters;
  LoadType loadType;
  std::array<ReportLine, csvLines::LOAD_BLOCK_ROWS> rows;
};

constexpr LoadRows LOAD_ROWS[] = {
    {false,
     LoadType::series,
     {{{SERIES_LOAD},
       {AVERAGE_RESISTANCE, &DesignCase::averageResistance},
       {LOAD_PLACEHOLDER},
       {LOAD_PLACEHOLDER}}}},
    {false,
     LoadType::parallel,
     {{{PARALLEL_LOAD},
       {AVERAGE_CONDUCTANCE, &DesignCase::averageConductance},
       {LOAD_PLACEHOLDER},
       {LOAD_PLACEHOLDER}}}},
    {true,
     LoadType::series,
     {{{SERIES_LOAD_PARAMETERS},
       {AVERAGE_RESISTANCE, &DesignCase::averageResistance},
       {DELTA_BANDWIDTH, &DesignCase::deltaBandwidth},
       {DELTA_REACTANCE, &DesignCase::deltaReactance}}}},
    {true,
     LoadType::parallel,
     {{{PARALLEL_LOAD_PARAMETERS},
       {AVERAGE_CONDUCTANCE, &DesignCase::averageConductance},
       {DELTA_BANDWIDTH, &DesignCase::deltaBandwidth},
       {DELTA_SUSCEPTANCE, &DesignCase::deltaSusceptance}}}},
};

const MethodRows& methodRows(Method method) {
  for (const MethodRows& entry : METHOD_ROWS) {
    if (entry.method == method) {
      return entry;
    }
  }
  return METHOD_ROWS[0];  // every method is in the table
}

const LoadRows& loadRows(Method method, LoadType loadType) {
  const bool loadParameters = method == Method::loadParameters;
  for (const LoadRows& entry : LOAD_ROWS) {
    if (entry.loadParameters == loadParameters && entry.loadType == loadType) {
      return entry;
    }
  }
  return LOAD_ROWS[0];  // every case is in the table
}

// The rows of the file with their line numbers: each fixed row is written where the layout,
// which the report reader also follows, says it stands.
struct CsvRowWriter {
  std::ostream& out;
  int nextLine = csvLines::CREDITS_LAST + 1;

  void at(int line) const {
    assert(line == nextLine && "a fixed CSV row has moved");
    static_cast<void>(line);
  }
  void text(std::string_view row) {
    writeLine(out, row);
    ++nextLine;
  }
  void value(std::string_view label, std::string_view cell) {
    writeValueLine(out, label, CELL_SEPARATOR, cell);
    ++nextLine;
  }
  void line(const ReportLine& row, const DesignCase& design, ValueFormat format) {
    writeReportLine(out, row, design, CELL_SEPARATOR, format);
    ++nextLine;
  }
  // The derived decrement and load Q rows keep the text report's 45 characters: the comma takes
  // the place of the label's last blank.
  void derived(std::string_view label, double number) {
    value(label.substr(0, label.size() - 1), scientific9(number));
  }
};

void writeInputs(CsvRowWriter& rows, const DesignCase& design) {
  rows.at(csvLines::INPUTS_HEADING);
  rows.text(INPUTS_HEADING);
  rows.value(TEXT_FILE_NAME, design.textFileName);
  rows.value(CSV_FILE_NAME, design.csvFileName);
  rows.at(csvLines::N);
  rows.value(N, formatInteger(design.N));
  const MethodRows& method = methodRows(design.method);
  rows.text(method.choice);
  rows.at(csvLines::LOAD_TYPE_CHOICE);
  rows.text(design.loadType == LoadType::series ? SERIES_CHOICE : PARALLEL_CHOICE);
  rows.at(csvLines::LOW_FREQUENCY);
  rows.value(LOW_FREQUENCY, fixed6(design.f1));
  rows.value(HIGH_FREQUENCY, fixed6(design.f2));
  rows.at(csvLines::METHOD_BLOCK);
  for (const ReportLine& row : method.rows) {
    rows.line(row, design, scientific6);
  }
  rows.at(csvLines::LOAD_BLOCK);
  for (const ReportLine& row : loadRows(design.method, design.loadType).rows) {
    rows.line(row, design, scientific6);
  }
}

void writePreliminary(CsvRowWriter& rows, const DesignCase& design) {
  rows.at(csvLines::OUTPUT_PART_1_HEADING);
  rows.text(OUTPUT_PART_1_HEADING);
  rows.value(CENTER_FREQUENCY, fixed6(design.f0));
  rows.value(MATCH_BANDWIDTH, fixed6(design.matchBandwidth));
  rows.value(FRACTIONAL_BANDWIDTH, fixed9(design.wm));
  rows.at(csvLines::SLOPE);
  rows.line(slopeLine(design.method, design.loadType), design, scientific9);
  if (showsDerivedDecrement(design.method)) {
    rows.derived(DERIVED_DECREMENT, design.decrement);
  } else {
    rows.text(DECREMENT_ENTERED_AT_INPUT);
  }
  if (showsDerivedLoadQ(design.method)) {
    rows.derived(DERIVED_LOAD_Q, design.loadQ);
  } else {
    rows.text(LOAD_Q_ENTERED_AT_INPUT);
  }
  rows.text({});
  rows.at(csvLines::OUTPUT_PART_2_HEADING);
}

}  // namespace

void writeCsvReport(std::ostream& file, const DesignCase& design, std::string_view dateStamp) {
  writeCreditsBlock(file, dateStamp, true);
  CsvRowWriter rows{file};
  writeInputs(rows, design);
  rows.text({});
  writePreliminary(rows, design);
  // Output Parts 2 to 4 are the text report's, with the comma between label and value.
  writeSolutionSections(file, design, CELL_SEPARATOR);
}

}  // namespace bandmatch
