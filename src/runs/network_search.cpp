#include "runs/network_search.hpp"

#include <algorithm>
#include <complex>
#include <utility>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "formats/touchstone_reader.hpp"
#include "network/measured_network.hpp"
#include "network/two_port.hpp"
#include "runs/search_summary.hpp"

namespace bandmatch {

namespace {

constexpr std::string_view SERIES_PREFIX = "series:";
constexpr std::string_view PARALLEL_PREFIX = "parallel:";

// A measured end joins the cascade with its fitted model for the netlist; the others as typed.
std::optional<CascadeEnd> cascadeEnd(const NetworkEnd& end, const std::string& name, double f1,
                                     double f2) {
  if (end.kind == EndKind::measured) {
    return measuredEnd(end.measured, name, f1, f2);
  }
  return modelEnd(end, name);
}

}  // namespace

TypedSearchEnd typedSearchEnd(std::string_view typed, std::string_view role) {
  EndParse parse = parseNetworkEnd(typed);
  if (parse.end) {
    return {std::move(parse.end), {}, false};
  }
  if (typed.starts_with(SERIES_PREFIX) || typed.starts_with(PARALLEL_PREFIX)) {
    return {std::nullopt,
            std::string(role) + " " + quotedText(printableText(typed)) + ": " + parse.error,
            false};
  }
  return {std::nullopt, {}, true};
}

EndParse measuredSearchEnd(std::string_view name, std::string_view text, double f1, double f2,
                           const Sweep& wanted) {
  TouchstoneReading reading = readTouchstone(text);
  if (!reading.load) {
    return {std::nullopt, std::string(name) + ": " + reading.error};
  }
  EndParse measured = measuredEnd(std::move(*reading.load), f1, f2,
                                  std::min(f1, wanted.lowerMHz), std::max(f2, wanted.upperMHz));
  if (!measured.end) {
    measured.error = std::string(name) + ": " + measured.error;
  }
  return measured;
}

SearchOutcome searchNetworks(SearchRequest request, const std::function<double()>& clock) {
  SearchOutcome outcome;
  outcome.sweep = request.sweep;
  for (const NetworkEnd* end : {&request.source, &request.load}) {
    if (end->kind == EndKind::measured) {
      outcome.sweep = clippedToData(outcome.sweep, end->measured);
    }
  }
  SearchProblem& problem = outcome.problem;
  problem.source = std::move(request.source);
  problem.load = std::move(request.load);
  problem.f1 = request.f1;
  problem.f2 = request.f2;
  problem.inductorQ = request.inductorQ;
  problem.capacitorQ = request.capacitorQ;
  problem.lineLossDb = request.lineLossDb;
  problem.series = request.series;
  const std::vector<LibraryTopology> topologies =
      request.topology ? std::vector<LibraryTopology>{{"given", *request.topology}}
                       : topologyLibrary(request.maxParts);
  SearchSettings settings;
  settings.threads = std::max(1, request.threads);
  const double started = clock();
  outcome.result = searchTopologies(problem, topologies, settings);
  outcome.seconds = clock() - started;
  outcome.sourceName = std::move(request.sourceName);
  outcome.loadName = std::move(request.loadName);
  outcome.topologies =
      request.topology ? "given" : "of at most " + formatInteger(request.maxParts) + " parts";
  return outcome;
}

std::string searchRanking(const SearchOutcome& outcome) {
  return renderSearchSummary(
      outcome.problem, outcome.result,
      {outcome.sourceName, outcome.loadName, outcome.topologies, outcome.seconds});
}

PickedNetwork pickedNetwork(const SearchOutcome& outcome, int pick) {
  PickedNetwork picked;
  const std::vector<SearchCandidate>& candidates = outcome.result.candidates;
  if (pick < 1 || static_cast<std::size_t>(pick) > candidates.size()) {
    const auto ranked = static_cast<long long>(candidates.size());
    picked.error = "only " + formatInteger(ranked) +
                   (ranked == 1 ? " candidate is ranked" : " candidates are ranked");
    return picked;
  }
  const SearchCandidate& candidate = candidates[static_cast<std::size_t>(pick - 1)];
  const std::string cannot = "the candidate of rank " + formatInteger(pick) + " cannot be built: ";
  if (!candidate.error.empty()) {
    picked.error = cannot + candidate.error;
    return picked;
  }
  const SearchProblem& problem = outcome.problem;
  std::optional<CascadeEnd> source =
      cascadeEnd(problem.source, outcome.sourceName, problem.f1, problem.f2);
  std::optional<CascadeEnd> load =
      cascadeEnd(problem.load, outcome.loadName, problem.f1, problem.f2);
  if (!source || !load) {
    picked.error = cannot + "the measured data do not cover the band";
    return picked;
  }
  picked.cascade = MatchedCascade{builtNetwork(candidate), std::move(*source), std::move(*load),
                                  problem.f1, problem.f2};
  picked.figures = builtFigures(candidate);
  return picked;
}

}  // namespace bandmatch
