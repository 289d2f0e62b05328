// Timing of a ladder's response at many frequencies, the work of the Python package's response():
// the input reflection and the transducer gain of a 10-resonator design at 100,001 frequencies,
// on one core.
#include <benchmark/benchmark.h>

#include "benchmark_designs.hpp"
#include "network/ladder_analysis.hpp"

namespace {

constexpr int POINTS = 100001;

void respondTenResonatorsAtManyFrequencies(benchmark::State& state) {
  const bandmatch::LadderNetwork ladder =
      bandmatch::ladderFromDesign(bandmatch::benchmarks::seriesDesign(10, 10.0, 20.0, 1.0, 50.0));
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < POINTS; ++i) {
      const double frequencyMHz = 5.0 + 35.0 * i / (POINTS - 1);
      sum += std::abs(bandmatch::inputReflection(ladder, frequencyMHz));
      if (state.range(0) != 0) {
        sum += bandmatch::transducerGain(ladder, frequencyMHz);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}
// Without and with the gain.
BENCHMARK(respondTenResonatorsAtManyFrequencies)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
