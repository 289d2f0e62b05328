#include "formats/tuned_report.hpp"

#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "core/report_layout.hpp"
#include "core/version.hpp"
#include "report/report_rows.hpp"
#include "synthesis/match_figures.hpp"

namespace bandmatch {

namespace {

// The report's lines without their line ends, and the line end it uses.
struct ReportLines {
  std::vector<std::string> lines;
  std::string end = "\n";
};

ReportLines splitLines(std::string_view text) {
  ReportLines split;
  if (text.find("\r\n") != std::string_view::npos) {
    split.end = "\r\n";
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    split.lines.emplace_back(line);
    start = end == std::string_view::npos ? text.size() : end + 1;
  }
  return split;
}

std::string row(std::string_view label, const std::string& value) {
  return std::string(label) + std::string(csvRows::CELL_SEPARATOR) + value;
}

}  // namespace

std::string tunedReportText(std::string_view reportText, const ReportedDesign& tuned,
                            const Retuning& retuning, std::string_view csvName,
                            std::string_view program) {
  namespace label = reportLabels;
  namespace line = csvLines;
  ReportLines report = splitLines(reportText);
  std::vector<std::string>& lines = report.lines;
  const auto set = [&lines](int number, std::string text) {
    lines.at(static_cast<std::size_t>(number) - 1) = std::move(text);
  };
  set(line::CSV_FILE_NAME, row(label::CSV_FILE_NAME, std::string(csvName)));

  // The match figures as the console derives them from the two magnitudes.
  DesignCase figures;
  figures.rhoMin = tuned.rhoMin;
  figures.rhoMax = tuned.rhoMax;
  computeFiguresOfReflection(figures);
  const std::pair<std::string_view, double> matchRows[] = {
      {label::RHO_MIN, figures.rhoMin},
      {label::RHO_MAX, figures.rhoMax},
      {label::MISMATCH_LOSS_MIN, figures.mismatchLossMin},
      {label::MISMATCH_LOSS_MAX, figures.mismatchLossMax},
      {label::RETURN_LOSS_MIN, figures.returnLossMin},
      {label::RETURN_LOSS_MAX, figures.returnLossMax},
      {label::SWR_MIN, figures.swrMin},
      {label::SWR_MAX, figures.swrMax},
  };
  static_assert(line::RHO_MIN + 7 == line::SWR_MAX);
  int number = line::RHO_MIN;
  for (const auto& [name, value] : matchRows) {
    set(number++, row(name, fixed9(value)));
  }

  const int n = tuned.N;
  for (int k = 1; k <= n; ++k) {
    const auto index = static_cast<std::size_t>(k) - 1;
    set(line::inductor(n, k), row(indexedLabel(label::L_OPEN, k, label::L_CLOSE),
                                  scientific9(tuned.ladder.inductance[index])));
    set(line::capacitor(n, k), row(indexedLabel(label::C_OPEN, k, label::C_CLOSE),
                                   scientific9(tuned.ladder.capacitance[index])));
  }
  set(line::sourceResistance(n),
      row(label::SOURCE_RESISTANCE, scientific9(tuned.ladder.sourceResistance)));
  lines.resize(static_cast<std::size_t>(line::sourceResistance(n)));
  lines.emplace_back();
  lines.push_back(std::string(tunedRows::NOTE) + programWithVersion(program));
  if (retuning.kind != RetuningKind::none) {
    lines.push_back(row(std::string(tunedRows::RETUNING_OPEN) + std::string(retuningName(retuning.kind)) +
                            std::string(tunedRows::RETUNING_CLOSE),
                        scientific9(retuning.value)));
  }

  std::string text;
  for (const std::string& each : lines) {
    text += each;
    text += report.end;
  }
  return text;
}

}  // namespace bandmatch
