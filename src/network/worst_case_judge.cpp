#include "network/worst_case_judge.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace bandmatch {

namespace {

// Intervals of the base grid across the band, on a logarithmic scale: a ripple of a ten-resonator
// response spans about a tenth of the band, so each is sampled a hundred times.
constexpr int BASE_INTERVALS = 1024;
// About each resonance inside the band, this many more points within +-RESONANCE_SPAN of it: a
// resonator tuned near a band edge can make a peak far narrower than a ripple.
constexpr int RESONANCE_POINTS = 64;
constexpr double RESONANCE_SPAN = 0.05;
// An interval whose ends differ by more than this in Gamma is halved until they do not, or until
// it is narrower than MIN_RELATIVE_INTERVAL (no matching network has features that narrow).
constexpr double MAX_REFLECTION_STEP = 0.02;
constexpr double MIN_RELATIVE_INTERVAL = 1e-7;
constexpr int MAX_HALVINGS = 12;
// Brent's search for a local extreme stops when it is pinned to this share of the frequency.
constexpr double LOCATION_TOLERANCE = 1e-11;
constexpr int MAX_SEARCH_STEPS = 100;
// Points closer than this share of their frequency count as one.
constexpr double SAME_FREQUENCY = 1e-12;

double infinity() {
  return std::numeric_limits<double>::infinity();
}

bool finite(std::complex<double> z) {
  return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// Brent's minimisation of g over [a, b] from the point x inside it with g(x) = gx: golden-section
// steps where parabolic ones do not shrink the bracket. Returns the least value met and where.
struct Located {
  double at = 0.0;
  double value = 0.0;
};

template <typename Function>
Located brentMinimum(const Function& g, double a, double b, double x, double gx) {
  constexpr double golden = 0.3819660112501051;  // (3 - sqrt(5)) / 2
  double w = x;
  double v = x;
  double gw = gx;
  double gv = gx;
  double d = 0.0;
  double e = 0.0;
  for (int step = 0; step < MAX_SEARCH_STEPS; ++step) {
    const double middle = 0.5 * (a + b);
    const double tolerance1 = LOCATION_TOLERANCE;
    const double tolerance2 = 2.0 * tolerance1;
    if (std::fabs(x - middle) <= tolerance2 - 0.5 * (b - a)) {
      break;
    }
    bool parabolic = false;
    if (std::fabs(e) > tolerance1) {
      // The parabola through x, w and v; its vertex is taken when it lies well inside the bracket
      // and moves less than half the step before last.
      const double r = (x - w) * (gx - gv);
      double q = (x - v) * (gx - gw);
      double p = (x - v) * q - (x - w) * r;
      q = 2.0 * (q - r);
      if (q > 0.0) {
        p = -p;
      } else {
        q = -q;
      }
      const double previous = e;
      if (std::fabs(p) < std::fabs(0.5 * q * previous) && p > q * (a - x) && p < q * (b - x)) {
        e = d;
        d = p / q;
        parabolic = true;
        const double u = x + d;
        if (u - a < tolerance2 || b - u < tolerance2) {
          d = x < middle ? tolerance1 : -tolerance1;
        }
      }
    }
    if (!parabolic) {
      e = (x < middle ? b : a) - x;
      d = golden * e;
    }
    const double u = x + (std::fabs(d) >= tolerance1 ? d : (d > 0.0 ? tolerance1 : -tolerance1));
    const double gu = g(u);
    if (gu <= gx) {
      (u < x ? b : a) = x;
      v = w;
      gv = gw;
      w = x;
      gw = gx;
      x = u;
      gx = gu;
    } else {
      (u < x ? a : b) = u;
      if (gu <= gw || w == x) {
        v = w;
        gv = gw;
        w = u;
        gw = gu;
      } else if (gu <= gv || v == x || v == w) {
        v = u;
        gv = gu;
      }
    }
  }
  return {x, gx};
}

// The grid's samples of one real figure, on the logarithm of the frequency.
struct Samples {
  const std::vector<double>* logFrequency = nullptr;
  const std::vector<double>* value = nullptr;
};

// How far above its sample a local maximum at index i may reach: the vertex of the parabola
// through the sample and its neighbours, or half the step to them, with a margin, since the grid
// resolves the response.
double reachAbove(const Samples& samples, std::size_t i) {
  const std::vector<double>& u = *samples.logFrequency;
  const std::vector<double>& y = *samples.value;
  if (i == 0 || i + 1 == y.size()) {
    return infinity();  // a band edge: always searched
  }
  const double h1 = u[i] - u[i - 1];
  const double h2 = u[i + 1] - u[i];
  const double slope1 = (y[i] - y[i - 1]) / h1;
  const double slope2 = (y[i + 1] - y[i]) / h2;
  const double curvature = (slope2 - slope1) / (h1 + h2);
  const double slope = (slope1 * h2 + slope2 * h1) / (h1 + h2);
  const double excess = curvature < 0.0 ? -slope * slope / (4.0 * curvature) : 0.0;
  // Where the parabola is a poor model, the step to the neighbours bounds what a resolved
  // response can add between them.
  const double step = std::max(y[i] - y[i - 1], y[i] - y[i + 1]);
  return y[i] + std::max(4.0 * excess, 0.5 * step) + 1e-12;
}

// Every local maximum of the sampled figure that could exceed `level` (or the largest value found
// so far, whichever is lower) is searched for in the interval about its sample. `figure` gives
// the figure at a logarithmic frequency. Returns the largest value found and the maxima searched.
template <typename Figure>
std::vector<Located> localMaxima(const Figure& figure, const Samples& samples, double level,
                                 Located& largest) {
  const std::vector<double>& u = *samples.logFrequency;
  const std::vector<double>& y = *samples.value;
  const std::size_t count = y.size();
  struct Candidate {
    std::size_t index;
    double reach;
  };
  std::vector<Candidate> candidates;
  for (std::size_t i = 0; i < count; ++i) {
    const bool aboveLeft = i == 0 || y[i] >= y[i - 1];
    const bool aboveRight = i + 1 == count || y[i] >= y[i + 1];
    if (aboveLeft && aboveRight) {
      candidates.push_back({i, reachAbove(samples, i)});
    }
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.reach > b.reach; });
  largest = {u[0], y[0]};
  for (std::size_t i = 0; i < count; ++i) {
    if (y[i] > largest.value) {
      largest = {u[i], y[i]};
    }
  }
  std::vector<Located> found;
  const auto negated = [&figure](double at) { return -figure(at); };
  for (const Candidate& candidate : candidates) {
    if (candidate.reach <= std::min(level, largest.value)) {
      break;
    }
    const std::size_t i = candidate.index;
    const double low = u[i == 0 ? 0 : i - 1];
    const double high = u[std::min(i + 1, count - 1)];
    // From the sample itself where it lies inside the bracket; from the middle at a band edge.
    const bool inside = i > 0 && i + 1 < count;
    const double start = inside ? u[i] : 0.5 * (low + high);
    const double startValue = inside ? -y[i] : negated(start);
    Located located = brentMinimum(negated, low, high, start, startValue);
    located.value = -located.value;
    if (y[i] >= located.value) {
      located = {u[i], y[i]};
    }
    found.push_back(located);
    if (located.value > largest.value) {
      largest = located;
    }
  }
  return found;
}

}  // namespace

