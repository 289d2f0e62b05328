// Whole runs of the program on typed answers: the console, the text report file and the CSV report
// file of complete designs, compared byte for byte with texts written out by hand.
//
// Where the numbers come from: every value below was computed outside this program by a short
// double-precision script (Python's math module) that evaluates the band quantities, the load
// conversions, the half-step Newton - Raphson iteration from its empirical start, the match
// figures, Levy's prototype values and the element scaling in the order the formulas are stated,
// with the typed answers converted digit by digit as the console reader does, and prints them as
// fixed-point and three-digit-exponent scientific texts. The N = 3 design also agrees with the
// published worked values: A = 1.0512, B = 0.25310, IT = 13, g(4) = 0.866749,
// L(1) = 7.95775e-07 H, C(1) = 1.59155e-10 F and a source resistance of 57.6868 ohms.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/session.hpp"

namespace bandmatch {
namespace {

using support::expectedCreditsBlock;
using support::readFile;
using support::runSession;
using support::ScratchDirectory;

const std::string METHOD_PLACEHOLDER(47, ' ');
const std::string LOAD_PLACEHOLDER(41, ' ');

constexpr std::string_view CLOSING_QUESTION = R"(
Enter "e" or "E" to exit  
Enter "c" or "C" to continue  
Enter: )";

// Everything the console shows from the file name prompt to the last prompt of the dialogue.
constexpr std::string_view DIALOGUE_START = R"(Enter Result File Name without suffix: 
Enter N with a value >/= 1 and </= 10:  
Enter "d" or "D" to enter Load Decrement directly or
Enter "l" or "L" to obtain Load Decrement from Load Parameters or
Enter "q" or "Q" to obtain Load Decrement from Q and Fractional Bandwidth
Enter: 
Enter "s" or "S" for Series Load or Series Equivalent Load Parameters or
Enter "p" or "P" for Parallel Load or Parallel Equivalent Load Parameters
Enter: 
Enter Lower Band Edge Frequency (f1) in MHz > 0.000001 and < 1000000.000000:  )";

struct WholeRun {
  std::string_view name;
  std::string_view input;
  std::string_view dialogueRest;  // from the f2 prompt to the last prompt
  std::string_view body;
  std::string csvRows;
};

