#include "drawing/svg_text.hpp"

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"

namespace bandmatch {

namespace {

constexpr int COORDINATE_DIGITS = 2;
constexpr int PRECISE_COORDINATE_DIGITS = 7;

}  // namespace

std::string escapeXml(std::string_view raw) {
  // printableText leaves well-formed UTF-8 without control characters.
  std::string escaped;
  for (const char c : printableText(raw)) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string coordinate(double value) {
  return formatFixed(value, COORDINATE_DIGITS);
}

std::string preciseCoordinate(double value) {
  return formatFixed(value, PRECISE_COORDINATE_DIGITS);
}

void writeLabel(std::ostream& out, double x, double y, std::string_view anchor,
                std::string_view text, std::string_view extra) {
  writeLine(out, "<text x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) + "\" text-anchor=\"" +
                     std::string(anchor) + "\"" + std::string(extra) + ">" + escapeXml(text) +
                     "</text>");
}

void writeSegment(std::ostream& out, double x1, double y1, double x2, double y2,
                  std::string_view stroke, std::string_view extra) {
  writeLine(out, "<line x1=\"" + coordinate(x1) + "\" y1=\"" + coordinate(y1) + "\" x2=\"" +
                     coordinate(x2) + "\" y2=\"" + coordinate(y2) + "\" stroke=\"" +
                     std::string(stroke) + "\"" + std::string(extra) + "/>");
}

void writeLegendRow(std::ostream& out, double left, double y, double sampleLength,
                    std::string_view stroke, std::string_view dash, double width,
                    std::string_view text) {
  if (!stroke.empty()) {
    std::string extra = " stroke-width=\"" + coordinate(width) + "\"";
    if (!dash.empty()) {
      extra += " stroke-dasharray=\"" + std::string(dash) + "\"";
    }
    writeSegment(out, left, y - 4.5, left + sampleLength, y - 4.5, stroke, extra);
  }
  writeLabel(out, left + sampleLength + 8.0, y, "start", text);
}

void writeSvgOpening(std::ostream& out, double width, double height, std::string_view title) {
  writeLine(out, R"(<?xml version="1.0" encoding="UTF-8"?>)");
  writeLine(out, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + formatFixed(width, 0) +
                     "\" height=\"" + formatFixed(height, 0) + "\" viewBox=\"0 0 " +
                     formatFixed(width, 0) + " " + formatFixed(height, 0) +
                     "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" "
                     "font-size=\"13\">");
  writeLine(out, "<title>" + escapeXml(title) + "</title>");
  writeLine(out, R"(<rect width="100%" height="100%" fill="white"/>)");
}

}  // namespace bandmatch
