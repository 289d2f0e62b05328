// Feeds arbitrary values to the web page's design form, one line per field in the form's order,
// as a shared link could carry them, and checks what the page promises: a design with its report
// body and no refusal, or no design and a refusal next to a field the method asks for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/design_page.hpp"

namespace {

void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bandmatch;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  FormValues values;
  for (const std::string_view key : FORM_KEYS) {
    if (text.empty()) {
      break;  // the remaining fields take their defaults
    }
    const std::size_t end = text.find('\n');
    values.emplace(key, text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  const DesignPage page = designPage(values);
  check(page.form.fields.size() == FORM_KEYS.size());
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
  return 0;
}