double standingWaveRatio(double rho) {
  return rho < 1.0 ? (1.0 + rho) / (1.0 - rho) : infinity();
}

double refinedLargest(const std::function<double(double)>& figureAt,
                      const std::vector<double>& logFrequency, const std::vector<double>& values) {
  const Samples samples{&logFrequency, &values};
  Located largest;
  localMaxima([&figureAt](double u) { return figureAt(std::exp(u)); }, samples, infinity(),
              largest);
  return largest.value;
}

std::vector<double> judgeGrid(const BandToJudge& band) {
  const double low = std::log(band.f1);
  const double high = std::log(band.f2);
  std::vector<double> grid;
  grid.reserve(BASE_INTERVALS + 1);
  for (int i = 0; i <= BASE_INTERVALS; ++i) {
    grid.push_back(i == 0 ? band.f1
                   : i == BASE_INTERVALS
                       ? band.f2
                       : std::exp(low + (high - low) * static_cast<double>(i) / BASE_INTERVALS));
  }
  for (const double resonance : band.resonanceMHz) {
    if (!(resonance > band.f1 * (1.0 - RESONANCE_SPAN) && resonance < band.f2 * (1.0 + RESONANCE_SPAN))) {
      continue;
    }
    const double from = std::log(std::max(band.f1, resonance * (1.0 - RESONANCE_SPAN)));
    const double to = std::log(std::min(band.f2, resonance * (1.0 + RESONANCE_SPAN)));
    for (int i = 0; i <= RESONANCE_POINTS && to > from; ++i) {
      grid.push_back(std::exp(from + (to - from) * static_cast<double>(i) / RESONANCE_POINTS));
    }
  }
  if (band.dataMHz != nullptr) {
    const std::vector<double>& data = *band.dataMHz;
    const auto first = std::lower_bound(data.begin(), data.end(), band.f1);
    const auto last = std::upper_bound(first, data.end(), band.f2);
    const std::size_t middle = grid.size();
    grid.insert(grid.end(), first, last);
    std::sort(grid.begin(), grid.begin() + static_cast<std::ptrdiff_t>(middle));
    std::inplace_merge(grid.begin(), grid.begin() + static_cast<std::ptrdiff_t>(middle), grid.end());
  } else {
    std::sort(grid.begin(), grid.end());
  }
  // Points inside the band only, each once.
  std::vector<double> unique;
  unique.reserve(grid.size());
  for (const double f : grid) {
    if (f < band.f1 || f > band.f2) {
      continue;
    }
    if (!unique.empty() && f - unique.back() <= SAME_FREQUENCY * f) {
      continue;
    }
    unique.push_back(f);
  }
  return unique;
}

