#include "drawing/gain_plot.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string_view>

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "drawing/plot_axes.hpp"
#include "drawing/svg_text.hpp"
#include "network/worst_case_judge.hpp"

namespace bandmatch {

namespace {

// Figure layout in SVG user units: the gain panel above the return loss panel, the legend
// right of both.
constexpr double FIGURE_WIDTH = 1040.0;
constexpr double FIGURE_HEIGHT = 760.0;
constexpr PlotArea GAIN_AREA{90.0, 740.0, 90.0, 330.0};
constexpr PlotArea RETURN_LOSS_AREA{90.0, 740.0, 420.0, 660.0};
constexpr double LEGEND_LEFT = 765.0;
constexpr double LEGEND_TOP = 110.0;
constexpr double LEGEND_LINE_HEIGHT = 22.0;
constexpr double LEGEND_SAMPLE_LENGTH = 32.0;
constexpr double MIN_DECIBEL_MARGIN = 1.0;

constexpr std::string_view GAIN_COLOUR = "#1f4fbf";
constexpr std::string_view RETURN_LOSS_COLOUR = "#d35400";
constexpr std::string_view BAND_FILL = "#e8f0fb";
constexpr std::string_view EDGE_COLOUR = "#555555";
constexpr std::string_view LEVEL_DASH = "10 5";
constexpr std::string_view EDGE_DASH = "6 4";

double decibels(double powerRatio) {
  return 10.0 * std::log10(powerRatio);
}

std::string gainText(double powerRatio) {
  return formatFixed(decibels(powerRatio), figure_digits::GAIN_DB) + " dB";
}

std::string returnLossText(double reflection) {
  return formatFixed(2.0 * decibels(reflection), figure_digits::RETURN_LOSS_DB) + " dB";
}

void writeArea(std::ostream& out, const PlotArea& area, std::string_view extra) {
  writeLine(out, "<rect x=\"" + coordinate(area.left) + "\" y=\"" + coordinate(area.top) +
                     "\" width=\"" + coordinate(area.right - area.left) + "\" height=\"" +
                     coordinate(area.bottom - area.top) + "\" " + std::string(extra) + "/>");
}

// The band shaded and bounded by its dashed edges.
void writeBand(std::ostream& out, const DecibelAxes& axes, double f1, double f2) {
  const double left = axes.x(f1);
  const double right = axes.x(f2);
  writeArea(out, {left, right, axes.area.top, axes.area.bottom},
            "fill=\"" + std::string(BAND_FILL) + "\"");
}

void writeEdges(std::ostream& out, const DecibelAxes& axes, double f1, double f2) {
  const std::string style =
      " stroke-width=\"1.5\" stroke-dasharray=\"" + std::string(EDGE_DASH) + "\"";
  for (const double f : {f1, f2}) {
    writeSegment(out, axes.x(f), axes.area.top, axes.x(f), axes.area.bottom, EDGE_COLOUR, style);
  }
}

void writeCurve(std::ostream& out, const DecibelAxes& axes, std::string_view id,
                std::string_view colour, const std::vector<double>& frequencyMHz,
                const std::vector<double>& valuesDb) {
  std::string points;
  points.reserve(frequencyMHz.size() * 16);
  for (std::size_t i = 0; i < valuesDb.size(); ++i) {
    if (i > 0) {
      points += ' ';
    }
    points += coordinate(axes.x(frequencyMHz[i])) + "," + coordinate(axes.y(valuesDb[i]));
  }
  writeLine(out, "<polyline id=\"" + std::string(id) + "\" fill=\"none\" stroke=\"" +
                     std::string(colour) +
                     "\" stroke-width=\"2\" stroke-linejoin=\"round\" points=\"" + points + "\"/>");
}

// A judged worst level across the panel in the curve's colour, its label at the right end,
// above the line or, near the panel's top, below it.
void writeLevel(std::ostream& out, const DecibelAxes& axes, double levelDb,
                std::string_view colour, const std::string& text) {
  const double y = axes.y(levelDb);
  writeSegment(out, axes.area.left, y, axes.area.right, y, colour,
               " stroke-width=\"1.5\" stroke-dasharray=\"" + std::string(LEVEL_DASH) + "\"");
  const double baseline = y - 6.0 < axes.area.top + 16.0 ? y + 17.0 : y - 6.0;
  writeLabel(out, axes.area.right - 6.0, baseline, "end", text,
             " fill=\"" + std::string(colour) + "\"");
}

// The deepest finite value of a curve inside the band, or 0 dB.
double deepestInBand(const std::vector<double>& frequencyMHz, const std::vector<double>& valuesDb,
                     double f1, double f2) {
  double deepest = 0.0;
  for (std::size_t i = 0; i < valuesDb.size(); ++i) {
    if (frequencyMHz[i] >= f1 && frequencyMHz[i] <= f2 && std::isfinite(valuesDb[i])) {
      deepest = std::min(deepest, valuesDb[i]);
    }
  }
  return deepest;
}

}  // namespace

std::string renderGainPlot(const GainPlot& plot) {
  std::vector<double> gainDb;
  std::vector<double> returnLossDb;
  for (std::size_t i = 0; i < plot.frequencyMHz.size(); ++i) {
    gainDb.push_back(decibels(plot.transducerGain[i]));
    returnLossDb.push_back(2.0 * decibels(plot.reflection[i]));
  }
  const double lower = plot.frequencyMHz.front();
  const double upper = plot.frequencyMHz.back();
  const double worstGainDb = decibels(plot.worstGain);
  const double worstReturnLossDb = 2.0 * decibels(plot.worstReflection);
  const DecibelAxes gainAxes{
      GAIN_AREA, lower, upper,
      decibelAxisBottom(std::isfinite(worstGainDb) ? worstGainDb : 0.0, MIN_DECIBEL_MARGIN)};
  const DecibelAxes lossAxes{
      RETURN_LOSS_AREA, lower, upper,
      decibelAxisBottom(std::min(std::isfinite(worstReturnLossDb) ? worstReturnLossDb : 0.0,
                                 deepestInBand(plot.frequencyMHz, returnLossDb, plot.f1, plot.f2)),
                        MIN_DECIBEL_MARGIN)};

  std::ostringstream out;
  writeSvgOpening(out, FIGURE_WIDTH, FIGURE_HEIGHT, plot.title);
  writeLabel(out, FIGURE_WIDTH / 2.0, 32.0, "middle", plot.title,
             " font-size=\"17\" font-weight=\"bold\"");
  writeLabel(out, FIGURE_WIDTH / 2.0, 56.0, "middle", plot.subtitle, " fill=\"#444444\"");

  const struct Panel {
    const DecibelAxes& axes;
    std::string_view axisTitle;
    std::string_view id;
    std::string_view colour;
    const std::vector<double>& valuesDb;
    double levelDb;
    std::string levelText;
  } panels[] = {
      {gainAxes, "Transducer gain (dB)", "gain", GAIN_COLOUR, gainDb, worstGainDb,
       "worst in band " + gainText(plot.worstGain)},
      {lossAxes, "Return loss (dB)", "return-loss", RETURN_LOSS_COLOUR, returnLossDb,
       worstReturnLossDb,
       "worst in band " + returnLossText(plot.worstReflection) + ", |\xce\x93| " +
           formatFixed(plot.worstReflection, figure_digits::REFLECTION)},
  };
  for (const Panel& panel : panels) {
    writeBand(out, panel.axes, plot.f1, plot.f2);
    writeFrequencyAxis(out, panel.axes, &panel.axes == &lossAxes);
    writeDecibelAxis(out, panel.axes, panel.axisTitle);
    writeEdges(out, panel.axes, plot.f1, plot.f2);
    if (std::isfinite(panel.levelDb)) {
      writeLevel(out, panel.axes, panel.levelDb, panel.colour, panel.levelText);
    }
    writeCurve(out, panel.axes, panel.id, panel.colour, plot.frequencyMHz, panel.valuesDb);
    writeArea(out, panel.axes.area, "fill=\"none\" stroke=\"black\"");
  }
  // Inside the gain panel's foot, where the gain curve is rarely found within the band.
  writeLabel(out, gainAxes.x(plot.f1) + 4.0, GAIN_AREA.bottom - 8.0, "start", "f1",
             " fill=\"#333333\"");
  writeLabel(out, gainAxes.x(plot.f2) - 4.0, GAIN_AREA.bottom - 8.0, "end", "f2",
             " fill=\"#333333\"");

  const auto legend = [&](int row, std::string_view stroke, std::string_view dash, double width,
                          std::string_view text) {
    writeLegendRow(out, LEGEND_LEFT, LEGEND_TOP + row * LEGEND_LINE_HEIGHT, LEGEND_SAMPLE_LENGTH,
                   stroke, dash, width, text);
  };
  legend(0, GAIN_COLOUR, {}, 2.0, "Transducer gain");
  legend(1, GAIN_COLOUR, LEVEL_DASH, 1.5, "Worst: " + gainText(plot.worstGain));
  legend(3, RETURN_LOSS_COLOUR, {}, 2.0, "Return loss, 20 log10 |\xce\x93|");
  legend(4, RETURN_LOSS_COLOUR, LEVEL_DASH, 1.5, "Worst: " + returnLossText(plot.worstReflection));
  legend(5, {}, {}, 0.0,
         "|\xce\x93| max = " + formatFixed(plot.worstReflection, figure_digits::REFLECTION));
  legend(6, {}, {}, 0.0,
         "SWR max = " + formatFixed(standingWaveRatio(plot.worstReflection), figure_digits::SWR));
  legend(8, EDGE_COLOUR, EDGE_DASH, 1.5, "Band edges f1, f2");
  legend(9, {}, {}, 0.0, "f1 = " + formatFixed(plot.f1, figure_digits::FREQUENCY_MHZ) + " MHz");
  legend(10, {}, {}, 0.0, "f2 = " + formatFixed(plot.f2, figure_digits::FREQUENCY_MHZ) + " MHz");
  writeLine(out, "</svg>");
  return out.str();
}

}  // namespace bandmatch
