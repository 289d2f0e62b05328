// The lines printed after the tolerance trials, written out by hand from trials and
// sensitivities given here, the yield line's rounding of the share and its interval, and the
// cascade's first line, the lines after it being the ladder's for the same figures.
#include "runs/tolerance_summary.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

// Ten trials with worst SWRs 1.1 to 3.0: six at or below a goal of 1.5, Wilson's interval of
// 6 / 10 at z = 1.959964 is 0.312674 to 0.831820 (the roots of (s - p)^2 = z^2 p (1 - p) / n),
// shown rounded outwards; the nearest ranks of 50, 90 and 99 % are trials 5, 9 and 10.
TEST(ToleranceSummary, StatesTheTrialsTheYieldThePercentilesAndEachPartsEffect) {
  ToleranceResult result;
  result.worstSwr = {1.1, 1.15, 1.2, 1.3, 1.4, 1.5, 1.6, 1.8, 2.2, 3.0};
  result.nominalSwr = 1.2345;
  const std::vector<PartSensitivity> sensitivities = {{2, PartKind::inductor, 1.5e-3},
                                                      {2, PartKind::capacitor, -4.25e-3},
                                                      {3, PartKind::inductor, 2e-4}};
  const std::string figures =
      "Nominal network (every part at its value): worst in-band SWR 1.2345\n"
      "Yield: 60.0 % of 10 trials with SWR <= 1.50, 95 % interval 31.2 to 83.2 %\n"
      "Worst in-band SWR of the trials: 1.4000 (50th percentile), 2.2000 (90th), 3.0000 (99th)\n";
  const struct {
    ToleranceOptions options;
    int positions;
    bool measured;
    std::vector<PartSensitivity> sensitivities;
    std::string text;
  } cases[] = {
      {{2.0, 5.0, 10, 9},
       3,
       false,
       sensitivities,
       "Tolerance: L +-2 %, C +-5 % at positions 2 to 3, uniform draws from seed 9; interval by "
       "Wilson's score\n" +
           figures +
           "Change of the worst in-band |S11| for +1 % of each part, largest first:\n"
           "part  change of |S11|\n"
           "C(2)  -4.250e-003\n"
           "L(2)  1.500e-003\n"
           "L(3)  2.000e-004\n"},
      {{0.5, 0.0, 10, 18446744073709551615ULL},
       1,
       true,
       {},
       "Tolerance: L +-0.5 %, C +-0 % with no part to vary, uniform draws from seed "
       "18446744073709551615, on the measured load; interval by Wilson's score\n" +
           figures},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(
        renderToleranceSummary(c.options, c.positions, c.measured, result, 1.5, c.sensitivities),
        c.text);
  }
}

TEST(ToleranceSummary, YieldLineRoundsTheShareInAndTheIntervalOut) {
  const struct {
    YieldFigures figures;
    std::string line;
  } cases[] = {
      {{973, 1000, 0.973, 0.96116, 0.98163},
       "Yield: 97.3 % of 1000 trials with SWR <= 2.00, 95 % interval 96.1 to 98.2 %"},
      {{9999, 10000, 0.9999, 0.99943, 0.99998},
       "Yield: 99.9 % of 10000 trials with SWR <= 2.00, 95 % interval 99.9 to 100.0 %"},
      {{1, 100000, 0.00001, 0.0000017, 0.0000566},
       "Yield: 0.1 % of 100000 trials with SWR <= 2.00, 95 % interval 0.0 to 0.1 %"},
      {{10000, 10000, 1.0, 0.99962, 1.0},
       "Yield: 100.0 % of 10000 trials with SWR <= 2.00, 95 % interval 99.9 to 100.0 %"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(yieldLine(c.figures, 2.0), c.line);
  }
}

TEST(ToleranceSummary, CascadeSaysWhatVariedAndSharesTheLaddersLines) {
  CascadeToleranceResult result;
  result.trials.worstSwr = {1.2, 1.4, 1.6, 1.8, 2.5};
  result.trials.nominalSwr = 1.3;
  result.sensitivities = {{{0, CascadeQuantity::inductance}, 0.01},
                          {{1, CascadeQuantity::capacitance}, -0.03}};
  struct Case {
    std::optional<double> linePercent;
    std::size_t parts;
    bool transformer;
    std::string first;
  };
  const std::vector<Case> cases = {
      {std::nullopt, 3, false,
       "Tolerance: L +-2 %, C +-5 %, lines and stubs +-5 % (Z0 and electrical length) over 3 "
       "parts, uniform draws from seed 7; interval by Wilson's score\n"},
      {0.5, 1, true,
       "Tolerance: L +-2 %, C +-5 %, lines and stubs +-0.5 % (Z0 and electrical length) over 1 "
       "part, the ideal transformer fixed, uniform draws from seed 7; interval by Wilson's "
       "score\n"},
  };
  // The ladder's parts of the same names and changes: L(1) is position 1's, C(2) position 2's.
  const std::vector<PartSensitivity> ladderParts = {{1, PartKind::inductor, 0.01},
                                                    {2, PartKind::capacitor, -0.03}};
  for (const Case& c : cases) {
    const CascadeToleranceOptions options{{2.0, 5.0, 5, 7}, c.linePercent};
    result.parts = c.parts;
    result.transformer = c.transformer;
    const std::string text = renderCascadeToleranceSummary(options, result, 2.0);
    const std::string ladder =
        renderToleranceSummary(options.parts, 5, false, result.trials, 2.0, ladderParts);
    EXPECT_EQ(text, c.first + ladder.substr(ladder.find('\n') + 1)) << c.first;
  }
}

}  // namespace
}  // namespace bandmatch
