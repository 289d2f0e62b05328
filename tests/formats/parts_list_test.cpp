// The list of parts of a built network: written out by hand from the element values of the hand
// report, and its stress columns.
#include "formats/parts_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network/network_build.hpp"
#include "support/report_files.hpp"

namespace bandmatch {
namespace {

const BuildOptions ALL_OPTIONS{50.0, PreferredSeries::e12, 100.0, 500.0};

// The hand report: series load, f0 = 1 MHz, position 1 L = 0.5 H, C = 0.25 F, position 2 (shunt)
// L = 1 H, C = 0.125 F, load 50 ohms, source 62.5 ohms. E12 keeps 1 H and takes 0.12 F (below
// the midpoint sqrt(0.12 * 0.15) = 0.134); n = sqrt(62.5 / 50) = 1.118034; the inductor's loss
// is 2 pi 1e6 * 1 / 100 = 62831.85 ohms, the capacitor's 1 / (2 pi 1e6 * 0.12 * 500) = 2.6526e-9.
TEST(PartsList, ListsEveryPartFromTheSourceToTheLoad) {
  const ReportedDesign design = testing::handDesign();
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
  const ReportedDesign design = testing::handDesign();
  const NetworkVariants variants = networkVariants(design, ALL_OPTIONS);
  const std::vector<LadderPartStress> stresses = {{2, StressedElement::inductor, 1234.56, 0.5},
                                                  {2, StressedElement::capacitor, 7.0, 2.25}};
  const std::vector<std::vector<std::string>> rows =
      partsListRows(design, variants.variants.front().ladder, variants.variants.back().ladder,
                    ALL_OPTIONS, nullptr, nullptr, &stresses);
  ASSERT_EQ(rows.size(), 8u);
  const std::vector<std::vector<std::string>> tails = {{"peak voltage (V)", "RMS current (A)"},
                                                       {"", ""},
                                                       {"", ""},
                                                       {"1235", "0.5"},
                                                       {"7", "2.25"},
                                                       {"", ""},
                                                       {"", ""},
                                                       {"", ""}};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(rows[r].size(), 13u) << r;
    EXPECT_EQ(std::vector<std::string>(rows[r].end() - 2, rows[r].end()), tails[r]) << r;
  }
}

}  // namespace
}  // namespace bandmatch
