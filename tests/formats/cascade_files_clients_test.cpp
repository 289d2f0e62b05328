// Independent clients of a chosen cascade's files: ngspice simulates the netlist of lumped, line,
// stub and transformer networks between resistive and complex model ends, and its reflection
// and transducer gain must be the RF library's at every point of the sweep; scikit-rf builds the
// two-port from its own media and compares it with the .s2p file; Python's csv module reads the
// list of parts as even columns; xmllint and rsvg-convert take the schematic and the plot.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/cascade_schematic.hpp"
#include "drawing/gain_plot.hpp"
#include "formats/cascade_netlist.hpp"
#include "formats/cascade_parts_list.hpp"
#include "formats/two_port_touchstone.hpp"
#include "core/number_format.hpp"
#include "support/external_tools.hpp"
#include "support/matched_cascades.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using Complex = std::complex<double>;
constexpr double PI = std::numbers::pi;

struct NetlistCase {
  const char* name;
  const char* source;
  const char* load;
  std::vector<Section> sections;
};

// Networks about f0 = 100 MHz swept over 60 to 150 MHz: every lumped kind with and without
// losses, lines and stubs lossless and lossy, transformers, between resistances and both kinds
// of complex model.
std::vector<NetlistCase> netlistCases() {
  const auto part = [](SectionKind kind, double l, double c, double ql = LOSSLESS_Q,
                       double qc = LOSSLESS_Q) {
    return Section{
        .kind = kind, .inductance = l, .capacitance = c, .inductorQ = ql, .capacitorQ = qc};
  };
  const auto line = [](SectionKind kind, double z0, double degrees, double lossDb = 0.0) {
    return Section{
        .kind = kind, .impedance = z0, .length = degrees * PI / 180.0, .lineLossDb = lossDb};
  };
  const Section transformer{.kind = SectionKind::transformer, .turnsRatio = 1.7};
  using K = SectionKind;
  return {
      {"L network", "50", "200", {part(K::seriesInductor, 138e-9, 0), part(K::shuntCapacitor, 0, 13.8e-12)}},
      {"every lumped kind with losses",
       "series:R=12.5,L=40n,C=80p",
       "parallel:R=300,C=5p",
       {part(K::shuntCapacitor, 0, 30e-12, 0, 400), part(K::seriesTank, 90e-9, 20e-12, 60, 300),
        part(K::shuntResonator, 200e-9, 15e-12, 80, 500), part(K::seriesResonator, 150e-9, 25e-12, 70, 200),
        part(K::shuntTank, 120e-9, 18e-12, 90, 250), part(K::seriesCapacitor, 0, 40e-12, 0, 350),
        part(K::shuntInductor, 300e-9, 0, 50), part(K::seriesInductor, 60e-9, 0, 45)}},
      {"lossless lines and stubs",
       "50",
       "series:R=20,L=60n,C=30p",
       {line(K::line, 70, 80), line(K::openStub, 40, 50), line(K::line, 35, 120), line(K::shortStub, 90, 30)}},
      {"lossy lines and stubs",
       "parallel:R=75,L=400n",
       "120",
       {line(K::line, 60, 90, 0.8), line(K::openStub, 50, 60, 1.5), line(K::shortStub, 80, 40, 0.5),
        line(K::line, 100, 30, 0.2)}},
      {"transformers between parts and lines",
       "25",
       "parallel:R=200,L=1u,C=8p",
       {transformer, part(K::shuntCapacitor, 0, 20e-12), line(K::line, 50, 45),
        part(K::seriesInductor, 80e-9, 0, 100), transformer}},
  };
}

