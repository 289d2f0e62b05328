// The problem dialogue driven in-process: the console transcript of each method and load-type
// path, the re-ask rules of its questions, the band summary, and the end of the console input.
#include "entry/problem_dialogue.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace bandmatch {
namespace {

struct DialogueRun {
  EntryStatus status;
  std::string console;
  DesignCase design;
};

DialogueRun runDialogue(std::string_view answers) {
  std::istringstream in{std::string(answers)};
  std::ostringstream out;
  DialogueRun run{EntryStatus::inputEnded, {}, {}};
  run.status = runProblemDialogue(in, out, run.design);
  run.console = out.str();
  return run;
}

std::string repeated(std::string_view block, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) {
    text += block;
  }
  return text;
}

constexpr std::string_view N_BLOCK = R"txt(
Enter N with a value >/= 1 and </= 10:  )txt";

constexpr std::string_view METHOD_BLOCK = R"txt(
Enter "d" or "D" to enter Load Decrement directly or
Enter "l" or "L" to obtain Load Decrement from Load Parameters or
Enter "q" or "Q" to obtain Load Decrement from Q and Fractional Bandwidth
Enter: )txt";

constexpr std::string_view LOAD_TYPE_BLOCK = R"txt(
Enter "s" or "S" for Series Load or Series Equivalent Load Parameters or
Enter "p" or "P" for Parallel Load or Parallel Equivalent Load Parameters
Enter: )txt";

constexpr std::string_view F1_BLOCK = R"txt(
Enter Lower Band Edge Frequency (f1) in MHz > 0.000001 and < 1000000.000000:  )txt";

constexpr std::string_view F2_BLOCK_AFTER_8 = R"txt(
Enter Higher Band Edge Frequency (f2) in MHz > 8.000000 and < 1000000.000000:  )txt";

// f1 = 8 and f2 = 12.5: f0 = sqrt(100) = 10, match bandwidth 4.5, wm = 4.5 / 10.
constexpr std::string_view SUMMARY_8_TO_12_5 = R"txt(
Low Frequency        (f1)    (MHz): 8.000000
Center Frequency     (f0)    (MHz): 10.000000
High Frequency       (f2)    (MHz): 12.500000
Match Bandwidth      (f2-f1) (MHz): 4.500000
Fractional Match Bandwidth (wm)   : 0.450000
)txt";

// Everything up to the load decrement entry when the band is 8 to 12.5 MHz.
std::string headTo12_5() {
  return std::string(N_BLOCK) + std::string(METHOD_BLOCK) + std::string(LOAD_TYPE_BLOCK) +
         std::string(F1_BLOCK) + std::string(F2_BLOCK_AFTER_8) + std::string(SUMMARY_8_TO_12_5);
}

struct PathCase {
  const char* name;
  const char* answers;
  Method method;
  LoadType loadType;
  const char* tail;  // the console text after the band summary
  double decrement;
  double loadQ;
  double DesignCase::*levelField;  // average resistance or conductance
  double level;
};

