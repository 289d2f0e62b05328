// Runs a companion program in-process on its arguments and keeps its status and both streams.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/export/export_run.hpp"
#include "tools/fit/fit_run.hpp"
#include "tools/search/search_run.hpp"
#include "tools/tune/tune_run.hpp"

namespace bandmatch::testing {

struct ToolResult {
  int status = -1;
  std::string out;
  std::string err;
};

// A tool's whole run: its arguments after the program name, its standard output and error.
using ToolRun = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

inline ToolResult runTool(ToolRun tool, const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  ToolResult result;
  result.status = tool(args, out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

inline ToolResult exportWith(const std::vector<std::string>& args) {
  return runTool(runExport, args);
}

// bandmatch-tune with a clock that stands still: its time shows as 0.0 ms.
inline ToolResult tuneWith(const std::vector<std::string>& args) {
  return runTool([](const std::vector<std::string>& a, std::ostream& out,
                    std::ostream& err) { return runTune(a, out, err, [] { return 0.0; }); },
                 args);
}

inline ToolResult fitWith(const std::vector<std::string>& args) {
  return runTool(runFit, args);
}

// bandmatch-search with a clock that stands still: its time shows as 0.00 s.
inline ToolResult searchWith(const std::vector<std::string>& args) {
  return runTool([](const std::vector<std::string>& a, std::ostream& out,
                    std::ostream& err) { return runSearch(a, out, err, [] { return 0.0; }); },
                 args);
}

}  // namespace bandmatch::testing
