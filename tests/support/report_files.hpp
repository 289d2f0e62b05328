// CSV reports for the tests of the companion programs: written by hand from the report's row
// layout, or by the real synthesis and CSV writer; and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/design_case.hpp"
#include "formats/csv_report_reader.hpp"
#include "report/csv_report.hpp"
#include "support/sample_design.hpp"
#include "support/session.hpp"

namespace bandmatch::testing {

using support::synthesizedDesign;

// The cells a hand-written report carries; every value is the text of its cell.
struct HandReport {
  int n = 2;
  LoadType loadType = LoadType::series;
  std::string f1 = "0.500000";
  std::string f2 = "2.000000";
  std::string rhoMin = "0.071381200";
  std::string rhoMax = "0.111010597";
  std::vector<std::string> inductance = {"5.000000000e-001", "1.000000000e+000"};
  std::vector<std::string> capacitance = {"2.500000000e-001", "1.250000000e-001"};
  std::string loadResistance = "5.000000000e+001";
  std::string sourceResistance = "6.250000000e+001";
};

// The lines of a report of method D, laid out row by row: credits block on lines 1 to 13,
// fixed rows up to line 52, then the prototype and element values.
inline std::vector<std::string> handReportLines(const HandReport& report) {
  const bool series = report.loadType == LoadType::series;
  const std::string n = std::to_string(report.n);
  std::vector<std::string> lines = support::splitLines(support::expectedCreditsBlock(true));
  const std::vector<std::string> fixedRows = {
      "Inputs:",
      "   Text Result File Name:                ,hand.txt",
      "   CSV Result File Name:                 ,hand.csv",
      "   N =                                   ," + n,
      "   D ,Load Decrement entered directly",
      series ? "   S ,Series Load or Series Equivalent Load Parameters"
             : "   P ,Parallel Load or Parallel Equivalent Load Parameters",
      "   Low Frequency (f1) (MHz) =            ," + report.f1,
      "   High Frequency (f2) (MHz) =           ," + report.f2,
      "   Load Decrement entered directly",
      "      Load Decrement =                   ,1.000000e+000",
      std::string(47, ' '),
      series ? "      Series Load" : "      Parallel Load",
      series ? "         average resistance (ohms) =     ,5.000000e+001"
             : "         average conductance (Siemens) = ,2.000000e-002",
      std::string(41, ' '),
      std::string(41, ' '),
      "",
      "Output Part 1: Preliminary",
      "   Center Frequency     (f0)    (MHz) =      ,1.000000",
      "   Match Bandwidth      (f2-f1) (MHz) =      ,1.500000",
      "   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  ,1.500000000",
      series ? "   No Reactance Slope Parameter Calculated because Load Decrement entered"
             : "   No Susceptance Slope Parameter Calculated because Load Decrement entered",
      "   Load Decrement entered at input           ",
      "   Load Q =                                 ,6.666666667e-001",
      "",
      "Output Part 2: Fano; Levy; Newton - Raphson Solution",
      "   FV =                   ,1.000e-020",
      "   IT (iterations in Newton - Raphson Solution) = ,13",
      "   A  =                   ,1.051220973",
      "   B  =                   ,0.253104519",
      "   Magnitude of Reflection Coefficient Min = ," + report.rhoMin,
      "   Magnitude of Reflection Coefficient Max = ," + report.rhoMax,
      "   Mismatch Loss Min (dB) = ,-0.022185069",
      "   Mismatch Loss Max (dB) = ,-0.053852146",
      "   Return Loss Min (dB) = ,-22.928323112",
      "   Return Loss Max (dB) = ,-19.092711232",
      "   SWR Min =              ,1.153736280",
      "   SWR Max =              ,1.249745603",
      "",
      "Output Part 3: Resistive Source with g(i) Prototype Values",
      "   G(0) (load)   =     ,1.000000000",
  };
  lines.insert(lines.end(), fixedRows.begin(), fixedRows.end());
  for (int i = 1; i <= report.n; ++i) {
    lines.push_back("   G(" + std::to_string(i) + ")          =     ,1.000000000");
  }
  lines.push_back("   G(" + std::to_string(report.n + 1) + ") (source) =     ,1.250000000");
  lines.push_back("");
  lines.push_back("Output Part 4: Network Element Values Calculated");
  lines.push_back("   Load Resistance (ohms) =   ," + report.loadResistance);
  for (int i = 1; i <= report.n; ++i) {
    const std::string index = std::to_string(i);
    const auto at = static_cast<std::size_t>(i - 1);
    lines.push_back("   L(" + index + ") (H) =                 ," + report.inductance.at(at));
    lines.push_back("   C(" + index + ") (F) =                 ," + report.capacitance.at(at));
  }
  lines.push_back("   Source Resistance (ohms) = ," + report.sourceResistance);
  return lines;
}

inline std::string joinLines(const std::vector<std::string>& lines,
                             std::string_view lineEnd = "\n") {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += lineEnd;
  }
  return text;
}

inline std::string handReportText(const HandReport& report = {}) {
  return joinLines(handReportLines(report));
}

// The design the report reader takes from a hand-written report.
inline ReportedDesign handDesign(const HandReport& report = {}) {
  const ReportReading reading = readCsvReport(handReportText(report));
  EXPECT_TRUE(reading.design) << reading.error;
  return reading.design.value_or(ReportedDesign{});
}

inline std::string realReportText(const DesignCase& design) {
  std::ostringstream file;
  writeCsvReport(file, design, support::FIXED_DATE_STAMP);
  return file.str();
}

inline void writeTextFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
}

// Every entry of a directory, by name, sorted.
inline std::vector<std::string> directoryEntries(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The |S11| column of a Touchstone file's data lines, in their order.
inline std::vector<double> touchstoneMagnitudes(const std::string& file) {
  std::vector<double> magnitudes;
  for (const std::string& line : support::splitLines(file)) {
    if (!line.empty() && line[0] != '!' && line[0] != '#') {
      std::istringstream data(line);
      double frequency = 0.0;
      double magnitude = 0.0;
      data >> frequency >> magnitude;
      magnitudes.push_back(magnitude);
    }
  }
  return magnitudes;
}

}  // namespace bandmatch::testing
