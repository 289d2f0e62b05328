#include "web/design_page.hpp"

#include <sstream>

#include "core/number_format.hpp"
#include "report/csv_report.hpp"
#include "report/text_report.hpp"
#include "rf/csv_report_reader.hpp"
#include "rf/response_plot.hpp"
#include "rf/spice_netlist.hpp"
#include "rf/sweep.hpp"
#include "rf/touchstone.hpp"

namespace bandmatch {

namespace {

// The reports name the files they were written to; the page's downloads keep those names.
std::string csvReportText(const DesignCase& design, std::string_view dateStamp) {
  std::ostringstream file;
  writeCsvReport(file, design, dateStamp);
  return file.str();
}

// The design as bandmatch-export sees it, read back from its CSV report, with the default sweep.
struct ExportedDesign {
  std::optional<ReportedDesign> reported;
  Sweep sweep;
  FrequencyResponse response;
  std::string problem;
};

ExportedDesign exportedDesign(const DesignCase& design) {
  ExportedDesign exported;
  // The date stamp is not read back; the one of the download is written into the report file.
  ReportReading reading = readCsvReport(csvReportText(design, {}));
  if (!reading.design) {
    exported.problem = "The CSV report cannot be read back: " + reading.error + ".";
    return exported;
  }
  exported.sweep = sweepAroundBand(reading.design->f1, reading.design->f2, DEFAULT_SWEEP_SPAN,
                                   DEFAULT_SWEEP_POINTS);
  exported.response = analyseSweep(reading.design->ladder, exported.sweep);
  if (const std::optional<double> frequency = firstNonFiniteFrequency(exported.response)) {
    exported.problem = "The network's reflection is not finite at " +
                       formatFullPrecision(*frequency) + " MHz: no plot and no exported files.";
    return exported;
  }
  exported.reported = std::move(reading.design);
  return exported;
}

std::string baseName(const DesignCase& design) {
  const std::string& csv = design.csvFileName;
  return csv.substr(0, csv.size() - 4);  // ".csv"
}

}  // namespace

DesignPage designPage(const FormValues& values) {
  DesignPage page{readDesignForm(values), {}, {}, {}};
  if (!page.form.design) {
    return page;
  }
  const DesignCase& design = *page.form.design;
  std::ostringstream body;
  writeReportBody(body, design);
  page.reportBody = body.str();
  page.reportBody.pop_back();  // the lines are joined, not ended, by line feeds

  const ExportedDesign exported = exportedDesign(design);
  page.problem = exported.problem;
  if (exported.reported) {
    page.plot = renderResponsePlot(*exported.reported, {{"network", exported.response}},
                                   {WEB_PROGRAM_NAME, design.csvFileName});
  }
  return page;
}

std::optional<DownloadFile> pageFile(const FormValues& values, PageFile kind,
                                     const LocalClock& clock) {
  const FormReading form = readDesignForm(values);
  if (!form.design) {
    return std::nullopt;
  }
  const DesignCase& design = *form.design;
  const std::string dateStamp = takeDateStamp(clock);
  switch (kind) {
    case PageFile::textReport: {
      std::ostringstream file;
      writeTextReport(file, design, dateStamp);
      return DownloadFile{design.textFileName, "text/plain", file.str()};
    }
    case PageFile::csvReport:
      return DownloadFile{design.csvFileName, "text/csv", csvReportText(design, dateStamp)};
    case PageFile::netlist:
    case PageFile::touchstone:
      break;
  }
  const ExportedDesign exported = exportedDesign(design);
  if (!exported.reported) {
    return std::nullopt;
  }
  const FileOrigin origin{WEB_PROGRAM_NAME, design.csvFileName};
  if (kind == PageFile::netlist) {
    return DownloadFile{
        baseName(design) + ".cir", "text/plain",
        renderSpiceNetlist(*exported.reported, exported.reported->ladder, exported.sweep, origin)};
  }
  return DownloadFile{
      baseName(design) + ".s1p", "text/plain",
      renderTouchstone(*exported.reported, exported.reported->ladder, exported.response, origin)};
}

}  // namespace bandmatch
