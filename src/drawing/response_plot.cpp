#include "drawing/response_plot.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/figure_digits.hpp"
#include "drawing/svg_text.hpp"

namespace bandmatch {

namespace {

// Figure layout in SVG user units; the legend sits right of the plot area.
constexpr double FIGURE_WIDTH = 1000.0;
constexpr double FIGURE_HEIGHT = 600.0;
constexpr double PLOT_LEFT = 90.0;
constexpr double PLOT_RIGHT = 740.0;
constexpr double PLOT_TOP = 80.0;
constexpr double PLOT_BOTTOM = 520.0;
constexpr double LEGEND_LEFT = 765.0;
constexpr double LEGEND_TOP = 100.0;
constexpr double LEGEND_LINE_HEIGHT = 22.0;
constexpr double LEGEND_SAMPLE_LENGTH = 32.0;
constexpr double TICK_LENGTH = 6.0;
constexpr int DECIBEL_DIGITS = 2;

constexpr int TARGET_FREQUENCY_TICKS = 8;
constexpr int TARGET_DECIBEL_TICKS = 7;
// The deepest return loss the axis shows; an exact null would otherwise stretch it without end.
constexpr double DEEPEST_AXIS_DB = -120.0;
constexpr double MIN_DECIBEL_MARGIN = 1.0;
constexpr double DECIBEL_MARGIN_FRACTION = 0.15;

// Curves one after another: colours that stay apart, and dashes for a print in grey.
struct CurveStyle {
  std::string_view colour;
  std::string_view dash;
};
constexpr CurveStyle CURVE_STYLES[] = {{"#1f4fbf", ""}, {"#d35400", "9 4"}, {"#7d3c98", "3 3"}};
constexpr std::string_view WORST_COLOUR = "#c0392b";
constexpr std::string_view BEST_COLOUR = "#1e8449";
constexpr std::string_view BAND_FILL = "#e8f0fb";
constexpr std::string_view EDGE_COLOUR = "#555555";
constexpr std::string_view GRID_COLOUR = "#dddddd";
constexpr std::string_view SPREAD_FILL = "#8fb0e6";
constexpr std::string_view SPREAD_OPACITY = "0.45";
constexpr std::string_view SPREAD_ON_WHITE = "#ccdbf4";  // the fill as it shows over white

// The step of 1, 2 or 5 times a power of ten nearest (on a log scale) to range / target.
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

struct Axes {
  double lowerMHz;
  double upperMHz;
  double bottomDb;  // the top of the axis is 0 dB

