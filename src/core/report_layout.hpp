// The layout of the reports, declared once: every label and heading of the console and text
// report, the rows only the CSV report has, and the CSV line numbers that are the same for every
// design. The report writers and the CSV report reader both work from these declarations.
#pragma once

#include <string_view>

namespace bandmatch {

// Labels include their blanks; a value starts right after the label's last character. The CSV
// report writes a value label followed by CELL_SEPARATOR.
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

}  // namespace reportLabels

// Rows of the CSV report that the text report does not have.
namespace csvRows {

inline constexpr std::string_view CELL_SEPARATOR = ",";

// Choice rows: the letter the user answered, then what it means.
inline constexpr std::string_view DIRECT_CHOICE = "   D ,Load Decrement entered directly";
inline constexpr std::string_view LOAD_PARAMETERS_CHOICE =
    "   L ,Load Decrement from Load Parameters";
inline constexpr std::string_view FROM_Q_CHOICE =
    "   Q ,Load Decrement from Q and Fractional Bandwidth";
inline constexpr std::string_view SERIES_CHOICE =
    "   S ,Series Load or Series Equivalent Load Parameters";
inline constexpr std::string_view PARALLEL_CHOICE =
    "   P ,Parallel Load or Parallel Equivalent Load Parameters";
static_assert(DIRECT_CHOICE.size() == 37 && LOAD_PARAMETERS_CHOICE.size() == 41 &&
              FROM_Q_CHOICE.size() == 52);
static_assert(SERIES_CHOICE.size() == 54 && PARALLEL_CHOICE.size() == 58);

// Placeholder rows keep every row up to the prototype values at the same line for every design.
inline constexpr std::string_view BLANKS = "                                                  ";
inline constexpr std::string_view METHOD_PLACEHOLDER = BLANKS.substr(0, 47);
inline constexpr std::string_view LOAD_PLACEHOLDER = BLANKS.substr(0, 41);
static_assert(METHOD_PLACEHOLDER.size() == 47 && LOAD_PLACEHOLDER.size() == 41);
static_assert(BLANKS.find_first_not_of(' ') == std::string_view::npos);

// Stand where Output Part 1 of the text report leaves out the quantity the user entered.
inline constexpr std::string_view DECREMENT_ENTERED_AT_INPUT =
    "   Load Decrement entered at input           ";
inline constexpr std::string_view LOAD_Q_ENTERED_AT_INPUT =
    "   Load Q entered at input                   ";
static_assert(DECREMENT_ENTERED_AT_INPUT.size() == 45 && LOAD_Q_ENTERED_AT_INPUT.size() == 45);

}  // namespace csvRows

// Rows a companion program appends to a CSV report of a network it tuned, after the source
// resistance: a blank line, the note that names the program, and with a measured load the
// retuning element as tuned ("   Retuning series inductor (H) = ,1.676966280e-007"). The
// console program never writes them; a reader takes the retuning element when it is there.
namespace tunedRows {

inline constexpr std::string_view NOTE = "Values tuned by ";
inline constexpr std::string_view RETUNING_OPEN = "   Retuning ";
inline constexpr std::string_view RETUNING_CLOSE = " = ";

}  // namespace tunedRows

// Line numbers of the CSV report, counted from 1. The credits block fills lines 1 to 13; every
// row up to the Output Part 3 heading stands at a fixed line, the rows after it move with N.
namespace csvLines {

inline constexpr int CREDITS_LAST = 13;
inline constexpr int INPUTS_HEADING = 14;
inline constexpr int TEXT_FILE_NAME = 15;
inline constexpr int CSV_FILE_NAME = 16;
inline constexpr int N = 17;
inline constexpr int METHOD_CHOICE = 18;
inline constexpr int LOAD_TYPE_CHOICE = 19;
inline constexpr int LOW_FREQUENCY = 20;
inline constexpr int HIGH_FREQUENCY = 21;
// The method block always has three rows, the load block four, filled out by placeholders.
inline constexpr int METHOD_BLOCK = 22;
inline constexpr int METHOD_BLOCK_ROWS = 3;
inline constexpr int LOAD_BLOCK = 25;
inline constexpr int LOAD_BLOCK_ROWS = 4;
inline constexpr int OUTPUT_PART_1_HEADING = 30;
inline constexpr int SLOPE = 34;
inline constexpr int DECREMENT = 35;
inline constexpr int LOAD_Q = 36;
inline constexpr int OUTPUT_PART_2_HEADING = 38;
inline constexpr int FV = 39;
inline constexpr int RHO_MIN = 43;
inline constexpr int RHO_MAX = 44;
inline constexpr int SWR_MAX = 50;
inline constexpr int OUTPUT_PART_3_HEADING = 52;
static_assert(METHOD_BLOCK + METHOD_BLOCK_ROWS == LOAD_BLOCK);
static_assert(LOAD_BLOCK + LOAD_BLOCK_ROWS + 1 == OUTPUT_PART_1_HEADING);

// g(i), i = 0 .. N+1.
constexpr int prototypeValue(int i) {
  return OUTPUT_PART_3_HEADING + 1 + i;
}
constexpr int outputPart4Heading(int n) {
  return 56 + n;
}
constexpr int loadResistance(int n) {
  return 57 + n;
}
// L(i) and C(i), i = 1 .. N, the L row first.
constexpr int inductor(int n, int i) {
  return 56 + n + 2 * i;
}
constexpr int capacitor(int n, int i) {
  return 57 + n + 2 * i;
}
// The last line of the file.
constexpr int sourceResistance(int n) {
  return 58 + 3 * n;
}
static_assert(prototypeValue(4) + 2 == outputPart4Heading(3));
static_assert(capacitor(3, 3) + 1 == sourceResistance(3));

}  // namespace csvLines

}  // namespace bandmatch
