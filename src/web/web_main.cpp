// The web page's WebAssembly module: the form's values in, everything the page shows out. The
// page writes no number, label or format of its own; it calls these two functions.
//   design(values) -> { fields, ready, report, warnings, plot, problem }
//   file(values, kind) -> { name, type, content } or null; kind is txt, csv, cir or s1p
// Later pieces (the best match per N, the measured load, the schematic, the component list and the
// Smith chart) add their fields to DesignPage and to designObject, or functions of their own.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "web/design_page.hpp"

namespace bandmatch {

namespace {

using emscripten::val;

// The string values the page hands in, under the record's field names; others are ignored.
FormValues formValues(const val& object) {
  FormValues values;
  for (const std::string_view key : FORM_KEYS) {
    const val value = object[std::string(key)];
    if (value.isString()) {
      values.emplace(key, value.as<std::string>());
    }
  }
  return values;
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

val designObject(const val& values) {
  const DesignPage page = designPage(formValues(values));
  val fields = val::array();
  for (const FormField& field : page.form.fields) {
    fields.call<void>("push", fieldObject(field));
  }
  val object = val::object();
  object.set("fields", fields);
  object.set("ready", page.form.design.has_value());
  object.set("report", page.reportBody);
  object.set("warnings", page.form.warnings);
  object.set("plot", page.plot);
  object.set("problem", page.problem);
  return object;
}

val fileObject(const val& values, const std::string& kind) {
  const struct {
    std::string_view kind;
    PageFile file;
  } kinds[] = {{"txt", PageFile::textReport},
               {"csv", PageFile::csvReport},
               {"cir", PageFile::netlist},
               {"s1p", PageFile::touchstone}};
  for (const auto& entry : kinds) {
    if (entry.kind != kind) {
      continue;
    }
    // The reports carry the date and time of the download, in the browser's time zone.
    const std::optional<DownloadFile> file =
        pageFile(formValues(values), entry.file, systemLocalTime);
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

}  // namespace

}  // namespace bandmatch

EMSCRIPTEN_BINDINGS(bandmatch_page) {
  emscripten::function("design", &bandmatch::designObject);
  emscripten::function("file", &bandmatch::fileObject);
}
