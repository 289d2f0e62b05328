#include "network/microstrip.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/display_text.hpp"
#include "core/real_parse.hpp"

namespace bandmatch {

namespace {

constexpr double PI = std::numbers::pi;
constexpr double LIGHT_SPEED = 299792458.0;             // metres per second
constexpr double FREE_SPACE_IMPEDANCE = 376.730313668;  // ohms
constexpr double MIN_WIDTH_RATIO = 1e-3;
constexpr double MAX_WIDTH_RATIO = 1e3;

// Hammerstad-Jensen: the impedance of the strip in air, u = w / h.
double airImpedance(double u) {
  const double f = 6.0 + (2.0 * PI - 6.0) * std::exp(-std::pow(30.666 / u, 0.7528));
  return FREE_SPACE_IMPEDANCE / (2.0 * PI) * std::log(f / u + std::sqrt(1.0 + 4.0 / (u * u)));
}

// Hammerstad-Jensen: the effective permittivity of an infinitely thin strip.
double thinEffectivePermittivity(double u, double er) {
  const double a =
      1.0 + std::log((std::pow(u, 4) + std::pow(u / 52.0, 2)) / (std::pow(u, 4) + 0.432)) / 49.0 +
      std::log(1.0 + std::pow(u / 18.1, 3)) / 18.7;
  const double b = 0.564 * std::pow((er - 0.9) / (er + 3.0), 0.053);
  return (er + 1.0) / 2.0 + (er - 1.0) / 2.0 * std::pow(1.0 + 10.0 / u, -a * b);
}

// Wheeler's synthesis of w / h for an infinitely thin strip, good to about 1 %.
double wheelerWidthRatio(double impedance, double er) {
  const double a =
      impedance / 60.0 * std::sqrt((er + 1.0) / 2.0) + (er - 1.0) / (er + 1.0) * (0.23 + 0.11 / er);
  const double narrow = 8.0 * std::exp(a) / (std::exp(2.0 * a) - 2.0);
  if (narrow < 2.0) {
    return narrow;
  }
  const double b = FREE_SPACE_IMPEDANCE * PI / (2.0 * impedance * std::sqrt(er));
  return 2.0 / PI *
         (b - 1.0 - std::log(2.0 * b - 1.0) +
          (er - 1.0) / (2.0 * er) * (std::log(b - 1.0) + 0.39 - 0.61 / er));
}

MicrostripLine lineOfRatio(const Substrate& substrate, double u) {
  const double er = substrate.permittivity;
  if (substrate.thickness <= 0.0) {
    const double effective = thinEffectivePermittivity(u, er);
    return {airImpedance(u) / std::sqrt(effective), effective};
  }
  // The thickness widens the strip: by du1 in air, by the smaller dur in the dielectric.
  const double t = substrate.thickness / substrate.height;
  const double coth = 1.0 / std::tanh(std::sqrt(6.517 * u));
  const double du1 = t / PI * std::log(1.0 + 4.0 * std::numbers::e / (t * coth * coth));
  const double dur = 0.5 * (1.0 + 1.0 / std::cosh(std::sqrt(er - 1.0))) * du1;
  const double u1 = u + du1;
  const double ur = u + dur;
  const double thinEffective = thinEffectivePermittivity(ur, er);
  const double impedance = airImpedance(ur) / std::sqrt(thinEffective);
  const double airRatio = airImpedance(u1) / airImpedance(ur);
  return {impedance, thinEffective * airRatio * airRatio};
}

// A length with its unit, or none.
std::optional<double> readLength(std::string_view text) {
  double value = 0.0;
  const char* last = text.data() + text.size();
  const auto [end, status] = parseReal(text.data(), last, value);
  if (status != std::errc{} || end == text.data()) {
    return std::nullopt;
  }
  const std::string_view unit(end, static_cast<std::size_t>(last - end));
  const double metres = unit == "m"     ? 1.0
                        : unit == "mm"  ? 1e-3
                        : unit == "um"  ? 1e-6
                        : unit == "mil" ? 25.4e-6
                                        : 0.0;
  if (metres == 0.0) {
    return std::nullopt;
  }
  return value * metres;
}

}  // namespace

SubstrateParse parseSubstrate(std::string_view text) {
  std::optional<double> permittivity;
  std::optional<double> height;
  std::optional<double> thickness;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const std::size_t equals = item.find('=');
    const std::string_view key = item.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? "" : item.substr(equals + 1);
    const std::string quotedItem = quotedText(printableText(item));
    if (equals == std::string_view::npos || (key != "er" && key != "h" && key != "t")) {
      return {std::nullopt, quotedItem + " is not er=, h= or t= and a value"};
    }
    std::optional<double>& slot = key == "er" ? permittivity : key == "h" ? height : thickness;
    if (slot) {
      return {std::nullopt, std::string(key) + " is given twice"};
    }
    if (key == "er") {
      double er = 0.0;
      const auto [end, status] = parseReal(value.data(), value.data() + value.size(), er);
      if (status != std::errc{} || end != value.data() + value.size() || value.empty() ||
          !(er >= 1.0) || !std::isfinite(er)) {
        return {std::nullopt, quotedItem + " is not a relative permittivity of at least 1"};
      }
      slot = er;
    } else {
      slot = readLength(value);
      if (!slot || !std::isfinite(*slot) || *slot < 0.0 || (key == "h" && *slot == 0.0)) {
        return {std::nullopt, quotedItem + " is not a length " +
                                  (key == "h" ? "above" : "of at least") +
                                  " zero with one of the units m, mm, um, mil"};
      }
    }
    if (comma == std::string_view::npos) {
      break;
    }
    text.remove_prefix(comma + 1);
  }
  if (!permittivity || !height) {
    return {std::nullopt,
            permittivity ? "the substrate has no height h=" : "the substrate has no er="};
  }
  if (thickness.value_or(0.0) >= *height) {
    return {std::nullopt, "the strip thickness t is not below the height h"};
  }
  return {Substrate{*permittivity, *height, thickness.value_or(0.0)}, ""};
}

