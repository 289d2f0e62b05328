#include "core/white_space.hpp"
#include "web/search_page.hpp"

#include <cmath>

#include "console/console_input.hpp"
#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "formats/cascade_parts_list.hpp"
#include "runs/search_files.hpp"
#include "runs/search_summary.hpp"

namespace bandmatch {

namespace {

std::string trimmedValue(const FormValues& values, std::string_view key) {
  const auto found = values.find(key);
  std::string_view text = found != values.end() ? std::string_view(found->second) : "";
  while (!text.empty() && isWhiteSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isWhiteSpace(text.back())) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

// An end from its chosen file, or else from its typed text.
EndParse pageEnd(const std::string& typed, const EndFile* file, std::string_view role,
                 const SearchRequest& request) {
  if (file) {
    return measuredSearchEnd(file->name, file->text, request.f1, request.f2, request.sweep);
  }
  if (typed.empty()) {
    return {std::nullopt, std::string(role) + " is empty"};
  }
  TypedSearchEnd end = typedSearchEnd(typed, role);
  if (end.file) {
    return {std::nullopt, std::string(role) + " " + quotedText(printableText(typed)) +
                              " is no resistance, series: or parallel: model; choose a "
                              "Touchstone one-port file (.s1p) for a measured end"};
  }
  return {std::move(end.end), std::move(end.error)};
}

// A quality factor: empty for none, else a plain decimal above zero.
std::string readQuality(const std::string& typed, std::string_view label,
                        double& quality) {
  if (typed.empty()) {
    return {};
  }
  const double value = realFromWord(typed);
  if (value == REFUSED_REAL || !(value > 0.0) || !std::isfinite(value)) {
    return std::string(label) + " must be a number above 0, found " + quotedText(typed);
  }
  quality = value;
  return {};
}

// Every field read as the program reads its arguments, in the same order, so that the first
// refusal is the one the program gives.
std::string readRequest(const FormValues& values, const EndFile* sourceFile,
                        const EndFile* loadFile, SearchRequest& request) {
  const std::string typedF1 = trimmedValue(values, searchKeys::F1);
  const std::string typedF2 = trimmedValue(values, searchKeys::F2);
  const double f1 = realFromWord(typedF1);
  const double f2 = realFromWord(typedF2);
  const bool f1Accepted = f1 != REFUSED_REAL && f1 > 0.0 && std::isfinite(f1);
  const bool f2Accepted = f2 != REFUSED_REAL && f2 > 0.0 && std::isfinite(f2);
  if (!f1Accepted || !f2Accepted) {
    return "F1 and F2 must be frequencies in MHz above 0, found " +
           quotedText(!f1Accepted ? typedF1 : typedF2);
  }
  if (!(f2 > f1)) {
    return "F2 must lie above F1, found " + quotedText(typedF1) + " and " + quotedText(typedF2);
  }
  request.f1 = f1;
  request.f2 = f2;
  const std::string topology = trimmedValue(values, searchKeys::TOPOLOGY);
  if (!topology.empty()) {
    TopologyParse parse = parseTopology(topology);
    if (!parse.error.empty()) {
      return "the topology: " + parse.error;
    }
    request.topology = std::move(parse.topology);
  } else if (const std::string parts = trimmedValue(values, searchKeys::MAX_PARTS);
             !parts.empty()) {
    const int count = integerFromWord(parts);
    if (count < 1 || count > SEARCH_MAX_MAX_PARTS) {
      return "the max parts must be a whole number from 1 to " +
             formatInteger(SEARCH_MAX_MAX_PARTS) + ", found " + quotedText(parts);
    }
    request.maxParts = count;
  }
  const std::string series = trimmedValue(values, searchKeys::SERIES);
  if (!series.empty()) {
    request.series = preferredSeriesFromName(series);
    if (!request.series) {
      return "the standard values must be one of E12, E24, E48, E96, E192, found " +
             quotedText(series);
    }
  }
  for (std::string error :
       {readQuality(trimmedValue(values, searchKeys::Q_INDUCTOR), "the inductor Q",
                    request.inductorQ),
        readQuality(trimmedValue(values, searchKeys::Q_CAPACITOR), "the capacitor Q",
                    request.capacitorQ)}) {
    if (!error.empty()) {
      return error;
    }
  }
  request.sweep = sweepAroundBand(f1, f2, DEFAULT_SWEEP_SPAN, DEFAULT_SWEEP_POINTS);
  const std::string typedSource = trimmedValue(values, searchKeys::SOURCE);
  const std::string typedLoad = trimmedValue(values, searchKeys::LOAD);
  EndParse source = pageEnd(typedSource, sourceFile, "the source", request);
  if (!source.end) {
    return source.error;
  }
  EndParse load = pageEnd(typedLoad, loadFile, "the load", request);
  if (!load.end) {
    return load.error;
  }
  request.source = std::move(*source.end);
  request.load = std::move(*load.end);
  request.sourceName = sourceFile ? sourceFile->name : typedSource;
  request.loadName = loadFile ? loadFile->name : typedLoad;
  return {};
}

std::string mediaType(std::string_view suffix) {
  if (suffix.ends_with(".svg")) {
    return "image/svg+xml";
  }
  return suffix.ends_with(".csv") ? "text/csv" : "text/plain";
}

}  // namespace

PageSearch pageSearch(const FormValues& values, const EndFile* sourceFile, const EndFile* loadFile,
                      const std::function<double()>& clock) {
  PageSearch page;
  SearchRequest request;
  page.error = readRequest(values, sourceFile, loadFile, request);
  if (!page.error.empty()) {
    return page;
  }
  page.outcome = searchNetworks(std::move(request), clock);
  page.ranking = searchRanking(*page.outcome);
  if (!page.outcome->result.candidates.empty()) {
    page.best = bestLine(page.outcome->result.candidates.front());
  }
  return page;
}

SearchNetworkView searchNetworkView(const SearchOutcome& outcome, int rank) {
  SearchNetworkView view;
  const std::optional<ChosenNetwork> chosen =
      chooseNetwork(outcome.problem, outcome.result, rank, outcome.sourceName, outcome.loadName,
                    outcome.sweep, {});
  if (!chosen) {
    view.error = "rank " + formatInteger(rank) + ": " + pickedNetwork(outcome, rank).error;
    return view;
  }
  view.parts = cascadePartsRows(chosen->cascade);
  for (NetworkFile& file : chosenNetworkFiles(*chosen, WEB_PROGRAM_NAME)) {
    if (file.suffix == ".svg") {
      view.plot = file.content;
    } else if (file.suffix == "-schematic.svg") {
      view.schematic = file.content;
    }
    view.files.push_back({std::string(SEARCH_FILE_BASE) + file.suffix, mediaType(file.suffix),
                          std::move(file.content)});
  }
  return view;
}

}  // namespace bandmatch
