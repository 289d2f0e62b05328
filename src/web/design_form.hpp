// The web page's design form: the fields of the design record as the page shows them, each
// checked against the range the console dialogue accepts, and the design they describe once
// every field the method asks for is accepted.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/design_case.hpp"
#include "network/network_build.hpp"

namespace bandmatch {

// The record's field names: the form's fields and the keys of the page's address.
namespace formKeys {
inline constexpr std::string_view NAME = "name";
inline constexpr std::string_view N = "N";
inline constexpr std::string_view METHOD = "method";
inline constexpr std::string_view LOAD = "load";
inline constexpr std::string_view F1 = "f1";
inline constexpr std::string_view F2 = "f2";
inline constexpr std::string_view DECREMENT = "decrement";
inline constexpr std::string_view LOAD_Q = "loadQ";
inline constexpr std::string_view AVERAGE = "average";  // resistance or conductance by load type
inline constexpr std::string_view DELTA_BANDWIDTH = "deltaBandwidth";
inline constexpr std::string_view DELTA = "delta";  // reactance or susceptance change
}  // namespace formKeys

// Every field, in the order of the form.
inline constexpr std::array<std::string_view, 11> FORM_KEYS = {
    formKeys::NAME,      formKeys::N,
    formKeys::METHOD,    formKeys::LOAD,
    formKeys::F1,        formKeys::F2,
    formKeys::DECREMENT, formKeys::LOAD_Q,
    formKeys::AVERAGE,   formKeys::DELTA_BANDWIDTH,
    formKeys::DELTA};

// The fields of the network to build, after the design's: bandmatch-export's options
// --source-ohms, --series, --q-inductor and --q-capacitor. Empty leaves the network ideal.
namespace buildKeys {
inline constexpr std::string_view SOURCE_OHMS = "sourceOhms";
inline constexpr std::string_view SERIES = "series";
inline constexpr std::string_view Q_INDUCTOR = "qInductor";
inline constexpr std::string_view Q_CAPACITOR = "qCapacitor";
}  // namespace buildKeys

inline constexpr std::array<std::string_view, 4> BUILD_KEYS = {
    buildKeys::SOURCE_OHMS, buildKeys::SERIES, buildKeys::Q_INDUCTOR, buildKeys::Q_CAPACITOR};

// The form's values by key, as typed or as found in the page's address. A key that is missing
// takes its default, the README's first example.
using FormValues = std::map<std::string, std::string, std::less<>>;

// One answer of a choice field: the letter the dialogue takes, and what it means.
struct FormChoice {
  std::string value;
  std::string text;
};

struct FormField {
  std::string key;
  std::string label;
  std::string value;    // as given, or the default
  std::string hint;     // what the field accepts, with the range the dialogue enforces
  std::string message;  // why the value is refused; empty when it is accepted or not asked for
  bool used = true;     // whether the chosen method and load type ask for this field
  std::vector<FormChoice> choices;  // empty for a typed value
};

// The band edges f1 and f2 in MHz.
struct BandEdges {
  double f1 = 0.0;
  double f2 = 0.0;
};

struct FormReading {
  std::vector<FormField> fields;       // in the order of FORM_KEYS
  std::optional<DesignCase> design;    // synthesized, when every used field is accepted
  std::string warnings;                // the dialogue's range warnings for that design
  std::optional<BandEdges> band;       // when both band edges are accepted
  std::vector<FormField> buildFields;  // in the order of BUILD_KEYS
  std::optional<BuildOptions> build;   // when every build field is accepted
};

// Fills the record as the console dialogue does for the same answers, then synthesizes it; and
// reads the network to build with the ranges bandmatch-export takes.
FormReading readDesignForm(const FormValues& values);

}  // namespace bandmatch
