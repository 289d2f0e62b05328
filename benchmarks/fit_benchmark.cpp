// Timing of bandmatch-fit on a large measurement: reading a 10,001-point one-port file, fitting
// the load over the band and printing the report with the table of the best match, as one run
// of the program in-process (the file is read from disk on every run).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "benchmark_designs.hpp"
#include "tools/fit/fit_run.hpp"

namespace {

constexpr int POINTS = 10001;

// A series R-L-C antenna-like load, 3.0 to 4.5 MHz, as an analyser would store it (S, RI).
std::filesystem::path writeMeasurement() {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("bandmatch-fit-benchmark-" + std::to_string(::getpid()) + ".s1p");
  std::ofstream file(path);
  file.precision(11);
  file << "! benchmark load\n# MHz S RI R 50\n";
  const double inductance = 36.7e-6;
  const double capacitance = 49.15e-12;
  for (int i = 0; i < POINTS; ++i) {
    const double f = 3.0 + 1.5 * i / (POINTS - 1);
    const double w = 2.0 * std::numbers::pi * 1e6 * f;
    const std::complex<double> z(61.0 + 39.0 * (f - 3.5) / 0.5,
                                 w * inductance - 1.0 / (w * capacitance));
    const std::complex<double> s = (z - 50.0) / (z + 50.0);
    file << f << ' ' << s.real() << ' ' << s.imag() << '\n';
  }
  return path;
}

void fitTenThousandPointFile(benchmark::State& state) {
  const std::filesystem::path path = writeMeasurement();
  const std::vector<std::string> args = {path.string(), "3.5", "4.0"};
  const bandmatch::benchmarks::WholeRun run = bandmatch::benchmarks::timeWholeRuns(
      state,
      [&args](std::ostream& out, std::ostream& err) { return bandmatch::runFit(args, out, err); });
  std::filesystem::remove(path);
  if (run.status != 0 || run.out.empty()) {
    state.SkipWithError("the benchmark did not fit the intended file");
  }
}
BENCHMARK(fitTenThousandPointFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
