// What the web page shows for the form's values, and the files it offers: the console program's
// report writers for the report body and the two reports, bandmatch-fit's table of the best
// match and its fit of a measured load, and bandmatch-export's RF library, reading the CSV report
// back, for the plot, the network to build, the netlist and the Touchstone file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fitting/fit_report.hpp"
#include "report/credits.hpp"
#include "network/load_fit.hpp"
#include "formats/touchstone_reader.hpp"
#include "web/design_form.hpp"

namespace bandmatch {

// Named in the header of the netlist and the Touchstone file the page offers.
inline constexpr std::string_view WEB_PROGRAM_NAME = "bandmatch-web";

// A measured load chosen in the page: the file's name and its data. The page's plot and
// Touchstone file then show the design on it, as bandmatch-export --load FILE does.
struct PageLoad {
  std::string name;
  MeasuredLoad data;
};

// The page's sections below the form.
struct DesignPage {
  FormReading form;
  // The console report's lines from "Inputs:" through the "Source Resistance" line, joined by
  // line feeds; empty without a design.
  std::string reportBody;
  std::optional<BestMatchTable> bestMatch;  // for the design's decrement
  std::string plot;     // the SVG document of the return loss; empty without a network
  std::string problem;  // why a design has no network: no plot and no exported files
  // The network to build: its schematic, a parts list's cells (the header row first), and the
  // worst in-band figures of each variant when the build fields change the ideal ladder.
  std::string schematic;
  std::vector<std::vector<std::string>> parts;
  // The Smith chart of the network, with the measured load's curves when there is one, and the
  // circle of bandmatch-export's default goal SWR.
  std::string smithChart;
  std::string variantSummary;
  // The exporter's lines about the measured load on the network, or why it is not on the plot.
  std::string loadSummary;
  std::string loadProblem;
};

DesignPage designPage(const FormValues& values, const PageLoad* load = nullptr);

// The downloads, each named as the programs name it: NAME.txt, NAME.csv, NAME.cir, NAME.s1p,
// NAME-parts.csv, NAME-schematic.svg, NAME-smith.svg.
enum class PageFile {
  textReport,
  csvReport,
  netlist,
  touchstone,
  partsList,
  schematic,
  smithChart
};

struct DownloadFile {
  std::string name;
  std::string mediaType;
  std::string content;
};

// The file for the form's values, with the clock's date stamp in the reports; nothing when the
// form holds no design or the design has no network.
std::optional<DownloadFile> pageFile(const FormValues& values, PageFile kind,
                                     const LocalClock& clock, const PageLoad* load = nullptr);

// A measured load's file chosen in the page, fitted over the form's band: the form's values with
// the answers of the dialogue's method l in place (as bandmatch-fit --answers gives them; the
// name and N kept), and the fit's report as bandmatch-fit prints it before its table.
struct LoadChoice {
  std::optional<PageLoad> load;
  FormValues values;
  std::string fitReport;
  std::string error;  // why the file or its fit is refused, one line naming the file
};

// The models a measured load may be fitted with, by the words bandmatch-fit --model takes.
struct LoadModelOption {
  std::string_view word;
  std::string_view text;
  LoadModelChoice model;
};

inline constexpr std::array<LoadModelOption, 3> LOAD_MODEL_OPTIONS = {{
    {"auto", "auto: the model with the smaller worst error", LoadModelChoice::automatic},
    {"series", "series R-L-C", LoadModelChoice::series},
    {"parallel", "parallel G-L-C", LoadModelChoice::parallel},
}};

// A text above LOAD_FILE_SIZE_LIMIT bytes is refused; the page reads no more than one byte past it.
LoadChoice chooseLoad(const FormValues& values, std::string_view name, std::string_view text,
                      LoadModelChoice model);

}  // namespace bandmatch
