// The web page's WebAssembly module: the form's values in, everything the page shows out. The
// page writes no number, label or format of its own; it calls these functions.
//   design(values) -> { fields, buildFields, ready, report, warnings, bestMatch, plot, problem,
//                       schematic, parts, smithChart, summary, loadSummary,
//                       loadProblem }
//   file(values, kind) -> { name, type, content } or null; kind is txt, csv, cir, s1p, parts,
//                         schematic or smith
//   chooseLoad(values, name, bytes, model) -> { values, report, error }; bytes is the file's
//                         content as a Uint8Array, model is auto, series or parallel, as
//                         bandmatch-fit --model takes it
//   forgetLoad(), loadModels() -> [{ value, text }], loadFileSizeLimit()
//   search(values) -> { error, ranking, best, ranked, seconds }: bandmatch-search on the search
//                         form's values and the one-port files chosen for the ends; the outcome
//                         is kept for network()
//   chooseEndFile(end, name, bytes), forgetEndFile(end): end is source or load
//   network(rank) -> { error, plot, schematic, parts, files: [{ name, type, content }] } of the
//                         last search's candidate of that rank
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <chrono>
#include <optional>
#include <string>

#include "web/design_page.hpp"
#include "web/search_page.hpp"

namespace bandmatch {

namespace {

using emscripten::val;

// The measured load chosen in the page, until another file is chosen or it is removed: the
// page's one piece of state, kept here so that a redesign does not read the file again.
std::optional<PageLoad> chosenLoad;

const PageLoad* currentLoad() {
  return chosenLoad ? &*chosenLoad : nullptr;
}

// The string values the page hands in, under the record's field names and those of the network
// to build; others are ignored.
FormValues formValues(const val& object) {
  FormValues values;
  const auto take = [&](std::string_view key) {
    const val value = object[std::string(key)];
    if (value.isString()) {
      values.emplace(key, value.as<std::string>());
    }
  };
  for (const std::string_view key : FORM_KEYS) {
    take(key);
  }
  for (const std::string_view key : BUILD_KEYS) {
    take(key);
  }
  return values;
}

val valuesObject(const FormValues& values) {
  val object = val::object();
  for (const auto& [key, value] : values) {
    object.set(key, value);
  }
  return object;
}

val stringArray(const std::vector<std::string>& strings) {
  val array = val::array();
  for (const std::string& text : strings) {
    array.call<void>("push", text);
  }
  return array;
}

val fieldObject(const FormField& field) {
  val object = val::object();
  object.set("key", field.key);
  object.set("label", field.label);
  object.set("value", field.value);
  object.set("hint", field.hint);
  object.set("message", field.message);
  object.set("used", field.used);
  val choices = val::array();
  for (const FormChoice& choice : field.choices) {
    val entry = val::object();
    entry.set("value", choice.value);
    entry.set("text", choice.text);
    choices.call<void>("push", entry);
  }
  object.set("choices", choices);
  return object;
}

val fieldArray(const std::vector<FormField>& fields) {
  val array = val::array();
  for (const FormField& field : fields) {
    array.call<void>("push", fieldObject(field));
  }
  return array;
}

// The table with the design's own N marked as current.
val bestMatchObject(const BestMatchTable& table, int currentN) {
  val object = val::object();
  object.set("title", table.title);
  object.set("headings", stringArray(table.headings));
  val rows = val::array();
  for (const BestMatchTableRow& row : table.rows) {
    val entry = val::object();
    entry.set("cells", stringArray(row.cells));
    entry.set("note", row.note);
    entry.set("current", row.n == currentN);
    rows.call<void>("push", entry);
  }
  object.set("rows", rows);
  return object;
}

val designObject(const val& values) {
  const DesignPage page = designPage(formValues(values), currentLoad());
  val object = val::object();
  object.set("fields", fieldArray(page.form.fields));
  object.set("buildFields", fieldArray(page.form.buildFields));
  object.set("ready", page.form.design.has_value());
  object.set("report", page.reportBody);
  object.set("warnings", page.form.warnings);
  object.set("bestMatch",
             page.bestMatch ? bestMatchObject(*page.bestMatch, page.form.design->N) : val::null());
  object.set("plot", page.plot);
  object.set("problem", page.problem);
  object.set("schematic", page.schematic);
  val parts = val::array();
  for (const std::vector<std::string>& row : page.parts) {
    parts.call<void>("push", stringArray(row));
  }
  object.set("parts", parts);
  object.set("smithChart", page.smithChart);
  object.set("summary", page.variantSummary);
  object.set("loadSummary", page.loadSummary);
  object.set("loadProblem", page.loadProblem);
  return object;
}

val fileObject(const val& values, const std::string& kind) {
  const struct {
    std::string_view kind;
    PageFile file;
  } kinds[] = {{"txt", PageFile::textReport},  {"csv", PageFile::csvReport},
               {"cir", PageFile::netlist},     {"s1p", PageFile::touchstone},
               {"parts", PageFile::partsList}, {"schematic", PageFile::schematic},
               {"smith", PageFile::smithChart}};
  for (const auto& entry : kinds) {
    if (entry.kind != kind) {
      continue;
    }
    // The reports carry the date and time of the download, in the browser's time zone.
    const std::optional<DownloadFile> file =
        pageFile(formValues(values), entry.file, systemLocalTime, currentLoad());
    if (!file) {
      break;
    }
    val object = val::object();
    object.set("name", file->name);
    object.set("type", file->mediaType);
    object.set("content", file->content);
    return object;
  }
  return val::null();
}

// A file chosen in the page replaces the one before; a refused one leaves none. Embind hands a
// Uint8Array to a std::string byte for byte.
val chooseLoadObject(const val& values, const std::string& name, const std::string& text,
                     const std::string& model) {
  LoadModelChoice choice = LoadModelChoice::automatic;
  for (const LoadModelOption& option : LOAD_MODEL_OPTIONS) {
    if (option.word == model) {
      choice = option.model;
    }
  }
  LoadChoice chosen = chooseLoad(formValues(values), name, text, choice);
  chosenLoad = std::move(chosen.load);
  val object = val::object();
  object.set("values", valuesObject(chosen.values));
  object.set("report", chosen.fitReport);
  object.set("error", chosen.error);
  return object;
}

void forgetLoad() {
  chosenLoad.reset();
}

// The choices of the measured load's model, as the form's choice fields give theirs.
val loadModels() {
  val array = val::array();
  for (const LoadModelOption& option : LOAD_MODEL_OPTIONS) {
    val entry = val::object();
    entry.set("value", std::string(option.word));
    entry.set("text", std::string(option.text));
    array.call<void>("push", entry);
  }
  return array;
}

double loadFileSizeLimit() {
  return static_cast<double>(LOAD_FILE_SIZE_LIMIT);
}

// The one-port files chosen for the search's ends and the last search, kept so that choosing
// another rank does not search again.
std::optional<EndFile> sourceFile;
std::optional<EndFile> loadFile;
std::optional<SearchOutcome> lastSearch;

std::optional<EndFile>& endFile(const std::string& end) {
  return end == searchKeys::LOAD ? loadFile : sourceFile;
}

// Embind hands a Uint8Array to a std::string byte for byte.
void chooseEndFile(const std::string& end, const std::string& name, const std::string& text) {
  endFile(end) = EndFile{name, text};
}

void forgetEndFile(const std::string& end) {
  endFile(end).reset();
}

double secondsNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

val searchObject(const val& values) {
  FormValues form;
  for (const std::string_view key : SEARCH_KEYS) {
    const val value = values[std::string(key)];
    if (value.isString()) {
      form.emplace(key, value.as<std::string>());
    }
  }
  PageSearch page = pageSearch(form, sourceFile ? &*sourceFile : nullptr,
                               loadFile ? &*loadFile : nullptr, secondsNow);
  lastSearch = std::move(page.outcome);
  val object = val::object();
  object.set("error", page.error);
  object.set("ranking", page.ranking);
  object.set("best", page.best);
  object.set("ranked", lastSearch ? static_cast<int>(lastSearch->result.candidates.size()) : 0);
  object.set("seconds", lastSearch ? lastSearch->seconds : 0.0);
  return object;
}

val networkObject(int rank) {
  val object = val::object();
  if (!lastSearch) {
    object.set("error", std::string("no search has run"));
    return object;
  }
  const SearchNetworkView view = searchNetworkView(*lastSearch, rank);
  object.set("error", view.error);
  object.set("plot", view.plot);
  object.set("schematic", view.schematic);
  val parts = val::array();
  for (const std::vector<std::string>& row : view.parts) {
    parts.call<void>("push", stringArray(row));
  }
  object.set("parts", parts);
  val files = val::array();
  for (const DownloadFile& file : view.files) {
    val entry = val::object();
    entry.set("name", file.name);
    entry.set("type", file.mediaType);
    entry.set("content", file.content);
    files.call<void>("push", entry);
  }
  object.set("files", files);
  return object;
}

}  // namespace

}  // namespace bandmatch

EMSCRIPTEN_BINDINGS(bandmatch_page) {
  emscripten::function("design", &bandmatch::designObject);
  emscripten::function("file", &bandmatch::fileObject);
  emscripten::function("chooseLoad", &bandmatch::chooseLoadObject);
  emscripten::function("forgetLoad", &bandmatch::forgetLoad);
  emscripten::function("loadModels", &bandmatch::loadModels);
  emscripten::function("loadFileSizeLimit", &bandmatch::loadFileSizeLimit);
  emscripten::function("search", &bandmatch::searchObject);
  emscripten::function("chooseEndFile", &bandmatch::chooseEndFile);
  emscripten::function("forgetEndFile", &bandmatch::forgetEndFile);
  emscripten::function("network", &bandmatch::networkObject);
}
