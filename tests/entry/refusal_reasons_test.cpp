// The reasons a person at a terminal is given for a refused answer: one line per refusal, worded
// from the bounds the prompts show, and nothing at all (the console unchanged) when the answers
// come from a pipe.
#include "entry/refusal_reasons.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "entry/answer_ranges.hpp"
#include "entry/problem_dialogue.hpp"

namespace bandmatch {
namespace {

// Every question of the three methods refused once. The expected bounds are those of the prompts
// the same dialogue shows (band 8 to 12.5 MHz, match bandwidth 4.5 MHz).
TEST(RefusalReasons, EachRefusedAnswerIsExplainedOnceBeforeItsQuestionRepeats) {
  const struct {
    const char* answers;
    std::vector<std::string> reasons;
  } cases[] = {
      {"0 3 x d z s 0 8 5 12.5 25 1 0 50",
       {"not a whole number from 1 to 10", "answer d, l or q", "answer s or p",
        "not a number above 0.000001 and below 1000000.000000",
        "not a number above 8.000000 and below 1000000.000000", "not a number from 0.010 to 20.000",
        "not a number above 0 and at most 1000000"}},
      {"2 q p 8 12.5 400 2 0.02", {"not a number from 0.03330 to 300.00000"}},
      {"11 2 l s 8 12.5 2000000 50 5 2 abc 10",
       {"not a whole number from 1 to 10", "not a number above 0.000000 and at most 1000000.000000",
        "not a number above 0.000000 and at most 4.500000",
        "not a number above 0.000000 and at most 1000000.000000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    std::istringstream typedIn(c.answers);
    std::ostringstream typedOut;
    std::ostringstream reasons;
    DesignCase typed;
    EXPECT_EQ(runProblemDialogue(typedIn, typedOut, typed, &reasons), EntryStatus::complete);
    std::string expected;
    for (const std::string& reason : c.reasons) {
      expected += "bandmatch: " + reason + "\n";
    }
    EXPECT_EQ(reasons.str(), expected);

    // Piped answers: not a word more, and the same console.
    std::istringstream pipedIn(c.answers);
    std::ostringstream pipedOut;
    DesignCase piped;
    EXPECT_EQ(runProblemDialogue(pipedIn, pipedOut, piped), EntryStatus::complete);
    EXPECT_EQ(typedOut.str(), pipedOut.str());
    EXPECT_EQ(typed.decrement, piped.decrement);
  }
}

}  // namespace
}  // namespace bandmatch
