// The networks the Python module hands out and what is worked out on them: a design's network as
// the companion programs read it from its CSV report, a measured load in place of position 1 as
// they fit it, the variants bandmatch-export builds, and a network's response at any frequencies
// with its worst figures as the judge finds them.
#pragma once

#include <complex>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/design_case.hpp"
#include "network/network_build.hpp"
#include "network/reported_design.hpp"
#include "network/sweep.hpp"
#include "network/worst_case_judge.hpp"
#include "runs/network_analysis.hpp"

namespace bandmatch {

// One network: the report's design it comes from, its ladder and a measured load's retuning
// element, the measured load in place of position 1 (null on the model load), and the sweep of
// the files the programs write of it.
struct HandedNetwork {
  std::shared_ptr<const ReportedDesign> design;
  std::string label;
  LadderNetwork ladder;
  Retuning retuning;
  std::shared_ptr<const LoadOnNetwork> measured;
  Sweep sweep;
};

// A report's design, or why the text is refused.
struct DesignReading {
  std::shared_ptr<const ReportedDesign> design;
  std::string error;
};

// The design as the companion programs take it from its CSV report: the report written and read
// back, so that every network is the one the written files describe.
DesignReading reportedDesignOf(const DesignCase& design);

// A report is a few kilobytes; a text far larger is refused unread.
inline constexpr std::size_t REPORT_TEXT_LIMIT = std::size_t{1} << 20;

// The design of a CSV report's text.
DesignReading reportedDesignOfText(std::string_view text);

// The report's ideal ladder on its model load, over the programs' default sweep.
HandedNetwork reportedNetwork(const std::shared_ptr<const ReportedDesign>& design);

// The measured load fitted for position 1 as bandmatch-export and bandmatch-tune fit it, or why
// it cannot stand there: the band not covered, the load active where the default sweep uses it,
// no model.
struct MeasuredPlacing {
  std::shared_ptr<const LoadOnNetwork> load;
  std::string error;
};
MeasuredPlacing placeMeasuredLoad(const MeasuredLoad& load, const ReportedDesign& design);

// The network to build as given: each value is checked against the range bandmatch-export takes
// for its option.
struct BuildArguments {
  std::optional<double> sourceOhms;
  std::optional<std::string> series;
  std::optional<double> inductorQ;
  std::optional<double> capacitorQ;
};
struct BuildReading {
  std::optional<BuildOptions> options;
  std::string error;  // "source_ohms: not a number from 0.001 to 1000000.000"
};
BuildReading readBuildArguments(const BuildArguments& arguments);

// bandmatch-export's variants of the design's network, the last the network to build, or why
// there are none: the design's network (error) or the measured load's (loadError).
struct BuiltNetworks {
  std::vector<HandedNetwork> networks;
  std::string error;
  std::string loadError;
};
BuiltNetworks buildNetworks(const std::shared_ptr<const ReportedDesign>& design,
                            const BuildOptions& options,
                            const std::shared_ptr<const LoadOnNetwork>& measured);

// The network's input reflection (referenced to its source), its magnitude and the transducer
// gain at each frequency in Hz; on a measured load the gain is not known and left as it is. An
// error for a frequency that is not above 0 Hz, or beyond the measured data.
std::string networkResponse(const HandedNetwork& network, std::span<const double> frequenciesHz,
                            std::span<std::complex<double>> reflection, std::span<double> magnitude,
                            std::span<double> gain);

// The worst figures over the band on the model load, and on the measured load when there is one.
JudgedBand judgedOnModelLoad(const HandedNetwork& network);
std::optional<JudgedBand> judgedOnMeasuredLoad(const HandedNetwork& network);

// "series" or "parallel".
std::string_view loadWord(LoadType loadType);

}  // namespace bandmatch
