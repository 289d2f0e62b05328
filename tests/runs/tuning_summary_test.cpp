// What the tuner prints and writes, laid out from a tuning given by hand: the table of worst
// figures with the report's, Fano's equal-ripple figure and the bound, and the values file.
#include "runs/tuning_summary.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/session.hpp"

namespace bandmatch {
namespace {

LadderNetwork seriesLadder(std::vector<double> inductance, std::vector<double> capacitance,
                           double sourceResistance) {
  LadderNetwork ladder;
  ladder.inductance = std::move(inductance);
  ladder.capacitance = std::move(capacitance);
  ladder.loadResistance = 50.0;
  ladder.sourceResistance = sourceResistance;
  return ladder;
}

// N = 3 at decrement 1 over 10 to 20 MHz: the report's and Fano's equal-ripple |Gamma| is
// 0.111010597 (tests/data/run1), the bound exp(-pi) = 0.043214; SWR (1 + r) / (1 - r) and return
// loss 20 log10 r worked by hand, e.g. 1.109671 / 0.890329 = 1.2464 and -19.20 dB.
TEST(TuningSummary, ComparesTheTunedNetworkWithTheReportAndFanosFigures) {
  ReportedDesign design;
  design.N = 3;
  design.f1 = 10.0;
  design.f2 = 20.0;
  design.rhoMax = 0.111010597;
  NetworkTuning tuning;
  tuning.untuned.worst = 0.111010597;
  tuning.tuned.worst = 0.109671;
  tuning.variables = {{VariableKind::inductance, 2},
                      {VariableKind::capacitance, 2},
                      {VariableKind::inductance, 3},
                      {VariableKind::capacitance, 3},
                      {VariableKind::source, 0}};
  tuning.samples = 2001;
  tuning.optimisedSamples = 2001;
  tuning.evaluations = 42;
  EXPECT_EQ(
      renderTuningSummary(design, tuning, {false, 1.0, 0.5, "", 0.01234}),
      "Tuned on 2001 points of the model load in the band 10.000000 to 20.000000 MHz: L and "
      "C of positions 2 to 3 and the source resistance, each within a factor of 1.5 of its "
      "start either way (--range 50)\n"
      "network                            worst |Gamma|  SWR     return loss (dB)  change (%)\n"
      "report: model load, N = 3          0.111011       1.2497  -19.09\n"
      "untuned on the model load          0.111011       1.2497  -19.09\n"
      "tuned on the model load            0.109671       1.2464  -19.20            -1.21\n"
      "equal-ripple, N = 3, decrement 1   0.111011       1.2497  -19.09\n"
      "bound exp(-pi*decrement), N = inf  0.043214       1.0903  -27.29\n"
      "Tuning: 42 iterations (NLopt SLSQP); 12.3 ms\n");

  // On a measured load with standard values, a transformer and a subset of the samples; the
  // variables left at the range's limit by either tuning are named.
  design.N = 2;
  tuning.untuned.network.ladder.turnsRatio = 1.2;
  tuning.variables = {{VariableKind::inductance, 2},
                      {VariableKind::capacitance, 2},
                      {VariableKind::source, 0},
                      {VariableKind::retuning, 0}};
  tuning.standardVariables = {{VariableKind::source, 0}, {VariableKind::retuning, 0}};
  tuning.untunedStandard = RatedNetwork{{}, 0.2};
  tuning.tunedStandard = RatedNetwork{{}, 0.15};
  tuning.samples = 150;
  tuning.edgeSamples = 2;
  tuning.optimisedSamples = 100;
  tuning.standardEvaluations = 7;
  tuning.atLimit = {{VariableKind::retuning, 0}};
  tuning.standardAtLimit = {{VariableKind::capacitance, 2}};
  const std::string text = renderTuningSummary(design, tuning, {true, 1.0, 2.0, "E24", 0.0});
  for (const char* line :
       {"Tuned on 100 of the 148 measured points in the band 10.000000 to 20.000000 MHz and at "
        "its edges, interpolated: L and C of position 2, the transformer's turns ratio and the "
        "retuning element, each within a factor of 3 of its start either way (--range 200)\n",
        "\nuntuned, E24 values, on the measured load  0.200000       1.5000  -13.98\n",
        "\ntuned, E24 values, on the measured load    0.150000       1.3529  -16.48            "
        "-25.00\n",
        "\nTuning: 42 iterations (NLopt SLSQP), then 7 with E24 values for the transformer's turns "
        "ratio and the retuning element; 0.0 ms\n",
        "\nAt the --range limit: the retuning element and C(2); a wider --range may lower the "
        "worst |Gamma| further\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
}

// Every value before and after with its change in percent, from the load to the source; the
// retuning element of a measured load last, and the rounded networks in columns of their own.
TEST(TuningSummary, WritesEveryValueBeforeAndAfterTuning) {
  ReportedDesign design;
  design.N = 2;
  NetworkTuning tuning;
  tuning.untuned.network.ladder = seriesLadder({1e-6, 2e-6}, {1e-10, 2e-10}, 62.5);
  tuning.tuned.network.ladder = seriesLadder({1e-6, 2.2e-6}, {1e-10, 1.5e-10}, 75.0);
  tuning.untuned.network.retuning.kind = RetuningKind::seriesInductor;
  tuning.untuned.network.retuning.value = 4e-7;
  tuning.tuned.network.retuning = tuning.untuned.network.retuning;
  tuning.tuned.network.retuning.value = 5e-7;
  const std::string rows =
      "Load Resistance (ohms),5.000000000e+001,5.000000000e+001,0.0000\n"
      "L(1) (H),1.000000000e-006,1.000000000e-006,0.0000\n"
      "C(1) (F),1.000000000e-010,1.000000000e-010,0.0000\n"
      "L(2) (H),2.000000000e-006,2.200000000e-006,10.0000\n"
      "C(2) (F),2.000000000e-010,1.500000000e-010,-25.0000\n"
      "Source Resistance (ohms),6.250000000e+001,7.500000000e+001,20.0000\n";
  EXPECT_EQ(renderTunedValues(design, tuning, {false, 1.0, 0.5, "", 0.0}),
            "element,untuned,tuned,change (%)\n" + rows);
  EXPECT_EQ(renderTunedValues(design, tuning, {true, 1.0, 0.5, "", 0.0}),
            "element,untuned,tuned,change (%)\n" + rows +
                "Retuning series inductor (H),4.000000000e-007,5.000000000e-007,25.0000\n");

  tuning.untunedStandard = tuning.untuned;
  tuning.tunedStandard = tuning.tuned;
  tuning.tunedStandard->network.ladder.inductance[1] = 2.4e-6;
  const std::vector<std::string> lines =
      support::splitLines(renderTunedValues(design, tuning, {false, 1.0, 0.5, "E12", 0.0}));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0],
            "element,untuned,tuned,change (%),untuned E12 values,tuned E12 values,change (%)");
  EXPECT_EQ(lines[4],
            "L(2) (H),2.000000000e-006,2.200000000e-006,10.0000,2.000000000e-006,"
            "2.400000000e-006,20.0000");
}

}  // namespace
}  // namespace bandmatch
