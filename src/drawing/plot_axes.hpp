// The axes of the plots against frequency: a plot area, ticks at 1, 2 or 5 times a power of ten
// whose labels never overlap, a linear frequency axis and a decibel axis from 0 dB down.
#pragma once

#include <ostream>
#include <string_view>

namespace bandmatch {

// Where a plot's area lies in the drawing's user units.
struct PlotArea {
  double left = 0.0;
  double right = 0.0;
  double top = 0.0;
  double bottom = 0.0;
};

// The step of 1, 2 or 5 times a power of ten nearest (on a log scale) to range / target.
double niceStep(double range, int target);

// The axis bottom on a whole tick below the deepest level shown, with a margin of at least
// `minimumMargin` dB and of 15 % of the depth; never below -120 dB less that margin.
double decibelAxisBottom(double deepestDb, double minimumMargin);

// Frequency across the area, decibels down it from 0 dB at the top to bottomDb.
struct DecibelAxes {
  PlotArea area;
  double lowerMHz = 0.0;
  double upperMHz = 0.0;
  double bottomDb = 0.0;

  double x(double frequencyMHz) const;
  // Values outside the axis are held at its ends.
  double y(double decibels) const;
};

// Grid lines, ticks and their labels below the area; with `titled` the axis title under them.
void writeFrequencyAxis(std::ostream& out, const DecibelAxes& axes, bool titled = true);

// Grid lines, ticks and their labels left of the area, and the title turned along the axis.
void writeDecibelAxis(std::ostream& out, const DecibelAxes& axes, std::string_view title);

}  // namespace bandmatch
