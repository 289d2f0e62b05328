// The console and text renderings of a design: one body of five sections, preceded by an empty
// line on the console and by the credits block in the text report file.
#pragma once

#include <ostream>
#include <string_view>

#include "run/design_case.hpp"

namespace bandmatch {

// A report line: its label, and the field written right after it (none for a line of text).
struct ReportLine {
  std::string_view label;
  double DesignCase::*value = nullptr;
};

// The labels of the report, blanks included; the CSV report writes the value labels followed by
// a comma. Values start right after the label's last character.
namespace reportLabels {

inline constexpr std::string_view INPUTS_HEADING = "Inputs:";
inline constexpr std::string_view TEXT_FILE_NAME = "   Text Result File Name:                ";
inline constexpr std::string_view CSV_FILE_NAME = "   CSV Result File Name:                 ";
inline constexpr std::string_view N = "   N =                                   ";
inline constexpr std::string_view LOW_FREQUENCY = "   Low Frequency (f1) (MHz) =            ";
inline constexpr std::string_view HIGH_FREQUENCY = "   High Frequency (f2) (MHz) =           ";

// Decrement block of the inputs.
inline constexpr std::string_view DECREMENT_ENTERED_DIRECTLY = "   Load Decrement entered directly";
inline constexpr std::string_view DECREMENT_FROM_LOAD_PARAMETERS =
    "   Load Decrement obtained from Load Parameters";
inline constexpr std::string_view DECREMENT_FROM_Q =
    "   Load Decrement obtained from Q and Fractional Bandwidth";
inline constexpr std::string_view ENTERED_DECREMENT = "      Load Decrement =                   ";
inline constexpr std::string_view ENTERED_LOAD_Q = "      Load Q =                           ";
inline constexpr std::string_view SERIES_LOAD = "      Series Load";
inline constexpr std::string_view PARALLEL_LOAD = "      Parallel Load";
inline constexpr std::string_view SERIES_LOAD_PARAMETERS = "      Series Load Parameters entered";
inline constexpr std::string_view PARALLEL_LOAD_PARAMETERS =
    "      Parallel Load Parameters entered";
inline constexpr std::string_view AVERAGE_RESISTANCE = "         average resistance (ohms) =     ";
inline constexpr std::string_view AVERAGE_CONDUCTANCE = "         average conductance (Siemens) = ";
inline constexpr std::string_view DELTA_BANDWIDTH = "         delta bandwidth (MHz) =         ";
inline constexpr std::string_view DELTA_REACTANCE = "         delta reactance (ohms) =        ";
inline constexpr std::string_view DELTA_SUSCEPTANCE = "         delta susceptance (Siemens) =   ";

inline constexpr std::string_view OUTPUT_PART_1_HEADING = "Output Part 1: Preliminary";
inline constexpr std::string_view CENTER_FREQUENCY =
    "   Center Frequency     (f0)    (MHz) =      ";
inline constexpr std::string_view MATCH_BANDWIDTH = "   Match Bandwidth      (f2-f1) (MHz) =      ";
inline constexpr std::string_view FRACTIONAL_BANDWIDTH =
    "   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  ";
inline constexpr std::string_view REACTANCE_SLOPE = "   Reactance Slope Parameter =               ";
inline constexpr std::string_view SUSCEPTANCE_SLOPE =
    "   Susceptance Slope Parameter =             ";
inline constexpr std::string_view NO_REACTANCE_SLOPE_DECREMENT =
    "   No Reactance Slope Parameter Calculated because Load Decrement entered";
inline constexpr std::string_view NO_SUSCEPTANCE_SLOPE_DECREMENT =
    "   No Susceptance Slope Parameter Calculated because Load Decrement entered";
inline constexpr std::string_view NO_REACTANCE_SLOPE_Q =
    "   No Reactance Slope Parameter Calculated because Load Q entered";
inline constexpr std::string_view NO_SUSCEPTANCE_SLOPE_Q =
    "   No Susceptance Slope Parameter Calculated because Load Q entered";
inline constexpr std::string_view DERIVED_DECREMENT =
    "   Load Decrement =                          ";
inline constexpr std::string_view DERIVED_LOAD_Q = "   Load Q =                                  ";

inline constexpr std::string_view OUTPUT_PART_2_HEADING =
    "Output Part 2: Fano; Levy; Newton - Raphson Solution";
inline constexpr std::string_view FV = "   FV =                   ";
inline constexpr std::string_view IT = "   IT (iterations in Newton - Raphson Solution) = ";
inline constexpr std::string_view A = "   A  =                   ";
inline constexpr std::string_view B = "   B  =                   ";
inline constexpr std::string_view RHO_MIN = "   Magnitude of Reflection Coefficient Min = ";
inline constexpr std::string_view RHO_MAX = "   Magnitude of Reflection Coefficient Max = ";
inline constexpr std::string_view MISMATCH_LOSS_MIN = "   Mismatch Loss Min (dB) = ";
inline constexpr std::string_view MISMATCH_LOSS_MAX = "   Mismatch Loss Max (dB) = ";
inline constexpr std::string_view RETURN_LOSS_MIN = "   Return Loss Min (dB) = ";
inline constexpr std::string_view RETURN_LOSS_MAX = "   Return Loss Max (dB) = ";
inline constexpr std::string_view SWR_MIN = "   SWR Min =              ";
inline constexpr std::string_view SWR_MAX = "   SWR Max =              ";

// Prototype value labels are "   G(", the index, then one of the three closing texts.
inline constexpr std::string_view OUTPUT_PART_3_HEADING =
    "Output Part 3: Resistive Source with g(i) Prototype Values";
inline constexpr std::string_view G_OPEN = "   G(";
inline constexpr std::string_view G_LOAD_CLOSE = ") (load)   =     ";
inline constexpr std::string_view G_CLOSE = ")          =     ";
inline constexpr std::string_view G_SOURCE_CLOSE = ") (source) =     ";

// Element labels are "   L(" or "   C(", the index, then the closing text.
inline constexpr std::string_view OUTPUT_PART_4_HEADING =
    "Output Part 4: Network Element Values Calculated";
inline constexpr std::string_view LOAD_RESISTANCE = "   Load Resistance (ohms) =   ";
inline constexpr std::string_view L_OPEN = "   L(";
inline constexpr std::string_view L_CLOSE = ") (H) =                 ";
inline constexpr std::string_view C_OPEN = "   C(";
inline constexpr std::string_view C_CLOSE = ") (F) =                 ";
inline constexpr std::string_view SOURCE_RESISTANCE = "   Source Resistance (ohms) = ";

}  // namespace reportLabels

// The slope line of Output Part 1: the slope parameter for load parameters, otherwise the text
// saying why there is none.
ReportLine slopeLine(Method method, LoadType loadType);

// Output Part 1 shows the decrement and the load Q only where they were derived, not entered.
bool showsDerivedDecrement(Method method);
bool showsDerivedLoadQ(Method method);

// N kept within the value arrays, so a record with a stray N never reads beyond them.
int elementCount(const DesignCase& design);

// Output Parts 2 to 4, the same in the text and the CSV report but for the separator written
// between each label and its value (none, or the comma of a CSV row).
void writeSolutionSections(std::ostream& out, const DesignCase& design, std::string_view separator);

void writeReportBody(std::ostream& out, const DesignCase& design);

// One empty line, then the body.
void writeConsoleReport(std::ostream& console, const DesignCase& design);

// The credits block, then the body.
void writeTextReport(std::ostream& file, const DesignCase& design, std::string_view dateStamp);

}  // namespace bandmatch