// N = 3, decrement 1 entered directly, series load of 50 ohms, 10 to 20 MHz.
const WholeRun DIRECT_SERIES = {
    "run1",
    "run1\n3\nd\ns\n10\n20\n1\n50\ne\n",
    R"(
Enter Higher Band Edge Frequency (f2) in MHz > 10.000000 and < 1000000.000000:  
Low Frequency        (f1)    (MHz): 10.000000
Center Frequency     (f0)    (MHz): 14.142136
High Frequency       (f2)    (MHz): 20.000000
Match Bandwidth      (f2-f1) (MHz): 10.000000
Fractional Match Bandwidth (wm)   : 0.707107

Enter Load Decrement with a value >= 0.010 and <= 20.000:  
'average resistance' is used to impedance scale network values
'average resistance' is average series load resistance over the match band (f1 to f2)
Enter 'average resistance' with a value between 0 and 1000000 ohms: )",
    R"(Inputs:
   Text Result File Name:                run1.txt
   CSV Result File Name:                 run1.csv
   N =                                   3
   Low Frequency (f1) (MHz) =            10.000000
   High Frequency (f2) (MHz) =           20.000000
   Load Decrement entered directly
      Load Decrement =                   1.000000e+000
      Series Load
         average resistance (ohms) =     5.000000e+001

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      14.142136
   Match Bandwidth      (f2-f1) (MHz) =      10.000000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  0.707106781
   No Reactance Slope Parameter Calculated because Load Decrement entered
   Load Q =                                  1.414213562e+000

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   6.595e-010
   IT (iterations in Newton - Raphson Solution) = 13
   A  =                   1.051220973
   B  =                   0.253104519
   Magnitude of Reflection Coefficient Min = 0.071381200
   Magnitude of Reflection Coefficient Max = 0.111010597
   Mismatch Loss Min (dB) = -0.022185069
   Mismatch Loss Max (dB) = -0.053852146
   Return Loss Min (dB) = -22.928323112
   Return Loss Max (dB) = -19.092711232
   SWR Min =              1.153736280
   SWR Max =              1.249745603

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     1.000000000
   G(1)          =     1.000000000
   G(2)          =     0.965596890
   G(3)          =     0.763239339
   G(4) (source) =     0.866749004

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   5.000000000e+001
   L(1) (H) =                 7.957747155e-007
   C(1) (F) =                 1.591549431e-010
   L(2) (H) =                 4.120636280e-007
   C(2) (F) =                 3.073590362e-010
   L(3) (H) =                 6.073665679e-007
   C(3) (F) =                 2.085256026e-010
   Source Resistance (ohms) = 5.768682715e+001
)",
    R"(Inputs:
   Text Result File Name:                ,run1.txt
   CSV Result File Name:                 ,run1.csv
   N =                                   ,3
   D ,Load Decrement entered directly
   S ,Series Load or Series Equivalent Load Parameters
   Low Frequency (f1) (MHz) =            ,10.000000
   High Frequency (f2) (MHz) =           ,20.000000
   Load Decrement entered directly
      Load Decrement =                   ,1.000000e+000
)" + METHOD_PLACEHOLDER +
        R"(
      Series Load
         average resistance (ohms) =     ,5.000000e+001
)" + LOAD_PLACEHOLDER +
        "\n" + LOAD_PLACEHOLDER + R"(

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      ,14.142136
   Match Bandwidth      (f2-f1) (MHz) =      ,10.000000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  ,0.707106781
   No Reactance Slope Parameter Calculated because Load Decrement entered
   Load Decrement entered at input           
   Load Q =                                 ,1.414213562e+000

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   ,6.595e-010
   IT (iterations in Newton - Raphson Solution) = ,13
   A  =                   ,1.051220973
   B  =                   ,0.253104519
   Magnitude of Reflection Coefficient Min = ,0.071381200
   Magnitude of Reflection Coefficient Max = ,0.111010597
   Mismatch Loss Min (dB) = ,-0.022185069
   Mismatch Loss Max (dB) = ,-0.053852146
   Return Loss Min (dB) = ,-22.928323112
   Return Loss Max (dB) = ,-19.092711232
   SWR Min =              ,1.153736280
   SWR Max =              ,1.249745603

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     ,1.000000000
   G(1)          =     ,1.000000000
   G(2)          =     ,0.965596890
   G(3)          =     ,0.763239339
   G(4) (source) =     ,0.866749004

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   ,5.000000000e+001
   L(1) (H) =                 ,7.957747155e-007
   C(1) (F) =                 ,1.591549431e-010
   L(2) (H) =                 ,4.120636280e-007
   C(2) (F) =                 ,3.073590362e-010
   L(3) (H) =                 ,6.073665679e-007
   C(3) (F) =                 ,2.085256026e-010
   Source Resistance (ohms) = ,5.768682715e+001
)",
};

