#include "fitting/dialogue_answers.hpp"

#include <cmath>

#include "console/console_input.hpp"
#include "core/number_format.hpp"
#include "entry/answer_ranges.hpp"
#include "synthesis/band_and_load.hpp"

namespace bandmatch {

namespace {

// Full double precision where the dialogue's word length allows it.
constexpr int MOST_SIGNIFICANT_DIGITS = 17;
constexpr int MESSAGE_DIGITS = 6;

// The most precise plain decimal of the value that the number reader takes whole.
std::string answerWord(double value) {
  for (int digits = MOST_SIGNIFICANT_DIGITS; digits > 1; --digits) {
    const std::string word = formatPlainDecimal(value, digits);
    if (word.size() <= TOKEN_CAPACITY) {
      return word;
    }
  }
  return formatPlainDecimal(value, 1);
}

// Writes the word and gives back the value the dialogue will read from it.
double answer(std::vector<std::string>& words, double value) {
  words.push_back(answerWord(value));
  return realFromWord(words.back());
}

std::string outside(std::string_view what, double value, std::string_view range) {
  return "the " + std::string(what) + " " + formatScientific(value, MESSAGE_DIGITS) +
         " lies outside the dialogue's range (" + std::string(range) + ")";
}

}  // namespace

DialogueAnswers dialogueAnswers(const LoadFit& fit, int n, std::string_view name) {
  const DesignCase& fitted = fit.load;
  const bool series = fitted.loadType == LoadType::series;
  DialogueAnswers answers;
  std::vector<std::string>& words = answers.words;
  words = {std::string(name), formatInteger(n), "l", series ? "s" : "p"};

  // The dialogue derives everything from the values it reads, so each later word is chosen
  // from the values the earlier words give back.
  DesignCase read;
  read.method = Method::loadParameters;
  read.loadType = fitted.loadType;
  read.f1 = answer(words, fitted.f1);
  read.f2 = answer(words, fitted.f2);
  if (!contains(LOW_BAND_EDGE_RANGE, read.f1)) {
    return {{}, outside("lower band edge (MHz)", fitted.f1, "above 0.000001, below 1000000")};
  }
  if (!contains(highBandEdgeRange(read.f1), read.f2)) {
    return {{}, outside("upper band edge (MHz)", fitted.f2, "above f1, below 1000000")};
  }
  computeBand(read);

  const double level = series ? fitted.averageResistance : fitted.averageConductance;
  const double slope = series ? fitted.reactanceSlope : fitted.susceptanceSlope;
  double& readLevel = series ? read.averageResistance : read.averageConductance;
  double& readChange = series ? read.deltaReactance : read.deltaSusceptance;
  readLevel = answer(words, level);
  if (!contains(LOAD_VALUE_RANGE, readLevel)) {
    return {{},
            outside(series ? "average resistance (ohms)" : "average conductance (S)", level,
                    "above 0, at most 1000000")};
  }
  // Half the band keeps the delta bandwidth strictly inside what the dialogue accepts; a
  // steep load gets a narrower one so that its change stays within the dialogue's bound.
  const double halfBand = read.matchBandwidth / 2.0;
  const double change = 2.0 * slope * halfBand / read.f0;
  const double deltaBandwidth =
      change > MAX_LOAD_VALUE ? halfBand * (MAX_LOAD_VALUE / 2.0) / change : halfBand;
  read.deltaBandwidth = answer(words, deltaBandwidth);
  if (!contains(deltaBandwidthRange(read.matchBandwidth), read.deltaBandwidth)) {
    return {{}, outside("delta bandwidth (MHz)", deltaBandwidth, "above 0, at most f2 - f1")};
  }
  // (change / delta bandwidth) * f0 / 2 is the slope parameter.
  const double exactChange = 2.0 * slope * read.deltaBandwidth / read.f0;
  readChange = answer(words, exactChange);
  if (!contains(LOAD_VALUE_RANGE, readChange)) {
    return {{},
            outside(series ? "delta reactance (ohms)" : "delta susceptance (S)", exactChange,
                    "above 0, at most 1000000")};
  }
  words.push_back("e");

  decrementFromLoad(read);
  if (!(std::fabs(read.decrement - fitted.decrement) <=
        ANSWER_DECREMENT_TOLERANCE * fitted.decrement)) {
    return {{},
            "the load cannot be written in the dialogue's plain decimals of at most " +
                formatInteger(static_cast<long long>(TOKEN_CAPACITY)) +
                " characters: they give the decrement " +
                formatScientific(read.decrement, MESSAGE_DIGITS) + " instead of " +
                formatScientific(fitted.decrement, MESSAGE_DIGITS)};
  }
  return answers;
}

}  // namespace bandmatch
