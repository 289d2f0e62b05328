#include "network/measured_load.hpp"

#include <algorithm>
#include <cmath>

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"

namespace bandmatch {

namespace {

constexpr int RESISTANCE_DIGITS = 4;  // as the fit's messages show a resistance
constexpr int FREQUENCY_SCIENTIFIC_DIGITS = 6;

std::string megahertz(double frequencyMHz) {
  return formatFixed(frequencyMHz, figure_digits::FREQUENCY_MHZ) + " MHz";
}

// The indices [first, past) of the points in [fromMHz, toMHz], the edges widened by the tolerance.
struct PointRange {
  std::size_t first = 0;
  std::size_t past = 0;
};

PointRange pointsWithin(const std::vector<double>& f, double fromMHz, double toMHz) {
  const auto first = std::lower_bound(f.begin(), f.end(), fromMHz * (1.0 - BAND_EDGE_TOLERANCE));
  const auto past = std::upper_bound(first, f.end(), toMHz * (1.0 + BAND_EDGE_TOLERANCE));
  return {static_cast<std::size_t>(first - f.begin()), static_cast<std::size_t>(past - f.begin())};
}

}  // namespace

std::string lineText(int line) {
  if (line == 0) {
    return {};
  }
  return "line " + formatInteger(line) + ": ";
}

std::string appendPoint(MeasuredLoad& load, double frequencyMHz, std::complex<double> impedance,
                        int line) {
  if (!std::isfinite(frequencyMHz)) {
    return "the frequency " + formatScientific(frequencyMHz, FREQUENCY_SCIENTIFIC_DIGITS) +
           " MHz is not finite";
  }
  if (frequencyMHz < 0.0) {
    return "negative frequency " + megahertz(frequencyMHz);
  }
  if (!load.frequencyMHz.empty() && !(frequencyMHz > load.frequencyMHz.back())) {
    return "frequencies not strictly increasing: " + megahertz(frequencyMHz) + " after " +
           megahertz(load.frequencyMHz.back());
  }
  if (!std::isfinite(impedance.real()) || !std::isfinite(impedance.imag())) {
    return "the value at " + megahertz(frequencyMHz) +
           " is an open circuit; it has no finite impedance";
  }
  load.frequencyMHz.push_back(frequencyMHz);
  load.impedance.push_back(impedance);
  load.line.push_back(line);
  return {};
}

std::string bandCoverage(const MeasuredLoad& load, double f1, double f2) {
  const std::vector<double>& f = load.frequencyMHz;
  if (f.empty()) {
    return "no data points";
  }
  if (f.front() > f1 * (1.0 + BAND_EDGE_TOLERANCE)) {
    return lineText(load.line.front()) + "the data start at " + megahertz(f.front()) +
           ", above the band's lower edge f1 = " + megahertz(f1);
  }
  if (f.back() < f2 * (1.0 - BAND_EDGE_TOLERANCE)) {
    return lineText(load.line.back()) + "the data end at " + megahertz(f.back()) +
           ", below the band's upper edge f2 = " + megahertz(f2);
  }
  return {};
}

BandPoints pointsInBand(const MeasuredLoad& load, double f1, double f2) {
  const std::vector<double>& f = load.frequencyMHz;
  BandPoints band;
  band.error = bandCoverage(load, f1, f2);
  if (!band.error.empty()) {
    return band;
  }
  const PointRange inside = pointsWithin(f, f1, f2);
  const std::size_t count = inside.past - inside.first;
  if (count < MIN_BAND_POINTS) {
    const std::size_t near = inside.past - 1;
    band.error =
        lineText(load.line[near]) + "only " + formatInteger(static_cast<long long>(count)) +
        " measured points lie in the band " + formatFixed(f1, figure_digits::FREQUENCY_MHZ) +
        " to " + megahertz(f2) + "; the fit needs at least " +
        formatInteger(static_cast<long long>(MIN_BAND_POINTS));
    return band;
  }
  band.first = inside.first;
  band.last = inside.past - 1;
  return band;
}

std::complex<double> interpolatedImpedance(const MeasuredLoad& load, double frequencyMHz) {
  const std::vector<double>& f = load.frequencyMHz;
  const auto above = std::upper_bound(f.begin(), f.end(), frequencyMHz);
  if (above == f.begin()) {
    return load.impedance.front();
  }
  if (above == f.end()) {
    return load.impedance.back();
  }
  const auto upper = static_cast<std::size_t>(above - f.begin());
  const std::size_t lower = upper - 1;
  const double t = (frequencyMHz - f[lower]) / (f[upper] - f[lower]);
  return load.impedance[lower] + t * (load.impedance[upper] - load.impedance[lower]);
}

std::optional<ActivePoint> firstActivePoint(const MeasuredLoad& load, double fromMHz,
                                            double toMHz) {
  const std::vector<double>& f = load.frequencyMHz;
  if (f.empty()) {
    return std::nullopt;
  }
  const double from = std::max(fromMHz, f.front());
  const double to = std::min(toMHz, f.back());
  if (from > to) {
    return std::nullopt;  // the range lies beside the data
  }
  const PointRange inside = pointsWithin(f, from, to);
  const bool noneInside = inside.first == inside.past;
  // From low to high: an edge counts by its interpolated value where no point lies on it.
  const auto activeEdge = [&load](double frequency) -> std::optional<ActivePoint> {
    const double resistance = interpolatedImpedance(load, frequency).real();
    return resistance < 0.0 ? std::optional(ActivePoint{frequency, resistance}) : std::nullopt;
  };
  if (noneInside || f[inside.first] > from * (1.0 + BAND_EDGE_TOLERANCE)) {
    if (const std::optional<ActivePoint> edge = activeEdge(from)) {
      return edge;
    }
  }
  for (std::size_t i = inside.first; i < inside.past; ++i) {
    if (load.impedance[i].real() < 0.0) {
      return ActivePoint{f[i], load.impedance[i].real()};
    }
  }
  if (noneInside || f[inside.past - 1] < to * (1.0 - BAND_EDGE_TOLERANCE)) {
    return activeEdge(to);
  }
  return std::nullopt;
}

std::string activeLoadReason(const ActivePoint& point) {
  return "the load is active at " + megahertz(point.frequencyMHz) + " (resistance " +
         formatScientific(point.resistance, RESISTANCE_DIGITS) +
         " ohms); only a passive load can be matched";
}

}  // namespace bandmatch