// N = 4, load Q of 2, parallel load of 0.02 siemens, 8 to 12.5 MHz.
const WholeRun FROM_Q_PARALLEL = {
    "run2",
    "run2\n4\nq\np\n8\n12.5\n2\n0.02\ne\n",
    R"(
Enter Higher Band Edge Frequency (f2) in MHz > 8.000000 and < 1000000.000000:  
Low Frequency        (f1)    (MHz): 8.000000
Center Frequency     (f0)    (MHz): 10.000000
High Frequency       (f2)    (MHz): 12.500000
Match Bandwidth      (f2-f1) (MHz): 4.500000
Fractional Match Bandwidth (wm)   : 0.450000

Calculate Load Decrement from Q and Fractional Match Bandwidth ((f2-f1)/f0)

Enter Load Q with a value >= 0.03330 and <= 300.00000:  
'average conductance' is used to admittance scale network values
'average conductance' is average parallel load conductance over the match band (f1 to f2)
Enter 'average conductance' with a value between 0 and 1000000 Siemens: )",
    R"(Inputs:
   Text Result File Name:                run2.txt
   CSV Result File Name:                 run2.csv
   N =                                   4
   Low Frequency (f1) (MHz) =            8.000000
   High Frequency (f2) (MHz) =           12.500000
   Load Decrement obtained from Q and Fractional Bandwidth
      Load Q =                           2.000000e+000
      Parallel Load
         average conductance (Siemens) = 2.000000e-002

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      10.000000
   Match Bandwidth      (f2-f1) (MHz) =      4.500000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  0.450000000
   No Susceptance Slope Parameter Calculated because Load Q entered
   Load Decrement =                          1.111111111e+000

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   9.011e-010
   IT (iterations in Newton - Raphson Solution) = 12
   A  =                   0.928819736
   B  =                   0.216155060
   Magnitude of Reflection Coefficient Min = 0.047578508
   Magnitude of Reflection Coefficient Max = 0.068021834
   Mismatch Loss Min (dB) = -0.009842331
   Mismatch Loss Max (dB) = -0.020141308
   Return Loss Min (dB) = -26.451783605
   Return Loss Max (dB) = -23.347033250
   SWR Min =              1.099910614
   SWR Max =              1.145973021

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     1.000000000
   G(1)          =     0.900000000
   G(2)          =     1.155818302
   G(3)          =     1.349684018
   G(4)          =     0.519305740
   G(5) (source) =     1.145973136

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   5.000000000e+001
   L(1) (H) =                 3.978873577e-007
   C(1) (F) =                 6.366197724e-010
   L(2) (H) =                 2.043935511e-006
   C(2) (F) =                 1.239290367e-010
   L(3) (H) =                 2.653203396e-007
   C(3) (F) =                 9.547061469e-010
   L(4) (H) =                 9.183341717e-007
   C(4) (F) =                 2.758287418e-010
   Source Resistance (ohms) = 4.363104025e+001
)",
    R"(Inputs:
   Text Result File Name:                ,run2.txt
   CSV Result File Name:                 ,run2.csv
   N =                                   ,4
   Q ,Load Decrement from Q and Fractional Bandwidth
   P ,Parallel Load or Parallel Equivalent Load Parameters
   Low Frequency (f1) (MHz) =            ,8.000000
   High Frequency (f2) (MHz) =           ,12.500000
   Load Decrement obtained from Q and Fractional Bandwidth
)" + METHOD_PLACEHOLDER +
        R"(
      Load Q =                           ,2.000000e+000
      Parallel Load
         average conductance (Siemens) = ,2.000000e-002
)" + LOAD_PLACEHOLDER +
        "\n" + LOAD_PLACEHOLDER + R"(

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      ,10.000000
   Match Bandwidth      (f2-f1) (MHz) =      ,4.500000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  ,0.450000000
   No Susceptance Slope Parameter Calculated because Load Q entered
   Load Decrement =                         ,1.111111111e+000
   Load Q entered at input                   

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   ,9.011e-010
   IT (iterations in Newton - Raphson Solution) = ,12
   A  =                   ,0.928819736
   B  =                   ,0.216155060
   Magnitude of Reflection Coefficient Min = ,0.047578508
   Magnitude of Reflection Coefficient Max = ,0.068021834
   Mismatch Loss Min (dB) = ,-0.009842331
   Mismatch Loss Max (dB) = ,-0.020141308
   Return Loss Min (dB) = ,-26.451783605
   Return Loss Max (dB) = ,-23.347033250
   SWR Min =              ,1.099910614
   SWR Max =              ,1.145973021

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     ,1.000000000
   G(1)          =     ,0.900000000
   G(2)          =     ,1.155818302
   G(3)          =     ,1.349684018
   G(4)          =     ,0.519305740
   G(5) (source) =     ,1.145973136

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   ,5.000000000e+001
   L(1) (H) =                 ,3.978873577e-007
   C(1) (F) =                 ,6.366197724e-010
   L(2) (H) =                 ,2.043935511e-006
   C(2) (F) =                 ,1.239290367e-010
   L(3) (H) =                 ,2.653203396e-007
   C(3) (F) =                 ,9.547061469e-010
   L(4) (H) =                 ,9.183341717e-007
   C(4) (F) =                 ,2.758287418e-010
   Source Resistance (ohms) = ,4.363104025e+001
)",
};