JudgedBand judgeBand(const BandToJudge& band) {
  JudgedBand judged;
  const auto reflectionAt = [&](double frequency) {
    ++judged.evaluations;
    return band.reflectionAt(frequency);
  };

  // The grid, halving every interval across which Gamma moves too far.
  const std::vector<double> base = judgeGrid(band);
  std::vector<double> frequency;
  std::vector<std::complex<double>> reflection;
  frequency.reserve(base.size());
  reflection.reserve(base.size());
  struct Interval {
    double from;
    std::complex<double> atFrom;
    double to;
    std::complex<double> atTo;
    int depth;
  };
  std::vector<Interval> pending;
  std::complex<double> previous = reflectionAt(base.front());
  frequency.push_back(base.front());
  reflection.push_back(previous);
  for (std::size_t i = 1; i < base.size(); ++i) {
    const std::complex<double> next = reflectionAt(base[i]);
    pending.push_back({base[i - 1], previous, base[i], next, 0});
    // Depth first, so that the points come out in ascending order.
    while (!pending.empty()) {
      const Interval interval = pending.back();
      pending.pop_back();
      const bool steep = !(std::abs(interval.atTo - interval.atFrom) <= MAX_REFLECTION_STEP);
      if (steep && interval.depth < MAX_HALVINGS &&
          interval.to - interval.from > MIN_RELATIVE_INTERVAL * interval.from &&
          finite(interval.atFrom) && finite(interval.atTo)) {
        const double middle = std::sqrt(interval.from * interval.to);
        const std::complex<double> atMiddle = reflectionAt(middle);
        pending.push_back({middle, atMiddle, interval.to, interval.atTo, interval.depth + 1});
        pending.push_back({interval.from, interval.atFrom, middle, atMiddle, interval.depth + 1});
        continue;
      }
      frequency.push_back(interval.to);
      reflection.push_back(interval.atTo);
    }
    previous = next;
  }

  for (std::size_t i = 0; i < reflection.size(); ++i) {
    if (!finite(reflection[i])) {
      judged.worstReflection = infinity();
      judged.worstReflectionMHz = frequency[i];
      return judged;
    }
  }

  std::vector<double> logFrequency(frequency.size());
  std::transform(frequency.begin(), frequency.end(), logFrequency.begin(),
                 [](double f) { return std::log(f); });
  const auto magnitudeAt = [&](double u) { return std::abs(reflectionAt(std::exp(u))); };

  std::vector<double> magnitude;
  magnitude.reserve(reflection.size());
  for (const std::complex<double> gamma : reflection) {
    magnitude.push_back(std::abs(gamma));
  }
  Located largest;
  for (const Located& peak :
       localMaxima(magnitudeAt, {&logFrequency, &magnitude}, band.peaksAbove, largest)) {
    judged.peaks.push_back({std::exp(peak.at), peak.value});
  }
  std::sort(judged.peaks.begin(), judged.peaks.end(),
            [](const ReflectionPeak& a, const ReflectionPeak& b) {
              return a.frequencyMHz < b.frequencyMHz;
            });
  judged.worstReflection = largest.value;
  judged.worstReflectionMHz = std::exp(largest.at);
  judged.gridMHz = frequency;

  // The smallest |Gamma| and the smallest gains as the largest of their negatives; |Gamma|^2
  // rather than |Gamma|, which has a corner where it touches zero.
  std::vector<double> negatedPower(reflection.size());
  std::transform(reflection.begin(), reflection.end(), negatedPower.begin(),
                 [](std::complex<double> gamma) { return -std::norm(gamma); });
  Located smallest;
  localMaxima([&](double u) { return -std::norm(reflectionAt(std::exp(u))); },
              {&logFrequency, &negatedPower}, infinity(), smallest);
  judged.bestReflection = std::sqrt(-smallest.value);

  if (band.gainAt) {
    const auto dissipationAt = [&band](double f, std::complex<double> gamma) {
      return band.gainAt(f) / (1.0 - std::norm(gamma));
    };
    std::vector<double> negatedGain;
    std::vector<double> negatedDissipation;
    for (std::size_t i = 0; i < frequency.size(); ++i) {
      negatedGain.push_back(-band.gainAt(frequency[i]));
      negatedDissipation.push_back(-dissipationAt(frequency[i], reflection[i]));
    }
    Located gain;
    localMaxima([&](double u) { return -band.gainAt(std::exp(u)); },
                {&logFrequency, &negatedGain}, infinity(), gain);
    judged.worstGain = -gain.value;
    judged.worstGainMHz = std::exp(gain.at);
    Located dissipation;
    localMaxima(
        [&](double u) {
          const double f = std::exp(u);
          return -dissipationAt(f, band.reflectionAt(f));
        },
        {&logFrequency, &negatedDissipation}, infinity(), dissipation);
    judged.worstDissipation = -dissipation.value;
  } else {
    // Without losses every watt that is not reflected reaches the load.
    judged.worstGain = 1.0 - judged.worstReflection * judged.worstReflection;
    judged.worstGainMHz = judged.worstReflectionMHz;
  }
  return judged;
}

}  // namespace bandmatch