MicrostripLine microstripLine(const Substrate& substrate, double width) {
  return lineOfRatio(substrate, width / substrate.height);
}

std::optional<double> microstripWidth(const Substrate& substrate, double impedance) {
  // The impedance falls as the strip widens: bracket the root in log(w / h) and keep Newton's
  // steps (with a central-difference slope) inside the bracket, halving it where one leaves.
  const auto mismatch = [&](double logRatio) {
    return std::log(lineOfRatio(substrate, std::exp(logRatio)).impedance / impedance);
  };
  double low = std::log(MIN_WIDTH_RATIO);
  double high = std::log(MAX_WIDTH_RATIO);
  if (!(mismatch(low) >= 0.0 && mismatch(high) <= 0.0)) {
    return std::nullopt;
  }
  const double start = wheelerWidthRatio(impedance, substrate.permittivity);
  double x = std::isfinite(start) && start > 0.0 ? std::clamp(std::log(start), low, high)
                                                 : 0.5 * (low + high);
  for (int iteration = 0; iteration < 100; ++iteration) {
    const double value = mismatch(x);
    if (std::fabs(value) <= 1e-13) {
      break;
    }
    (value > 0.0 ? low : high) = x;
    const double step = 1e-6;
    const double slope = (mismatch(x + step) - mismatch(x - step)) / (2.0 * step);
    const double next = x - value / slope;
    x = next > low && next < high ? next : 0.5 * (low + high);
  }
  return std::exp(x) * substrate.height;
}

double microstripLength(const Substrate& substrate, double width, double electricalLength,
                        double centreMHz) {
  const double effective = microstripLine(substrate, width).effectivePermittivity;
  return electricalLength * LIGHT_SPEED / (2.0 * PI * 1e6 * centreMHz * std::sqrt(effective));
}

double quasiStaticLimitMHz(const Substrate& substrate, double impedance) {
  const double heightCm = substrate.height * 100.0;
  return 300.0 * std::sqrt(impedance / (heightCm * std::sqrt(substrate.permittivity - 1.0)));
}

}  // namespace bandmatch
