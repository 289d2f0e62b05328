// What the benchmarks share: a series-load design synthesized as the console program does it,
// a scratch folder holding its CSV report for a companion program's whole run, that run timed
// once per iteration, and the tuner's clock.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "core/design_case.hpp"
#include "report/csv_report.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/synthesis.hpp"

namespace bandmatch::benchmarks {

// A series-load design of `n` resonators for f1 to f2 MHz at `decrement` and `resistance` ohms.
inline DesignCase seriesDesign(int n, double f1, double f2, double decrement, double resistance) {
  DesignCase design;
  design.textFileName = "bench.txt";
  design.csvFileName = "bench.csv";
  design.N = n;
  design.method = Method::direct;
  design.loadType = LoadType::series;
  design.f1 = f1;
  design.f2 = f2;
  computeBand(design);
  design.decrement = decrement;
  qFromDecrement(design);
  design.averageResistance = resistance;
  synthesize(design);
  return design;
}

// A folder of its own under the temporary folder, holding `design`'s report as bench.csv;
// removed with everything in it when the benchmark ends.
class ScratchReport {
 public:
  ScratchReport(const std::string& name, const DesignCase& design)
      : folder_(std::filesystem::temp_directory_path() /
                ("bandmatch-" + name + "-benchmark-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_);
    std::ofstream file(report());
    writeCsvReport(file, design, "Mon Dec 07 2026 09:30:00");
  }
  ~ScratchReport() { std::filesystem::remove_all(folder_); }
  ScratchReport(const ScratchReport&) = delete;
  ScratchReport& operator=(const ScratchReport&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path report() const { return folder_ / "bench.csv"; }

 private:
  std::filesystem::path folder_;
};

// The last iteration's exit status and standard output of a whole run.
struct WholeRun {
  int status = 0;
  std::string out;
};

// Times `run` (a companion program's whole run, given its standard output and error) once per
// iteration of the benchmark.
template <typename Run>
WholeRun timeWholeRuns(benchmark::State& state, Run run) {
  WholeRun last;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    last.status = run(out, err);
    last.out = out.str();
    benchmark::DoNotOptimize(last.status);
  }
  return last;
}

// Seconds on the steady clock, as bandmatch-tune's main gives its run.
inline double steadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace bandmatch::benchmarks
