// What the web page shows for the form's values, and the files it offers: the console program's
// report writers for the report body and the two reports, and bandmatch-export's RF library,
// reading the CSV report back, for the plot, the netlist and the Touchstone file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "report/credits.hpp"
#include "web/design_form.hpp"

namespace bandmatch {

// Named in the header of the netlist and the Touchstone file the page offers.
inline constexpr std::string_view WEB_PROGRAM_NAME = "bandmatch-web";

// The page's sections below the form. Later sections join here as fields of their own: the
// table of the best match for N = 1 to 10 and its limit, the measured load's fit, the schematic,
// the component list and the Smith chart.
struct DesignPage {
  FormReading form;
  // The console report's lines from "Inputs:" through the "Source Resistance" line, joined by
  // line feeds; empty without a design.
  std::string reportBody;
  std::string plot;     // the SVG document of the return loss; empty without a design
  std::string problem;  // why a design has no plot and no exported files
};

DesignPage designPage(const FormValues& values);

// The downloads, each named as the programs name it: NAME.txt, NAME.csv, NAME.cir, NAME.s1p.
enum class PageFile { textReport, csvReport, netlist, touchstone };

struct DownloadFile {
  std::string name;
  std::string mediaType;
  std::string content;
};

// The file for the form's values, with the clock's date stamp in the reports; nothing when the
// form holds no design or the design has no exported files.
std::optional<DownloadFile> pageFile(const FormValues& values, PageFile kind,
                                     const LocalClock& clock);

}  // namespace bandmatch
