// Feeds arbitrary bytes to the CSV report reader, the one parser of files the user hands the
// companion programs, and checks what a reading promises: a design whose network can be
// analysed and built (transformer, standard values, losses, parts list, schematic), or one line
// saying why the text was refused.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/design_case.hpp"
#include "fuzz_check.hpp"
#include "formats/csv_report_reader.hpp"
#include "network/network_build.hpp"
#include "formats/parts_list.hpp"
#include "drawing/schematic.hpp"
#include "network/measured_network.hpp"
#include "network/sweep.hpp"
#include "network/worst_case_judge.hpp"

namespace {

using bandmatch::fuzzing::check;

bool positiveFinite(double value) {
  return std::isfinite(value) && value > 0.0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bandmatch;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ReportReading reading = readCsvReport(text);
  if (!reading.design) {
    check(!reading.error.empty());
    check(reading.error.find('\n') == std::string::npos);
    return 0;
  }
  check(reading.error.empty());
  const ReportedDesign& design = *reading.design;
  check(isValidElementCount(design.N));
  check(positiveFinite(design.f1) && positiveFinite(design.f2) && design.f2 > design.f1);
  check(design.rhoMin >= 0.0 && design.rhoMin <= design.rhoMax && design.rhoMax <= 1.0);
  const LadderNetwork& ladder = design.ladder;
  check(ladder.loadType == design.loadType);
  check(ladder.inductance.size() == static_cast<std::size_t>(design.N));
  check(ladder.capacitance.size() == static_cast<std::size_t>(design.N));
  check(positiveFinite(ladder.loadResistance) && positiveFinite(ladder.sourceResistance));
  for (std::size_t k = 0; k < ladder.inductance.size(); ++k) {
    check(positiveFinite(ladder.inductance[k]) && positiveFinite(ladder.capacitance[k]));
  }
  // The reflection at the band's geometric centre is computed without any fault.
  static_cast<void>(inputReflection(ladder, std::sqrt(design.f1 * design.f2)));

  // Every build step works on whatever values the report holds, or says why it cannot.
  const BuildOptions options{50.0, size % 2 == 0 ? PreferredSeries::e24 : PreferredSeries::e192,
                             100.0, 500.0};
  const NetworkVariants variants = networkVariants(design, options);
  if (variants.variants.empty()) {
    check(!variants.error.empty() && variants.error.find('\n') == std::string::npos);
    return 0;
  }
  check(variants.variants.size() == 3);
  const LadderNetwork& built = variants.variants.back().ladder;
  const JudgedBand judged = judgeBand(ladderBand(built, design.f1, design.f2));
  check(!(judged.worstReflection < 0.0));
  const std::string parts =
      renderPartsList(design, variants.variants.front().ladder, built, options);
  check(parts.find('"') == std::string::npos);
  const FileOrigin origin{"fuzz", "report.csv", "all options"};
  check(!renderSchematic(layoutSchematic(design, built, options, origin), "fuzz").empty());
  return 0;
}