// Decrement and load Q by hand from the band above (f0 = 10, wm = 0.45):
//   D: loadQ = 1 / (decrement * 0.45); Q: decrement = 1 / (loadQ * 0.45);
//   L series: slope = (10 / 1) * 5 = 50, decrement = (50 / 50) / 0.45, loadQ = 1;
//   L parallel: slope = (0.04 / 2) * 5 = 0.1, decrement = (0.02 / 0.1) / 0.45, loadQ = 5.
const PathCase PATHS[] = {
    {"D series", "3\nd\ns\n8\n12.5\n1\n50\n", Method::direct, LoadType::series, R"txt(
Enter Load Decrement with a value >= 0.010 and <= 20.000:  
'average resistance' is used to impedance scale network values
'average resistance' is average series load resistance over the match band (f1 to f2)
Enter 'average resistance' with a value between 0 and 1000000 ohms: )txt",
     1.0, 1.0 / 0.45, &DesignCase::averageResistance, 50.0},
    {"D parallel", "2\nD\nP\n8\n12.5\n2\n0.02\n", Method::direct, LoadType::parallel, R"txt(
Enter Load Decrement with a value >= 0.010 and <= 20.000:  
'average conductance' is used to admittance scale network values
'average conductance' is average parallel load conductance over the match band (f1 to f2)
Enter 'average conductance' with a value between 0 and 1000000 Siemens: )txt",
     2.0, 1.0 / 0.9, &DesignCase::averageConductance, 0.02},
    {"Q series", "4\nq\ns\n8\n12.5\n5\n50\n", Method::fromQ, LoadType::series, R"txt(
Calculate Load Decrement from Q and Fractional Match Bandwidth ((f2-f1)/f0)

Enter Load Q with a value >= 0.03330 and <= 300.00000:  
'average resistance' is used to impedance scale network values
'average resistance' is average series load resistance over the match band (f1 to f2)
Enter 'average resistance' with a value between 0 and 1000000 ohms: )txt",
     1.0 / 2.25, 5.0, &DesignCase::averageResistance, 50.0},
    {"Q parallel", "5\nQ\np\n8\n12.5\n10\n0.5\n", Method::fromQ, LoadType::parallel, R"txt(
Calculate Load Decrement from Q and Fractional Match Bandwidth ((f2-f1)/f0)

Enter Load Q with a value >= 0.03330 and <= 300.00000:  
'average conductance' is used to admittance scale network values
'average conductance' is average parallel load conductance over the match band (f1 to f2)
Enter 'average conductance' with a value between 0 and 1000000 Siemens: )txt",
     1.0 / 4.5, 10.0, &DesignCase::averageConductance, 0.5},
    {"L series", "6\nl\nS\n8\n12.5\n50\n1\n10\n", Method::loadParameters, LoadType::series,
     R"txt(
Calculate Load Decrement from the following series load slope parameters to be entered:
   'average resistance' is average series load resistance over the match band (f1 to f2)
   'delta bandwidth' is bandwidth in MHz used to calculate 'delta reactance' 
   'delta reactance' is change in load series reactance over 'delta bandwidth' evaluted at f0
   Note: 'delta bandwidth' is not 'match bandwidth'  

Enter 'average resistance' with a value between 0.000000 and 1000000.000000 ohms: 
Enter 'delta bandwidth' in MHz with a value between 0 and (4.500000): 
Enter 'delta reactance' with a value between 0.000000 and 1000000.000000 ohms: )txt",
     1.0 / 0.45, 1.0, &DesignCase::averageResistance, 50.0},
    {"L parallel", "10\nL\np\n8\n12.5\n0.02\n2\n0.04\n", Method::loadParameters, LoadType::parallel,
     R"txt(
Calculate Load Decrement from the following parallel load slope parameters to be entered:
   'average conductance' is average parallel load conductance over the match band (f1 to f2)
   'delta bandwidth' is bandwidth in MHz used to calculate 'delta susceptance' 
   'delta susceptance' is change in load parallel susceptance over 'delta bandwidth' evaluted at f0
   Note: 'delta bandwidth' is not 'match bandwidth' 

Enter 'average conductance' with a value between 0.000000 and 1000000.000000 Siemens: 
Enter 'delta bandwidth' in MHz with a value between 0 and (4.500000): 
Enter 'delta susceptance' with a value between 0.000000 and 1000000.000000 Siemens: )txt",
     0.2 / 0.45, 5.0, &DesignCase::averageConductance, 0.02},
};

TEST(ProblemDialogue, EachPathWritesItsPromptsAndCompletesTheLoadDescription) {
  for (const PathCase& path : PATHS) {
    SCOPED_TRACE(path.name);
    const DialogueRun run = runDialogue(path.answers);
    EXPECT_EQ(run.status, EntryStatus::complete);
    // No warning: both values lie inside their recommended ranges, so the transcript ends with
    // the last prompt.
    EXPECT_EQ(run.console, headTo12_5() + path.tail);
    EXPECT_EQ(run.design.method, path.method);
    EXPECT_EQ(run.design.loadType, path.loadType);
    EXPECT_EQ(run.design.f1, 8.0);
    EXPECT_EQ(run.design.f2, 12.5);
    EXPECT_NEAR(run.design.decrement, path.decrement, 1e-12);
    EXPECT_NEAR(run.design.loadQ, path.loadQ, 1e-12);
    EXPECT_DOUBLE_EQ(run.design.*path.levelField, path.level);
    EXPECT_EQ(run.design.N, std::stoi(path.answers));
  }
}