// N = 10, series load parameters: 75 ohms, a reactance change of 40 ohms over 2 MHz, 10 to 20 MHz.
const WholeRun LOAD_PARAMETERS_SERIES = {
    "run3",
    "run3\n10\nl\ns\n10\n20\n75\n2\n40\ne\n",
    R"(
Enter Higher Band Edge Frequency (f2) in MHz > 10.000000 and < 1000000.000000:  
Low Frequency        (f1)    (MHz): 10.000000
Center Frequency     (f0)    (MHz): 14.142136
High Frequency       (f2)    (MHz): 20.000000
Match Bandwidth      (f2-f1) (MHz): 10.000000
Fractional Match Bandwidth (wm)   : 0.707107

Calculate Load Decrement from the following series load slope parameters to be entered:
   'average resistance' is average series load resistance over the match band (f1 to f2)
   'delta bandwidth' is bandwidth in MHz used to calculate 'delta reactance' 
   'delta reactance' is change in load series reactance over 'delta bandwidth' evaluted at f0
   Note: 'delta bandwidth' is not 'match bandwidth'  

Enter 'average resistance' with a value between 0.000000 and 1000000.000000 ohms: 
Enter 'delta bandwidth' in MHz with a value between 0 and (10.000000): 
Enter 'delta reactance' with a value between 0.000000 and 1000000.000000 ohms: )",
    R"(Inputs:
   Text Result File Name:                run3.txt
   CSV Result File Name:                 run3.csv
   N =                                   10
   Low Frequency (f1) (MHz) =            10.000000
   High Frequency (f2) (MHz) =           20.000000
   Load Decrement obtained from Load Parameters
      Series Load Parameters entered
         average resistance (ohms) =     7.500000e+001
         delta bandwidth (MHz) =         2.000000e+000
         delta reactance (ohms) =        4.000000e+001

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      14.142136
   Match Bandwidth      (f2-f1) (MHz) =      10.000000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  0.707106781
   Reactance Slope Parameter =               1.414213562e+002
   Load Decrement =                          7.500000000e-001
   Load Q =                                  1.885618083e+000

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   4.357e-010
   IT (iterations in Newton - Raphson Solution) = 14
   A  =                   0.397851597
   B  =                   0.172915971
   Magnitude of Reflection Coefficient Min = 0.102182498
   Magnitude of Reflection Coefficient Max = 0.108749394
   Mismatch Loss Min (dB) = -0.045584223
   Mismatch Loss Max (dB) = -0.051667663
   Return Loss Min (dB) = -19.812469731
   Return Loss Max (dB) = -19.271463129
   SWR Min =              1.227624205
   SWR Max =              1.244037744

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     1.000000000
   G(1)          =     1.333333333
   G(2)          =     1.352751935
   G(3)          =     2.219582514
   G(4)          =     1.478240830
   G(5)          =     2.251493262
   G(6)          =     1.447870400
   G(7)          =     2.122648159
   G(8)          =     1.269855252
   G(9)          =     1.538301961
   G(10)          =     0.431965843
   G(11) (source) =     1.244037955

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   7.500000000e+001
   L(1) (H) =                 1.591549431e-006
   C(1) (F) =                 7.957747155e-011
   L(2) (H) =                 4.411976957e-007
   C(2) (F) =                 2.870628763e-010
   L(3) (H) =                 2.649431465e-006
   C(3) (F) =                 4.780326694e-011
   L(4) (H) =                 4.037441157e-007
   C(4) (F) =                 3.136924469e-010
   L(5) (H) =                 2.687522115e-006
   C(5) (F) =                 4.712574414e-011
   L(6) (H) =                 4.122130245e-007
   C(6) (F) =                 3.072476414e-010
   L(7) (H) =                 2.533724602e-006
   C(7) (F) =                 4.998628480e-011
   L(8) (H) =                 4.699992662e-007
   C(8) (F) =                 2.694716538e-010
   L(9) (H) =                 1.836212708e-006
   C(9) (F) =                 6.897429637e-011
   L(10) (H) =                 1.381662568e-006
   C(10) (F) =                 9.166599896e-011
   Source Resistance (ohms) = 9.330284663e+001
)",
    R"(Inputs:
   Text Result File Name:                ,run3.txt
   CSV Result File Name:                 ,run3.csv
   N =                                   ,10
   L ,Load Decrement from Load Parameters
   S ,Series Load or Series Equivalent Load Parameters
   Low Frequency (f1) (MHz) =            ,10.000000
   High Frequency (f2) (MHz) =           ,20.000000
   Load Decrement obtained from Load Parameters
)" + METHOD_PLACEHOLDER +
        "\n" + METHOD_PLACEHOLDER + R"(
      Series Load Parameters entered
         average resistance (ohms) =     ,7.500000e+001
         delta bandwidth (MHz) =         ,2.000000e+000
         delta reactance (ohms) =        ,4.000000e+001

Output Part 1: Preliminary
   Center Frequency     (f0)    (MHz) =      ,14.142136
   Match Bandwidth      (f2-f1) (MHz) =      ,10.000000
   Fractional Match Bandwidth ((f2-f1)/f0) (wm) =  ,0.707106781
   Reactance Slope Parameter =               ,1.414213562e+002
   Load Decrement =                         ,7.500000000e-001
   Load Q =                                 ,1.885618083e+000

Output Part 2: Fano; Levy; Newton - Raphson Solution
   FV =                   ,4.357e-010
   IT (iterations in Newton - Raphson Solution) = ,14
   A  =                   ,0.397851597
   B  =                   ,0.172915971
   Magnitude of Reflection Coefficient Min = ,0.102182498
   Magnitude of Reflection Coefficient Max = ,0.108749394
   Mismatch Loss Min (dB) = ,-0.045584223
   Mismatch Loss Max (dB) = ,-0.051667663
   Return Loss Min (dB) = ,-19.812469731
   Return Loss Max (dB) = ,-19.271463129
   SWR Min =              ,1.227624205
   SWR Max =              ,1.244037744

