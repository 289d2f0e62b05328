// Timing of the match synthesis: the Fano solver alone and the whole synthesis of one
// 10-element design (solver, match figures, prototype values, element values).
#include <benchmark/benchmark.h>

#include <utility>

#include "core/design_case.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/fano_solver.hpp"
#include "synthesis/synthesis.hpp"

namespace {

// Inputs are read through volatiles so the compiler cannot fold the work away; results go to
// DoNotOptimize only as const values, because its read-write form miscompiles doubles with
// some GCC versions.
volatile int elementCount = 10;
volatile double loadDecrement = 1.0;

void solveFanoTenElements(benchmark::State& state) {
  for (auto _ : state) {
    const bandmatch::FanoSolution solution = bandmatch::solveFano(elementCount, loadDecrement);
    benchmark::DoNotOptimize(solution);
  }
  if (bandmatch::solveFano(elementCount, loadDecrement).IT != 14) {
    state.SkipWithError("the benchmark did not solve the intended design");
  }
}
BENCHMARK(solveFanoTenElements);

void synthesizeTenElementDesign(benchmark::State& state) {
  bandmatch::DesignCase design;
  design.N = elementCount;
  design.method = bandmatch::Method::direct;
  design.loadType = bandmatch::LoadType::series;
  design.f1 = 10.0;
  design.f2 = 20.0;
  bandmatch::computeBand(design);
  design.averageResistance = 50.0;
  for (auto _ : state) {
    design.decrement = loadDecrement;
    bandmatch::qFromDecrement(design);
    bandmatch::synthesize(design);
    benchmark::DoNotOptimize(std::as_const(design));
  }
  if (design.IT != 14 || design.L[10] <= 0.0) {
    state.SkipWithError("the benchmark did not synthesize the intended design");
  }
}
BENCHMARK(synthesizeTenElementDesign);

}  // namespace

BENCHMARK_MAIN();
