// What the benchmarks share: a series-load design synthesized as the console program does it,
// and a scratch folder holding its CSV report for a companion program's whole run.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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

}  // namespace bandmatch::benchmarks
