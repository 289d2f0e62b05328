#include "export/touchstone.hpp"

#include <cmath>
#include <sstream>

#include "export/export_options.hpp"
#include "export/export_text.hpp"
#include "report/text_sink.hpp"

namespace bandmatch {

std::string renderTouchstone(const ReportedDesign& design, const FrequencyResponse& response,
                             std::string_view reportName) {
  const double degreesPerRadian = 180.0 / std::acos(-1.0);
  std::ostringstream out;
  writeLine(out, "! " + std::string(EXPORT_PROGRAM_NAME) + " " + std::string(EXPORT_VERSION) +
                     ": input reflection of the matching network of " + printableText(reportName));
  writeLine(out, "! " + designSummary(design));
  writeLine(out, "! Seen from the source and referenced to the source resistance.");
  writeLine(out, "# MHZ S MA R " + formatFullPrecision(design.ladder.sourceResistance));
  writeLine(out, "! frequency (MHz)  |S11|  angle of S11 (degrees)");
  for (std::size_t i = 0; i < response.frequencyMHz.size(); ++i) {
    const std::complex<double> s11 = response.reflection[i];
    writeLine(out, formatFullPrecision(response.frequencyMHz[i]) + " " +
                       formatFullPrecision(std::abs(s11)) + " " +
                       formatFullPrecision(std::arg(s11) * degreesPerRadian));
  }
  return out.str();
}

}  // namespace bandmatch
