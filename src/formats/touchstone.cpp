#include "formats/touchstone.hpp"

#include <cmath>
#include <numbers>
#include <sstream>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"

namespace bandmatch {

std::string renderTouchstone(const ReportedDesign& design, const LadderNetwork& network,
                             const FrequencyResponse& response, const FileOrigin& origin) {
  const double degreesPerRadian = 180.0 / std::numbers::pi;
  std::ostringstream out;
  writeLine(out, "! " + programWithVersion(origin.program) +
                     ": input reflection of the matching network of " +
                     printableText(origin.reportName));
  writeLine(out, "! " + designSummary(design));
  if (!origin.network.empty()) {
    writeLine(out, "! Built with " + std::string(origin.network) + ".");
  }
  writeLine(out, "! Seen from the source and referenced to the source resistance.");
  if (!origin.loadName.empty()) {
    writeLine(out, "! Position 1 is the measured load " + printableText(origin.loadName) +
                       " with its retuning element, not the model load.");
  }
  writeLine(out, "# MHZ S MA R " + formatFullPrecision(network.sourceResistance));
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
