#include "runs/json_summary.hpp"

#include <cmath>
#include <sstream>

#include "core/version.hpp"
#include "entry/range_warnings.hpp"
#include "fitting/fit_report.hpp"
#include "network/ladder_analysis.hpp"
#include "runs/variant_summary.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {

namespace {

constexpr double HZ_PER_MHZ = 1e6;
constexpr int PERCENTILES[] = {50, 90, 99};
constexpr std::string_view NOTE_START = "Note: ";
// Words 6 to 8 of the dialogue's answers are the load's: after name, N, l, s or p, f1 and f2.
constexpr std::size_t FIRST_LOAD_WORD = 6;
constexpr std::size_t LOAD_WORDS = 3;

JsonDocument hertz(double megahertz) {
  return megahertz * HZ_PER_MHZ;
}

// The lines of a printed block, without their line feeds; blank lines dropped.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) {
      lines.push_back(line);
    }
  }
  return lines;
}

// What the dialogue warns about, as it prints it, one entry per line.
JsonDocument warningLines(const std::string& printed) {
  return linesOf(printed);
}

JsonDocument loadModelJson(const ModelCandidate& candidate) {
  const LoadModel& model = candidate.model;
  const bool series = model.type == LoadType::series;
  JsonDocument json;
  json["model"] = series ? "series" : "parallel";
  json[series ? "resistance_ohms" : "conductance_siemens"] = model.level;
  json["inductance_henries"] = model.inductance;
  json["capacitance_farads"] = model.capacitance;
  const std::optional<double> resonance = ownResonanceMHz(model);
  json["own_resonance_hz"] = resonance ? hertz(*resonance) : JsonDocument();
  json["worst_error"] = model.worstError;
  json["worst_error_frequency_hz"] = hertz(model.worstErrorMHz);
  json["retuning"] = retuningJson(candidate.retuning);
  json["refusal"] = candidate.refusal;
  return json;
}

JsonDocument namesOf(const std::vector<TuningVariable>& variables, const LadderNetwork& ladder) {
  JsonDocument names = JsonDocument::array();
  for (const TuningVariable& variable : variables) {
    names.push_back(tuningVariableName(variable, ladder));
  }
  return names;
}

template <typename Standard>
JsonDocument worstOrNull(const Standard& network) {
  return network ? JsonDocument(network->worst) : JsonDocument();
}

}  // namespace

JsonDocument finiteOrNull(double value) {
  return std::isfinite(value) ? JsonDocument(value) : JsonDocument();
}

std::string jsonText(const JsonDocument& document) {
  return document.dump(2, ' ', false, JsonDocument::error_handler_t::replace) + "\n";
}

JsonDocument jsonHead(std::string_view program) {
  JsonDocument json;
  json["program"] = program;
  json["version"] = PROJECT_VERSION;
  return json;
}

void addWrittenFiles(JsonDocument& document, const std::vector<std::string>& paths,
                     const Sweep& sweep) {
  document["files"] = paths;
  document["sweep"] = {{"points", sweep.points},
                       {"lower_hz", hertz(sweep.lowerMHz)},
                       {"upper_hz", hertz(sweep.upperMHz)}};
}

JsonDocument figuresJson(const JudgedBand& judged) {
  JsonDocument json;
  json["worst_gamma"] = judged.worstReflection;
  json["worst_gamma_frequency_hz"] = hertz(judged.worstReflectionMHz);
  json["best_gamma"] = judged.bestReflection;
  json["worst_swr"] = finiteOrNull(standingWaveRatio(judged.worstReflection));
  json["worst_gain"] = judged.worstGain;
  json["worst_gain_frequency_hz"] = hertz(judged.worstGainMHz);
  json["worst_dissipation"] = judged.worstDissipation;
  return json;
}

