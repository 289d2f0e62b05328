#include "tools/search/search_run.hpp"

#include <algorithm>
#include <thread>

#include "core/display_text.hpp"
#include "core/text_sink.hpp"
#include "formats/touchstone_reader.hpp"
#include "network/measured_network.hpp"
#include "runs/json_summary.hpp"
#include "runs/network_search.hpp"
#include "runs/search_summary.hpp"
#include "runs/tolerance_summary.hpp"
#include "tools/common/atomic_file.hpp"
#include "tools/common/input_file.hpp"
#include "tools/common/network_run.hpp"

namespace bandmatch {

namespace {

int fail(std::ostream& err, std::string_view message) {
  return refuse(err, SEARCH_PROGRAM_NAME, message);
}

// An end as typed: a model, a resistance, or else the Touchstone one-port file of that name,
// whose data must cover the band and be passive over the band and the wanted sweep.
std::optional<NetworkEnd> readEnd(const std::string& typed, std::string_view role,
                                  const SearchOptions& options, const Sweep& wanted,
                                  std::vector<InputFileRead>& inputs, std::string& error) {
  TypedSearchEnd typedEnd = typedSearchEnd(typed, role);
  if (!typedEnd.file) {
    error = typedEnd.error;
    return std::move(typedEnd.end);
  }
  const FileText file = readInputFile(typed, LOAD_FILE_SIZE_LIMIT, LOAD_FILE_TOO_LARGE);
  if (!file.text) {
    error = std::string(role) + " " + quotedText(printableText(typed)) +
            " is no resistance, series: or parallel: model, and no file to read (" + file.error +
            ")";
    return std::nullopt;
  }
  inputs.push_back({typed, file.identity, std::string(role)});
  EndParse measured = measuredSearchEnd(typed, *file.text, options.f1, options.f2, wanted);
  error = measured.error;
  return std::move(measured.end);
}

// Why one of the files would replace a one-port file an end was read from (by identity, so any
// spelling of the name or a link counts); empty when none would.
std::string outputReplacingEnd(const std::vector<OutputFile>& outputs,
                               const std::vector<InputFileRead>& inputs) {
  for (const OutputFile& output : outputs) {
    const std::optional<FileIdentity> identity = identityOf(output.path);
    for (const InputFileRead& input : inputs) {
      if (identity == input.identity) {
        return printableText(output.path) + " would replace " + input.role + " " +
               printableText(input.path) + "; choose another --out";
      }
    }
  }
  return {};
}

}  // namespace

SearchRun searchFor(const SearchOptions& options, const SecondsClock& clock) {
  SearchRun run;
  const Sweep wanted = sweepAroundBand(options.f1, options.f2, options.span, options.points);
  run.sourceName = options.source;
  run.loadName = options.load;
  std::optional<NetworkEnd> source =
      readEnd(options.source, "the source", options, wanted, run.inputs, run.error);
  std::optional<NetworkEnd> load =
      source ? readEnd(options.load, "the load", options, wanted, run.inputs, run.error)
             : std::nullopt;
  if (!source || !load) {
    return run;
  }
  SearchRequest request;
  request.source = std::move(*source);
  request.load = std::move(*load);
  request.f1 = options.f1;
  request.f2 = options.f2;
  request.maxParts = options.maxParts;
  request.topology = options.topology;
  request.sweep = wanted;
  request.series = options.series;
  request.inductorQ = options.inductorQ.value_or(LOSSLESS_Q);
  request.capacitorQ = options.capacitorQ.value_or(LOSSLESS_Q);
  request.lineLossDb = options.lineLossDb;
  request.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  SearchOutcome outcome = searchNetworks(std::move(request), clock);
  run.problem = std::move(outcome.problem);
  run.result = std::move(outcome.result);
  run.sweep = outcome.sweep;
  run.seconds = outcome.seconds;
  return run;
}

std::optional<ChosenNetwork> chosenNetwork(const SearchRun& run, int pick,
                                           const ChosenFileRequest& request) {
  return chooseNetwork(run.problem, run.result, pick, run.sourceName, run.loadName, run.sweep,
                       request);
}

int runSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SecondsClock& clock) {
  const SearchOptions options = parseSearchOptions(args);
  if (options.action != CommandAction::run) {
    return answerRequest({options.action, options.error}, searchUsage(), SEARCH_PROGRAM_NAME, out,
                         err);
  }
  const SearchRun run = searchFor(options, clock);
  if (!run.error.empty()) {
    return fail(err, run.error);
  }
  const std::size_t ranked = run.result.candidates.size();
  if (static_cast<std::size_t>(options.pick) > ranked) {
    return fail(err, "--pick " + std::to_string(options.pick) + ", but only " +
                         std::to_string(ranked) +
                         (ranked == 1 ? " candidate is ranked" : " candidates are ranked"));
  }
  const std::optional<ChosenNetwork> chosen = chosenNetwork(
      run, options.pick, {options.substrate, options.powerWatts, options.smith});
  if (!chosen) {
    return fail(err, "the candidate of rank " + std::to_string(options.pick) +
                         " cannot be built: " +
                         run.result.candidates[static_cast<std::size_t>(options.pick - 1)].error);
  }
  // The trials of the chosen network as it is built, judged on the nominal network's grid.
  std::optional<CascadeToleranceResult> trials;
  if (options.tolerance) {
    const CascadeProblem drawn{chosen->cascade.network, run.problem.source, run.problem.load,
                               run.problem.f1, run.problem.f2, chosen->sweep};
    trials = runCascadeTolerance(
        drawn, *options.tolerance,
        static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
  }
  const std::vector<OutputFile> outputs =
      outputsUnder(options.outBase, chosenNetworkFiles(*chosen, SEARCH_PROGRAM_NAME));
  if (const std::string replaced = outputReplacingEnd(outputs, run.inputs); !replaced.empty()) {
    return fail(err, replaced);
  }
  if (const std::string failure = writeFilesAtomically(outputs); !failure.empty()) {
    return fail(err, failure);
  }
  const SearchContext context{
      options.source, options.load,
      options.topology ? "given" : "of at most " + std::to_string(options.maxParts) + " parts",
      run.seconds};
  if (options.json) {
    JsonDocument json = searchJson(run.problem, run.result, context);
    std::vector<std::string> paths;
    for (const OutputFile& output : outputs) {
      paths.push_back(output.path);
    }
    addWrittenFiles(json, paths, chosen->sweep);
    json["tolerance"] = trials ? toleranceJson(options.tolerance->parts, false, trials->trials,
                                               options.goalSwr, {})
                               : JsonDocument();
    writeText(out, jsonText(json));
    out.flush();
    return TOOL_SUCCESS;
  }
  // The ranking, what was written and what the chosen network needs, and the last line kept
  // for scripts.
  writeText(out, renderSearchRanking(run.problem, run.result, context));
  writeText(out, renderMicrostripSummary(*chosen));
  writeText(out, renderChosenStressSummary(*chosen));
  if (trials) {
    writeText(out, renderCascadeToleranceSummary(*options.tolerance, *trials, options.goalSwr));
  }
  writeLine(out, wroteLine(outputs, chosen->sweep));
  writeLine(out, bestLine(run.result.candidates.front()));
  out.flush();
  return TOOL_SUCCESS;
}

}  // namespace bandmatch
