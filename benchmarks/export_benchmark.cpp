// Timing of a whole bandmatch-export run with every build option: a 10-resonator design swept
// over 10,001 points, the three variants analysed, and all five files written to a scratch
// folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/design_case.hpp"
#include "report/csv_report.hpp"
#include "synthesis/band_and_load.hpp"
#include "synthesis/synthesis.hpp"
#include "tools/export/export_run.hpp"

namespace {

// A 10-resonator series-load design for 10 to 20 MHz, written as its CSV report.
void writeReport(const std::filesystem::path& path) {
  bandmatch::DesignCase design;
  design.textFileName = "bench.txt";
  design.csvFileName = "bench.csv";
  design.N = 10;
  design.method = bandmatch::Method::direct;
  design.loadType = bandmatch::LoadType::series;
  design.f1 = 10.0;
  design.f2 = 20.0;
  bandmatch::computeBand(design);
  design.decrement = 1.0;
  bandmatch::qFromDecrement(design);
  design.averageResistance = 50.0;
  bandmatch::synthesize(design);
  std::ofstream file(path);
  bandmatch::writeCsvReport(file, design, "Mon Dec 07 2026 09:30:00");
}

void exportTenResonatorsWithEveryOption(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("bandmatch-export-benchmark-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  writeReport(folder / "bench.csv");
  const std::vector<std::string> args = {(folder / "bench.csv").string(),
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
  int status = 0;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    status = bandmatch::runExport(args, out, err);
    benchmark::DoNotOptimize(status);
  }
  if (status != 0 || !std::filesystem::exists(folder / "bench-schematic.svg")) {
    state.SkipWithError("the export did not write its files");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(exportTenResonatorsWithEveryOption)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