JsonDocument retuningJson(const Retuning& retuning) {
  JsonDocument json;
  json["kind"] = retuningWord(retuning.kind);
  if (retuning.kind != RetuningKind::none) {
    json[retuningIsInductor(retuning.kind) ? "value_henries" : "value_farads"] = retuning.value;
  }
  json["inductance_henries"] = retuning.inductance;
  json["capacitance_farads"] = retuning.capacitance;
  return json;
}

JsonDocument bestMatchJson(double decrement) {
  JsonDocument rows = JsonDocument::array();
  for (const BestMatchRow& row : bestMatchTable(decrement)) {
    JsonDocument json;
    json["n"] = row.n == 0 ? JsonDocument() : JsonDocument(row.n);
    json["solved"] = row.solved;
    json["rho_min"] = row.solved ? JsonDocument(row.rhoMin) : JsonDocument();
    json["rho_max"] = row.solved ? JsonDocument(row.rhoMax) : JsonDocument();
    json["worst_return_loss_db"] = row.solved ? JsonDocument(row.worstReturnLossDb) : JsonDocument();
    json["worst_swr"] = row.solved ? finiteOrNull(row.worstSwr) : JsonDocument();
    rows.push_back(std::move(json));
  }
  return rows;
}

JsonDocument fitJson(std::string_view loadPath, const MeasuredLoad& load, const BandPoints& band,
                     const LoadFit& fit, const DialogueAnswers& answers) {
  const DesignCase& described = fit.load;
  const bool series = described.loadType == LoadType::series;
  JsonDocument json = jsonHead("bandmatch-fit");
  json["load_file"] = loadPath;
  json["band_points"] = band.last - band.first + 1;
  json["file_points"] = load.frequencyMHz.size();
  json["f1_hz"] = hertz(described.f1);
  json["f2_hz"] = hertz(described.f2);
  json["model"] = series ? "series" : "parallel";
  JsonDocument candidates = JsonDocument::array();
  for (const ModelCandidate& candidate : fit.candidates) {
    candidates.push_back(loadModelJson(candidate));
  }
  json["candidates"] = std::move(candidates);
  json["retuning"] = retuningJson(fit.candidates.front().retuning);
  json["f0_hz"] = hertz(described.f0);
  json["wm"] = described.wm;
  if (series) {
    json["reactance_slope_ohms"] = described.reactanceSlope;
  } else {
    json["susceptance_slope_siemens"] = described.susceptanceSlope;
  }
  json["decrement"] = described.decrement;
  json["load_q"] = described.loadQ;
  if (answers.error.empty() && answers.words.size() >= FIRST_LOAD_WORD + LOAD_WORDS) {
    const auto first = answers.words.begin() + FIRST_LOAD_WORD;
    json["answer_words"] = std::vector<std::string>(first, first + LOAD_WORDS);
    json["answers_refusal"] = nullptr;
  } else {
    json["answer_words"] = nullptr;
    json["answers_refusal"] = answers.error;
  }
  std::ostringstream warnings;
  showRangeWarnings(warnings, described);
  json["warnings"] = warningLines(warnings.str());
  json["best_match"] = bestMatchJson(described.decrement);
  return json;
}

JsonDocument decrementJson(double decrement) {
  JsonDocument json = jsonHead("bandmatch-fit");
  json["decrement"] = decrement;
  std::ostringstream warning;
  showDecrementWarning(warning, decrement);
  json["warnings"] = warningLines(warning.str());
  json["best_match"] = bestMatchJson(decrement);
  return json;
}

JsonDocument variantsJson(const std::vector<NetworkVariant>& variants,
                          const std::vector<JudgedBand>& figures, const BuildOptions& options) {
  JsonDocument json;
  const LadderNetwork& built = variants.back().ladder;
  if (built.turnsRatio) {
    json["transformer"] = {{"turns_ratio", *built.turnsRatio},
                           {"source_resistance_ohms", built.sourceResistance},
                           {"source_resistance_at_ladder_ohms", sourceResistanceAtLadder(built)}};
  } else {
    json["transformer"] = nullptr;
  }
  JsonDocument rows = JsonDocument::array();
  for (std::size_t i = 0; i < variants.size(); ++i) {
    rows.push_back({{"label", variants[i].label}, {"figures", figuresJson(figures[i])}});
  }
  json["networks"] = std::move(rows);
  const std::string warning = variantWarning(variants, figures, options);
  json["warning"] = warning.empty() ? JsonDocument() : JsonDocument(warning);
  return json;
}

