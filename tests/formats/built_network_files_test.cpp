// The files of a built network: the list of parts written out by hand from the element values, the
// schematic's labels checked for overlap from the SVG text alone for N = 1 to 10, the netlist's
// transformer and loss resistors, the plot's curves, and the summary table's layout.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "formats/parts_list.hpp"
#include "drawing/response_plot.hpp"
#include "drawing/schematic.hpp"
#include "formats/spice_netlist.hpp"
#include "formats/touchstone.hpp"
#include "runs/variant_summary.hpp"
#include "formats/csv_report_reader.hpp"
#include "support/report_files.hpp"
#include "support/text_boxes.hpp"

namespace bandmatch {
namespace {

ReportedDesign handDesign() {
  const ReportReading reading = readCsvReport(testing::handReportText({}));
  EXPECT_TRUE(reading.design) << reading.error;
  return reading.design.value_or(ReportedDesign{});
}

const BuildOptions ALL_OPTIONS{50.0, PreferredSeries::e12, 100.0, 500.0};

// The hand report: series load, f0 = 1 MHz, position 1 L = 0.5 H, C = 0.25 F, position 2 (shunt)
// L = 1 H, C = 0.125 F, load 50 ohms, source 62.5 ohms. E12 keeps 1 H and takes 0.12 F (below
// the midpoint sqrt(0.12 * 0.15) = 0.134); n = sqrt(62.5 / 50) = 1.118034; the inductor's loss
// is 2 pi 1e6 * 1 / 100 = 62831.85 ohms, the capacitor's 1 / (2 pi 1e6 * 0.12 * 500) = 2.6526e-9.
TEST(PartsList, ListsEveryPartFromTheSourceToTheLoad) {
  const ReportedDesign design = handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const std::string expected =
      "kind,position,branch,element,ideal,chosen,error (%),unit,Q,note,exact value (SI)\n"
      "source,,,R,50,,,\xce\xa9,,the source's own resistance,5.000000000e+001\n"
      "transformer,,,n,1.11803,,,,,ideal transformer: turns ratio n:1 ladder side to source "
      "side; impedance ratio 1.25:1,1.118033989e+000\n"
      "part,2,shunt,L,1,1,0.00,H,100,series loss 62.83 k\xce\xa9 at the band centre,"
      "1.000000000e+000\n"
      "part,2,shunt,C,125,120,-4.00,mF,500,series loss 2.653 n\xce\xa9 at the band centre,"
      "1.200000000e-001\n"
      "load resonator,1,series,L,500,,,mH,,the load's own reactance: not a part to buy,"
      "5.000000000e-001\n"
      "load resonator,1,series,C,250,,,mF,,the load's own reactance: not a part to buy,"
      "2.500000000e-001\n"
      "load,,,R,50,,,\xce\xa9,,the load's resistance,5.000000000e+001\n";
  EXPECT_EQ(renderPartsList(design, variants.variants.front().ladder,
                            variants.variants.back().ladder, ALL_OPTIONS),
            expected);

  // Nothing asked but the list: the design's own source, no chosen values, no Q.
  const std::string plain = renderPartsList(design, design.ladder, design.ladder, {});
  EXPECT_NE(plain.find("\nsource,,,R,62.5,,,\xce\xa9,,"), std::string::npos);
  EXPECT_NE(plain.find("\npart,2,shunt,C,125,,,mF,,,1.250000000e-001\n"), std::string::npos);
  EXPECT_EQ(plain.find("transformer"), std::string::npos);
}

// The stress columns come last, each part's figures on its own row by position and element (four
// significant digits), blank on the rows of the source, the transformer and the load.
TEST(PartsList, GivesEachPartItsStressAtAPower) {
  const ReportedDesign design = handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const std::vector<LadderPartStress> stresses = {{2, StressedElement::inductor, 1234.56, 0.5},
                                                  {2, StressedElement::capacitor, 7.0, 2.25}};
  const std::vector<std::vector<std::string>> rows =
      partsListRows(design, variants.variants.front().ladder, variants.variants.back().ladder,
                    ALL_OPTIONS, nullptr, nullptr, &stresses);
  ASSERT_EQ(rows.size(), 8u);
  const std::vector<std::vector<std::string>> tails = {
      {"peak voltage (V)", "RMS current (A)"}, {"", ""}, {"", ""}, {"1235", "0.5"},
      {"7", "2.25"}, {"", ""}, {"", ""}, {"", ""}};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(rows[r].size(), 13u) << r;
    EXPECT_EQ(std::vector<std::string>(rows[r].end() - 2, rows[r].end()), tails[r]) << r;
  }
}

using support::svgSize;
using support::TextBox;
using support::textBoxes;

TEST(Schematic, NoTwoLabelsOverlapForAnyNetworkSize) {
  const BuildOptions variants[] = {{}, {75.0, PreferredSeries::e96, 123456.7, 2.5}};
  for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
    for (int n = 1; n <= MAX_ELEMENTS; ++n) {
      for (const BuildOptions& options : variants) {
        SCOPED_TRACE(::testing::Message() << "N = " << n << (options.series ? " built" : ""));
        const ReportedDesign design = support::reportedDesign(n, 0.3, loadType, 144.0, 148.0);
        const NetworkVariants built = networkVariants(design, options);
        const std::string description = buildDescription(options);
        const std::string svg =
            renderSchematic(layoutSchematic(design, built.variants.back().ladder, options,
                                            FileOrigin{.program = "bandmatch-export",
                                                       .reportName = "run.csv",
                                                       .network = description}),
                            "schematic");
        const std::vector<TextBox> boxes = textBoxes(svg);
        // The title lines, source, transformer, two labels per position, the load's caption.
        const std::size_t titleLines = options.series ? 3 : 2;
        EXPECT_GE(boxes.size(), titleLines + 3 + 2 * static_cast<std::size_t>(n) * 2);
        const double width = svgSize(svg, "width");
        const double height = svgSize(svg, "height");
        for (std::size_t i = 0; i < boxes.size(); ++i) {
          const TextBox& a = boxes[i];
          EXPECT_TRUE(a.left >= 0.0 && a.right <= width && a.top >= 0.0 && a.bottom <= height)
              << a.text;
          for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const TextBox& b = boxes[j];
            const bool apart =
                a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
            EXPECT_TRUE(apart) << '"' << a.text << "\" overlaps \"" << b.text << '"';
          }
        }
      }
    }
  }
}

