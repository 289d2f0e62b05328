// The pieces of every SPICE netlist, written out by hand: an element line to seventeen digits,
// and the AC sweep with its control block, two points being two analyses of one point each.
#include "formats/spice_deck.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

const std::vector<std::string> MEASURES = {"let rho = mag(2*v(in)/v(src) - 1)"};

TEST(SpiceDeck, WritesElementsAndTheSweepAsNgspiceRunsThem) {
  std::ostringstream element;
  writeSpiceElement(element, "L2", "in", "0", 0.1);
  EXPECT_EQ(element.str(), "L2 in 0 1.0000000000000001e-001\n");

  std::ostringstream sweep;
  writeSpiceAnalysis(sweep, {0.125, 2.375, 4}, MEASURES, "print col rho");
  EXPECT_EQ(sweep.str(),
            ".ac lin 4 1.2500000000000000e+005 2.3750000000000000e+006\n"
            ".control\n"
            "set numdgt=16\n"
            "set nobreak\n"
            "run\n"
            "let rho = mag(2*v(in)/v(src) - 1)\n"
            "print col rho\n"
            "quit\n"
            ".endc\n"
            ".end\n");
}

// ngspice sweeps a two-point linear range at its start only, so two points are two analyses.
TEST(SpiceDeck, TwoPointsAreTwoAnalysesOfOnePoint) {
  std::ostringstream deck;
  writeSpiceAnalysis(deck, {0.5, 2.0, 2}, MEASURES, "print col rho");
  EXPECT_EQ(deck.str(),
            "* Each of the two points is an analysis of its own.\n"
            ".control\n"
            "set numdgt=16\n"
            "set nobreak\n"
            "ac lin 1 5.0000000000000000e+005 5.0000000000000000e+005\n"
            "let rho = mag(2*v(in)/v(src) - 1)\n"
            "print col rho\n"
            "ac lin 1 2.0000000000000000e+006 2.0000000000000000e+006\n"
            "let rho = mag(2*v(in)/v(src) - 1)\n"
            "print col rho\n"
            "quit\n"
            ".endc\n"
            ".end\n");
}

}  // namespace
}  // namespace bandmatch
