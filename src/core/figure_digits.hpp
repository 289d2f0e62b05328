// Digits after the point of each kind of figure the companion programs print, declared once so
// a summary, a plot label, a chart and a message never print one kind of figure two ways.
#pragma once

namespace bandmatch::figure_digits {

inline constexpr int FREQUENCY_MHZ = 6;  // as the reports print frequencies
inline constexpr int REFLECTION = 6;     // a reflection magnitude
inline constexpr int SWR = 4;
inline constexpr int RETURN_LOSS_DB = 2;
inline constexpr int GAIN_DB = 4;        // a transducer gain in dB
inline constexpr int GOAL_SWR = 2;       // a goal the user types, such as 1.50
inline constexpr int ELEMENT_VALUE = 9;  // as the reports print element values

}  // namespace bandmatch::figure_digits
