// The fit's command line: the load and band with the model, the answers and their name, or a
// decrement alone; its refusals are the runs' (fit_run_test).
#include "tools/fit/fit_options.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

TEST(FitOptions, ReadsTheLoadTheBandAndWhatToPrint) {
  const struct {
    std::vector<std::string> args;
    std::string loadPath;
    double f1, f2;
    LoadModelChoice model;
    std::optional<int> answersN;
    std::string name;
    std::optional<double> decrement;
  } cases[] = {
      {{"ant.s1p", "3.5", "4"}, "ant.s1p", 3.5, 4.0, LoadModelChoice::automatic, {}, "", {}},
      {{"ant.s1p", "1e-3", "2e6", "--model", "series"},
       "ant.s1p",
       1e-3,
       2e6,
       LoadModelChoice::series,
       {},
       "",
       {}},
      {{"--model=parallel", "dir/a b.s1p", "3.5", "4"},
       "dir/a b.s1p",
       3.5,
       4.0,
       LoadModelChoice::parallel,
       {},
       "",
       {}},
      {{"ant.s1p", "3.5", "4", "--model", "auto", "--answers", "10", "--name", "net"},
       "ant.s1p",
       3.5,
       4.0,
       LoadModelChoice::automatic,
       10,
       "net",
       {}},
      {{"--decrement", "0.35"}, "", 0.0, 0.0, LoadModelChoice::automatic, {}, "", 0.35},
  };
  for (const auto& c : cases) {
    const FitOptions options = parseFitOptions(c.args);
    ASSERT_EQ(options.action, CommandAction::run) << options.error;
    EXPECT_EQ(options.loadPath, c.loadPath);
    EXPECT_EQ(options.f1, c.f1);
    EXPECT_EQ(options.f2, c.f2);
    EXPECT_EQ(options.model, c.model);
    EXPECT_EQ(options.answersN, c.answersN);
    EXPECT_EQ(options.name, c.name);
    EXPECT_EQ(options.decrement, c.decrement);
  }
  EXPECT_EQ(parseFitOptions({"--help", "--bogus"}).action, CommandAction::help);
  EXPECT_EQ(parseFitOptions({"--version"}).action, CommandAction::version);
}

}  // namespace
}  // namespace bandmatch
