// The cascade's tolerance summary: its first line says what varied, written out here for each
// kind of cascade; the lines after it are the ladder's for the same figures, parts named alike.
#include "runs/tolerance_summary.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

std::string afterFirstLine(const std::string& text) {
  return text.substr(text.find('\n') + 1);
}

TEST(ToleranceSummary, CascadeSaysWhatVariedAndSharesTheLaddersLines) {
  CascadeToleranceResult result;
  result.trials.worstSwr = {1.2, 1.4, 1.6, 1.8, 2.5};
  result.trials.nominalSwr = 1.3;
  result.sensitivities = {{{0, CascadeQuantity::inductance}, 0.01},
                          {{1, CascadeQuantity::capacitance}, -0.03},
                          {{3, CascadeQuantity::length}, 0.002}};
  struct Case {
    std::string name;
    std::optional<double> linePercent;
    std::size_t parts;
    bool transformer;
    std::string first;
  };
  const std::vector<Case> cases = {
      {"lines at the capacitors' tolerance", std::nullopt, 3, false,
       "Tolerance: L +-2 %, C +-5 %, lines and stubs +-5 % (Z0 and electrical length) over 3 "
       "parts, uniform draws from seed 7; interval by Wilson's score"},
      {"own line tolerance, a transformer", 0.5, 4, true,
       "Tolerance: L +-2 %, C +-5 %, lines and stubs +-0.5 % (Z0 and electrical length) over 4 "
       "parts, the ideal transformer fixed, uniform draws from seed 7; interval by Wilson's "
       "score"},
      {"one part", 1.0, 1, false,
       "Tolerance: L +-2 %, C +-5 %, lines and stubs +-1 % (Z0 and electrical length) over 1 "
       "part, uniform draws from seed 7; interval by Wilson's score"},
      {"nothing to vary", std::nullopt, 0, true,
       "Tolerance: L +-2 %, C +-5 %, lines and stubs +-5 % (Z0 and electrical length) with no "
       "part to vary, the ideal transformer fixed, uniform draws from seed 7; interval by "
       "Wilson's score"},
  };
  for (const Case& c : cases) {
    const CascadeToleranceOptions options{{2.0, 5.0, 5, 7}, c.linePercent};
    result.parts = c.parts;
    result.transformer = c.transformer;
    EXPECT_EQ(firstLine(renderCascadeToleranceSummary(options, result, 2.0)), c.first) << c.name;
  }

  // The ladder's parts of the same names and changes: L(1) is position 1's, C(2) position 2's.
  const std::vector<PartSensitivity> ladderParts = {
      {1, PartKind::inductor, 0.01}, {2, PartKind::capacitor, -0.03}};
  result.sensitivities.pop_back();
  const CascadeToleranceOptions options{{2.0, 5.0, 5, 7}, std::nullopt};
  const std::string cascadeText = renderCascadeToleranceSummary(options, result, 2.0);
  EXPECT_EQ(afterFirstLine(cascadeText),
            afterFirstLine(renderToleranceSummary(options.parts, 5, false, result.trials, 2.0,
                                                  ladderParts)));
  // Nearest rank of five: the 3rd for the 50th percentile, the 5th for the 90th and the 99th.
  EXPECT_NE(cascadeText.find("Worst in-band SWR of the trials: 1.6000 (50th percentile), 2.5000 "
                             "(90th), 2.5000 (99th)\n"),
            std::string::npos);
  EXPECT_LT(cascadeText.find("C(2)"), cascadeText.find("L(1)"));  // the larger change first
}

}  // namespace
}  // namespace bandmatch
