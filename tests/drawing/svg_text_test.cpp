// The pieces every drawing is written with, written out by hand: escaped text, coordinates to two
// decimals, labels, lines, legend rows and the document's opening.
#include "drawing/svg_text.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

namespace bandmatch {
namespace {

TEST(SvgText, EscapesMarkupAndShowsOtherBytesAsQuestionMarks) {
  const struct {
    std::string_view raw;
    std::string escaped;
  } cases[] = {
      {"a&b<c>.csv", "a&amp;b&lt;c&gt;.csv"},
      {"say \"it's\"", "say &quot;it&apos;s&quot;"},
      {"caf\xc3\xa9 \xb5H", "caf\xc3\xa9 ?H"},  // UTF-8 kept; a lone Latin-1 byte is not
      {"line\nend\t", "line?end?"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(escapeXml(c.raw), c.escaped) << c.raw;
  }
}

TEST(SvgText, WritesElementsWithTwoDecimalCoordinates) {
  EXPECT_EQ(coordinate(1.005), "1.00");  // 1.005 is 1.00499999999999989... in binary
  EXPECT_EQ(coordinate(-3.0), "-3.00");
  EXPECT_EQ(preciseCoordinate(0.123456789), "0.1234568");
  std::ostringstream out;
  writeLabel(out, 10.0, 20.5, "middle", "R & L", " font-size=\"11\"");
  writeSegment(out, 0.0, 1.0, 2.0, 3.456, "#000");
  writeLegendRow(out, 100.0, 50.0, 20.0, "#c0392b", "6 3", 2.0, "Worst");
  writeLegendRow(out, 100.0, 70.0, 20.0, "", "", 0.0, "no sample");
  EXPECT_EQ(out.str(),
            "<text x=\"10.00\" y=\"20.50\" text-anchor=\"middle\" font-size=\"11\">R &amp; "
            "L</text>\n"
            "<line x1=\"0.00\" y1=\"1.00\" x2=\"2.00\" y2=\"3.46\" stroke=\"#000\"/>\n"
            "<line x1=\"100.00\" y1=\"45.50\" x2=\"120.00\" y2=\"45.50\" stroke=\"#c0392b\" "
            "stroke-width=\"2.00\" stroke-dasharray=\"6 3\"/>\n"
            "<text x=\"128.00\" y=\"50.00\" text-anchor=\"start\">Worst</text>\n"
            "<text x=\"128.00\" y=\"70.00\" text-anchor=\"start\">no sample</text>\n");
}

TEST(SvgText, OpensTheDocumentWithItsSizeTitleAndBackground) {
  std::ostringstream out;
  writeSvgOpening(out, 800.0, 600.0, "Plot of <a>");
  EXPECT_EQ(out.str(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" height=\"600\" "
            "viewBox=\"0 0 800 600\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" "
            "font-size=\"13\">\n"
            "<title>Plot of &lt;a&gt;</title>\n"
            "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n");
}

}  // namespace
}  // namespace bandmatch
