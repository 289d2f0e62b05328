#include "formats/cascade_parts_list.hpp"

#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "core/number_format.hpp"
#include "support/matched_cascades.hpp"

namespace bandmatch {
namespace {

constexpr double PI = std::numbers::pi;

// Written out by hand from the values: f0 = 100 MHz, so the 10 pF capacitor of Q 200 has
// 1 / (2 pi 1e8 * 1e-11 * 200) = 0.7958 ohms of loss; 90 and 45 degrees are pi/2 and pi/4; the
// transformer of n = 2 shows the load 4 times larger. The stresses are placed by section and
// element, four significant digits. The exact column holds each double to seventeen digits, the
// correctly rounded decimal expansion (1e-11 and 1.2e-6 are no doubles). The microstrip columns
// are the microstrip unit's figures for 70 and 50 ohms on 1.6 mm FR4 (its own tests check them
// against published tables).
TEST(CascadePartsList, ListsEveryPartFromTheSourceToTheLoad) {
  const MatchedCascade cascade = support::matchedCascade(
      {{.kind = SectionKind::shuntCapacitor, .capacitance = 10e-12, .capacitorQ = 200.0},
       {.kind = SectionKind::line, .impedance = 70.0, .length = PI / 2.0},
       {.kind = SectionKind::shortStub, .impedance = 50.0, .length = PI / 4.0},
       {.kind = SectionKind::transformer, .turnsRatio = 2.0}},
      100.0, "50", "series:R=12.5,L=1.2u", 90.0, 110.0);
  const Substrate fr4 = *parseSubstrate("er=4.4,h=1.6mm,t=35um").substrate;
  const auto board = [&](double z0, double radians) {
    const double width = *microstripWidth(fr4, z0);
    return formatPlainDecimal(width * 1e3, 6) + "," +
           formatPlainDecimal(microstripLength(fr4, width, radians, 100.0) * 1e3, 6);
  };
  const std::vector<PartStress> stresses = {{0, StressedElement::capacitor, 123.456, 0.25},
                                            {1, StressedElement::line, 200.0, 1.5},
                                            {2, StressedElement::line, 7.0, 0.012346}};
  const std::string expected =
      "kind,section,name,arm,element,value,unit,Q,Z0 (ohm),length (deg at f0),note,"
      "exact value (SI),exact length (rad at f0),microstrip width (mm),microstrip length (mm),"
      "peak voltage (V),RMS current (A)\n"
      "source,,,,R,50,\xce\xa9,,,,the source's own: not a part to buy,5.0000000000000000e+001,,,,,\n"
      "part,1,pC,shunt,C,10,pF,200,,,series loss 795.8 m\xce\xa9 at f0,9.9999999999999994e-012,,,,"
      "123.5,0.25\n"
      "line,2,T,series,line,,,,70,90,,7.0000000000000000e+001,1.5707963267948966e+000," +
      board(70.0, PI / 2.0) +
      ",200,1.5\n"
      "stub,3,sS,shunt,short-circuited stub,,,,50,45,,5.0000000000000000e+001,7.8539816339744828e-001," +
      board(50.0, PI / 4.0) +
      ",7,0.01235\n"
      "transformer,4,X,,n,2,,,,,ideal transformer: the load side is seen from the source n^2 = 4 "
      "times larger,2.0000000000000000e+000,,,,,\n"
      "load,,,series model,R,12.5,\xce\xa9,,,,the load's own: not a part to buy,1.2500000000000000e+001,,,,,\n"
      "load,,,series model,L,1.2,\xc2\xb5H,,,,the load's own: not a part to buy,1.1999999999999999e-006,,,,,\n";
  EXPECT_EQ(renderCascadePartsList(cascade, fr4, &stresses), expected);

  // Without a board or a power the optional columns are left out; a measured end's name keeps
  // no comma.
  MatchedCascade measured = cascade;
  measured.load.end.kind = EndKind::measured;
  measured.load.name = "amp,\"out\".s1p";
  measured.load.fitted.reset();
  const std::vector<std::vector<std::string>> rows = cascadePartsRows(measured);
  EXPECT_EQ(rows.front().size(), 13u);
  EXPECT_EQ(rows.back()[10], "measured one-port amp;'out'.s1p");
}

}  // namespace
}  // namespace bandmatch
