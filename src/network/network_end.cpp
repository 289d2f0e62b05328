#include "network/network_end.hpp"

#include <cmath>
#include <numbers>
#include <utility>

#include "core/display_text.hpp"
#include "core/real_parse.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view SERIES_PREFIX = "series:";
constexpr std::string_view PARALLEL_PREFIX = "parallel:";

// The text in double quotes on one line, as a refusal names it.
std::string quoted(std::string_view text) {
  return quotedText(printableText(text));
}

// The factor of an SI prefix letter, or none for another character.
std::optional<double> prefixFactor(char letter) {
  switch (letter) {
    case 'p':
      return 1e-12;
    case 'n':
      return 1e-9;
    case 'u':
      return 1e-6;
    case 'm':
      return 1e-3;
    case 'k':
      return 1e3;
    case 'M':
      return 1e6;
    default:
      return std::nullopt;
  }
}

// A positive finite number with an optional SI prefix making up the whole text, or the reason
// it is not; `name` is how the reason refers to the text.
std::optional<double> readValue(std::string_view text, std::string_view name, std::string& error) {
  double value = 0.0;
  const char* last = text.data() + text.size();
  const auto [end, status] = parseReal(text.data(), last, value);
  std::optional<double> factor = 1.0;
  if (end != last && end + 1 == last) {
    factor = prefixFactor(*end);
  }
  if (status != std::errc{} || end == text.data() || (end != last && end + 1 != last) || !factor) {
    error = quoted(name) + " is not a number (with at most one of the prefixes p n u m k M)";
    return std::nullopt;
  }
  value *= *factor;
  if (!std::isfinite(value) || value <= 0.0) {
    error = quoted(name) + " must be a finite value above zero";
    return std::nullopt;
  }
  return value;
}

// The R=, L= and C= items after a model's prefix.
EndParse readModel(std::string_view items, EndKind kind) {
  NetworkEnd end;
  end.kind = kind;
  std::optional<double> resistance;
  std::string error;
  while (true) {
    const std::size_t comma = items.find(',');
    const std::string_view item = items.substr(0, comma);
    std::optional<double>* slot = nullptr;
    if (item.size() >= 2 && item[1] == '=') {
      slot = item[0] == 'R'   ? &resistance
             : item[0] == 'L' ? &end.inductance
             : item[0] == 'C' ? &end.capacitance
                              : nullptr;
    }
    if (slot == nullptr) {
      return {std::nullopt, quoted(item) + " is not R=, L= or C= and a value"};
    }
    if (slot->has_value()) {
      return {std::nullopt, std::string(1, item[0]) + " is given twice"};
    }
    *slot = readValue(item.substr(2), item, error);
    if (!*slot) {
      return {std::nullopt, error};
    }
    if (comma == std::string_view::npos) {
      break;
    }
    items.remove_prefix(comma + 1);
  }
  if (!resistance) {
    return {std::nullopt, "the model has no resistance R="};
  }
  end.resistance = *resistance;
  return {end, ""};
}

}  // namespace

EndParse parseNetworkEnd(std::string_view text) {
  if (text.starts_with(SERIES_PREFIX)) {
    return readModel(text.substr(SERIES_PREFIX.size()), EndKind::seriesModel);
  }
  if (text.starts_with(PARALLEL_PREFIX)) {
    return readModel(text.substr(PARALLEL_PREFIX.size()), EndKind::parallelModel);
  }
  std::string error;
  const std::optional<double> resistance = readValue(text, text, error);
  if (!resistance) {
    return {std::nullopt, error + "; an end is a resistance in ohms, series:R=..,L=..,C=.. or " +
                              "parallel:R=..,L=..,C=.."};
  }
  NetworkEnd end;
  end.resistance = *resistance;
  return {end, ""};
}

EndParse measuredEnd(MeasuredLoad data, double f1, double f2, double fromMHz, double toMHz) {
  if (std::string coverage = bandCoverage(data, f1, f2); !coverage.empty()) {
    return {std::nullopt, coverage};
  }
  if (const std::optional<ActivePoint> active = firstActivePoint(data, fromMHz, toMHz)) {
    return {std::nullopt, activeLoadReason(*active)};
  }
  NetworkEnd end;
  end.kind = EndKind::measured;
  end.measured = std::move(data);
  return {std::move(end), ""};
}

std::optional<std::complex<double>> endImpedance(const NetworkEnd& end, double frequencyMHz) {
  const double omega = 2.0 * std::numbers::pi * 1e6 * frequencyMHz;
  switch (end.kind) {
    case EndKind::resistance:
      return std::complex<double>(end.resistance, 0.0);
    case EndKind::seriesModel: {
      const double inductive = end.inductance ? omega * *end.inductance : 0.0;
      const double capacitive = end.capacitance ? 1.0 / (omega * *end.capacitance) : 0.0;
      return std::complex<double>(end.resistance, inductive - capacitive);
    }
    case EndKind::parallelModel: {
      const double inductive = end.inductance ? 1.0 / (omega * *end.inductance) : 0.0;
      const double capacitive = end.capacitance ? omega * *end.capacitance : 0.0;
      return 1.0 / std::complex<double>(1.0 / end.resistance, capacitive - inductive);
    }
    case EndKind::measured:
      if (end.measured.frequencyMHz.empty()) {
        break;
      }
      return interpolatedImpedance(end.measured, frequencyMHz);
  }
  return std::nullopt;
}

}  // namespace bandmatch
