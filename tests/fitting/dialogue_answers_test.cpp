// The answer words of a fitted load through the console program's own dialogue: it must take
// every word at once and derive the fitted decrement from them.
#include "fitting/dialogue_answers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "network/load_fit.hpp"
#include "support/measured_loads.hpp"
#include "support/printed_values.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using testing::printedValue;

TEST(DialogueAnswers, TakeTheDialogueToTheFittedDecrement) {
  const std::vector<testing::ExactLoad> loads = {
      {LoadType::series, 72.0, 3.75, 11.0},
      {LoadType::parallel, 0.0125, 3.70, 4.0},
      {LoadType::series, 10000.0, 3.76, 900.0},  // steep: the delta bandwidth narrows
      {LoadType::parallel, 2.5e-6, 3.72, 30.0},  // tiny conductance, many fraction digits
  };
  for (const testing::ExactLoad& exact : loads) {
    SCOPED_TRACE(exact.level);
    const MeasuredLoad load = testing::exactMeasuredLoad(exact, 3.0, 4.5, 151);
    const LoadFit fit =
        fitLoad(load, pointsInBand(load, 3.5, 4.0), 3.5, 4.0, LoadModelChoice::automatic);
    ASSERT_EQ(fit.error, "");
    const DialogueAnswers answers = dialogueAnswers(fit, 4, "a");
    ASSERT_EQ(answers.error, "");
    const std::vector<std::string>& words = answers.words;
    ASSERT_EQ(words.size(), 10u);
    EXPECT_EQ(words[0], "a");
    EXPECT_EQ(words[1], "4");
    EXPECT_EQ(words[2], "l");
    EXPECT_EQ(words[3], exact.type == LoadType::series ? "s" : "p");
    for (std::size_t i = 4; i < 9; ++i) {
      EXPECT_LE(words[i].size(), 39u) << words[i];
      EXPECT_EQ(words[i].find_first_not_of("0123456789."), std::string::npos) << words[i];
    }
    EXPECT_EQ(words[9], "e");

    support::ScratchDirectory scratch;
    std::string input;
    for (const std::string& word : words) {
      input += word + "\n";
    }
    const support::SessionResult session = support::runSession(input);
    EXPECT_EQ(session.status, 0) << session.errors;
    const std::string asked = "Enter 'delta bandwidth'";
    EXPECT_EQ(session.console.find(asked, session.console.find(asked) + 1), std::string::npos)
        << "an answer was asked again";
    const double derived = printedValue(support::readFile("a.txt"), "   Load Decrement =");
    // The fit's decrement as its report prints it, to ten digits.
    const double fitted = std::stod(formatScientific(fit.load.decrement, 9));
    EXPECT_LE(std::fabs(derived - fitted), 1e-9 * fitted) << derived << " " << fitted;
  }
}

}  // namespace
}  // namespace bandmatch