TEST(ProblemDialogue, OneLineAnswersSeveralQuestions) {
  // The whole problem on the N prompt's line: the prompts follow one another without waiting.
  const DialogueRun run = runDialogue("3 d s 8 12.5\n1\n50\n");
  EXPECT_EQ(run.status, EntryStatus::complete);
  EXPECT_EQ(run.console, headTo12_5() + PATHS[0].tail);
  EXPECT_EQ(run.design.N, 3);

  // A word at a letter question is taken one letter per question: d, then o and g are
  // refused at the load type question before s.
  const DialogueRun word = runDialogue("3 dogs 8 12.5 1 50");
  EXPECT_EQ(word.status, EntryStatus::complete);
  const std::string expectedStart = std::string(N_BLOCK) + std::string(METHOD_BLOCK) +
                                    repeated(LOAD_TYPE_BLOCK, 3) + std::string(F1_BLOCK);
  EXPECT_EQ(word.console.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(word.design.method, Method::direct);
  EXPECT_EQ(word.design.loadType, LoadType::series);
}

TEST(ProblemDialogue, NOutsideOneToTenIsAskedAgain) {
  const struct {
    const char* answer;
    bool accepted;
    int n;
  } cases[] = {
      {"0", false, 0},  {"11", false, 0}, {"-1", false, 0}, {"2.5", false, 0}, {"abc", false, 0},
      {"+3", false, 0}, {"1", true, 1},   {"10", true, 10}, {"007", true, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    // A refused N is answered again with 4.
    const DialogueRun run =
        runDialogue(std::string(c.answer) + (c.accepted ? "" : " 4") + " d s 8 12.5 1 50");
    ASSERT_EQ(run.status, EntryStatus::complete);
    const std::string expectedStart =
        repeated(N_BLOCK, c.accepted ? 1 : 2) + std::string(METHOD_BLOCK);
    EXPECT_EQ(run.console.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(run.design.N, c.accepted ? c.n : 4);
  }
}

TEST(ProblemDialogue, OnlyTheOfferedLettersAreAccepted) {
  const struct {
    const char* letters;  // method then load type, possibly after refused letters
    int methodBlocks;
    int loadTypeBlocks;
    Method method;
    LoadType loadType;
  } cases[] = {
      {"d s", 1, 1, Method::direct, LoadType::series},
      {"D S", 1, 1, Method::direct, LoadType::series},
      {"l p", 1, 1, Method::loadParameters, LoadType::parallel},
      {"L P", 1, 1, Method::loadParameters, LoadType::parallel},
      {"q s", 1, 1, Method::fromQ, LoadType::series},
      {"Q p", 1, 1, Method::fromQ, LoadType::parallel},
      {"x s d 1 p", 3, 2, Method::direct, LoadType::parallel},  // s is no method letter
      {"q d l q x S", 1, 5, Method::fromQ, LoadType::series},   // method letters at load type
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letters);
    const DialogueRun run = runDialogue(std::string("2 ") + c.letters + " 8 12.5");
    const std::string expectedStart =
        std::string(N_BLOCK) + repeated(METHOD_BLOCK, c.methodBlocks) +
        repeated(LOAD_TYPE_BLOCK, c.loadTypeBlocks) + std::string(F1_BLOCK);
    EXPECT_EQ(run.console.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(run.design.method, c.method);
    EXPECT_EQ(run.design.loadType, c.loadType);
  }
}

TEST(ProblemDialogue, LowerBandEdgeExcludesBothBounds) {
  const struct {
    const char* answers;  // f1 answers, the last accepted, then f2
    int f1Blocks;
    double f1;
    const char* f2Block;
  } cases[] = {
      // 0.000001 read term by term is exactly 10^-6, the excluded bound.
      {"0.000001 0.0000011 2", 2, 0.0000011, R"txt(
Enter Higher Band Edge Frequency (f2) in MHz > 0.000001 and < 1000000.000000:  )txt"},
      {"1000000 999999.5 999999.75", 2, 999999.5, R"txt(
Enter Higher Band Edge Frequency (f2) in MHz > 999999.500000 and < 1000000.000000:  )txt"},
      {"0 . -1 1e3 abc 2 3", 6, 2.0, R"txt(
Enter Higher Band Edge Frequency (f2) in MHz > 2.000000 and < 1000000.000000:  )txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    std::istringstream in(c.answers);
    std::ostringstream out;
    DesignCase design;
    EXPECT_EQ(askBandEdges(in, out, design), EntryStatus::complete);
    EXPECT_EQ(out.str(), repeated(F1_BLOCK, c.f1Blocks) + c.f2Block);
    EXPECT_DOUBLE_EQ(design.f1, c.f1);
  }
}

TEST(ProblemDialogue, RejectedUpperBandEdgeKeepsTheLowerOne) {
  std::istringstream in("2 2 1 1000000 abc 999999.5");
  std::ostringstream out;
  DesignCase design;
  EXPECT_EQ(askBandEdges(in, out, design), EntryStatus::complete);
  constexpr std::string_view F2_BLOCK_AFTER_2 = R"txt(
Enter Higher Band Edge Frequency (f2) in MHz > 2.000000 and < 1000000.000000:  )txt";
  EXPECT_EQ(out.str(), std::string(F1_BLOCK) + repeated(F2_BLOCK_AFTER_2, 5));
  EXPECT_EQ(design.f1, 2.0);
  EXPECT_EQ(design.f2, 999999.5);
}

TEST(ProblemDialogue, BandSummaryShowsTheBandInFixedSix) {
  DesignCase design;
  design.f1 = 8.0;
  design.f2 = 12.5;
  design.f0 = 10.0;
  design.matchBandwidth = 4.5;
  design.wm = 0.45;
  std::ostringstream out;
  showBandSummary(out, design);
  EXPECT_EQ(out.str(), SUMMARY_8_TO_12_5);
}

TEST(ProblemDialogue, WarningsFollowTheLastPrompt) {
  // L series on 8 to 12.5 MHz (f0 = 10, wm = 0.45): slope = (1000 / 0.1) * 5 = 50000,
  // decrement = (0.01 / 50000) / 0.45 (below 0.01), loadQ = 1 / (0.01 / 50000) (above 300).
  const DialogueRun both = runDialogue("1 l s 8 12.5 0.01 0.1 1000");
  EXPECT_EQ(both.status, EntryStatus::complete);
  const std::string_view lastPrompt =
      "Enter 'delta reactance' with a value between 0.000000 and 1000000.000000 ohms: ";
  EXPECT_EQ(both.console.substr(both.console.find(lastPrompt) + lastPrompt.size()), R"txt(
--------------------------------------------------------------------------------
 WARNING: Load Decrement < Recommended minimun Load Decrement (0.010000) 
--------------------------------------------------------------------------------


--------------------------------------------------------------------------------
 WARNING: Load Q > Recommended maximum Load Q (300.000000) 
--------------------------------------------------------------------------------

)txt");

  // D on 100 to 101 MHz: wm = 1 / sqrt(10100), about 0.00995, so loadQ = 1 / (0.01 * wm) is
  // about 10050.
  const DialogueRun loadQ = runDialogue("1 d s 100 101 0.01 50");
  EXPECT_EQ(loadQ.status, EntryStatus::complete);
  const std::string_view resistancePrompt =
      "Enter 'average resistance' with a value between 0 and 1000000 ohms: ";
  EXPECT_EQ(loadQ.console.substr(loadQ.console.find(resistancePrompt) + resistancePrompt.size()),
            R"txt(
--------------------------------------------------------------------------------
 WARNING: Load Q > Recommended maximum Load Q (300.000000) 
--------------------------------------------------------------------------------

)txt");
}

std::vector<std::string> wordsOf(std::string_view answers) {
  std::vector<std::string> words;
  std::istringstream in{std::string(answers)};
  for (std::string word; in >> word;) {
    words.push_back(word);
  }
  return words;
}

TEST(ProblemDialogue, EndOfInputAtAnyQuestionEndsTheDialogue) {
  // Every prefix of each path's answers, including one whose last answer was refused, stops at
  // once with inputEnded instead of asking again on an exhausted input.
  for (const PathCase& path : PATHS) {
    SCOPED_TRACE(path.name);
    const std::vector<std::string> words = wordsOf(path.answers);
    std::string prefix;
    for (const std::string& word : words) {
      EXPECT_EQ(runDialogue(prefix).status, EntryStatus::inputEnded) << "after '" << prefix << "'";
      EXPECT_EQ(runDialogue(prefix + " 0 x").status, EntryStatus::inputEnded)
          << "after '" << prefix << " 0 x'";
      prefix += word + " ";
    }
    EXPECT_EQ(runDialogue(prefix).status, EntryStatus::complete);
  }
}

}  // namespace
}  // namespace bandmatch
