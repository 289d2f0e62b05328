// The answer words that take bandmatch's dialogue through method l for a fitted load, written
// so that its number reader takes them and derives the fitted decrement from them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "network/load_fit.hpp"

namespace bandmatch {

// Name, N, l, s or p, f1, f2, the average resistance or conductance, the delta bandwidth, the
// delta reactance or susceptance, e; or why the load cannot be given to the dialogue.
struct DialogueAnswers {
  std::vector<std::string> words;
  std::string error;
};

// The decrement bandmatch derives from the words matches the fitted one to this relative error.
inline constexpr double ANSWER_DECREMENT_TOLERANCE = 1e-9;

DialogueAnswers dialogueAnswers(const LoadFit& fit, int n, std::string_view name);

}  // namespace bandmatch
