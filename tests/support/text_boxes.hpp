// The room each <text> of an SVG drawing takes, read from the SVG text alone, and the check that
// no two labels overlap and all stay inside the drawing.
#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace bandmatch::support {

struct TextBox {
  double left, right, top, bottom;
  std::string text;
};

// Every <text> with an explicit font size as the box its characters take: 0.65 em a character
// (UTF-8 sequences once), from 0.8 em above the baseline to 0.25 em below.
inline std::vector<TextBox> textBoxes(const std::string& svg) {
  static const std::regex text(
      R"re(<text x="([-0-9.]+)" y="([-0-9.]+)" text-anchor="(\w+)" font-size="([0-9.]+)"[^>]*>([^<]*)</text>)re");
  std::vector<TextBox> boxes;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
       ++it) {
    const std::smatch& match = *it;
    const double x = std::stod(match[1]);
    const double y = std::stod(match[2]);
    const double size = std::stod(match[4]);
    const std::string content = match[5];
    std::size_t characters = 0;
    for (const char c : content) {
      characters += (static_cast<unsigned char>(c) & 0xc0) != 0x80 ? 1 : 0;
    }
    const double width = 0.65 * size * static_cast<double>(characters);
    const double left = match[3] == "start" ? x : (match[3] == "end" ? x - width : x - width / 2.0);
    boxes.push_back({left, left + width, y - 0.8 * size, y + 0.25 * size, content});
  }
  return boxes;
}

// The value of a numeric attribute of the document's first element that has it.
inline double svgSize(const std::string& svg, const std::string& attribute) {
  const std::size_t at = svg.find(attribute + "=\"");
  return std::stod(svg.substr(at + attribute.size() + 2));
}

// Expects every label inside the drawing and no two of them overlapping; gives the labels.
inline std::vector<TextBox> expectLabelsApartAndInside(const std::string& svg) {
  const std::vector<TextBox> boxes = textBoxes(svg);
  const double width = svgSize(svg, "width");
  const double height = svgSize(svg, "height");
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const TextBox& a = boxes[i];
    EXPECT_TRUE(a.left >= 0.0 && a.right <= width && a.top >= 0.0 && a.bottom <= height) << a.text;
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const TextBox& b = boxes[j];
      const bool apart =
          a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
      EXPECT_TRUE(apart) << '"' << a.text << "\" overlaps \"" << b.text << '"';
    }
  }
  return boxes;
}

}  // namespace bandmatch::support