TEST(CascadeFilesClients, NgspiceReproducesReflectionAndGainAtEveryPoint) {
  BANDMATCH_REQUIRE_TOOL("ngspice", "ngspice");
  support::ScratchDirectory scratch;
  const Sweep sweep{60.0, 150.0, 46};
  for (const NetlistCase& c : netlistCases()) {
    SCOPED_TRACE(c.name);
    const MatchedCascade cascade =
        support::matchedCascade(c.sections, 100.0, c.source, c.load, 80.0, 120.0);
    std::ofstream("net.cir") << renderCascadeNetlist(cascade, sweep, "bandmatch-search");
    ASSERT_EQ(support::runCommand("ngspice -b net.cir >net.out 2>net.err"), 0)
        << support::readFile("net.out") << support::readFile("net.err");
    const std::vector<std::vector<double>> rows = support::ngspiceRows(support::readFile("net.out"));
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(sweep.points)) << support::readFile("net.out");
    CascadeWorkspace workspace;
    for (int i = 0; i < sweep.points; ++i) {
      const double f = sweepFrequency(sweep, i);
      const Complex zs = cascade.source.impedanceAt(f);
      const CascadeResponse response =
          cascadeResponse(cascade.network, f, zs, cascade.load.impedanceAt(f), workspace);
      const std::vector<double>& row = rows[static_cast<std::size_t>(i)];
      ASSERT_EQ(row.size(), 4u);
      EXPECT_NEAR(row[0], f * 1e6, 1e-6 * f * 1e6);
      EXPECT_NEAR(row[1], std::abs(response.reflection), 1e-6) << "point " << i;
      EXPECT_NEAR(row[3], response.transducerGain, 1e-6) << "point " << i;
      // The source of amplitude 2 V makes 4 / (8 Re Zs) available.
      EXPECT_NEAR(row[2], response.transducerGain / (2.0 * zs.real()), 1e-6 / (2.0 * zs.real()))
          << "point " << i;
    }
  }
}

// scikit-rf's series and shunt parts, embedded lines and shunt stubs of their own impedances in a
// 50 ohm system, lines given by their length in metres on gamma = j w / c: the same network as
// the file to 1e-9.
TEST(CascadeFilesClients, ScikitRfBuildsTheSameTwoPort) {
  BANDMATCH_REQUIRE_TOOL("/usr/bin/python3", "python3-scikit-rf");
  if (support::runCommand("/usr/bin/python3 -c 'import skrf' 2>/dev/null") != 0) {
    if (support::runningInCi()) {
      FAIL() << "scikit-rf is not installed (Debian package python3-scikit-rf)";
    }
    GTEST_SKIP() << "scikit-rf is not installed; install the Debian package python3-scikit-rf";
  }
  support::ScratchDirectory scratch;
  const auto line = [](SectionKind kind, double z0, double degrees) {
    return Section{.kind = kind, .impedance = z0, .length = degrees * PI / 180.0};
  };
  using K = SectionKind;
  const MatchedCascade cascade = support::matchedCascade(
      {{.kind = K::seriesInductor, .inductance = 120e-9}, {.kind = K::shuntCapacitor, .capacitance = 15e-12},
       line(K::line, 70.0, 80.0), line(K::openStub, 40.0, 50.0), line(K::shortStub, 90.0, 30.0),
       {.kind = K::seriesCapacitor, .capacitance = 22e-12}, {.kind = K::shuntInductor, .inductance = 300e-9}},
      100.0, "50", "75", 80.0, 120.0);
  std::ofstream("net.s2p") << renderTwoPortTouchstone(cascade, Sweep{60.0, 150.0, 31}, 50.0,
                                                      "bandmatch-search");
  const auto value = [](double number) { return formatFullPrecision(number); };
  const auto metres = [&](double degrees) {
    return value(degrees * PI / 180.0 * 299792458.0 / (2.0 * PI * 100e6));
  };
  std::ofstream("check.py")
      << "import numpy as np, warnings\n"
         "warnings.simplefilter('ignore')\n"
         "# Debian's scikit-rf 0.15 still names the aliases numpy 1.24 removed.\n"
         "for alias, kind in (('complex', complex), ('float', float), ('int', int)):\n"
         "    if alias not in np.__dict__:\n"
         "        setattr(np, alias, kind)\n"
         "import skrf\n"
         "from skrf.media import DefinedGammaZ0\n"
         "net = skrf.Network('net.s2p')\n"
         "m = DefinedGammaZ0(net.frequency, z0=50, gamma=1j * 2 * np.pi * net.f / 299792458.0)\n"
         "built = (m.inductor(" << value(120e-9) << ") ** m.shunt_capacitor(" << value(15e-12)
      << ") ** m.line(" << metres(80.0) << ", 'm', z0=70, embed=True) ** m.shunt_delay_open("
      << metres(50.0) << ", 'm', z0=40, embed=True) ** m.shunt_delay_short(" << metres(30.0)
      << ", 'm', z0=90, embed=True) ** m.capacitor(" << value(22e-12) << ") ** m.shunt_inductor("
      << value(300e-9) << "))\n"
         "assert len(net.f) == 31 and abs(net.f[0] - 60e6) < 1e-3, net.f\n"
         "error = np.max(np.abs(built.s - net.s))\n"
         "assert error < 1e-9, error\n";
  EXPECT_EQ(support::runCommand("/usr/bin/python3 check.py 2>python.err"), 0)
      << support::readFile("python.err");
}

