#include "python/network_records.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <thread>

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"
#include "entry/answer_ranges.hpp"
#include "entry/refusal_reasons.hpp"
#include "formats/csv_report_reader.hpp"
#include "network/measured_network.hpp"
#include "python/design_arguments.hpp"
#include "report/csv_report.hpp"

namespace bandmatch {

namespace {

constexpr ValueRange SOURCE_OHMS_RANGE = {MIN_SOURCE_OHMS, true, MAX_SOURCE_OHMS, true};
constexpr int SOURCE_OHMS_DIGITS = 3;
constexpr ValueRange QUALITY_RANGE = {0.0, false, HUGE_VAL, false};
// A response of fewer points than this per core is computed on one: starting a thread costs
// about as much as this many points.
constexpr std::size_t POINTS_PER_THREAD = 4096;

std::string megahertz(double frequencyMHz) {
  return formatFixed(frequencyMHz, figure_digits::FREQUENCY_MHZ) + " MHz";
}

Sweep defaultSweep(const ReportedDesign& design) {
  return sweepAroundBand(design.f1, design.f2, DEFAULT_SWEEP_SPAN, DEFAULT_SWEEP_POINTS);
}

// A quality factor above 0, when one is given.
std::string qualityRefusal(std::string_view what, const std::optional<double>& quality) {
  if (quality && !contains(QUALITY_RANGE, *quality)) {
    return std::string(what) + ": not a number above 0";
  }
  return {};
}

}  // namespace

DesignReading reportedDesignOf(const DesignCase& design) {
  // The date stamp is not read back.
  std::ostringstream file;
  writeCsvReport(file, design, {});
  return reportedDesignOfText(file.view());
}

DesignReading reportedDesignOfText(std::string_view text) {
  if (text.size() > REPORT_TEXT_LIMIT) {
    return {nullptr, "not a bandmatch CSV report: the file is far too large"};
  }
  ReportReading reading = readCsvReport(text);
  if (!reading.design) {
    return {nullptr, reading.error};
  }
  return {std::make_shared<const ReportedDesign>(std::move(*reading.design)), {}};
}

HandedNetwork reportedNetwork(const std::shared_ptr<const ReportedDesign>& design) {
  return {design, "Model load", design->ladder, {}, nullptr, defaultSweep(*design)};
}

MeasuredPlacing placeMeasuredLoad(const MeasuredLoad& load, const ReportedDesign& design) {
  // As the programs check a load file: the band covered first, then a passive load wherever the
  // network is analysed on it, and only then a model that fits.
  const Sweep wanted = defaultSweep(design);
  const BandPoints band = pointsInBand(load, design.f1, design.f2);
  if (band.error.empty()) {
    if (const std::optional<ActivePoint> active = firstActivePoint(
            load, std::min(design.f1, wanted.lowerMHz), std::max(design.f2, wanted.upperMHz))) {
      return {nullptr, activeLoadReason(*active)};
    }
  }
  LoadOnNetworkFit fitted = loadOnNetwork(load, design);
  if (!fitted.load) {
    return {nullptr, fitted.error};
  }
  return {std::make_shared<const LoadOnNetwork>(std::move(*fitted.load)), {}};
}

BuildReading readBuildArguments(const BuildArguments& arguments) {
  BuildOptions options;
  if (arguments.sourceOhms && !contains(SOURCE_OHMS_RANGE, *arguments.sourceOhms)) {
    return {std::nullopt, "source_ohms: " + numberReason(SOURCE_OHMS_RANGE, SOURCE_OHMS_DIGITS)};
  }
  options.sourceOhms = arguments.sourceOhms;
  if (arguments.series) {
    options.series = preferredSeriesFromName(*arguments.series);
    if (!options.series) {
      return {std::nullopt, "series: answer E12, E24, E48, E96 or E192"};
    }
  }
  for (const auto& [what, quality] : {std::pair{"q_inductor", &arguments.inductorQ},
                                      std::pair{"q_capacitor", &arguments.capacitorQ}}) {
    if (std::string refusal = qualityRefusal(what, *quality); !refusal.empty()) {
      return {std::nullopt, std::move(refusal)};
    }
  }
  options.inductorQ = arguments.inductorQ;
  options.capacitorQ = arguments.capacitorQ;
  return {options, {}};
}

BuiltNetworks buildNetworks(const std::shared_ptr<const ReportedDesign>& design,
                            const BuildOptions& options,
                            const std::shared_ptr<const LoadOnNetwork>& measured) {
  const NetworkAnalysis analysis =
      analyseNetwork(*design, defaultSweep(*design), options, measured.get());
  if (!analysis.error.empty() || !analysis.loadError.empty()) {
    return {{}, analysis.error, analysis.loadError};
  }
  BuiltNetworks built;
  for (const NetworkVariant& variant : analysis.variants) {
    built.networks.push_back(
        {design, variant.label, variant.ladder, variant.retuning, measured, analysis.sweep});
  }
  return built;
}

std::string networkResponse(const HandedNetwork& network, std::span<const double> frequenciesHz,
                            std::span<std::complex<double>> reflection, std::span<double> magnitude,
                            std::span<double> gain) {
  const MeasuredLoad* load = network.measured ? &network.measured->load : nullptr;
  for (const double frequencyHz : frequenciesHz) {
    const double frequency = frequencyHz / HZ_PER_MHZ;
    if (!(frequency > 0.0) || !std::isfinite(frequency)) {
      return "frequencies: not a frequency above 0 Hz: " + formatFullPrecision(frequencyHz) + " Hz";
    }
    if (load != nullptr &&
        (frequency < load->frequencyMHz.front() || frequency > load->frequencyMHz.back())) {
      return "frequencies: " + megahertz(frequency) + " lies beyond the measured data, " +
             formatFixed(load->frequencyMHz.front(), figure_digits::FREQUENCY_MHZ) + " to " +
             megahertz(load->frequencyMHz.back());
    }
  }
  // Each point stands alone: long sweeps are shared among the cores in contiguous blocks.
  const auto respond = [&](std::size_t first, std::size_t past) {
    for (std::size_t i = first; i < past; ++i) {
      const double frequency = frequenciesHz[i] / HZ_PER_MHZ;
      reflection[i] = load != nullptr ? measuredLoadReflection(network.ladder, *load,
                                                               network.retuning, frequency)
                                      : inputReflection(network.ladder, frequency);
      magnitude[i] = std::abs(reflection[i]);
      if (load == nullptr) {
        gain[i] = transducerGain(network.ladder, frequency);
      }
    }
  };
  const std::size_t count = frequenciesHz.size();
  const std::size_t threads = std::clamp<std::size_t>(
      count / POINTS_PER_THREAD, 1, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> helpers;
  for (std::size_t t = 1; t < threads; ++t) {
    helpers.emplace_back(respond, count * t / threads, count * (t + 1) / threads);
  }
  respond(0, count / threads);
  for (std::thread& helper : helpers) {
    helper.join();
  }
  return {};
}

JudgedBand judgedOnModelLoad(const HandedNetwork& network) {
  return judgeBand(ladderBand(network.ladder, network.design->f1, network.design->f2));
}

std::optional<JudgedBand> judgedOnMeasuredLoad(const HandedNetwork& network) {
  if (!network.measured) {
    return std::nullopt;
  }
  return judgeBand(ladderBandOnLoad(network.ladder, network.measured->load, network.retuning,
                                    network.design->f1, network.design->f2));
}

std::string_view loadWord(LoadType loadType) {
  return loadType == LoadType::series ? "series" : "parallel";
}

}  // namespace bandmatch
