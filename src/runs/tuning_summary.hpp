// What bandmatch-tune reports: the table of worst in-band figures before and after tuning with
// the report's prediction, the equal-ripple figure and Fano's bound of the load, the iterations
// and the time; and the CSV of the element values before and after.
#pragma once

#include <optional>
#include <string>

#include "network/reported_design.hpp"
#include "tuning/network_tuning.hpp"

namespace bandmatch {

struct TuningContext {
  bool measured = false;   // tuned on a measured load rather than the model load
  double decrement = 0.0;  // of the model load, or of the resonator fitted to the measured one
  double range = 0.5;      // each value's allowed move, as a share of its start
  std::string seriesName;  // "E24" with standard values, empty without
  double seconds = 0.0;    // the tuning's time
};

// A tuned value by name: "L(2)", "C(2)", "source resistance" or "turns ratio" (of `ladder`'s
// transformer), "retuning element".
std::string tuningVariableName(const TuningVariable& variable, const LadderNetwork& ladder);

// The figures the summary sets the tuning against: the equal-ripple match N resonators reach on
// the load's decrement (none when it has no solution) and Fano's bound exp(-pi * decrement).
struct TuningBounds {
  std::optional<double> equalRipple;
  double bound = 0.0;
};

TuningBounds tuningBounds(const ReportedDesign& design, double decrement);

// The text for standard output, one line each.
std::string renderTuningSummary(const ReportedDesign& design, const NetworkTuning& tuning,
                                const TuningContext& context);

// The CSV of the network's values: a header row, then from the load to the source every value
// before and after tuning with its change in percent, and with standard values the same for
// the rounded networks. The retuning element of a measured load has a row of its own.
std::string renderTunedValues(const ReportedDesign& design, const NetworkTuning& tuning,
                              const TuningContext& context);

}  // namespace bandmatch