TEST(Schematic, NamesEveryPartWithItsValue) {
  const ReportedDesign design = handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const std::string svg =
      renderSchematic(layoutSchematic(design, variants.variants.back().ladder, ALL_OPTIONS,
                                      FileOrigin{.program = "bandmatch-export",
                                                 .reportName = "hand.csv",
                                                 .network = "E12 values"}),
                      "schematic");
  std::vector<std::string> texts;
  for (const TextBox& box : textBoxes(svg)) {
    texts.push_back(box.text);
  }
  for (const char* text :
       {"Rs", "50 \xce\xa9", "transformer", "1 : 1.118", "Z 1 : 1.25", "L2", "1 H", "Q 100", "C2",
        "120 mF", "Q 500", "L1", "500 mH", "C1", "250 mF", "RL", "source",
        "the load: its own L1, C1 and RL", "built with E12 values"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
  }
  // The load's own parts never carry a Q: one for each part of position 2 only.
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Q 100"), 1);
}

TEST(BuiltNetworkFiles, NetlistHasTheTransformerTheLossesAndTheLoadPower) {
  const ReportedDesign design = handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const std::string netlist = renderSpiceNetlist(
      design, variants.variants.back().ladder, sweepAroundBand(0.5, 2.0, 1.0, 5),
      FileOrigin{.program = "bandmatch-export", .reportName = "hand.csv", .network = "E12 values"},
      NetlistPrints::reflectionAndLoadPower);
  const std::string expected =
      R"(* Built with E12 values.
* Positions count from the load. The source of AC amplitude 2 V drives node in
* through the source resistance, so 2*V(in)/V(src) - 1 is the input reflection
* referenced to the source resistance.
VSOURCE src 0 DC 0 AC 2
RSOURCE src in 5.0000000000000000e+001
* ideal transformer, turns ratio n: the ladder side has n times the voltage of
* the source side, which draws n times the ladder side's current
ETRANSFORMER secondary 0 in 0 1.1180339887498949e+000
VTRANSFORMER secondary ladder DC 0
FTRANSFORMER in 0 VTRANSFORMER 1.1180339887498949e+000
* position 2: shunt parallel L-C
L2 ladder a2 1.0000000000000000e+000
RL2 a2 0 6.2831853071795864e+004
C2 ladder b2 1.2000000000000000e-001
RC2 b2 0 2.6525823848649228e-009
* position 1: series L-C, the load's own resonator
L1 ladder m1 5.0000000000000000e-001
C1 m1 n0 2.5000000000000000e-001
* load resistance
RLOAD n0 0 5.0000000000000000e+001
* pload is the power in the load resistance; the source makes 1/(2*Rs) W
* available, so pload*2*Rs is the transducer gain.
.ac lin 5 5.0000000000000000e+005 2.0000000000000000e+006
.control
set numdgt=16
set nobreak
run
let rho = mag(2*v(in)/v(src) - 1)
let pload = mag(v(n0))*mag(v(n0))/(2*5.0000000000000000e+001)
print col rho pload
)";
  EXPECT_NE(netlist.find(expected), std::string::npos) << netlist;
}

