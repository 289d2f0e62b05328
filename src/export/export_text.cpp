#include "export/export_text.hpp"

#include "report/number_format.hpp"

namespace bandmatch {

namespace {

// Scientific notation with 16 digits after the point holds 17 significant digits.
constexpr int FULL_PRECISION_DIGITS = 16;
// Band edges as the reports show them.
constexpr int BAND_EDGE_DIGITS = 6;

}  // namespace

std::string formatFullPrecision(double value) {
  return formatScientific(value, FULL_PRECISION_DIGITS);
}

std::string designSummary(const ReportedDesign& design) {
  return "N = " + formatInteger(design.N) + ", band " + formatFixed(design.f1, BAND_EDGE_DIGITS) +
         " to " + formatFixed(design.f2, BAND_EDGE_DIGITS) + " MHz, " +
         std::string(loadTypeName(design.loadType));
}

std::string printableText(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7f) {
      c = '?';
    }
  }
  return printable;
}

// Built piece by piece: the one-expression form trips a false -Wrestrict alarm in GCC 12.
std::string quoted(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  result += '"';
  result += text;
  result += '"';
  return result;
}

}  // namespace bandmatch
