// Feeds arbitrary bytes to the Touchstone one-port reader, the parser of the measured load files
// the user hands bandmatch-fit and bandmatch-export, and checks what a reading promises: strictly
// increasing frequencies with a finite impedance each, or one line saying where the file is
// wrong. A load that reads is then checked for active points and fitted over its whole span.
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_check.hpp"
#include "network/load_fit.hpp"
#include "formats/touchstone_reader.hpp"

namespace {

using bandmatch::fuzzing::check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bandmatch;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TouchstoneReading reading = readTouchstone(text);
  if (!reading.load) {
    // A line's fault names its line; a file with no data point at all has no line to name.
    check(reading.error.rfind("line ", 0) == 0 ||
          reading.error == "the file ends without any data point");
    check(reading.error.find('\n') == std::string::npos);
    return 0;
  }
  check(reading.error.empty());
  const MeasuredLoad& load = *reading.load;
  check(!load.frequencyMHz.empty());
  check(load.impedance.size() == load.frequencyMHz.size());
  check(load.line.size() == load.frequencyMHz.size());
  for (std::size_t i = 0; i < load.frequencyMHz.size(); ++i) {
    check(std::isfinite(load.frequencyMHz[i]) && load.frequencyMHz[i] >= 0.0);
    check(i == 0 || load.frequencyMHz[i] > load.frequencyMHz[i - 1]);
    check(std::isfinite(load.impedance[i].real()) && std::isfinite(load.impedance[i].imag()));
    check(load.line[i] >= 1);
  }
  const double f1 = load.frequencyMHz.front();
  const double f2 = load.frequencyMHz.back();
  // Over the whole span the first active point is a point of the data, and without one every
  // point is passive.
  if (const std::optional<ActivePoint> active = firstActivePoint(load, f1, f2)) {
    check(active->resistance < 0.0 && active->frequencyMHz >= f1 && active->frequencyMHz <= f2);
    check(activeLoadReason(*active).find('\n') == std::string::npos);
  } else {
    for (const std::complex<double>& impedance : load.impedance) {
      check(impedance.real() >= 0.0);
    }
  }
  if (f1 > 0.0 && f2 > f1) {
    const BandPoints band = pointsInBand(load, f1, f2);
    if (band.error.empty()) {
      check(band.first == 0 && band.last + 1 == load.frequencyMHz.size());
      const LoadFit fit = fitLoad(load, band, f1, f2, LoadModelChoice::automatic);
      check(fit.candidates.size() == 2);
      check(!fit.error.empty() || fit.load.decrement > 0.0);
      static_cast<void>(interpolatedImpedance(load, std::sqrt(f1 * f2)));
    }
  }
  return 0;
}
