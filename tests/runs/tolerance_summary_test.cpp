// The cascade's tolerance summary: its first line, written out here, says what varied; the lines
// after it are the ladder's for the same figures, the parts named alike.
#include "runs/tolerance_summary.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

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