  double x(double frequencyMHz) const {
    return PLOT_LEFT + (frequencyMHz - lowerMHz) / (upperMHz - lowerMHz) * (PLOT_RIGHT - PLOT_LEFT);
  }
  // Values outside the axis are held at its ends.
  double y(double decibels) const {
    const double held = std::isnan(decibels) ? bottomDb : std::clamp(decibels, bottomDb, 0.0);
    return PLOT_TOP + held / bottomDb * (PLOT_BOTTOM - PLOT_TOP);
  }
};

double returnLossDb(double magnitude) {
  return 20.0 * std::log10(magnitude);
}

// Room below the reported best return loss, on a whole tick. A best level reported as no
// reflection at all (a magnitude printed as zero) gives way to the deepest point of the curves.
double axisBottom(double worstDb, double bestDb, const std::vector<std::vector<double>>& curvesDb) {
  double deepest = 0.0;
  for (const double level : {worstDb, bestDb}) {
    if (std::isfinite(level)) {
      deepest = std::min(deepest, level);
    }
  }
  if (!std::isfinite(bestDb)) {
    for (const std::vector<double>& curveDb : curvesDb) {
      for (const double value : curveDb) {
        if (std::isfinite(value)) {
          deepest = std::min(deepest, value);
        }
      }
    }
  }
  deepest = std::max(deepest, DEEPEST_AXIS_DB);
  const double target = deepest - std::max(MIN_DECIBEL_MARGIN, -deepest * DECIBEL_MARGIN_FRACTION);
  const double step = niceStep(-target, TARGET_DECIBEL_TICKS);
  return std::floor(target / step) * step;
}

void writeFrequencyAxis(std::ostream& out, const Axes& axes) {
  const double range = axes.upperMHz - axes.lowerMHz;
  double step = niceStep(range, TARGET_FREQUENCY_TICKS);
  // Long labels (high frequencies, fine steps) get wider spacing so that they never overlap.
  while (tickLabelWidth(axes.upperMHz, step) > (PLOT_RIGHT - PLOT_LEFT) * step / range) {
    step = largerStep(step);
  }
  const int digits = tickDigits(step);
  const long long first = static_cast<long long>(std::ceil(axes.lowerMHz / step - 1e-9));
  const long long last = static_cast<long long>(std::floor(axes.upperMHz / step + 1e-9));
  for (long long k = first; k <= last; ++k) {
    const double tick = static_cast<double>(k) * step;
    const double x = axes.x(tick);
    writeSegment(out, x, PLOT_TOP, x, PLOT_BOTTOM, GRID_COLOUR);
    writeSegment(out, x, PLOT_BOTTOM, x, PLOT_BOTTOM + TICK_LENGTH, "black");
    writeLabel(out, x, PLOT_BOTTOM + 22.0, "middle", formatFixed(tick, digits));
  }
  writeLabel(out, (PLOT_LEFT + PLOT_RIGHT) / 2.0, PLOT_BOTTOM + 52.0, "middle", "Frequency (MHz)",
             " font-size=\"15\"");
}

void writeDecibelAxis(std::ostream& out, const Axes& axes) {
  const double step = niceStep(-axes.bottomDb, TARGET_DECIBEL_TICKS);
  const int digits = tickDigits(step);
  const long long count = static_cast<long long>(std::floor(-axes.bottomDb / step + 1e-9));
  for (long long k = 0; k <= count; ++k) {
    // k = 0 gives +0.0, so the top tick reads "0" and not "-0".
    const double tick = static_cast<double>(k) * -step;
    const double y = axes.y(tick);
    writeSegment(out, PLOT_LEFT, y, PLOT_RIGHT, y, GRID_COLOUR);
    writeSegment(out, PLOT_LEFT - TICK_LENGTH, y, PLOT_LEFT, y, "black");
    writeLabel(out, PLOT_LEFT - 10.0, y + 4.5, "end", k == 0 ? "0" : formatFixed(tick, digits));
  }
  const std::string centre = coordinate((PLOT_TOP + PLOT_BOTTOM) / 2.0);
  writeLine(out,
            "<text x=\"0\" y=\"0\" text-anchor=\"middle\" font-size=\"15\" "
            "transform=\"translate(" +
                coordinate(PLOT_LEFT - 62.0) + " " + centre +
                ") rotate(-90)\">Return loss (dB)</text>");
}

void writeLegendEntry(std::ostream& out, int row, std::string_view stroke, std::string_view dash,
                      double width, std::string_view text) {
  writeLegendRow(out, LEGEND_LEFT, LEGEND_TOP + row * LEGEND_LINE_HEIGHT, LEGEND_SAMPLE_LENGTH,
                 stroke, dash, width, text);
}

// The band as one filled polygon: its upper edge left to right, then its lower edge back.
void writeSpread(std::ostream& out, const Axes& axes, const ReturnLossBand& band) {
  std::string points;
  const std::size_t count = band.frequencyMHz.size();
  for (std::size_t i = 0; i < 2 * count; ++i) {
    const std::size_t at = i < count ? i : 2 * count - 1 - i;
    const double level = i < count ? band.upperDb[at] : band.lowerDb[at];
    if (i > 0) {
      points += ' ';
    }
    points += coordinate(axes.x(band.frequencyMHz[at]));
    points += ',';
    points += coordinate(axes.y(level));
  }
  writeLine(out, "<polygon fill=\"" + std::string(SPREAD_FILL) + "\" fill-opacity=\"" +
                     std::string(SPREAD_OPACITY) + "\" stroke=\"none\" points=\"" + points +
                     "\"/>");
}

}  // namespace

PlotLevels reportedLevels(const ReportedDesign& design) {
  return {"Reported over the band:", design.rhoMin, design.rhoMax};
}

std::string renderResponsePlot(const ReportedDesign& design, const std::vector<PlotCurve>& curves,
                               const FileOrigin& origin, const PlotBand& band,
                               const std::optional<PlotLevels>& levels) {
  const PlotLevels shown = levels.value_or(reportedLevels(design));
  std::vector<std::vector<double>> curvesDb;
  for (const PlotCurve& curve : curves) {
    std::vector<double>& curveDb = curvesDb.emplace_back();
    curveDb.reserve(curve.response.reflection.size());
    for (const std::complex<double>& s11 : curve.response.reflection) {
      curveDb.push_back(returnLossDb(std::abs(s11)));
    }
  }
  const FrequencyResponse& sweep = curves.front().response;
  const double worstDb = returnLossDb(shown.rhoMax);
  const double bestDb = returnLossDb(shown.rhoMin);
  const Axes axes{sweep.frequencyMHz.front(), sweep.frequencyMHz.back(),
                  axisBottom(worstDb, bestDb, curvesDb)};
  const std::string title = "Return loss of the matching network: " + designSummary(design);
  std::string subtitle = "from " + std::string(origin.reportName) + ", " +
                         formatInteger(static_cast<long long>(sweep.frequencyMHz.size())) +
                         " points, by " + programWithVersion(origin.program);
  if (!origin.loadName.empty()) {
    subtitle += "; measured load " + std::string(origin.loadName);
  }

  std::ostringstream out;
  writeSvgOpening(out, FIGURE_WIDTH, FIGURE_HEIGHT, title);
  writeLabel(out, FIGURE_WIDTH / 2.0, 32.0, "middle", title,
             " font-size=\"17\" font-weight=\"bold\"");
  writeLabel(out, FIGURE_WIDTH / 2.0, 56.0, "middle", subtitle, " fill=\"#444444\"");

  // The band, shaded and bounded by its edges.
  const double bandLeft = axes.x(design.f1);
  const double bandRight = axes.x(design.f2);
  writeLine(out, "<rect x=\"" + coordinate(bandLeft) + "\" y=\"" + coordinate(PLOT_TOP) +
                     "\" width=\"" + coordinate(bandRight - bandLeft) + "\" height=\"" +
                     coordinate(PLOT_BOTTOM - PLOT_TOP) + "\" fill=\"" + std::string(BAND_FILL) +
                     "\"/>");
  writeFrequencyAxis(out, axes);
  writeDecibelAxis(out, axes);
  const std::string edgeStyle = " stroke-width=\"1.5\" stroke-dasharray=\"6 4\"";
  writeSegment(out, bandLeft, PLOT_TOP, bandLeft, PLOT_BOTTOM, EDGE_COLOUR, edgeStyle);
  writeSegment(out, bandRight, PLOT_TOP, bandRight, PLOT_BOTTOM, EDGE_COLOUR, edgeStyle);
  // Inside the band, so the labels stay in the figure whatever the span.
  writeLabel(out, bandLeft + 4.0, PLOT_TOP + 16.0, "start", "f1", " fill=\"#333333\"");
  writeLabel(out, bandRight - 4.0, PLOT_TOP + 16.0, "end", "f2", " fill=\"#333333\"");

  const std::string levelStyle = " stroke-width=\"1.5\" stroke-dasharray=\"10 5\"";
  if (std::isfinite(worstDb)) {
    writeSegment(out, PLOT_LEFT, axes.y(worstDb), PLOT_RIGHT, axes.y(worstDb), WORST_COLOUR,
                 levelStyle);
  }
  if (std::isfinite(bestDb)) {
    writeSegment(out, PLOT_LEFT, axes.y(bestDb), PLOT_RIGHT, axes.y(bestDb), BEST_COLOUR,
                 levelStyle);
  }

  if (band.band != nullptr) {
    writeSpread(out, axes, *band.band);
  }
  for (std::size_t c = 0; c < curves.size(); ++c) {
    const CurveStyle& style = CURVE_STYLES[c % std::size(CURVE_STYLES)];
    const std::vector<double>& curveDb = curvesDb[c];
    const FrequencyResponse& response = curves[c].response;
    std::string points;
    points.reserve(response.frequencyMHz.size() * 16);
    for (std::size_t i = 0; i < curveDb.size(); ++i) {
      if (i > 0) {
        points += ' ';
      }
      points += coordinate(axes.x(response.frequencyMHz[i])) + "," + coordinate(axes.y(curveDb[i]));
    }
    const std::string dash =
        style.dash.empty() ? "" : " stroke-dasharray=\"" + std::string(style.dash) + "\"";
    writeLine(out, "<polyline fill=\"none\" stroke=\"" + std::string(style.colour) +
                       "\" stroke-width=\"2\"" + dash + " stroke-linejoin=\"round\" points=\"" +
                       points + "\"/>");
  }
  writeLine(out, "<rect x=\"" + coordinate(PLOT_LEFT) + "\" y=\"" + coordinate(PLOT_TOP) +
                     "\" width=\"" + coordinate(PLOT_RIGHT - PLOT_LEFT) + "\" height=\"" +
                     coordinate(PLOT_BOTTOM - PLOT_TOP) + "\" fill=\"none\" stroke=\"black\"/>");

  // A lone curve is the return loss itself; several are told apart by their labels.
  int row = 0;
  for (std::size_t c = 0; c < curves.size(); ++c, ++row) {
    const CurveStyle& style = CURVE_STYLES[c % std::size(CURVE_STYLES)];
    writeLegendEntry(out, row, style.colour, style.dash, 2.0,
                     curves.size() == 1 ? "Return loss, 20 log10 |S11|" : curves[c].label);
  }
  if (band.band != nullptr) {
    writeLegendEntry(out, row++, SPREAD_ON_WHITE, {}, 10.0, band.label);
  }
  writeLegendEntry(out, row, EDGE_COLOUR, "6 4", 1.5, "Band edges f1, f2");
  row += 2;
  writeLegendEntry(out, row++, {}, {}, 0.0, shown.heading);
  if (std::isfinite(worstDb)) {
    writeLegendEntry(out, row++, WORST_COLOUR, "10 5", 1.5,
                     "Worst: " + formatFixed(worstDb, DECIBEL_DIGITS) + " dB");
  } else {
    writeLegendEntry(out, row++, {}, {}, 0.0, "Worst: no reflection");
  }
  if (std::isfinite(bestDb)) {
    writeLegendEntry(out, row++, BEST_COLOUR, "10 5", 1.5,
                     "Best: " + formatFixed(bestDb, DECIBEL_DIGITS) + " dB");
  } else {
    writeLegendEntry(out, row++, {}, {}, 0.0, "Best: no reflection");
  }
  ++row;
  writeLegendEntry(out, row++, {}, {}, 0.0,
                   "f1 = " + formatFixed(design.f1, figure_digits::FREQUENCY_MHZ) + " MHz");
  writeLegendEntry(out, row++, {}, {}, 0.0,
                   "f2 = " + formatFixed(design.f2, figure_digits::FREQUENCY_MHZ) + " MHz");
  writeLegendEntry(out, row++, {}, {}, 0.0,
                   "|S11| max = " + formatFixed(shown.rhoMax, figure_digits::REFLECTION));
  writeLegendEntry(out, row, {}, {}, 0.0,
                   "|S11| min = " + formatFixed(shown.rhoMin, figure_digits::REFLECTION));
  writeLine(out, "</svg>");
  return out.str();
}

}  // namespace bandmatch
