// Feeds arbitrary values to the web page's design form, one line per field in the form's order
// and then the fields of the network to build, as a shared link could carry them, and checks what
// the page promises: a design with its report body and no refusal, or no design and a refusal
// next to a field the method asks for; a network (plot, schematic, component list, Smith chart)
// exactly when the design and the network's fields are accepted and the exporter would write its
// files. What follows the fields is a measured load's file chosen in the page: refused with one
// line naming it, or accepted with answers the form takes and a page that shows the design on it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.hpp"
#include "web/design_page.hpp"

namespace {

using bandmatch::fuzzing::check;

void checkChosenLoad(const bandmatch::FormValues& values, std::string_view file) {
  using namespace bandmatch;
  const LoadChoice choice = chooseLoad(values, "load.s1p", file, LoadModelChoice::automatic);
  check(choice.load.has_value() == choice.error.empty());
  if (!choice.load) {
    check(choice.error.rfind("load.s1p: ", 0) == 0 && choice.error.find('\n') == std::string::npos);
    return;
  }
  // The fit's answers (method l, load type, band, level, delta bandwidth, delta) are all taken.
  const DesignPage page = designPage(choice.values, &*choice.load);
  for (const FormField& field : page.form.fields) {
    check(field.key == formKeys::NAME || field.key == formKeys::N || field.message.empty());
  }
  check(!page.form.design || !page.reportBody.empty());
  check(page.loadProblem.empty() || page.loadProblem.rfind("load.s1p: ", 0) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bandmatch;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  FormValues values;
  const auto take = [&](std::string_view key) {
    if (text.empty()) {
      return;  // the remaining fields take their defaults
    }
    const std::size_t end = text.find('\n');
    values.emplace(key, text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  };
  for (const std::string_view key : FORM_KEYS) {
    take(key);
  }
  for (const std::string_view key : BUILD_KEYS) {
    take(key);
  }
  if (!text.empty()) {
    checkChosenLoad(values, text);
  }
  const DesignPage page = designPage(values);
  check(page.form.fields.size() == FORM_KEYS.size());
  check(page.form.buildFields.size() == BUILD_KEYS.size());
  bool buildRefused = false;
  for (const FormField& field : page.form.buildFields) {
    buildRefused = buildRefused || !field.message.empty();
  }
  check(buildRefused != page.form.build.has_value());
  bool refused = false;
  for (const FormField& field : page.form.fields) {
    check(field.used || field.message.empty());
    refused = refused || !field.message.empty();
  }
  if (!page.form.design) {
    check(refused && page.reportBody.empty() && page.plot.empty());
    return 0;
  }
  check(!refused);
  check(page.reportBody.rfind("Inputs:\n", 0) == 0 && page.reportBody.back() != '\n');
  check(page.reportBody.find("\n   Source Resistance (ohms) = ") != std::string_view::npos);
  check(page.plot.empty() != page.problem.empty());
  check(page.bestMatch && page.bestMatch->rows.size() == MAX_ELEMENTS + 1);
  check(page.schematic.empty() == page.plot.empty() && page.parts.empty() == page.plot.empty());
  check(page.smithChart.empty() == page.plot.empty());
  check(page.form.build || !page.problem.empty());
  return 0;
}
