// The schematic of a built network: its labels checked for overlap from the SVG text alone for
// N = 1 to 10, and every part named with its value.
#include "drawing/schematic.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "network/network_build.hpp"
#include "support/report_files.hpp"
#include "support/text_boxes.hpp"

namespace bandmatch {
namespace {

const BuildOptions ALL_OPTIONS{50.0, PreferredSeries::e12, 100.0, 500.0};

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
        const std::vector<TextBox> boxes = support::expectLabelsApartAndInside(svg);
        // The title lines, source, transformer, two labels per position, the load's caption.
        const std::size_t titleLines = options.series ? 3 : 2;
        EXPECT_GE(boxes.size(), titleLines + 3 + 2 * static_cast<std::size_t>(n) * 2);
      }
    }
  }
}

TEST(Schematic, NamesEveryPartWithItsValue) {
  const ReportedDesign design = testing::handDesign();
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

}  // namespace
}  // namespace bandmatch
