// The SPICE netlist of a design written out line by line: series and parallel loads, and a built
// network's transformer, loss resistors and load power.
#include "formats/spice_netlist.hpp"

#include <gtest/gtest.h>

#include <string>

#include "network/network_build.hpp"
#include "network/sweep.hpp"
#include "support/report_files.hpp"

namespace bandmatch {
namespace {

const BuildOptions ALL_OPTIONS{50.0, PreferredSeries::e12, 100.0, 500.0};

using testing::HandReport;

// Element values that are exact in binary, so their full-precision text is known by hand.
HandReport exactThreeElementParallel() {
  HandReport hand;
  hand.n = 3;
  hand.loadType = LoadType::parallel;
  hand.inductance = {"5.000000000e-001", "1.000000000e+000", "2.000000000e+000"};
  hand.capacitance = {"2.500000000e-001", "1.250000000e-001", "6.250000000e-002"};
  return hand;
}

TEST(SpiceNetlist, SeriesLoadStartsWithASeriesBranchToTheLoad) {
  const ReportedDesign design = testing::handDesign();
  const std::string expected =
      R"(* bandmatch-export 1.0.0: matching network of hand.csv
* N = 2, band 0.500000 to 2.000000 MHz, series load
* Positions count from the load. The source of AC amplitude 2 V drives node in
* through the source resistance, so 2*V(in)/V(src) - 1 is the input reflection
* referenced to the source resistance.
VSOURCE src 0 DC 0 AC 2
RSOURCE src in 6.2500000000000000e+001
* position 2: shunt parallel L-C
L2 in 0 1.0000000000000000e+000
C2 in 0 1.2500000000000000e-001
* position 1: series L-C, the load's own resonator
L1 in m1 5.0000000000000000e-001
C1 m1 n0 2.5000000000000000e-001
* load resistance
RLOAD n0 0 5.0000000000000000e+001
.ac lin 4 1.2500000000000000e+005 2.3750000000000000e+006
.control
set numdgt=16
set nobreak
run
let rho = mag(2*v(in)/v(src) - 1)
print col rho
quit
.endc
.end
)";
  EXPECT_EQ(renderSpiceNetlist(design, design.ladder, sweepAroundBand(0.5, 2.0, 1.5, 4),
                               FileOrigin{"bandmatch-export", "hand.csv"}),
            expected);
}

TEST(SpiceNetlist, ParallelLoadStartsWithAShuntAcrossTheLoad) {
  const ReportedDesign design = testing::handDesign(exactThreeElementParallel());
  const std::string expected =
      R"(* bandmatch-export 1.0.0: matching network of a?b.csv
* N = 3, band 0.500000 to 2.000000 MHz, parallel load
* Positions count from the load. The source of AC amplitude 2 V drives node in
* through the source resistance, so 2*V(in)/V(src) - 1 is the input reflection
* referenced to the source resistance.
VSOURCE src 0 DC 0 AC 2
RSOURCE src in 6.2500000000000000e+001
* position 3: shunt parallel L-C
L3 in 0 2.0000000000000000e+000
C3 in 0 6.2500000000000000e-002
* position 2: series L-C
L2 in m2 1.0000000000000000e+000
C2 m2 n0 1.2500000000000000e-001
* position 1: shunt parallel L-C, the load's own resonator
L1 n0 0 5.0000000000000000e-001
C1 n0 0 2.5000000000000000e-001
* load resistance
RLOAD n0 0 5.0000000000000000e+001
.ac lin 100000 5.0000000000000000e+005 2.0000000000000000e+006
.control
set numdgt=16
set nobreak
run
let rho = mag(2*v(in)/v(src) - 1)
print col rho
quit
.endc
.end
)";
  // A line end in the report's name must not end the comment line.
  EXPECT_EQ(renderSpiceNetlist(design, design.ladder, sweepAroundBand(0.5, 2.0, 1.0, 100000),
                               FileOrigin{"bandmatch-export", "a\nb.csv"}),
            expected);
}

TEST(SpiceNetlist, BuiltNetworkHasTheTransformerTheLossesAndTheLoadPower) {
  const ReportedDesign design = testing::handDesign();
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

}  // namespace
}  // namespace bandmatch
