#include "drawing/plot_axes.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "drawing/svg_text.hpp"

namespace bandmatch {

namespace {

constexpr double TICK_LENGTH = 6.0;
constexpr int TARGET_FREQUENCY_TICKS = 8;
constexpr int TARGET_DECIBEL_TICKS = 7;
// The deepest level an axis shows; an exact null would otherwise stretch it without end.
constexpr double DEEPEST_AXIS_DB = -120.0;
constexpr double DECIBEL_MARGIN_FRACTION = 0.15;
constexpr std::string_view GRID_COLOUR = "#dddddd";

// The next larger step of the 1, 2, 5 sequence.
double largerStep(double step) {
  const double magnitude = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double factor = step / magnitude;
  return (factor < 1.5 ? 2.0 : (factor < 3.5 ? 5.0 : 10.0)) * magnitude;
}

// Just enough decimals to tell ticks of this step apart.
int tickDigits(double step) {
  return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-6)));
}

// Room a tick label of this size needs, with a gap: 8 units a character at font size 13.
double tickLabelWidth(double largestValue, double step) {
  return 8.0 * static_cast<double>(formatFixed(largestValue, tickDigits(step)).size() + 2);
}

}  // namespace

double niceStep(double range, int target) {
  const double raw = range / target;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double best = magnitude;
  for (const double factor : {2.0, 5.0, 10.0}) {
    const double step = factor * magnitude;
    if (std::fabs(std::log(step / raw)) < std::fabs(std::log(best / raw))) {
      best = step;
    }
  }
  return best;
}

double decibelAxisBottom(double deepestDb, double minimumMargin) {
  const double deepest = std::max(deepestDb, DEEPEST_AXIS_DB);
  const double target = deepest - std::max(minimumMargin, -deepest * DECIBEL_MARGIN_FRACTION);
  const double step = niceStep(-target, TARGET_DECIBEL_TICKS);
  return std::floor(target / step) * step;
}

double DecibelAxes::x(double frequencyMHz) const {
  return area.left + (frequencyMHz - lowerMHz) / (upperMHz - lowerMHz) * (area.right - area.left);
}

double DecibelAxes::y(double decibels) const {
  const double held = std::isnan(decibels) ? bottomDb : std::clamp(decibels, bottomDb, 0.0);
  return area.top + held / bottomDb * (area.bottom - area.top);
}

void writeFrequencyAxis(std::ostream& out, const DecibelAxes& axes, bool titled) {
  const PlotArea& area = axes.area;
  const double range = axes.upperMHz - axes.lowerMHz;
  double step = niceStep(range, TARGET_FREQUENCY_TICKS);
  // Long labels (high frequencies, fine steps) get wider spacing so that they never overlap.
  while (tickLabelWidth(axes.upperMHz, step) > (area.right - area.left) * step / range) {
    step = largerStep(step);
  }
  const int digits = tickDigits(step);
  const long long first = static_cast<long long>(std::ceil(axes.lowerMHz / step - 1e-9));
  const long long last = static_cast<long long>(std::floor(axes.upperMHz / step + 1e-9));
  for (long long k = first; k <= last; ++k) {
    const double tick = static_cast<double>(k) * step;
    const double x = axes.x(tick);
    writeSegment(out, x, area.top, x, area.bottom, GRID_COLOUR);
    writeSegment(out, x, area.bottom, x, area.bottom + TICK_LENGTH, "black");
    writeLabel(out, x, area.bottom + 22.0, "middle", formatFixed(tick, digits));
  }
  if (titled) {
    writeLabel(out, (area.left + area.right) / 2.0, area.bottom + 52.0, "middle",
               "Frequency (MHz)", " font-size=\"15\"");
  }
}

void writeDecibelAxis(std::ostream& out, const DecibelAxes& axes, std::string_view title) {
  const PlotArea& area = axes.area;
  const double step = niceStep(-axes.bottomDb, TARGET_DECIBEL_TICKS);
  const int digits = tickDigits(step);
  const long long count = static_cast<long long>(std::floor(-axes.bottomDb / step + 1e-9));
  for (long long k = 0; k <= count; ++k) {
    // k = 0 gives +0.0, so the top tick reads "0" and not "-0".
    const double tick = static_cast<double>(k) * -step;
    const double y = axes.y(tick);
    writeSegment(out, area.left, y, area.right, y, GRID_COLOUR);
    writeSegment(out, area.left - TICK_LENGTH, y, area.left, y, "black");
    writeLabel(out, area.left - 10.0, y + 4.5, "end", k == 0 ? "0" : formatFixed(tick, digits));
  }
  const std::string centre = coordinate((area.top + area.bottom) / 2.0);
  writeLine(out,
            "<text x=\"0\" y=\"0\" text-anchor=\"middle\" font-size=\"15\" "
            "transform=\"translate(" +
                coordinate(area.left - 62.0) + " " + centre + ") rotate(-90)\">" +
                escapeXml(title) + "</text>");
}

}  // namespace bandmatch
