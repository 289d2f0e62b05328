#include "network/matched_cascade.hpp"

#include <cmath>

#include "core/figure_digits.hpp"
#include "core/number_format.hpp"
#include "network/load_fit.hpp"
#include "network/topology.hpp"

namespace bandmatch {

namespace {

bool positiveFinite(double value) {
  return value > 0.0 && std::isfinite(value);
}

}  // namespace

CascadeEnd modelEnd(const NetworkEnd& end, std::string name) {
  CascadeEnd named;
  named.end = end;
  named.name = std::move(name);
  named.impedanceAt = [end](double f) {
    return endImpedance(end, f).value_or(std::complex<double>(0.0, 0.0));
  };
  return named;
}

std::optional<CascadeEnd> measuredEnd(const MeasuredLoad& load, std::string name, double f1,
                                      double f2) {
  const BandPoints band = pointsInBand(load, f1, f2);
  if (!band.error.empty()) {
    return std::nullopt;
  }
  CascadeEnd named;
  named.end.kind = EndKind::measured;
  named.name = std::move(name);
  named.impedanceAt = [&load](double f) { return interpolatedImpedance(load, f); };
  named.dataMHz = &load.frequencyMHz;
  for (const LoadType type : {LoadType::series, LoadType::parallel}) {
    const LoadModel model = fitLoadModel(load, band, type);
    const double resistance = type == LoadType::series ? model.level : 1.0 / model.level;
    const bool usable = positiveFinite(resistance) && positiveFinite(model.inductance) &&
                        positiveFinite(model.capacitance);
    if (usable && (!named.fitted || model.worstError < named.fitError)) {
      named.fitted = NetworkEnd{type == LoadType::series ? EndKind::seriesModel
                                                         : EndKind::parallelModel,
                                resistance, model.inductance, model.capacitance, {}};
      named.fitError = model.worstError;
    }
  }
  return named;
}

std::string cascadeSummary(const MatchedCascade& cascade) {
  Topology topology;
  for (const Section& section : cascade.network.sections) {
    topology.push_back(section.kind);
  }
  return topologyText(topology) + " from " + cascade.source.name + " to " + cascade.load.name +
         ", band " + formatFixed(cascade.f1, figure_digits::FREQUENCY_MHZ) + " to " +
         formatFixed(cascade.f2, figure_digits::FREQUENCY_MHZ) + " MHz";
}

}  // namespace bandmatch
