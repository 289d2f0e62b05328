#include "drawing/smith_chart.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/figure_digits.hpp"
#include "drawing/svg_text.hpp"

namespace bandmatch {

namespace {

constexpr double FIGURE_WIDTH = 1000.0;
constexpr double FIGURE_HEIGHT = 780.0;
constexpr double LEGEND_LEFT = 745.0;
constexpr double LEGEND_TOP = 130.0;
constexpr double LEGEND_LINE_HEIGHT = 22.0;
constexpr double LEGEND_SAMPLE_LENGTH = 32.0;
constexpr double LABEL_OFFSET = 16.0;  // of the reactance labels outside the unit circle
constexpr double MARK_RADIUS = 4.5;
constexpr double SWEEP_WIDTH = 1.3;
constexpr double BAND_WIDTH = 3.5;
constexpr int GRID_DIGITS = 2;
constexpr int REFERENCE_DIGITS = 6;

// Normalised resistances of the circles and reactances of the arcs (either sign).
constexpr double GRID_VALUES[] = {0.2, 0.5, 1.0, 2.0, 5.0};
constexpr std::string_view GRID_COLOUR = "#c4c4c4";
constexpr std::string_view LABEL_COLOUR = "#666666";
constexpr std::string_view GOAL_COLOUR = "#c0392b";
constexpr std::string_view GOAL_DASH = "8 5";
constexpr std::string_view CURVE_COLOURS[] = {"#1f4fbf", "#d35400", "#1e8449"};
constexpr std::string_view MARK_NAMES[] = {"f1", "f0", "f2"};
// U+2212, the minus sign, and U+221E, infinity, in UTF-8.
constexpr std::string_view MINUS = "\xe2\x88\x92";
constexpr std::string_view INFINITY_SIGN = "\xe2\x88\x9e";

double chartX(std::complex<double> reflection) {
  return SMITH_CENTRE_X + SMITH_RADIUS * reflection.real();
}

double chartY(std::complex<double> reflection) {
  return SMITH_CENTRE_Y - SMITH_RADIUS * reflection.imag();
}

// A circle of the chart: centre as a reflection, radius in reflection units.
void writeCircle(std::ostream& out, std::complex<double> centre, double radius,
                 std::string_view stroke, std::string_view extra) {
  writeLine(out, "<circle cx=\"" + coordinate(chartX(centre)) + "\" cy=\"" +
                     coordinate(chartY(centre)) + "\" r=\"" + coordinate(SMITH_RADIUS * radius) +
                     "\" fill=\"none\" stroke=\"" + std::string(stroke) + "\"" +
                     std::string(extra) + "/>");
}

// The reflection of a normalised impedance.
std::complex<double> reflectionOf(std::complex<double> normalised) {
  return (normalised - 1.0) / (normalised + 1.0);
}

// The arc of constant reactance x inside the unit circle: from the open circuit (reflection 1)
// to the pure reactance jx on the rim, the shorter way round its circle of radius 1/|x|. On the
// drawing, whose y axis points down, it turns clockwise above the real axis.
void writeReactanceArc(std::ostream& out, double x) {
  const std::complex<double> rim = reflectionOf({0.0, x});
  const std::string radius = coordinate(SMITH_RADIUS / std::fabs(x));
  writeLine(out, "<path d=\"M " + coordinate(chartX(1.0)) + " " + coordinate(chartY(1.0)) + " A " +
                     radius + " " + radius + " 0 0 " + (x > 0.0 ? "1" : "0") + " " +
                     coordinate(chartX(rim)) + " " + coordinate(chartY(rim)) +
                     "\" fill=\"none\" stroke=\"" + std::string(GRID_COLOUR) + "\"/>");
}

void writeGrid(std::ostream& out) {
  const std::string label = " font-size=\"11\" fill=\"" + std::string(LABEL_COLOUR) + "\"";
  writeSegment(out, chartX(-1.0), SMITH_CENTRE_Y, chartX(1.0), SMITH_CENTRE_Y, GRID_COLOUR);
  for (const double value : GRID_VALUES) {
    writeCircle(out, {value / (1.0 + value), 0.0}, 1.0 / (1.0 + value), GRID_COLOUR, {});
    writeReactanceArc(out, value);
    writeReactanceArc(out, -value);
  }
  for (const double value : GRID_VALUES) {
    const std::string text = formatPlainDecimal(value, GRID_DIGITS);
    const std::complex<double> onAxis = reflectionOf(value);
    writeLabel(out, chartX(onAxis) + 3.0, SMITH_CENTRE_Y - 4.0, "start", text, label);
    for (const double sign : {1.0, -1.0}) {
      const double angle = std::arg(reflectionOf({0.0, sign * value}));
      writeLabel(out, SMITH_CENTRE_X + (SMITH_RADIUS + LABEL_OFFSET) * std::cos(angle),
                 SMITH_CENTRE_Y - (SMITH_RADIUS + LABEL_OFFSET) * std::sin(angle) + 4.0, "middle",
                 (sign > 0.0 ? std::string() : std::string(MINUS)) + "j" + text, label);
    }
  }
  writeLabel(out, chartX(-1.0) - 6.0, SMITH_CENTRE_Y + 4.0, "end", "0", label);
  writeLabel(out, chartX(1.0) + 6.0, SMITH_CENTRE_Y + 4.0, "start", INFINITY_SIGN, label);
  // The unit circle: no resistance, and the frame every reader of the points measures from.
  writeLine(out, "<circle id=\"unit-circle\" cx=\"" + coordinate(SMITH_CENTRE_X) + "\" cy=\"" +
                     coordinate(SMITH_CENTRE_Y) + "\" r=\"" + coordinate(SMITH_RADIUS) +
                     "\" fill=\"none\" stroke=\"black\" stroke-width=\"1.5\"/>");
}

std::string point(std::complex<double> reflection) {
  return preciseCoordinate(chartX(reflection)) + "," + preciseCoordinate(chartY(reflection));
}

void writePolyline(std::ostream& out, const std::string& id, const std::string& points,
                   std::string_view colour, double width) {
  writeLine(out, "<polyline id=\"" + id + "\" fill=\"none\" stroke=\"" + std::string(colour) +
                     "\" stroke-width=\"" + coordinate(width) +
                     "\" stroke-linejoin=\"round\" stroke-linecap=\"round\" points=\"" + points +
                     "\"/>");
}

void writeCurve(std::ostream& out, const SmithChart& chart, std::size_t number,
                std::string_view colour) {
  const SmithCurve& curve = chart.curves[number - 1];
  const std::size_t count = std::min(curve.reflection.size(), chart.frequencyMHz.size());
  std::string sweep;
  std::string band = point(curve.bandMarks[0]);
  sweep.reserve(count * 24);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string vertex = point(curve.reflection[i]);
    if (i > 0) {
      sweep += ' ';
    }
    sweep += vertex;
    const double frequency = chart.frequencyMHz[i];
    if (frequency > chart.f1 && frequency < chart.f2) {
      band += ' ';
      band += vertex;
    }
  }
  band += ' ';
  band += point(curve.bandMarks[2]);
  const std::string id = "curve" + formatInteger(static_cast<long long>(number));
  writePolyline(out, id + "-sweep", sweep, colour, SWEEP_WIDTH);
  writePolyline(out, id + "-band", band, colour, BAND_WIDTH);
  for (std::size_t m = 0; m < curve.bandMarks.size(); ++m) {
    const double x = chartX(curve.bandMarks[m]);
    const double y = chartY(curve.bandMarks[m]);
    writeLine(out, "<circle cx=\"" + coordinate(x) + "\" cy=\"" + coordinate(y) + "\" r=\"" +
                       coordinate(MARK_RADIUS) + "\" fill=\"white\" stroke=\"" +
                       std::string(colour) + "\" stroke-width=\"2\"/>");
    writeLabel(out, x + 7.0, y - 7.0, "start", MARK_NAMES[m],
               " font-size=\"12\" fill=\"" + std::string(colour) + "\"");
  }
}

}  // namespace