TEST(CascadeFilesClients, PythonReadsThePartsListAsEvenColumns) {
  BANDMATCH_REQUIRE_TOOL("python3", "python3");
  support::ScratchDirectory scratch;
  // Every lumped kind, then a stub and a transformer, to a measured load with its fitted model.
  MatchedCascade cascade = support::matchedCascade(
      netlistCases()[1].sections, 100.0, "series:R=12.5,L=40n,C=80p", "50", 80.0, 120.0);
  cascade.network.sections.push_back({.kind = SectionKind::openStub, .impedance = 60.0, .length = 0.7});
  cascade.network.sections.push_back({.kind = SectionKind::transformer, .turnsRatio = 1.3});
  cascade.load.end.kind = EndKind::measured;
  cascade.load.name = "dipole, simulated.s1p";
  cascade.load.fitted = *parseNetworkEnd("parallel:R=300,C=5p").end;
  const std::vector<PartStress> stresses = cascadePartStress(
      cascade.network, cascade.source.impedanceAt, [](double) { return Complex(50.0, 10.0); },
      80.0, 120.0, 100.0);
  std::ofstream("parts.csv") << renderCascadePartsList(
      cascade, *parseSubstrate("er=4.4,h=1.6mm,t=35um").substrate, &stresses);
  // Every row has the header's seventeen cells; the exact values and the stresses are numbers.
  std::ofstream("check.py")
      << "import csv\n"
         "rows = list(csv.reader(open('parts.csv', encoding='utf-8', newline='')))\n"
         "assert rows[0][:5] == ['kind', 'section', 'name', 'arm', 'element'], rows[0]\n"
         "assert all(len(row) == 17 for row in rows), [len(row) for row in rows]\n"
         "parts = [row for row in rows[1:] if row[0] in ('part', 'line', 'stub')]\n"
         "assert len(parts) == 13, len(parts)\n"
         "for row in parts:\n"
         "    float(row[11]); float(row[15]); float(row[16])\n"
         "stubs = [row for row in rows if row[0] == 'stub']\n"
         "assert float(stubs[0][13]) > 0 and float(stubs[0][14]) > 0, stubs[0]\n"
         "assert [row[4] for row in rows if row[0] == 'load'] == ['measured', 'R', 'C'], rows[-3:]\n";
  EXPECT_EQ(support::runCommand("python3 check.py 2>python.err"), 0)
      << support::readFile("python.err");
}

TEST(CascadeFilesClients, XmllintAndRsvgTakeTheSchematicAndThePlot) {
  BANDMATCH_REQUIRE_TOOL("xmllint", "libxml2-utils");
  BANDMATCH_REQUIRE_TOOL("rsvg-convert", "librsvg2-bin");
  support::ScratchDirectory scratch;
  for (const NetlistCase& c : netlistCases()) {
    const MatchedCascade cascade =
        support::matchedCascade(c.sections, 100.0, c.source, c.load, 80.0, 120.0);
    std::ofstream("net-schematic.svg")
        << renderSchematic(layoutCascadeSchematic(cascade, "bandmatch-search <&>",
                                                  *parseSubstrate("er=3.5,h=0.8mm").substrate),
                           "schematic");
    GainPlot plot{"gain & loss", "a <b>", {}, {}, {}, 80.0, 120.0, 0.9, 0.3};
    CascadeWorkspace workspace;
    for (int i = 0; i <= 90; ++i) {
      const double f = 60.0 + i;
      const CascadeResponse response = cascadeResponse(
          cascade.network, f, cascade.source.impedanceAt(f), cascade.load.impedanceAt(f), workspace);
      plot.frequencyMHz.push_back(f);
      plot.transducerGain.push_back(response.transducerGain);
      plot.reflection.push_back(std::abs(response.reflection));
    }
    std::ofstream("net-gain.svg") << renderGainPlot(plot);
    for (const char* file : {"net-schematic.svg", "net-gain.svg"}) {
      EXPECT_EQ(support::runCommand(std::string("xmllint --noout ") + file + " 2>xmllint.err"), 0)
          << c.name << ' ' << file << support::readFile("xmllint.err");
      EXPECT_EQ(support::runCommand(std::string("rsvg-convert ") + file + " -o net.png 2>rsvg.err"), 0)
          << c.name << ' ' << file << support::readFile("rsvg.err");
      EXPECT_GT(support::readFile("net.png").size(), 1000u);
    }
  }
}

}  // namespace
}  // namespace bandmatch
