// Timing of a whole bandmatch-export run with every build option: a 10-resonator design swept
// over 10,001 points, the three variants analysed, and all five files written to a scratch
// folder.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "benchmark_designs.hpp"
#include "tools/export/export_run.hpp"

namespace {

void exportTenResonatorsWithEveryOption(benchmark::State& state) {
  const bandmatch::benchmarks::ScratchReport scratch(
      "export", bandmatch::benchmarks::seriesDesign(10, 10.0, 20.0, 1.0, 50.0));
  const std::vector<std::string> args = {scratch.report().string(),
                                         "--points",
                                         "10001",
                                         "--source-ohms",
                                         "50",
                                         "--series",
                                         "E24",
                                         "--q-inductor",
                                         "100",
                                         "--q-capacitor",
                                         "500"};
  const bandmatch::benchmarks::WholeRun run =
      bandmatch::benchmarks::timeWholeRuns(state, [&args](std::ostream& out, std::ostream& err) {
        return bandmatch::runExport(args, out, err);
      });
  if (run.status != 0 || !std::filesystem::exists(scratch.folder() / "bench-schematic.svg")) {
    state.SkipWithError("the export did not write its files");
  }
}
BENCHMARK(exportTenResonatorsWithEveryOption)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
