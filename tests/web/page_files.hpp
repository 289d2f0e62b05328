// The exporter's files as the web page offers them: the same text, the page named as the program
// that wrote it.
#pragma once

#include <string>

#include "web/design_page.hpp"

namespace bandmatch::testing {

inline std::string asNamedByThePage(std::string text) {
  const std::string exporter = "bandmatch-export";
  for (std::size_t at = text.find(exporter); at != std::string::npos; at = text.find(exporter)) {
    text.replace(at, exporter.size(), WEB_PROGRAM_NAME);
  }
  return text;
}

}  // namespace bandmatch::testing