std::string smithChartTitle(const ReportedDesign& design) {
  return "Smith chart of the matching network: " + designSummary(design);
}

std::string smithChartSubtitle(const FileOrigin& origin, std::size_t points, double referenceOhms) {
  std::string subtitle = "from " + std::string(origin.reportName) + ", " +
                         formatInteger(static_cast<long long>(points)) + " points, by " +
                         programWithVersion(origin.program) + "; normalised to " +
                         formatPlainDecimal(referenceOhms, REFERENCE_DIGITS) + " ohms";
  if (!origin.loadName.empty()) {
    subtitle += "; measured load " + std::string(origin.loadName);
  }
  return subtitle;
}

std::string renderSmithChart(const SmithChart& chart) {
  std::ostringstream out;
  writeSvgOpening(out, FIGURE_WIDTH, FIGURE_HEIGHT, chart.title);
  writeLabel(out, FIGURE_WIDTH / 2.0, 32.0, "middle", chart.title,
             " font-size=\"17\" font-weight=\"bold\"");
  writeLabel(out, FIGURE_WIDTH / 2.0, 56.0, "middle", chart.subtitle, " fill=\"#444444\"");
  writeGrid(out);

  const double goalRadius = (chart.goalSwr - 1.0) / (chart.goalSwr + 1.0);
  const std::string goalStyle =
      " stroke-width=\"1.5\" stroke-dasharray=\"" + std::string(GOAL_DASH) + "\"";
  writeCircle(out, 0.0, goalRadius, GOAL_COLOUR, goalStyle);
  const std::string goalText = "SWR " + formatFixed(chart.goalSwr, figure_digits::GOAL_SWR);
  writeLabel(out, SMITH_CENTRE_X, SMITH_CENTRE_Y - SMITH_RADIUS * goalRadius - 5.0, "middle",
             goalText, " font-size=\"12\" fill=\"" + std::string(GOAL_COLOUR) + "\"");

  for (std::size_t c = 0; c < chart.curves.size(); ++c) {
    writeCurve(out, chart, c + 1, CURVE_COLOURS[c % std::size(CURVE_COLOURS)]);
  }

  double y = LEGEND_TOP;
  const auto row = [&](std::string_view stroke, std::string_view dash, double width,
                       std::string_view text) {
    writeLegendRow(out, LEGEND_LEFT, y, LEGEND_SAMPLE_LENGTH, stroke, dash, width, text);
    y += LEGEND_LINE_HEIGHT;
  };
  for (std::size_t c = 0; c < chart.curves.size(); ++c) {
    row(CURVE_COLOURS[c % std::size(CURVE_COLOURS)], {}, BAND_WIDTH, chart.curves[c].label);
  }
  row({}, {}, 0.0, "heavy inside the band f1 to f2");
  row(GOAL_COLOUR, GOAL_DASH, 1.5, goalText + ", the goal");
  y += LEGEND_LINE_HEIGHT;
  row({}, {}, 0.0, "f1 = " + formatFixed(chart.f1, figure_digits::FREQUENCY_MHZ) + " MHz");
  row({}, {}, 0.0,
      "f0 = " + formatFixed(std::sqrt(chart.f1 * chart.f2), figure_digits::FREQUENCY_MHZ) + " MHz");
  row({}, {}, 0.0, "f2 = " + formatFixed(chart.f2, figure_digits::FREQUENCY_MHZ) + " MHz");
  y += LEGEND_LINE_HEIGHT;
  row({}, {}, 0.0, "Circles: resistance r,");
  row({}, {}, 0.0, "arcs: reactance jx, both");
  row({}, {}, 0.0, "over " + formatPlainDecimal(chart.referenceOhms, REFERENCE_DIGITS) + " ohms");
  writeLine(out, "</svg>");
  return out.str();
}

}  // namespace bandmatch
