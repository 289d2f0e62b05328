// Timing of the Monte Carlo tolerance trials: 10,000 trials of a 10-resonator network built from
// E24 parts with losses behind a transformer, judged over an 801-point sweep, on one thread and
// on two (the figures are the same); and the whole bandmatch-export run that asks for them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "benchmark_designs.hpp"
#include "core/design_case.hpp"
#include "network/reported_design.hpp"
#include "network/network_build.hpp"
#include "network/tolerance.hpp"
#include "tools/export/export_run.hpp"

namespace {

// A 10-resonator series-load design for 10 to 20 MHz.
bandmatch::DesignCase tenResonators() {
  return bandmatch::benchmarks::seriesDesign(10, 10.0, 20.0, 1.0, 50.0);
}

const bandmatch::BuildOptions BUILT{50.0, bandmatch::PreferredSeries::e24, 100.0, 500.0};

void tenThousandTrials(benchmark::State& state) {
  const bandmatch::DesignCase design = tenResonators();
  bandmatch::ReportedDesign reported;
  reported.N = design.N;
  reported.loadType = design.loadType;
  reported.f1 = design.f1;
  reported.f2 = design.f2;
  reported.ladder = bandmatch::ladderFromDesign(design);
  const bandmatch::NetworkVariants built = bandmatch::networkVariants(reported, BUILT);
  const bandmatch::ToleranceProblem problem{built.variants.back().ladder,
                                            bandmatch::sweepAroundBand(10.0, 20.0, 1.5, 801),
                                            10.0,
                                            20.0,
                                            {},
                                            {},
                                            nullptr};
  const bandmatch::ToleranceOptions options{5.0, 5.0, 10000, 1};
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const bandmatch::ToleranceResult result = bandmatch::runTolerance(problem, options, threads);
    benchmark::DoNotOptimize(result.worstSwr.data());
  }
}
BENCHMARK(tenThousandTrials)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void exportWithTenThousandTrials(benchmark::State& state) {
  const bandmatch::benchmarks::ScratchReport scratch("tolerance", tenResonators());
  const std::vector<std::string> args = {scratch.report().string(),
                                         "--source-ohms",
                                         "50",
                                         "--series",
                                         "E24",
                                         "--q-inductor",
                                         "100",
                                         "--q-capacitor",
                                         "500",
                                         "--tolerance",
                                         "5",
                                         "--trials",
                                         "10000",
                                         "--seed",
                                         "1",
                                         "--smith"};
  const bandmatch::benchmarks::WholeRun run = bandmatch::benchmarks::timeWholeRuns(
      state, [&args](std::ostream& out, std::ostream& err) {
        return bandmatch::runExport(args, out, err);
      });
  if (run.status != 0 || !std::filesystem::exists(scratch.folder() / "bench-smith.svg")) {
    state.SkipWithError("the export did not write its files");
  }
}
BENCHMARK(exportWithTenThousandTrials)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
