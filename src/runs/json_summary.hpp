// The companion programs' summaries as one JSON document each (--json), for scripts: the figures
// of the printed tables as numbers at full precision, each key carrying its unit (snake_case,
// "_hz", "_ohms", ...; dimensionless figures bare) and named as the Python package names the same
// record's attribute. The schemas in docs/json/ describe every key.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "fitting/dialogue_answers.hpp"
#include "network/best_match.hpp"
#include "network/load_fit.hpp"
#include "network/measured_load.hpp"
#include "network/network_build.hpp"
#include "network/part_sensitivity.hpp"
#include "network/part_stress.hpp"
#include "network/reported_design.hpp"
#include "network/sweep.hpp"
#include "network/tolerance.hpp"
#include "network/worst_case_judge.hpp"
#include "runs/network_analysis.hpp"
#include "runs/search_summary.hpp"
#include "runs/tuning_summary.hpp"

namespace bandmatch {

// Keys stay in the order they are added, the order of the printed summary.
using JsonDocument = nlohmann::ordered_json;

// A figure that may be infinite (an SWR at |Gamma| = 1): the number, or null.
JsonDocument finiteOrNull(double value);

// The document's text: two-space indentation and a final line feed; a byte sequence that is not
// UTF-8 (a file name) is replaced by U+FFFD rather than refused.
std::string jsonText(const JsonDocument& document);

// {"program": ..., "version": ...}, the head of every document.
JsonDocument jsonHead(std::string_view program);

// The files written under the base name and the sweep they hold: "files", "sweep".
void addWrittenFiles(JsonDocument& document, const std::vector<std::string>& paths,
                     const Sweep& sweep);

// A network's worst figures over the band, named as the package's Figures record.
JsonDocument figuresJson(const JudgedBand& judged);

// A retuning element and the resonator it forms, named as the package's Retuning record.
JsonDocument retuningJson(const Retuning& retuning);

// bandmatch-fit's report of a fitted load, the table of the best match included.
JsonDocument fitJson(std::string_view loadPath, const MeasuredLoad& load, const BandPoints& band,
                     const LoadFit& fit, const DialogueAnswers& answers);

// bandmatch-fit --decrement: the decrement's range warning and the table of the best match.
JsonDocument decrementJson(double decrement);

// The table of the best match for N = 1 to 10 and infinitely many ("n" null).
JsonDocument bestMatchJson(double decrement);

// The built variants' worst figures, the transformer and the warning of renderVariantSummary.
JsonDocument variantsJson(const std::vector<NetworkVariant>& variants,
                          const std::vector<JudgedBand>& figures, const BuildOptions& options);

// How the measured load stands in for position 1: the file, its retuning element ideal and as
// built, and the notes of measuredLoadLines.
JsonDocument measuredLoadJson(const ReportedDesign& design, const LoadOnNetwork& measured,
                              const Retuning& built, std::string_view loadName,
                              const Sweep& sweep, const Sweep& wanted);

// Each part's worst stress with `watts` available, as renderStressSummary prints it.
JsonDocument stressJson(const std::vector<LadderPartStress>& stresses, double watts);

// The tolerance trials as renderToleranceSummary prints them.
JsonDocument toleranceJson(const ToleranceOptions& options, bool onMeasuredLoad,
                           const ToleranceResult& result, double goalSwr,
                           const std::vector<PartSensitivity>& sensitivities);

// bandmatch-tune's table, named as the package's Tuning record.
JsonDocument tuningJson(const ReportedDesign& design, const NetworkTuning& tuning,
                        const TuningContext& context);

// bandmatch-search's ranking: the ends, the band, how the parts are built and how the search
// went, every candidate with its figures as built, the limit and the best.
JsonDocument searchJson(const SearchProblem& problem, const SearchResult& result,
                        const SearchContext& context);

}  // namespace bandmatch
