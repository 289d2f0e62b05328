// The pieces every SVG drawing of the exporter is written with: coordinates to two decimals,
// text escaped for XML in UTF-8, labels, lines and the document's opening.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace bandmatch {

// A coordinate in user units, two decimals.
std::string coordinate(double value);

// A coordinate in user units to seven decimals, for data points a reader may take back out of
// the drawing.
std::string preciseCoordinate(double value);

// Text for an XML document in UTF-8: markup characters escaped, and control characters and
// bytes that are not UTF-8 (a file name in another encoding) shown as '?'.
std::string escapeXml(std::string_view raw);

// One <text> element; `extra` holds further attributes, each with its leading blank.
void writeLabel(std::ostream& out, double x, double y, std::string_view anchor,
                std::string_view text, std::string_view extra = {});

// One <line> element.
void writeSegment(std::ostream& out, double x1, double y1, double x2, double y2,
                  std::string_view stroke, std::string_view extra = {});

// One row of a legend whose text starts `sampleLength` + 8 units right of `left` on the baseline
// y: a sample line of that stroke, dash and width before it, or no sample when the stroke is
// empty.
void writeLegendRow(std::ostream& out, double left, double y, double sampleLength,
                    std::string_view stroke, std::string_view dash, double width,
                    std::string_view text);

// The XML declaration, the <svg> element of that size with the drawings' font, its <title> and
// a white background.
void writeSvgOpening(std::ostream& out, double width, double height, std::string_view title);

}  // namespace bandmatch
