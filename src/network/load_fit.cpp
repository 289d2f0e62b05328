#include "network/load_fit.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/number_format.hpp"
#include "synthesis/band_and_load.hpp"

namespace bandmatch {

namespace {

constexpr double RADIANS_PER_MHZ = 2.0 * std::numbers::pi * 1e6;
constexpr int MESSAGE_DIGITS = 4;
// A model whose reactance (series) or susceptance (parallel) at w0 is within this share of its
// slope resonates at f0 already. Near resonance X(w) = 2 slope (w - w0) / w0, so the share is
// twice the relative distance of its resonance from f0: 5e-10, far below what a file resolves,
// and far above the 1e-16 that rounding leaves in the fit of a load resonating exactly at f0.
// Retuning such a remainder would take a capacitor of near-infinite value or an inductor of
// almost none.
constexpr double RESONANCE_TOLERANCE = 1e-9;

// The fitted reactance (series) or susceptance (parallel) written as a*(w/w0) - b*(w0/w): a is
// w0 L (series) or w0 C (parallel), b is 1/(w0 C) or 1/(w0 L). Scaling by w0 keeps both
// columns of the least squares near 1, so the normal equations are well conditioned.
struct ReactiveFit {
  double a = 0.0;
  double b = 0.0;
};

// The impedance (series) or admittance (parallel) the fit is made on.
std::complex<double> fittedQuantity(LoadType type, std::complex<double> impedance) {
  return type == LoadType::series ? impedance : 1.0 / impedance;
}

ReactiveFit fitReactive(const MeasuredLoad& load, const BandPoints& band, LoadType type,
                        double omega0) {
  double uu = 0.0;
  double uv = 0.0;
  double vv = 0.0;
  double uy = 0.0;
  double vy = 0.0;
  for (std::size_t i = band.first; i <= band.last; ++i) {
    const double ratio = RADIANS_PER_MHZ * load.frequencyMHz[i] / omega0;
    const double u = ratio;
    const double v = -1.0 / ratio;
    const double y = fittedQuantity(type, load.impedance[i]).imag();
    uu += u * u;
    uv += u * v;
    vv += v * v;
    uy += u * y;
    vy += v * y;
  }
  const double determinant = uu * vv - uv * uv;
  return {(uy * vv - vy * uv) / determinant, (uu * vy - uv * uy) / determinant};
}

std::complex<double> modelQuantity(const LoadModel& model, double omega) {
  const double reactive = model.type == LoadType::series
                              ? omega * model.inductance - 1.0 / (omega * model.capacitance)
                              : omega * model.capacitance - 1.0 / (omega * model.inductance);
  return {model.level, reactive};
}

std::string value(double number) {
  return formatScientific(number, MESSAGE_DIGITS);
}

std::string refusalOf(const LoadModel& model, const Retuning& retuning) {
  const bool series = model.type == LoadType::series;
  if (!(model.level > 0.0) || !std::isfinite(model.level)) {
    return std::string(series ? "its average resistance over the band is not positive ("
                              : "its average conductance over the band is not positive (") +
           value(model.level) + (series ? " ohms)" : " S)");
  }
  if (!(retuning.slope > 0.0) || !std::isfinite(retuning.slope) ||
      !std::isfinite(retuning.inductance) || !std::isfinite(retuning.capacitance)) {
    return std::string(series ? "its reactance" : "its susceptance") +
           " does not rise with frequency, so no element retunes it to a resonator (fitted L = " +
           value(model.inductance) + " H, C = " + value(model.capacitance) + " F)";
  }
  return {};
}

ModelCandidate candidate(const MeasuredLoad& load, const BandPoints& band, LoadType type,
                         double omega0) {
  ModelCandidate tried;
  tried.model = fitLoadModel(load, band, type);
  tried.retuning = retuneToCentre(type, tried.model.inductance, tried.model.capacitance, omega0);
  tried.refusal = refusalOf(tried.model, tried.retuning);
  return tried;
}

}  // namespace

std::string_view modelName(LoadType type) {
  return type == LoadType::series ? "series" : "parallel";
}

LoadModel fitLoadModel(const MeasuredLoad& load, const BandPoints& band, LoadType type) {
  // Any w0 inside the data serves the scaling; the band's centre is the natural one.
  const double omega0 =
      RADIANS_PER_MHZ * std::sqrt(load.frequencyMHz[band.first] * load.frequencyMHz[band.last]);
  const ReactiveFit fit = fitReactive(load, band, type, omega0);
  LoadModel model;
  model.type = type;
  double levelSum = 0.0;
  for (std::size_t i = band.first; i <= band.last; ++i) {
    levelSum += fittedQuantity(type, load.impedance[i]).real();
  }
  model.level = levelSum / static_cast<double>(band.last - band.first + 1);
  // a is the coefficient of the element that grows with w, b of the one that falls with it.
  const double rising = fit.a / omega0;
  const double falling = 1.0 / (omega0 * fit.b);
  model.inductance = type == LoadType::series ? rising : falling;
  model.capacitance = type == LoadType::series ? falling : rising;

  for (std::size_t i = band.first; i <= band.last; ++i) {
    const double omega = RADIANS_PER_MHZ * load.frequencyMHz[i];
    const std::complex<double> quantity = modelQuantity(model, omega);
    const std::complex<double> impedance = type == LoadType::series ? quantity : 1.0 / quantity;
    const double error = std::abs(impedance - load.impedance[i]) / std::abs(load.impedance[i]);
    if (i == band.first || !(error <= model.worstError)) {
      model.worstError = error;
      model.worstErrorMHz = load.frequencyMHz[i];
    }
  }
  return model;
}

std::string_view retuningName(RetuningKind kind) {
  switch (kind) {
    case RetuningKind::seriesCapacitor:
      return "series capacitor (F)";
    case RetuningKind::seriesInductor:
      return "series inductor (H)";
    case RetuningKind::shuntCapacitor:
      return "shunt capacitor (F)";
    case RetuningKind::shuntInductor:
      return "shunt inductor (H)";
    case RetuningKind::none:
      break;
  }
  return "none";
}

std::string_view retuningWord(RetuningKind kind) {
  const std::string_view name = retuningName(kind);
  return name.substr(0, name.find(" ("));
}

bool retuningIsInductor(RetuningKind kind) {
  return kind == RetuningKind::seriesInductor || kind == RetuningKind::shuntInductor;
}

Retuning retuneToCentre(LoadType type, double inductance, double capacitance, double omega0) {
  const bool series = type == LoadType::series;
  // The reactance (series) or susceptance (parallel) at w0 is rising - falling.
  const double rising = omega0 * (series ? inductance : capacitance);
  const double falling = 1.0 / (omega0 * (series ? capacitance : inductance));
  Retuning retuning;
  if (std::fabs(rising - falling) <= RESONANCE_TOLERANCE * std::max(rising, falling)) {
    retuning.slope = rising;
  } else if (rising > falling) {
    // Too much of the rising part at w0: a series capacitor or a shunt inductor cancels it.
    retuning.kind = series ? RetuningKind::seriesCapacitor : RetuningKind::shuntInductor;
    retuning.value = 1.0 / (omega0 * (rising - falling));
    retuning.slope = rising;
  } else if (falling > rising) {
    retuning.kind = series ? RetuningKind::seriesInductor : RetuningKind::shuntCapacitor;
    retuning.value = (falling - rising) / omega0;
    retuning.slope = falling;
  } else {
    // No resonator (a value not finite, or not positive): the slope shows it.
    retuning.slope = rising;
  }
  const double grows = retuning.slope / omega0;
  const double shrinks = 1.0 / (omega0 * retuning.slope);
  retuning.inductance = series ? grows : shrinks;
  retuning.capacitance = series ? shrinks : grows;
  return retuning;
}

bool retunesWithInductor(RetuningKind kind) {
  return kind == RetuningKind::seriesInductor || kind == RetuningKind::shuntInductor;
}

bool retunesInSeries(RetuningKind kind) {
  return kind == RetuningKind::seriesInductor || kind == RetuningKind::seriesCapacitor;
}

Retuning scaledRetuning(Retuning retuning, double factor) {
  retuning.value *= factor;
  retuning.loss = retunesWithInductor(retuning.kind) ? retuning.loss * factor
                                                     : retuning.loss / factor;
  return retuning;
}

std::complex<double> withRetuning(const Retuning& retuning, std::complex<double> loadImpedance,
                                  double frequencyMHz) {
  const double omega = RADIANS_PER_MHZ * frequencyMHz;
  const std::complex<double> j(0.0, 1.0);
  const double loss = retuning.loss;
  switch (retuning.kind) {
    case RetuningKind::none:
      break;
    case RetuningKind::seriesCapacitor:
      return loadImpedance + loss - j / (omega * retuning.value);
    case RetuningKind::seriesInductor:
      return loadImpedance + loss + j * omega * retuning.value;
    // A lossless shunt element keeps the plain susceptance form.
    case RetuningKind::shuntCapacitor:
      return 1.0 / (1.0 / loadImpedance + (loss == 0.0 ? j * omega * retuning.value
                                                       : 1.0 / (loss - j / (omega * retuning.value))));
    case RetuningKind::shuntInductor:
      return 1.0 / (1.0 / loadImpedance + (loss == 0.0 ? -j / (omega * retuning.value)
                                                       : 1.0 / (loss + j * omega * retuning.value)));
  }
  return loadImpedance;
}

LoadFit fitLoad(const MeasuredLoad& load, const BandPoints& band, double f1, double f2,
                LoadModelChoice choice) {
  LoadFit fit;
  fit.load.method = Method::loadParameters;
  fit.load.f1 = f1;
  fit.load.f2 = f2;
  computeBand(fit.load);
  const double omega0 = fit.load.omega0;

  if (choice == LoadModelChoice::parallel) {
    fit.candidates.push_back(candidate(load, band, LoadType::parallel, omega0));
  } else {
    fit.candidates.push_back(candidate(load, band, LoadType::series, omega0));
  }
  if (choice == LoadModelChoice::automatic) {
    fit.candidates.push_back(candidate(load, band, LoadType::parallel, omega0));
    ModelCandidate& series = fit.candidates[0];
    ModelCandidate& parallel = fit.candidates[1];
    const bool parallelBetter =
        parallel.refusal.empty() &&
        (!series.refusal.empty() || parallel.model.worstError < series.model.worstError);
    if (parallelBetter) {
      std::swap(series, parallel);
    }
  }

  const ModelCandidate& chosen = fit.candidates.front();
  if (!chosen.refusal.empty()) {
    fit.error = "the " + std::string(modelName(chosen.model.type)) +
                " model does not fit: " + chosen.refusal;
    if (fit.candidates.size() > 1) {
      fit.error += "; the " + std::string(modelName(fit.candidates[1].model.type)) +
                   " model neither: " + fit.candidates[1].refusal;
    }
    return fit;
  }
  DesignCase& described = fit.load;
  described.loadType = chosen.model.type;
  if (chosen.model.type == LoadType::series) {
    described.averageResistance = chosen.model.level;
    described.reactanceSlope = chosen.retuning.slope;
  } else {
    described.averageConductance = chosen.model.level;
    described.susceptanceSlope = chosen.retuning.slope;
  }
  // As the dialogue derives it: level / slope / wm.
  described.decrement = (chosen.model.level / chosen.retuning.slope) * (1.0 / described.wm);
  qFromDecrement(described);
  // Frequencies near the limits of double precision leave no usable band quantities.
  if (!(described.decrement > 0.0) || !std::isfinite(described.decrement) ||
      !std::isfinite(described.loadQ)) {
    fit.error = "the band and the fitted load give no finite decrement";
  }
  return fit;
}

}  // namespace bandmatch
