#include "runs/json_summary.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

// What the programs' runs do not reach: a figure at its limit, a path that is not UTF-8, and
// numbers that must read back to the same double.
TEST(JsonSummary, EdgesOfTheDocumentsText) {
  JudgedBand total;
  total.worstReflection = 1.0;  // total reflection: SWR (1 + 1) / (1 - 1) is infinite
  EXPECT_TRUE(figuresJson(total)["worst_swr"].is_null());
  EXPECT_TRUE(finiteOrNull(std::numeric_limits<double>::quiet_NaN()).is_null());

  // U+FFFD is EF BF BD in UTF-8; the byte FF can start no UTF-8 sequence.
  JsonDocument named;
  named["file"] = std::string("load\xff.s1p");
  EXPECT_EQ(jsonText(named), "{\n  \"file\": \"load\xef\xbf\xbd.s1p\"\n}\n");

  // Values whose shortest decimal needs all 17 significant digits.
  const std::vector<double> values = {0.1 + 0.2, 1.0 / 3.0, 2.0 / 3.0 * 1e-7, 6.02214076e23};
  for (const double value : values) {
    const std::string text = jsonText(JsonDocument(value));
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
  }
}

// The key of a retuning element's value names its unit after the element.
TEST(JsonSummary, RetuningValueNamesItsUnit) {
  struct Case {
    RetuningKind kind;
    const char* word;
    const char* key;  // empty: no value
  };
  const std::vector<Case> cases = {
      {RetuningKind::seriesInductor, "series inductor", "value_henries"},
      {RetuningKind::shuntInductor, "shunt inductor", "value_henries"},
      {RetuningKind::seriesCapacitor, "series capacitor", "value_farads"},
      {RetuningKind::shuntCapacitor, "shunt capacitor", "value_farads"},
      {RetuningKind::none, "none", ""},
  };
  for (const Case& c : cases) {
    const JsonDocument json = retuningJson({c.kind, 2.5e-9, 1e-6, 1e-9, 0.0, 0.0});
    EXPECT_EQ(json["kind"], c.word);
    const std::string key = c.key;
    EXPECT_EQ(json.contains("value_henries"), key == "value_henries") << c.word;
    EXPECT_EQ(json.contains("value_farads"), key == "value_farads") << c.word;
    if (!key.empty()) {
      EXPECT_EQ(json[key], 2.5e-9);
    }
  }
}

}  // namespace
}  // namespace bandmatch