TEST(BuiltNetworkFiles, TouchstoneIsReferencedToTheRequiredSource) {
  const ReportedDesign design = handDesign();
  const LadderNetwork network = withSourceResistance(design.ladder, 75.0);
  const Sweep sweep = sweepAroundBand(0.5, 2.0, 1.0, 3);
  const std::vector<std::string> lines = support::splitLines(renderTouchstone(
      design, network, analyseSweep(network, sweep),
      FileOrigin{
          .program = "bandmatch-export", .reportName = "hand.csv", .network = "a transformer"}));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[2], "! Built with a transformer.");
  EXPECT_EQ(lines[4], "# MHZ S MA R 7.5000000000000000e+001");
}

TEST(BuiltNetworkFiles, PlotDrawsOneLabelledCurvePerVariant) {
  const ReportedDesign design = handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const Sweep sweep = sweepAroundBand(0.5, 2.0, 1.5, 31);
  std::vector<FrequencyResponse> responses;
  for (const NetworkVariant& variant : variants.variants) {
    responses.push_back(analyseSweep(variant.ladder, sweep));
  }
  std::vector<PlotCurve> curves;
  for (std::size_t i = 0; i < responses.size(); ++i) {
    curves.push_back({variants.variants[i].label, responses[i]});
  }
  const std::string svg =
      renderResponsePlot(design, curves, FileOrigin{"bandmatch-export", "hand.csv"});
  std::vector<std::string> strokes;
  static const std::regex polyline(R"re(<polyline fill="none" stroke="(#[0-9a-f]{6})")re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), polyline);
       it != std::sregex_iterator(); ++it) {
    strokes.push_back((*it)[1]);
  }
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_NE(strokes[0], strokes[1]);
  EXPECT_NE(strokes[1], strokes[2]);
  for (const char* label :
       {">ideal</text>", ">E12 values</text>", ">E12 values with losses</text>"}) {
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  }
  EXPECT_EQ(svg.find("20 log10 |S11|"), std::string::npos);
}

// Figures given by hand: |S11| 0.1 is SWR 1.1 / 0.9 = 1.2222 and -20 dB; a gain of 0.99 is
// -0.0436 dB; 0.98 and 0.5 of dissipation are -0.0877 and -3.0103 dB.
TEST(VariantSummary, LaysOutOneRowPerVariant) {
  ReportedDesign design = handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const auto judged = [](double reflection, double gain, double dissipation) {
    JudgedBand band;
    band.worstReflection = reflection;
    band.worstGain = gain;
    band.worstDissipation = dissipation;
    return band;
  };
  const std::vector<JudgedBand> figures = {
      judged(0.1, 0.99, 1.0), judged(0.2, 0.9, 1.0), judged(0.5, 0.5, 0.98)};
  const std::string expected =
      "Transformer: turns ratio n = 1.11803 (impedance ratio n^2:1 = 1.25:1), the 50 ohm source "
      "seen by the ladder as 62.5 ohms\n"
      "Worst over the band 0.500000 to 2.000000 MHz:\n"
      "variant                 |S11|     SWR     return loss (dB)  transducer gain (dB)  "
      "dissipation loss (dB)\n"
      "ideal                   0.100000  1.2222  -20.00            -0.0436               0.0000\n"
      "E12 values              0.200000  1.5000  -13.98            -0.4576               0.0000\n"
      "E12 values with losses  0.500000  3.0000  -6.02             -3.0103               -0.0877\n"
      "Warning: the worst |S11| of \"E12 values with losses\" is 5.00 times the ideal network's; "
      "bandmatch-tune --source-ohms 50 --series E12 --q-inductor 100 --q-capacitor 500 tunes the "
      "network for the parts it is built with\n";
  EXPECT_EQ(renderVariantSummary(design, variants.variants, figures, ALL_OPTIONS), expected);
  // At twice the ideal network's worst |S11| no more.
  const std::vector<JudgedBand> close = {judged(0.1, 0.99, 1.0), judged(0.2, 0.9, 1.0),
                                         judged(0.2, 0.8, 0.98)};
  EXPECT_EQ(renderVariantSummary(design, variants.variants, close, ALL_OPTIONS).find("Warning"),
            std::string::npos);
}

}  // namespace
}  // namespace bandmatch
