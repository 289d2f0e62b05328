// Timing of the worst-case judge and of what stands on it: the judge on a ten-resonator network
// over 1 to 1000 MHz (target under 5 ms); tuning that network on its model load until the judge
// agrees (target under 2 s); and the tuner's whole run on a measured load of 1,000,000 points
// (target under 10 s; its memory is read off /usr/bin/time, see the development guide).
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
#include "formats/csv_report_reader.hpp"
#include "network/measured_network.hpp"
#include "network/worst_case_judge.hpp"
#include "tools/tune/tune_run.hpp"
#include "tuning/network_tuning.hpp"

namespace {

bandmatch::ReportedDesign wideDesign() {
  std::ostringstream report;
  bandmatch::writeCsvReport(report, bandmatch::benchmarks::seriesDesign(10, 1.0, 1000.0, 1.0, 50.0),
                            "Mon Dec 07 2026 09:30:00");
  return *bandmatch::readCsvReport(report.str()).design;
}

void judgeTenResonatorsOverThreeDecades(benchmark::State& state) {
  const bandmatch::ReportedDesign design = wideDesign();
  bandmatch::JudgedBand judged;
  for (auto _ : state) {
    judged = bandmatch::judgeBand(bandmatch::ladderBand(design.ladder, 1.0, 1000.0));
    benchmark::DoNotOptimize(judged.peaks.data());
  }
  state.counters["evaluations"] = judged.evaluations;
  state.counters["worst"] = judged.worstReflection;
}
BENCHMARK(judgeTenResonatorsOverThreeDecades)->Unit(benchmark::kMillisecond);

void tuneTenResonatorsOverThreeDecades(benchmark::State& state) {
  const bandmatch::ReportedDesign design = wideDesign();
  bandmatch::NetworkTuning tuning;
  for (auto _ : state) {
    tuning = bandmatch::tuneNetwork(design, nullptr, {});
    benchmark::DoNotOptimize(tuning.tuned.network.ladder.inductance.data());
  }
  state.counters["solver_steps"] = tuning.evaluations;
  state.counters["tuned_worst"] = tuning.tuned.worst;
}
BENCHMARK(tuneTenResonatorsOverThreeDecades)->Unit(benchmark::kMillisecond)->Iterations(3);

// A ten-resonator design for a resonator measured at 1,000,000 points from 3.0 to 4.5 MHz with
// a little noise on every point, tuned whole: read, fit, tune, judge, write.
void tuneRunOnAMillionPoints(benchmark::State& state) {
  const bandmatch::benchmarks::ScratchReport scratch(
      "million", bandmatch::benchmarks::seriesDesign(10, 3.5, 4.0, 0.7, 79.0));
  const std::filesystem::path load = scratch.folder() / "million.s1p";
  {
    std::ofstream file(load);
    file.precision(10);
    file << "# MHz Z RI R 50\n";
    std::uint64_t noise = 1;
    constexpr int points = 1000000;
    for (int i = 0; i < points; ++i) {
      const double f = 3.0 + 1.5 * i / (points - 1);
      const double w = 2.0 * std::numbers::pi * 1e6 * f;
      noise = noise * 6364136223846793005ULL + 1442695040888963407ULL;
      const double jitter = 0.3 * (static_cast<double>(noise >> 11) / 9007199254740992.0 - 0.5);
      file << f << ' ' << (79.0 + 40.0 * (f - 3.75) + jitter) / 50.0 << ' '
           << (w * 36.7e-6 - 1.0 / (w * 49.15e-12) + jitter) / 50.0 << '\n';
    }
  }
  const std::vector<std::string> args = {scratch.report().string(), "--load", load.string(),
                                         "--out", (scratch.folder() / "tuned").string()};
  const bandmatch::benchmarks::WholeRun run =
      bandmatch::benchmarks::timeWholeRuns(state, [&args](std::ostream& out, std::ostream& err) {
        return bandmatch::runTune(args, out, err, bandmatch::benchmarks::steadySeconds);
      });
  if (run.status != 0) {
    state.SkipWithError("the tuner refused the million-point load");
  }
}
BENCHMARK(tuneRunOnAMillionPoints)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
