#include "formats/two_port_touchstone.hpp"

#include <numbers>
#include <sstream>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/text_sink.hpp"
#include "core/version.hpp"

namespace bandmatch {

namespace {

constexpr double DEGREES_PER_RADIAN = 180.0 / std::numbers::pi;

// Built by appending: a literal joined to a temporary string with operator+ trips a false
// -Wrestrict alarm in GCC 12.
std::string magnitudeAndAngle(std::complex<double> value) {
  std::string text(" ");
  text += formatFullPrecision(std::abs(value));
  text += ' ';
  text += formatFullPrecision(std::arg(value) * DEGREES_PER_RADIAN);
  return text;
}

void writeHeader(std::ostream& out, const MatchedCascade& cascade, std::string_view what,
                 std::string_view program) {
  writeLine(out, "! " + programWithVersion(program) + ": " + std::string(what) +
                     " of the matching network " + printableText(cascadeSummary(cascade)));
}

bool sourceIsReference(const CascadeEnd& source, double referenceOhms) {
  return source.end.kind == EndKind::resistance && source.end.resistance == referenceOhms;
}

}  // namespace

double touchstoneReference(const CascadeEnd& source) {
  return source.end.kind == EndKind::resistance ? source.end.resistance : DEFAULT_REFERENCE_OHMS;
}

SParameters scatteringParameters(const ChainMatrix& chain, double referenceOhms) {
  const std::complex<double> b = chain.b / referenceOhms;
  const std::complex<double> c = chain.c * referenceOhms;
  const std::complex<double> denominator = chain.a + b + c + chain.d;
  const std::complex<double> determinant = chain.a * chain.d - chain.b * chain.c;
  return {(chain.a + b - c - chain.d) / denominator, 2.0 / denominator,
          2.0 * determinant / denominator, (-chain.a + b - c + chain.d) / denominator};
}

std::string renderTwoPortTouchstone(const MatchedCascade& cascade, const Sweep& sweep,
                                    double referenceOhms, std::string_view program) {
  std::ostringstream out;
  writeHeader(out, cascade, "two-port S parameters", program);
  writeLine(out, "! Port 1 faces the source, port 2 the load; both referenced to " +
                     formatPlainDecimal(referenceOhms, 10) + " ohms.");
  writeLine(out, "# MHZ S MA R " + formatFullPrecision(referenceOhms));
  writeLine(out, "! frequency (MHz)  |S11| angle  |S21| angle  |S12| angle  |S22| angle (degrees)");
  for (int i = 0; i < sweep.points; ++i) {
    const double f = sweepFrequency(sweep, i);
    const SParameters s = scatteringParameters(cascadeMatrix(cascade.network, f), referenceOhms);
    writeLine(out, formatFullPrecision(f) + magnitudeAndAngle(s.s11) + magnitudeAndAngle(s.s21) +
                       magnitudeAndAngle(s.s12) + magnitudeAndAngle(s.s22));
  }
  return out.str();
}

std::string renderSourceSideTouchstone(const MatchedCascade& cascade, const Sweep& sweep,
                                       double referenceOhms, std::string_view program) {
  std::ostringstream out;
  writeHeader(out, cascade, "input reflection", program);
  writeLine(out, "! Seen from the source with the load " + printableText(cascade.load.name) +
                     " attached, referenced to " + formatPlainDecimal(referenceOhms, 10) +
                     " ohms.");
  if (!sourceIsReference(cascade.source, referenceOhms)) {
    writeLine(out, "! The source " + printableText(cascade.source.name) +
                       " is not that resistance: S11 gives the input impedance exactly, but it is");
    writeLine(out, "! not the power-wave reflection towards the source, (Zin - conj(Zs)) / (Zin + Zs).");
  }
  writeLine(out, "# MHZ S MA R " + formatFullPrecision(referenceOhms));
  writeLine(out, "! frequency (MHz)  |S11|  angle of S11 (degrees)");
  for (int i = 0; i < sweep.points; ++i) {
    const double f = sweepFrequency(sweep, i);
    const std::complex<double> input =
        cascadeInputImpedance(cascadeMatrix(cascade.network, f), cascade.load.impedanceAt(f));
    writeLine(out, formatFullPrecision(f) +
                       magnitudeAndAngle((input - referenceOhms) / (input + referenceOhms)));
  }
  return out.str();
}

}  // namespace bandmatch