Output Part 3: Resistive Source with g(i) Prototype Values
   G(0) (load)   =     ,1.000000000
   G(1)          =     ,1.333333333
   G(2)          =     ,1.352751935
   G(3)          =     ,2.219582514
   G(4)          =     ,1.478240830
   G(5)          =     ,2.251493262
   G(6)          =     ,1.447870400
   G(7)          =     ,2.122648159
   G(8)          =     ,1.269855252
   G(9)          =     ,1.538301961
   G(10)          =     ,0.431965843
   G(11) (source) =     ,1.244037955

Output Part 4: Network Element Values Calculated
   Load Resistance (ohms) =   ,7.500000000e+001
   L(1) (H) =                 ,1.591549431e-006
   C(1) (F) =                 ,7.957747155e-011
   L(2) (H) =                 ,4.411976957e-007
   C(2) (F) =                 ,2.870628763e-010
   L(3) (H) =                 ,2.649431465e-006
   C(3) (F) =                 ,4.780326694e-011
   L(4) (H) =                 ,4.037441157e-007
   C(4) (F) =                 ,3.136924469e-010
   L(5) (H) =                 ,2.687522115e-006
   C(5) (F) =                 ,4.712574414e-011
   L(6) (H) =                 ,4.122130245e-007
   C(6) (F) =                 ,3.072476414e-010
   L(7) (H) =                 ,2.533724602e-006
   C(7) (F) =                 ,4.998628480e-011
   L(8) (H) =                 ,4.699992662e-007
   C(8) (F) =                 ,2.694716538e-010
   L(9) (H) =                 ,1.836212708e-006
   C(9) (F) =                 ,6.897429637e-011
   L(10) (H) =                 ,1.381662568e-006
   C(10) (F) =                 ,9.166599896e-011
   Source Resistance (ohms) = ,9.330284663e+001
)",
};

// The console of one whole pass: credits block, dialogue, the report after an empty line, and
// the closing question.
std::string expectedPassConsole(const WholeRun& run) {
  return expectedCreditsBlock() + std::string(DIALOGUE_START) + std::string(run.dialogueRest) +
         "\n" + std::string(run.body) + std::string(CLOSING_QUESTION);
}

std::string expectedTextFile(const WholeRun& run) {
  return expectedCreditsBlock() + std::string(run.body);
}

std::string expectedCsvFile(const WholeRun& run) {
  return expectedCreditsBlock(true) + run.csvRows;
}

TEST(WholeRunReports, ConsoleTextAndCsvFilesMatchTheHandWrittenReports) {
  for (const WholeRun* run : {&DIRECT_SERIES, &FROM_Q_PARALLEL, &LOAD_PARAMETERS_SERIES}) {
    SCOPED_TRACE(std::string(run->name));
    ScratchDirectory scratch;
    const support::SessionResult result = runSession(run->input);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.console, expectedPassConsole(*run));
    EXPECT_EQ(readFile(std::string(run->name) + ".txt"), expectedTextFile(*run));
    EXPECT_EQ(readFile(std::string(run->name) + ".csv"), expectedCsvFile(*run));
  }
}

// A direct-entry series design after a load-parameter parallel design shows nothing of the first
// pass: no parallel load parameters, no slope parameter, no stale element values.
TEST(WholeRunReports, SecondPassShowsNothingOfTheFirst) {
  ScratchDirectory scratch;
  const std::string firstPass = "first\n2\nl\np\n100\n150\n0.01\n5\n0.02\nc\n";
  const support::SessionResult result = runSession(firstPass + std::string(DIRECT_SERIES.input));
  EXPECT_EQ(result.status, 0);

  // The first pass really was a parallel load-parameter design with a slope parameter.
  const std::string firstText = readFile("first.txt");
  EXPECT_NE(firstText.find("\n      Parallel Load Parameters entered\n"), std::string::npos);
  EXPECT_NE(firstText.find("\n   Susceptance Slope Parameter =             2.449489743e-001\n"),
            std::string::npos);

  const std::string secondConsole = expectedPassConsole(DIRECT_SERIES);
  ASSERT_GE(result.console.size(), secondConsole.size());
  EXPECT_EQ(result.console.substr(result.console.size() - secondConsole.size()), secondConsole);
  EXPECT_EQ(readFile("run1.txt"), expectedTextFile(DIRECT_SERIES));
  EXPECT_EQ(readFile("run1.csv"), expectedCsvFile(DIRECT_SERIES));
}

}  // namespace
}  // namespace bandmatch
