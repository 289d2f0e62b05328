#include "drawing/response_plot.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/figure_digits.hpp"
#include "drawing/plot_axes.hpp"
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
constexpr int DECIBEL_DIGITS = 2;

constexpr double MIN_DECIBEL_MARGIN = 1.0;

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
constexpr std::string_view SPREAD_FILL = "#8fb0e6";
constexpr std::string_view SPREAD_OPACITY = "0.45";
constexpr std::string_view SPREAD_ON_WHITE = "#ccdbf4";  // the fill as it shows over white

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
  return decibelAxisBottom(deepest, MIN_DECIBEL_MARGIN);
}

void writeLegendEntry(std::ostream& out, int row, std::string_view stroke, std::string_view dash,
                      double width, std::string_view text) {
  writeLegendRow(out, LEGEND_LEFT, LEGEND_TOP + row * LEGEND_LINE_HEIGHT, LEGEND_SAMPLE_LENGTH,
                 stroke, dash, width, text);
}

// The band as one filled polygon: its upper edge left to right, then its lower edge back.
void writeSpread(std::ostream& out, const DecibelAxes& axes, const ReturnLossBand& band) {
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
  const DecibelAxes axes{{PLOT_LEFT, PLOT_RIGHT, PLOT_TOP, PLOT_BOTTOM},
                         sweep.frequencyMHz.front(),
                         sweep.frequencyMHz.back(),
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
  writeDecibelAxis(out, axes, "Return loss (dB)");
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
