// The room each <text> of an SVG drawing takes, read from the SVG text alone, for the tests that
// no two labels overlap and all stay inside the drawing.
#pragma once

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

}  // namespace bandmatch::support
