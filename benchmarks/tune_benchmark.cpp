// Timing of bandmatch-tune on a measured load with 201 points in the band: a five-resonator
// design for an antenna-like load whose resistance rises across the band (so the tuner has
// real work), first the solver alone on those points, then the whole program run in-process
// (read the report and the file, fit, tune, judge every network on a fine grid, write four files).
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "benchmark_designs.hpp"
#include "core/design_case.hpp"
#include "report/csv_report.hpp"
#include "formats/csv_report_reader.hpp"
#include "network/load_fit.hpp"
#include "tuning/minimax_tuning.hpp"
#include "tuning/network_tuning.hpp"
#include "tools/tune/tune_run.hpp"

namespace {

constexpr double F1 = 3.5;
constexpr double F2 = 4.0;
constexpr int BAND_POINTS = 201;
constexpr double STEP = (F2 - F1) / (BAND_POINTS - 1);

// 3.4 to 4.1 MHz in steps that put 201 points on the band, its edges included.
bandmatch::MeasuredLoad antennaLikeLoad() {
  bandmatch::MeasuredLoad load;
  for (int i = -40; i < BAND_POINTS + 40; ++i) {
    const double f = F1 + STEP * i;
    const double w = 2.0 * std::numbers::pi * 1e6 * f;
    load.frequencyMHz.push_back(f);
    load.impedance.push_back(
        {61.0 + 39.0 * (f - F1) / (F2 - F1), w * 36.7e-6 - 1.0 / (w * 49.15e-12)});
    load.line.push_back(static_cast<int>(load.line.size()) + 3);
  }
  return load;
}

void writeLoad(const std::filesystem::path& path, const bandmatch::MeasuredLoad& load) {
  std::ofstream file(path);
  file.precision(12);
  file << "! benchmark load\n# MHz Z RI R 50\n";
  for (std::size_t i = 0; i < load.frequencyMHz.size(); ++i) {
    file << load.frequencyMHz[i] << ' ' << load.impedance[i].real() / 50.0 << ' '
         << load.impedance[i].imag() / 50.0 << '\n';
  }
}

// A five-resonator series-load design at the fitted load's decrement and resistance.
bandmatch::DesignCase fiveResonatorDesign(const bandmatch::LoadFit& fit) {
  return bandmatch::benchmarks::seriesDesign(5, F1, F2, fit.load.decrement,
                                             fit.load.averageResistance);
}

struct Problem {
  bandmatch::MeasuredLoad load = antennaLikeLoad();
  bandmatch::BandPoints band = bandmatch::pointsInBand(load, F1, F2);
  bandmatch::LoadFit fit =
      bandmatch::fitLoad(load, band, F1, F2, bandmatch::LoadModelChoice::series);
  bandmatch::DesignCase design = fiveResonatorDesign(fit);
};

void tuneFiveResonatorsOn201Points(benchmark::State& state) {
  const Problem problem;
  std::ostringstream report;
  bandmatch::writeCsvReport(report, problem.design, "Mon Dec 07 2026 09:30:00");
  const std::optional<bandmatch::ReportedDesign> design =
      bandmatch::readCsvReport(report.str()).design;
  const bandmatch::MeasuredTarget measured{&problem.load, problem.band,
                                           problem.fit.candidates.front().retuning};
  const bandmatch::TuningTarget target = bandmatch::tuningTarget(*design, &measured);
  const bandmatch::TunableNetwork start{design->ladder, measured.retuning};
  const std::vector<bandmatch::TuningVariable> variables =
      bandmatch::tuningVariables(start, true, false);
  bandmatch::TuningOutcome outcome;
  for (auto _ : state) {
    outcome = bandmatch::tuneMinimax(start, target, variables, {});
    benchmark::DoNotOptimize(outcome.network.ladder.inductance.data());
  }
  state.counters["samples"] = static_cast<double>(target.frequencyMHz.size());
  state.counters["iterations"] = outcome.evaluations;
  state.counters["gain_percent"] = 100.0 * (1.0 - outcome.worst / outcome.startWorst);
  state.counters["worst"] = outcome.worst;
  if (target.frequencyMHz.size() != BAND_POINTS || outcome.keptStart) {
    state.SkipWithError("the benchmark did not tune the intended problem");
  }
}
BENCHMARK(tuneFiveResonatorsOn201Points)->Unit(benchmark::kMillisecond);

void tuneRunFiveResonatorsOn201Points(benchmark::State& state) {
  const Problem problem;
  const bandmatch::benchmarks::ScratchReport scratch("tune", problem.design);
  writeLoad(scratch.folder() / "load.s1p", problem.load);
  const std::vector<std::string> args = {scratch.report().string(), "--load",
                                         (scratch.folder() / "load.s1p").string()};
  const bandmatch::benchmarks::WholeRun run = bandmatch::benchmarks::timeWholeRuns(
      state, [&args](std::ostream& out, std::ostream& err) {
        return bandmatch::runTune(args, out, err, bandmatch::benchmarks::steadySeconds);
      });
  if (run.status != 0 || run.out.find("Tuned on 201 measured points") == std::string::npos) {
    state.SkipWithError("the tuner did not run on the intended files");
  }
}
BENCHMARK(tuneRunFiveResonatorsOn201Points)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
