// Timing of the topology search between two measured one-ports with 201 points each in the band
// 3.5 to 4.0 MHz: an antenna-like load whose resistance rises across the band (as the tuner's
// benchmark has it) and a source like an amplifier's output, 200 ohms across 400 pF falling to
// 150 ohms over the band. First the whole library up to six parts on every core, then one
// topology of six parts, then the whole program's run on the two files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/search/search_run.hpp"
#include "tuning/topology_search.hpp"

namespace {

constexpr double F1 = 3.5;
constexpr double F2 = 4.0;
constexpr int BAND_POINTS = 201;
constexpr double STEP = (F2 - F1) / (BAND_POINTS - 1);

// 3.4 to 4.1 MHz in steps that put 201 points on the band, its edges included.
bandmatch::MeasuredLoad oneport(bool source) {
  bandmatch::MeasuredLoad data;
  for (int i = -40; i < BAND_POINTS + 40; ++i) {
    const double f = F1 + STEP * i;
    const double w = 2.0 * std::numbers::pi * 1e6 * f;
    const double across = (f - F1) / (F2 - F1);
    data.frequencyMHz.push_back(f);
    data.impedance.push_back(
        source ? 1.0 / std::complex<double>(1.0 / (200.0 - 50.0 * across), w * 400e-12)
               : std::complex<double>(61.0 + 39.0 * across, w * 36.7e-6 - 1.0 / (w * 49.15e-12)));
    data.line.push_back(static_cast<int>(data.line.size()) + 3);
  }
  return data;
}

bandmatch::SearchProblem twoMeasuredEnds() {
  bandmatch::SearchProblem problem;
  problem.source = *bandmatch::measuredEnd(oneport(true), F1, F2, F1, F2).end;
  problem.load = *bandmatch::measuredEnd(oneport(false), F1, F2, F1, F2).end;
  problem.f1 = F1;
  problem.f2 = F2;
  return problem;
}

int cores() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void searchLibraryOfSixParts(benchmark::State& state) {
  const bandmatch::SearchProblem problem = twoMeasuredEnds();
  const std::vector<bandmatch::LibraryTopology> library = bandmatch::topologyLibrary(6);
  bandmatch::SearchSettings settings;
  settings.threads = cores();
  bandmatch::SearchResult result;
  for (auto _ : state) {
    result = bandmatch::searchTopologies(problem, library, settings);
    benchmark::DoNotOptimize(result.candidates.data());
  }
  state.counters["topologies"] = result.topologies;
  state.counters["samples"] = result.samples;
  state.counters["threads"] = settings.threads;
  state.counters["best_worst_gamma"] = result.candidates.front().figures.worstReflection;
  if (result.samples != BAND_POINTS) {
    state.SkipWithError("the benchmark did not search the intended problem");
  }
}
BENCHMARK(searchLibraryOfSixParts)->Unit(benchmark::kMillisecond)->UseRealTime();

void searchOneTopologyOfSixParts(benchmark::State& state) {
  const bandmatch::SearchProblem problem = twoMeasuredEnds();
  const std::vector<bandmatch::LibraryTopology> one = {
      {"given", bandmatch::parseTopology("X pL|C sLC pL|C").topology}};
  bandmatch::SearchResult result;
  for (auto _ : state) {
    result = bandmatch::searchTopologies(problem, one, {});
    benchmark::DoNotOptimize(result.candidates.data());
  }
  state.counters["iterations"] = result.candidates.front().evaluations;
  state.counters["worst_gamma"] = result.candidates.front().figures.worstReflection;
}
BENCHMARK(searchOneTopologyOfSixParts)->Unit(benchmark::kMillisecond);

void writeOneport(const std::filesystem::path& path, const bandmatch::MeasuredLoad& data) {
  std::ofstream file(path);
  file.precision(12);
  file << "! benchmark one-port\n# MHz Z RI R 50\n";
  for (std::size_t i = 0; i < data.frequencyMHz.size(); ++i) {
    file << data.frequencyMHz[i] << ' ' << data.impedance[i].real() / 50.0 << ' '
         << data.impedance[i].imag() / 50.0 << '\n';
  }
}

void searchRunOfSixParts(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("search_benchmark_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  writeOneport(folder / "source.s1p", oneport(true));
  writeOneport(folder / "load.s1p", oneport(false));
  const std::vector<std::string> args = {(folder / "source.s1p").string(),
                                         (folder / "load.s1p").string(), "3.5", "4.0"};
  const auto clock = [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  int status = 0;
  std::string printed;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    status = bandmatch::runSearch(args, out, err, clock);
    printed = out.str();
    benchmark::DoNotOptimize(status);
  }
  std::filesystem::remove_all(folder);
  if (status != 0 || printed.find("(measured, 201 points in the band)") == std::string::npos) {
    state.SkipWithError("the search did not run on the intended files");
  }
}
BENCHMARK(searchRunOfSixParts)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
