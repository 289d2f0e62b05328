// A report's network worked out and its files made by the RF library the way the exporter does
// it, with no command line and no file written; and the design the console program makes for a
// measured load from the fit's answers. For the tests of the units behind the programs' files.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "fitting/dialogue_answers.hpp"
#include "formats/csv_report_reader.hpp"
#include "network/load_fit.hpp"
#include "network/measured_load.hpp"
#include "network/network_build.hpp"
#include "network/reported_design.hpp"
#include "network/sweep.hpp"
#include "network/tolerance.hpp"
#include "runs/network_analysis.hpp"
#include "runs/network_files.hpp"
#include "support/session.hpp"

namespace bandmatch::testing {

// What the exporter's options ask of the network: its build, the parts list and schematic, the
// Smith chart with its goal, the tolerance trials; and the measured load in place of position 1.
struct NetworkFilesRequest {
  BuildOptions build = {};
  bool building = false;
  const LoadOnNetwork* measured = nullptr;
  std::optional<double> smithGoal = {};
  std::optional<ToleranceOptions> tolerance = {};
  std::string_view reportName = "net.csv";
};

struct NetworkFilesOutcome {
  NetworkAnalysis analysis;
  std::optional<ToleranceFigures> tolerance;
  std::map<std::string, std::string> files;  // by suffix: ".cir", "-parts.csv", ...
};

// The files of the report (and "load.s1p") as bandmatch-export writes them for the request.
inline NetworkFilesOutcome networkFilesOf(const ReportedDesign& design, const Sweep& wanted,
                                          const NetworkFilesRequest& request) {
  NetworkFilesOutcome outcome;
  outcome.analysis = analyseNetwork(design, wanted, request.build, request.measured);
  const NetworkAnalysis& analysis = outcome.analysis;
  EXPECT_EQ(analysis.error + analysis.loadError, "");
  if (analysis.variants.empty()) {
    return outcome;
  }
  const NetworkVariant& built = analysis.variants.back();
  PlotBand spread;
  if (request.tolerance) {
    outcome.tolerance =
        toleranceFigures(design, built, request.measured, analysis.sweep, *request.tolerance, 2);
    spread = trialsBand(*request.tolerance, *outcome.tolerance);
  }
  const std::string description = buildDescription(request.build);
  const NetworkToWrite network{
      design,
      analysis.variants.front(),
      built,
      request.measured,
      analysis.sweep,
      analysis.responses.back(),
      analysis.onLoad,
      networkCurves(analysis),
      spread,
      std::nullopt,
      {"bandmatch-export", request.reportName, request.measured ? "load.s1p" : "", description},
      request.build,
      request.building,
      request.smithGoal,
      outcome.tolerance ? &outcome.tolerance->sensitivities : nullptr,
      "Schematic of the matching network: " + designSummary(design)};
  for (NetworkFile& file : networkFiles(network)) {
    outcome.files[file.suffix] = std::move(file.content);
  }
  return outcome;
}

// The design bandmatch makes of the fit's answers for N resonators (the fit choosing the model),
// read back from its CSV report; made in a scratch folder of its own.
inline ReportedDesign designForLoad(const MeasuredLoad& load, double f1, double f2, int n) {
  const LoadFit fit = fitLoad(load, pointsInBand(load, f1, f2), f1, f2, LoadModelChoice::automatic);
  EXPECT_EQ(fit.error, "");
  const DialogueAnswers answers = dialogueAnswers(fit, n, "net");
  EXPECT_EQ(answers.error, "");
  std::string input;
  for (const std::string& word : answers.words) {
    input += word + "\n";
  }
  support::ScratchDirectory scratch;
  EXPECT_EQ(support::runSession(input).status, 0);
  const ReportReading reading = readCsvReport(support::readFile("net.csv"));
  EXPECT_TRUE(reading.design) << reading.error;
  return reading.design.value_or(ReportedDesign{});
}

// The load in place of position 1 of the design, which must serve.
inline LoadOnNetwork loadOnDesign(const MeasuredLoad& load, const ReportedDesign& design) {
  LoadOnNetworkFit fit = loadOnNetwork(load, design);
  EXPECT_EQ(fit.error, "");
  return fit.load.value_or(LoadOnNetwork{});
}

}  // namespace bandmatch::testing
