// Command line of bandmatch-fit: a measured load file and a band, the model to fit, the answers
// mode for the designer, or a decrement alone for the table of the best match.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "network/load_fit.hpp"
#include "tools/common/command_line.hpp"

namespace bandmatch {

inline constexpr std::string_view FIT_PROGRAM_NAME = "bandmatch-fit";

struct FitOptions {
  CommandAction action = CommandAction::run;
  std::string loadPath;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
  LoadModelChoice model = LoadModelChoice::automatic;
  std::optional<int> answersN;      // print the designer's answer words for this N
  std::string name;                 // the result name among those answers
  std::optional<double> decrement;  // the table alone, for this decrement
  bool json = false;                // the report as one JSON document
  std::string error;                // why the command line is refused (action fail)
};

FitOptions parseFitOptions(const std::vector<std::string>& args);

// The generated usage text.
std::string fitUsage();

}  // namespace bandmatch
