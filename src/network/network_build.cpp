#include "network/network_build.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "core/number_format.hpp"

namespace bandmatch {

namespace {

constexpr int DESCRIPTION_DIGITS = 6;

// Indexes of the positions that hold real parts.
std::size_t firstBuiltIndex() {
  return static_cast<std::size_t>(FIRST_BUILT_POSITION) - 1;
}

// The standard value of one part, or the refusal naming it.
std::optional<double> standardPart(double value, PreferredSeries series, char element,
                                   std::size_t index, std::string& error) {
  const std::optional<double> chosen = nearestStandardValue(value, series);
  if (!chosen && error.empty()) {
    error = elementName(element, index) + " = " + formatFullPrecision(value) + " has no " +
            std::string(preferredSeriesName(series)) + " value within the range of numbers";
  }
  return chosen;
}

}  // namespace

std::string elementName(char element, std::size_t index) {
  return std::string(1, element) + "(" + formatInteger(static_cast<long long>(index) + 1) + ")";
}

bool changesNetwork(const BuildOptions& options) {
  return options.sourceOhms || options.series || options.inductorQ || options.capacitorQ;
}

LadderNetwork withSourceResistance(LadderNetwork ladder, double sourceOhms) {
  ladder.turnsRatio = std::sqrt(sourceResistanceAtLadder(ladder) / sourceOhms);
  ladder.sourceResistance = sourceOhms;
  return ladder;
}

StandardLadder withStandardValues(LadderNetwork ladder, PreferredSeries series) {
  std::string error;
  for (std::size_t index = firstBuiltIndex(); index < ladder.inductance.size(); ++index) {
    ladder.inductance[index] = standardPart(ladder.inductance[index], series, 'L', index, error)
                                   .value_or(ladder.inductance[index]);
  }
  for (std::size_t index = firstBuiltIndex(); index < ladder.capacitance.size(); ++index) {
    ladder.capacitance[index] = standardPart(ladder.capacitance[index], series, 'C', index, error)
                                    .value_or(ladder.capacitance[index]);
  }
  if (!error.empty()) {
    return {std::nullopt, error};
  }
  return {std::move(ladder), {}};
}

LadderNetwork withComponentLosses(LadderNetwork ladder, double centreMHz,
                                  std::optional<double> inductorQ,
                                  std::optional<double> capacitorQ) {
  const double omega0 = angularFrequency(centreMHz);
  const std::size_t positions = std::min(ladder.inductance.size(), ladder.capacitance.size());
  ladder.inductorLoss.assign(positions, 0.0);
  ladder.capacitorLoss.assign(positions, 0.0);
  for (std::size_t index = firstBuiltIndex(); index < positions; ++index) {
    if (inductorQ) {
      ladder.inductorLoss[index] = omega0 * ladder.inductance[index] / *inductorQ;
    }
    if (capacitorQ) {
      ladder.capacitorLoss[index] = 1.0 / (omega0 * ladder.capacitance[index] * *capacitorQ);
    }
  }
  return ladder;
}

std::optional<Retuning> withStandardRetuning(Retuning retuning, PreferredSeries series,
                                             std::string& error) {
  if (retuning.kind == RetuningKind::none) {
    return retuning;
  }
  const std::optional<double> chosen = standardPart(
      retuning.value, series, retunesWithInductor(retuning.kind) ? 'L' : 'C', 0, error);
  if (!chosen) {
    return std::nullopt;
  }
  retuning.value = *chosen;
  return retuning;
}

Retuning withRetuningLoss(Retuning retuning, double centreMHz, std::optional<double> inductorQ,
                          std::optional<double> capacitorQ) {
  const double omega0 = angularFrequency(centreMHz);
  retuning.loss = 0.0;
  if (retuning.kind == RetuningKind::none) {
    return retuning;
  }
  if (retunesWithInductor(retuning.kind)) {
    retuning.loss = inductorQ ? omega0 * retuning.value / *inductorQ : 0.0;
  } else {
    retuning.loss = capacitorQ ? 1.0 / (omega0 * retuning.value * *capacitorQ) : 0.0;
  }
  return retuning;
}

NetworkVariants networkVariants(const ReportedDesign& design, const BuildOptions& options,
                                const Retuning& measuredRetuning) {
  NetworkVariants result;
  LadderNetwork ladder = design.ladder;
  Retuning retuning = measuredRetuning;
  if (options.sourceOhms) {
    ladder = withSourceResistance(std::move(ladder), *options.sourceOhms);
  }
  result.variants.push_back({"ideal", ladder, retuning});
  std::string valuesName;
  if (options.series) {
    StandardLadder standard = withStandardValues(ladder, *options.series);
    std::string error = standard.error;
    const std::optional<Retuning> standardRetuning =
        withStandardRetuning(retuning, *options.series, error);
    if (!standard.ladder || !standardRetuning) {
      return {{}, error};
    }
    ladder = std::move(*standard.ladder);
    retuning = *standardRetuning;
    valuesName = std::string(preferredSeriesName(*options.series)) + " values";
    result.variants.push_back({valuesName, ladder, retuning});
  }
  if (options.inductorQ || options.capacitorQ) {
    const double centre = std::sqrt(design.f1 * design.f2);
    ladder = withComponentLosses(std::move(ladder), centre, options.inductorQ, options.capacitorQ);
    retuning = withRetuningLoss(retuning, centre, options.inductorQ, options.capacitorQ);
    result.variants.push_back(
        {valuesName.empty() ? "with losses" : valuesName + " with losses", ladder, retuning});
  }
  return result;
}

std::string buildDescription(const BuildOptions& options) {
  std::vector<std::string> parts;
  if (options.series) {
    parts.push_back(std::string(preferredSeriesName(*options.series)) + " values");
  }
  if (options.inductorQ) {
    parts.push_back("inductor Q " + formatPlainDecimal(*options.inductorQ, DESCRIPTION_DIGITS));
  }
  if (options.capacitorQ) {
    parts.push_back("capacitor Q " + formatPlainDecimal(*options.capacitorQ, DESCRIPTION_DIGITS));
  }
  if (options.sourceOhms) {
    parts.push_back("ideal transformer to a " +
                    formatPlainDecimal(*options.sourceOhms, DESCRIPTION_DIGITS) + " ohm source");
  }
  std::string text;
  for (const std::string& part : parts) {
    text += (text.empty() ? "" : "; ") + part;
  }
  return text;
}

std::string buildOptionWords(const BuildOptions& options) {
  std::string words;
  const auto add = [&words](std::string_view option, const std::string& value) {
    if (!words.empty()) {
      words += ' ';
    }
    words.append(option).append(" ").append(value);
  };
  if (options.sourceOhms) {
    add("--source-ohms", formatPlainDecimal(*options.sourceOhms, DESCRIPTION_DIGITS));
  }
  if (options.series) {
    add("--series", std::string(preferredSeriesName(*options.series)));
  }
  if (options.inductorQ) {
    add("--q-inductor", formatPlainDecimal(*options.inductorQ, DESCRIPTION_DIGITS));
  }
  if (options.capacitorQ) {
    add("--q-capacitor", formatPlainDecimal(*options.capacitorQ, DESCRIPTION_DIGITS));
  }
  return words;
}

}  // namespace bandmatch