JsonDocument measuredLoadJson(const ReportedDesign& design, const LoadOnNetwork& measured,
                              const Retuning& built, std::string_view loadName,
                              const Sweep& sweep, const Sweep& wanted) {
  JsonDocument json;
  json["file"] = loadName;
  json["retuning"] = retuningJson(measured.retuning);
  json["built_retuning"] = retuningJson(built);
  JsonDocument notes = JsonDocument::array();
  for (const std::string& line :
       linesOf(measuredLoadLines(design, measured, built, loadName, sweep, wanted))) {
    if (line.starts_with(NOTE_START)) {
      notes.push_back(line.substr(NOTE_START.size()));
    }
  }
  json["notes"] = std::move(notes);
  return json;
}

JsonDocument stressJson(const std::vector<LadderPartStress>& stresses, double watts) {
  JsonDocument parts = JsonDocument::array();
  for (const LadderPartStress& stress : stresses) {
    const char element = stress.element == StressedElement::inductor ? 'L' : 'C';
    parts.push_back({{"part", elementName(element, static_cast<std::size_t>(stress.position) - 1)},
                     {"peak_voltage_volts", stress.peakVoltage},
                     {"rms_current_amperes", stress.rmsCurrent}});
  }
  return {{"power_watts", watts}, {"parts", std::move(parts)}};
}

JsonDocument toleranceJson(const ToleranceOptions& options, bool onMeasuredLoad,
                           const ToleranceResult& result, double goalSwr,
                           const std::vector<PartSensitivity>& sensitivities) {
  const YieldFigures yield = yieldAt(result.worstSwr, goalSwr);
  JsonDocument json;
  json["tolerance_l_percent"] = options.inductorPercent;
  json["tolerance_c_percent"] = options.capacitorPercent;
  json["trials"] = options.trials;
  json["seed"] = options.seed;
  json["on_measured_load"] = onMeasuredLoad;
  json["goal_swr"] = goalSwr;
  json["nominal_swr"] = finiteOrNull(result.nominalSwr);
  json["passing"] = yield.passing;
  json["yield_share"] = yield.share;
  json["yield_interval"] = {yield.lower, yield.upper};
  JsonDocument percentiles = JsonDocument::array();
  for (const int percent : PERCENTILES) {
    percentiles.push_back(
        {{"percent", percent},
         {"worst_swr", finiteOrNull(nearestRankPercentile(result.worstSwr, percent))}});
  }
  json["percentiles"] = std::move(percentiles);
  JsonDocument parts = JsonDocument::array();
  for (const PartSensitivity& sensitivity : largestFirst(sensitivities)) {
    parts.push_back({{"part", partName(sensitivity)},
                     {"position", sensitivity.position},
                     {"kind", sensitivity.kind == PartKind::inductor ? "inductor" : "capacitor"},
                     {"change", sensitivity.change}});
  }
  json["sensitivities"] = std::move(parts);
  return json;
}

