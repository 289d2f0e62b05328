#include "web/design_page.hpp"

#include <algorithm>
#include <iterator>
#include <optional>
#include <sstream>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "fitting/dialogue_answers.hpp"
#include "report/csv_report.hpp"
#include "report/text_report.hpp"
#include "formats/csv_report_reader.hpp"
#include "runs/network_analysis.hpp"
#include "formats/parts_list.hpp"
#include "drawing/response_plot.hpp"
#include "formats/spice_netlist.hpp"
#include "network/sweep.hpp"
#include "network/tolerance.hpp"
#include "formats/touchstone.hpp"
#include "runs/variant_summary.hpp"

namespace bandmatch {

namespace {

// The reports name the files they were written to; the page's downloads keep those names.
std::string csvReportText(const DesignCase& design, std::string_view dateStamp) {
  std::ostringstream file;
  writeCsvReport(file, design, dateStamp);
  return file.str();
}

// "the network's ..." as the start of a sentence.
std::string sentence(std::string text) {
  if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') {
    text.front() = static_cast<char>(text.front() - 'a' + 'A');
  }
  return text;
}

// The design as bandmatch-export sees it, read back from its CSV report, with the default sweep,
// the build fields as its options and the page's measured load as its --load.
struct ExportedDesign {
  std::optional<ReportedDesign> reported;
  std::optional<LoadOnNetwork> measured;
  Sweep wanted;
  NetworkAnalysis analysis;
  std::string problem;
  std::string loadProblem;
};

ExportedDesign exportedDesign(const DesignCase& design, const std::optional<BuildOptions>& build,
                              const PageLoad* load) {
  ExportedDesign exported;
  if (!build) {
    exported.problem = "No network until the fields of the network to build are corrected.";
    return exported;
  }
  // The date stamp is not read back; the one of the download is written into the report file.
  ReportReading reading = readCsvReport(csvReportText(design, {}));
  if (!reading.design) {
    exported.problem = "The CSV report cannot be read back: " + reading.error + ".";
    return exported;
  }
  const ReportedDesign& reported = *reading.design;
  exported.wanted =
      sweepAroundBand(reported.f1, reported.f2, DEFAULT_SWEEP_SPAN, DEFAULT_SWEEP_POINTS);
  if (load) {
    // As bandmatch-export refuses a load: the band not covered, then active where it is used.
    const std::optional<ActivePoint> active =
        pointsInBand(load->data, reported.f1, reported.f2).error.empty()
            ? firstActivePoint(load->data, std::min(reported.f1, exported.wanted.lowerMHz),
                               std::max(reported.f2, exported.wanted.upperMHz))
            : std::nullopt;
    LoadOnNetworkFit fitted = active ? LoadOnNetworkFit{std::nullopt, activeLoadReason(*active)}
                                     : loadOnNetwork(load->data, reported);
    if (fitted.load) {
      exported.measured = std::move(fitted.load);
    } else {
      exported.loadProblem = printableText(load->name) + ": " + fitted.error;
    }
  }
  exported.analysis = analyseNetwork(reported, exported.wanted, *build,
                                     exported.measured ? &*exported.measured : nullptr);
  if (!exported.analysis.loadError.empty()) {
    // The design on its model load still has its plot and files.
    exported.loadProblem = printableText(load->name) + ": " + exported.analysis.loadError;
    exported.measured.reset();
    exported.analysis = analyseNetwork(reported, exported.wanted, *build, nullptr);
  }
  if (!exported.analysis.error.empty()) {
    exported.problem = sentence(exported.analysis.error) + ": no plot and no exported files.";
    return exported;
  }
  exported.reported = std::move(reading.design);
  return exported;
}

std::string baseName(const DesignCase& design) {
  const std::string& csv = design.csvFileName;
  return csv.substr(0, csv.size() - 4);  // ".csv"
}

// Where the page's files come from, as the exporter names its inputs and options.
struct PageOrigin {
  std::string description;
  FileOrigin origin;
};

PageOrigin pageOrigin(const DesignCase& design, const BuildOptions& build,
                      const ExportedDesign& exported, const PageLoad* load) {
  PageOrigin page{buildDescription(build), {}};
  page.origin = {WEB_PROGRAM_NAME, design.csvFileName,
                 exported.measured ? std::string_view(load->name) : std::string_view(),
                 page.description};
  return page;
}

}  // namespace

