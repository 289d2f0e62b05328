#include "report/csv_report.hpp"

#include <array>
#include <string>

#include "report/credits.hpp"
#include "report/number_format.hpp"
#include "report/text_report.hpp"
#include "report/text_sink.hpp"

namespace bandmatch {

namespace {

using namespace reportLabels;

constexpr std::string_view CELL_SEPARATOR = ",";

// Choice rows: the letter the user answered, then what it means.
constexpr std::string_view DIRECT_CHOICE = "   D ,Load Decrement entered directly";
constexpr std::string_view LOAD_PARAMETERS_CHOICE = "   L ,Load Decrement from Load Parameters";
constexpr std::string_view FROM_Q_CHOICE = "   Q ,Load Decrement from Q and Fractional Bandwidth";
constexpr std::string_view SERIES_CHOICE = "   S ,Series Load or Series Equivalent Load Parameters";
constexpr std::string_view PARALLEL_CHOICE =
    "   P ,Parallel Load or Parallel Equivalent Load Parameters";
static_assert(DIRECT_CHOICE.size() == 37 && LOAD_PARAMETERS_CHOICE.size() == 41 &&
              FROM_Q_CHOICE.size() == 52);
static_assert(SERIES_CHOICE.size() == 54 && PARALLEL_CHOICE.size() == 58);

// Placeholder rows keep every row up to the prototype values at the same line for every design.
constexpr std::string_view BLANKS = "                                                  ";
constexpr std::string_view METHOD_PLACEHOLDER = BLANKS.substr(0, 47);
constexpr std::string_view LOAD_PLACEHOLDER = BLANKS.substr(0, 41);
static_assert(METHOD_PLACEHOLDER.size() == 47 && LOAD_PLACEHOLDER.size() == 41);
static_assert(METHOD_PLACEHOLDER.find_first_not_of(' ') == std::string_view::npos);

// Stand where Output Part 1 of the text report leaves out the quantity the user entered.
constexpr std::string_view DECREMENT_ENTERED_AT_INPUT =
    "   Load Decrement entered at input           ";
constexpr std::string_view LOAD_Q_ENTERED_AT_INPUT =
    "   Load Q entered at input                   ";
static_assert(DECREMENT_ENTERED_AT_INPUT.size() == 45 && LOAD_Q_ENTERED_AT_INPUT.size() == 45);

// Method block, always three rows.
struct MethodRows {
  Method method;
  std::string_view choice;
  std::array<ReportLine, 3> rows;
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
  std::array<ReportLine, 4> rows;
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

std::string fixed6(double value) {
  return formatFixed(value, 6);
}
std::string fixed9(double value) {
  return formatFixed(value, 9);
}
std::string scientific6(double value) {
  return formatScientific(value, 6);
}
std::string scientific9(double value) {
  return formatScientific(value, 9);
}

// The text report's label, the comma, then the value cell.
void writeValueRow(std::ostream& out, std::string_view label, std::string_view value) {
  std::string row(label);
  row += CELL_SEPARATOR;
  row += value;
  writeLine(out, row);
}

void writeRow(std::ostream& out, const ReportLine& line, const DesignCase& design,
              std::string (*format)(double)) {
  if (line.value == nullptr) {
    writeLine(out, line.label);
  } else {
    writeValueRow(out, line.label, format(design.*line.value));
  }
}

// The derived decrement and load Q rows keep the text report's 45 characters: the comma takes
// the place of the label's last blank.
void writeDerivedRow(std::ostream& out, std::string_view label, double value) {
  std::string row(label.substr(0, label.size() - 1));
  row += CELL_SEPARATOR;
  row += scientific9(value);
  writeLine(out, row);
}

void writeInputs(std::ostream& out, const DesignCase& design) {
  writeLine(out, INPUTS_HEADING);
  writeValueRow(out, TEXT_FILE_NAME, design.textFileName);
  writeValueRow(out, CSV_FILE_NAME, design.csvFileName);
  writeValueRow(out, N, formatInteger(design.N));
  const MethodRows& method = methodRows(design.method);
  writeLine(out, method.choice);
  writeLine(out, design.loadType == LoadType::series ? SERIES_CHOICE : PARALLEL_CHOICE);
  writeValueRow(out, LOW_FREQUENCY, fixed6(design.f1));
  writeValueRow(out, HIGH_FREQUENCY, fixed6(design.f2));
  for (const ReportLine& row : method.rows) {
    writeRow(out, row, design, scientific6);
  }
  for (const ReportLine& row : loadRows(design.method, design.loadType).rows) {
    writeRow(out, row, design, scientific6);
  }
}

void writePreliminary(std::ostream& out, const DesignCase& design) {
  writeLine(out, OUTPUT_PART_1_HEADING);
  writeValueRow(out, CENTER_FREQUENCY, fixed6(design.f0));
  writeValueRow(out, MATCH_BANDWIDTH, fixed6(design.matchBandwidth));
  writeValueRow(out, FRACTIONAL_BANDWIDTH, fixed9(design.wm));
  writeRow(out, slopeLine(design.method, design.loadType), design, scientific9);
  if (showsDerivedDecrement(design.method)) {
    writeDerivedRow(out, DERIVED_DECREMENT, design.decrement);
  } else {
    writeLine(out, DECREMENT_ENTERED_AT_INPUT);
  }
  if (showsDerivedLoadQ(design.method)) {
    writeDerivedRow(out, DERIVED_LOAD_Q, design.loadQ);
  } else {
    writeLine(out, LOAD_Q_ENTERED_AT_INPUT);
  }
}

}  // namespace

void writeCsvReport(std::ostream& file, const DesignCase& design, std::string_view dateStamp) {
  writeCreditsBlock(file, dateStamp, true);
  writeInputs(file, design);
  writeLine(file);
  writePreliminary(file, design);
  writeLine(file);
  writeSolutionSections(file, design, CELL_SEPARATOR);
}

}  // namespace bandmatch