JsonDocument tuningJson(const ReportedDesign& design, const NetworkTuning& tuning,
                        const TuningContext& context) {
  const LadderNetwork& ladder = tuning.untuned.network.ladder;
  const TuningBounds bounds = tuningBounds(design, context.decrement);
  JsonDocument json;
  json["on_measured_load"] = context.measured;
  json["f1_hz"] = hertz(design.f1);
  json["f2_hz"] = hertz(design.f2);
  json["samples"] = tuning.samples;
  json["optimised_samples"] = tuning.optimisedSamples;
  json["edge_samples"] = tuning.edgeSamples;
  json["variables"] = namesOf(tuning.variables, ladder);
  json["range_percent"] = 100.0 * context.range;
  json["series"] = context.seriesName.empty() ? JsonDocument() : JsonDocument(context.seriesName);
  json["report_rho_max"] = design.rhoMax;
  json["untuned_worst"] = tuning.untuned.worst;
  json["tuned_worst"] = tuning.tuned.worst;
  json["untuned_standard_worst"] = worstOrNull(tuning.untunedStandard);
  json["tuned_standard_worst"] = worstOrNull(tuning.tunedStandard);
  json["decrement"] = context.decrement;
  json["equal_ripple_rho_max"] =
      bounds.equalRipple ? JsonDocument(*bounds.equalRipple) : JsonDocument();
  json["bound_rho_max"] = bounds.bound;
  json["evaluations"] = tuning.evaluations;
  json["standard_evaluations"] = tuning.standardEvaluations;
  json["standard_variables"] = namesOf(tuning.standardVariables, ladder);
  json["at_limit"] = namesOf(tuning.atLimit, ladder);
  json["standard_at_limit"] = namesOf(tuning.standardAtLimit, ladder);
  json["seconds"] = context.seconds;
  return json;
}

JsonDocument searchJson(const SearchProblem& problem, const SearchResult& result,
                        const SearchContext& context) {
  JsonDocument json = jsonHead("bandmatch-search");
  json["source"] = endDescription(context.source, problem.source, problem.f1, problem.f2);
  json["load"] = endDescription(context.load, problem.load, problem.f1, problem.f2);
  json["f1_hz"] = hertz(problem.f1);
  json["f2_hz"] = hertz(problem.f2);
  json["parts"] = partsDescription(problem);
  json["topologies"] = result.topologies;
  json["screening_samples"] = result.screeningSamples;
  json["samples"] = result.samples;
  json["seconds"] = context.seconds;
  JsonDocument candidates = JsonDocument::array();
  for (std::size_t k = 0; k < result.candidates.size(); ++k) {
    const SearchCandidate& candidate = result.candidates[k];
    const bool built = candidate.error.empty();
    const CascadeFigures& figures = builtFigures(candidate);
    JsonDocument row;
    row["rank"] = k + 1;
    row["topology"] = topologyText(candidate.topology.topology);
    row["family"] = candidate.topology.family;
    row["parts"] = partCount(candidate.topology.topology);
    row["iterations"] = candidate.evaluations;
    row["worst_gain_db"] = built ? finiteOrNull(gainDecibels(figures.worstGain)) : JsonDocument();
    row["worst_gamma"] = built ? JsonDocument(figures.worstReflection) : JsonDocument();
    row["swr"] = built ? finiteOrNull(standingWaveRatio(figures.worstReflection)) : JsonDocument();
    row["continuous_worst_gamma"] =
        problem.series ? JsonDocument(candidate.figures.worstReflection) : JsonDocument();
    row["error"] = built ? JsonDocument() : JsonDocument(candidate.error);
    candidates.push_back(std::move(row));
  }
  json["candidates"] = std::move(candidates);
  if (result.limit) {
    const double rho = result.limit->reflection;
    json["limit"] = {{"description", limitDescription(*result.limit)},
                     {"worst_gain_db", gainDecibels(1.0 - rho * rho)},
                     {"worst_gamma", rho},
                     {"swr", finiteOrNull(standingWaveRatio(rho))}};
  } else {
    json["limit"] = nullptr;
  }
  if (result.candidates.empty()) {
    json["best"] = nullptr;
  } else {
    const SearchCandidate& best = result.candidates.front();
    json["best"] = {{"topology", topologyText(best.topology.topology)},
                    {"worst_gamma", builtFigures(best).worstReflection},
                    {"worst_gain_db", gainDecibels(builtFigures(best).worstGain)}};
  }
  return json;
}

}  // namespace bandmatch