DesignPage designPage(const FormValues& values, const PageLoad* load) {
  DesignPage page{readDesignForm(values), {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
  if (!page.form.design) {
    return page;
  }
  const DesignCase& design = *page.form.design;
  std::ostringstream body;
  writeReportBody(body, design);
  page.reportBody = body.str();
  page.reportBody.pop_back();  // the lines are joined, not ended, by line feeds
  page.bestMatch = bestMatchTableText(design.decrement);

  const ExportedDesign exported = exportedDesign(design, page.form.build, load);
  page.problem = exported.problem;
  page.loadProblem = exported.loadProblem;
  if (!exported.reported) {
    return page;
  }
  const ReportedDesign& reported = *exported.reported;
  const BuildOptions& build = *page.form.build;
  const NetworkAnalysis& analysis = exported.analysis;
  const PageOrigin origin = pageOrigin(design, build, exported, load);
  page.plot = renderResponsePlot(reported, networkCurves(analysis), origin.origin);
  const LadderNetwork& network = analysis.variants.back().ladder;
  const std::optional<MeasuredLoadParts> loadParts =
      measuredLoadParts(analysis, exported.measured ? &*exported.measured : nullptr);
  const MeasuredLoadParts* partsOfLoad = loadParts ? &*loadParts : nullptr;
  page.schematic = renderNetworkSchematic(reported, network, build, origin.origin, partsOfLoad);
  page.parts = partsListRows(reported, analysis.variants.front().ladder, network, build, nullptr,
                             partsOfLoad);
  page.smithChart = renderNetworkSmithChart(
      reported, analysis.variants.back(), analysis.responses.back(), analysis.onLoad,
      exported.measured ? &*exported.measured : nullptr, DEFAULT_GOAL_SWR, origin.origin);
  if (changesNetwork(build)) {
    page.variantSummary =
        renderVariantSummary(reported, analysis.variants, variantFigures(reported, analysis),
                             build);
  }
  if (exported.measured) {
    page.loadSummary = renderMeasuredLoadSummary(reported, analysis, *exported.measured, load->name,
                                                 exported.wanted);
  }
  return page;
}

std::optional<DownloadFile> pageFile(const FormValues& values, PageFile kind,
                                     const LocalClock& clock, const PageLoad* load) {
  const FormReading form = readDesignForm(values);
  if (!form.design) {
    return std::nullopt;
  }
  const DesignCase& design = *form.design;
  switch (kind) {
    case PageFile::textReport: {
      std::ostringstream file;
      writeTextReport(file, design, takeDateStamp(clock));
      return DownloadFile{design.textFileName, "text/plain", file.str()};
    }
    case PageFile::csvReport:
      return DownloadFile{design.csvFileName, "text/csv",
                          csvReportText(design, takeDateStamp(clock))};
    default:
      break;
  }
  const ExportedDesign exported = exportedDesign(design, form.build, load);
  if (!exported.reported) {
    return std::nullopt;
  }
  const ReportedDesign& reported = *exported.reported;
  const BuildOptions& build = *form.build;
  const NetworkAnalysis& analysis = exported.analysis;
  const LadderNetwork& network = analysis.variants.back().ladder;
  const std::optional<MeasuredLoadParts> loadParts =
      measuredLoadParts(analysis, exported.measured ? &*exported.measured : nullptr);
  const MeasuredLoadParts* partsOfLoad = loadParts ? &*loadParts : nullptr;
  const PageOrigin origin = pageOrigin(design, build, exported, load);
  const std::string base = baseName(design);
  switch (kind) {
    case PageFile::netlist:
      return DownloadFile{
          base + ".cir", "text/plain",
          renderSpiceNetlist(reported, network, analysis.sweep, origin.origin,
                             changesNetwork(build) ? NetlistPrints::reflectionAndLoadPower
                                                   : NetlistPrints::reflection)};
    case PageFile::touchstone:
      return DownloadFile{
          base + ".s1p", "text/plain",
          renderTouchstone(reported, network,
                           exported.measured ? analysis.onLoad : analysis.responses.back(),
                           origin.origin)};
    case PageFile::partsList:
      return DownloadFile{base + "-parts.csv", "text/csv",
                          renderPartsList(reported, analysis.variants.front().ladder, network,
                                          build, nullptr, partsOfLoad)};
    case PageFile::schematic:
      return DownloadFile{
          base + "-schematic.svg", "image/svg+xml",
          renderNetworkSchematic(reported, network, build, origin.origin, partsOfLoad)};
    default:
      return DownloadFile{base + "-smith.svg", "image/svg+xml",
                          renderNetworkSmithChart(
                              reported, analysis.variants.back(), analysis.responses.back(),
                              analysis.onLoad, exported.measured ? &*exported.measured : nullptr,
                              DEFAULT_GOAL_SWR, origin.origin)};
  }
}

LoadChoice chooseLoad(const FormValues& values, std::string_view name, std::string_view text,
                      LoadModelChoice model) {
  LoadChoice choice;
  const std::string file = printableText(name);
  if (text.size() > LOAD_FILE_SIZE_LIMIT) {
    choice.error = file + ": " + std::string(LOAD_FILE_TOO_LARGE);
    return choice;
  }
  TouchstoneReading reading = readTouchstone(text);
  if (!reading.load) {
    choice.error = file + ": " + reading.error;
    return choice;
  }
  const FormReading form = readDesignForm(values);
  if (!form.band) {
    choice.error = file + ": the fit is made over the band f1 to f2, which the form does not hold";
    return choice;
  }
  const BandPoints band = pointsInBand(*reading.load, form.band->f1, form.band->f2);
  if (!band.error.empty()) {
    choice.error = file + ": " + band.error;
    return choice;
  }
  if (const std::optional<ActivePoint> active =
          firstActivePoint(*reading.load, form.band->f1, form.band->f2)) {
    choice.error = file + ": " + activeLoadReason(*active);
    return choice;
  }
  const LoadFit fit = fitLoad(*reading.load, band, form.band->f1, form.band->f2, model);
  if (!fit.error.empty()) {
    choice.error = file + ": " + fit.error;
    return choice;
  }
  // The name and N are the form's; the answer words name them only to be complete.
  const DialogueAnswers answers = dialogueAnswers(fit, 1, "load");
  if (!answers.error.empty()) {
    choice.error = file + ": " + answers.error;
    return choice;
  }
  std::ostringstream report;
  writeFitSummary(report, name, *reading.load, band, fit, answers);
  choice.fitReport = report.str();
  // Words 2 to 8 of name, N, l, s or p, f1, f2, level, delta bandwidth, delta, e.
  const std::string_view answeredKeys[] = {
      formKeys::METHOD,          formKeys::LOAD, formKeys::F1, formKeys::F2, formKeys::AVERAGE,
      formKeys::DELTA_BANDWIDTH, formKeys::DELTA};
  choice.values = values;
  for (std::size_t i = 0; i < std::size(answeredKeys); ++i) {
    choice.values.insert_or_assign(std::string(answeredKeys[i]), answers.words[i + 2]);
  }
  choice.load = PageLoad{std::string(name), std::move(*reading.load)};
  return choice;
}

}  // namespace bandmatch
