#include "formats/cascade_netlist.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/matched_cascades.hpp"

namespace bandmatch {
namespace {

// A measured load is simulated as its fitted model, and the netlist says so; without a model it
// is its resistance at the band's centre (here the data's 42 ohms), and the netlist says that. A
// shunt part adds no node: the load hangs on the input node "in". (5p reads as 5 times 1e-12.)
TEST(CascadeNetlist, WritesAMeasuredEndAsItsFittedModel) {
  MatchedCascade cascade = support::matchedCascade(
      {{.kind = SectionKind::shuntCapacitor, .capacitance = 10e-12}}, 100.0, "50", "50", 90.0,
      110.0);
  cascade.load.end.kind = EndKind::measured;
  cascade.load.name = "antenna.s1p";
  cascade.load.fitted = *parseNetworkEnd("parallel:R=300,C=5p").end;
  cascade.load.fitError = 0.0123;
  const Sweep sweep{90.0, 110.0, 3};
  const std::string fitted = renderCascadeNetlist(cascade, sweep, "bandmatch-search");
  for (const char* line :
       {"\n* The load antenna.s1p is a measured one-port, written as its parallel R-L-C fitted over "
        "the band (worst error 1.23 %).\n",
        "\n* load: parallel R-L-C: R 300 ohm, C 5 pF\nRLOAD in 0 3.0000000000000000e+002\n"
        "CLOAD in 0 4.9999999999999997e-012\n",
        "\nlet pload = mag(v(in))*mag(v(in))/(2*3.0000000000000000e+002)\n"}) {
    EXPECT_NE(fitted.find(line), std::string::npos) << line << fitted;
  }
  EXPECT_EQ(fitted.find("LLOAD"), std::string::npos);

  cascade.load.fitted.reset();
  cascade.load.impedanceAt = [](double) { return std::complex<double>(42.0, -7.0); };
  const std::string plain = renderCascadeNetlist(cascade, sweep, "bandmatch-search");
  EXPECT_NE(plain.find("no lumped model fits; written as its resistance at the band centre"),
            std::string::npos);
  EXPECT_NE(plain.find("\nRLOAD in 0 4.2000000000000000e+001\n"), std::string::npos) << plain;
}

}  // namespace
}  // namespace bandmatch
