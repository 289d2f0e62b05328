// The web page's network to build, its table of the best match and its measured load, against
// bandmatch-export and bandmatch-fit run in-process on the same inputs, the console program's
// report, and closed forms: the limit of infinitely many resonators and an exactly known load.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "support/measured_loads.hpp"
#include "support/printed_values.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"
#include "support/tool_run.hpp"
#include "web/design_page.hpp"
#include "web/page_files.hpp"

namespace bandmatch {
namespace {

using support::readFile;
using testing::asNamedByThePage;
using testing::ExactLoad;
using testing::exactLoadFile;
using testing::exportWith;
using testing::fitWith;
using testing::ToolResult;
using testing::writeTextFile;

// The console program's answers for the form, which writes NAME.csv into the scratch folder.
void designWithTheConsole(const std::string& answers) {
  const support::SessionResult session = support::runSession(answers);
  ASSERT_EQ(session.status, 0) << session.errors;
}

std::string joinedCells(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      text += (i == 0 ? "" : ",") + row[i];
    }
    text += '\n';
  }
  return text;
}

struct BuiltNetwork {
  FormValues build;               // the page's fields of the network to build
  std::vector<std::string> args;  // bandmatch-export's options of the same meaning
};

const BuiltNetwork BUILT_NETWORKS[] = {
    // Nothing asked: the ideal ladder, listed and drawn as --parts lists and draws it.
    {{}, {"--parts"}},
    {{{"sourceOhms", "50"}, {"series", "E24"}, {"qInductor", "100"}, {"qCapacitor", "500"}},
     {"--source-ohms", "50", "--series", "E24", "--q-inductor", "100", "--q-capacitor", "500"}},
    {{{"series", " E12 "}, {"sourceOhms", ""}}, {"--series", "E12"}},
    {{{"sourceOhms", "0.001"}, {"qCapacitor", "0.5"}},
     {"--source-ohms", "0.001", "--q-capacitor", "0.5"}},
    {{{"sourceOhms", "1000000"}, {"qInductor", "3"}},
     {"--source-ohms", "1000000", "--q-inductor", "3"}},
};

TEST(DesignPageNetwork, BuildsTheNetworkAsTheExporterDoesWithTheSameOptions) {
  for (const BuiltNetwork& built : BUILT_NETWORKS) {
    SCOPED_TRACE(built.args.back());
    const support::ScratchDirectory scratch;
    designWithTheConsole("run1 3 d s 10 20 1 50 e");
    FormValues form = built.build;
    const DesignPage page = designPage(form);
    ASSERT_TRUE(page.form.build);
    ASSERT_EQ(page.problem, "");
    std::vector<std::string> args = {"run1.csv"};
    args.insert(args.end(), built.args.begin(), built.args.end());
    args.push_back("--smith");
    const ToolResult exported = exportWith(args);
    ASSERT_EQ(exported.status, 0) << exported.err;

    EXPECT_EQ(page.schematic, asNamedByThePage(readFile("run1-schematic.svg")));
    EXPECT_EQ(page.smithChart, asNamedByThePage(readFile("run1-smith.svg")));
    EXPECT_EQ(joinedCells(page.parts), readFile("run1-parts.csv"));
    const struct {
      PageFile kind;
      std::string name;
    } files[] = {{PageFile::partsList, "run1-parts.csv"},
                 {PageFile::schematic, "run1-schematic.svg"},
                 {PageFile::smithChart, "run1-smith.svg"},
                 {PageFile::touchstone, "run1.s1p"}};
    for (const auto& file : files) {
      const std::optional<DownloadFile> download = pageFile(form, file.kind, support::fixedClock());
      ASSERT_TRUE(download) << file.name;
      EXPECT_EQ(download->name, file.name);
      EXPECT_EQ(download->content, asNamedByThePage(readFile(file.name))) << file.name;
    }
    if (built.build.empty()) {
      // The ideal network's plot and summary are those of a plain export.
      EXPECT_EQ(page.variantSummary, "");
      continue;
    }
    EXPECT_EQ(page.plot, asNamedByThePage(readFile("run1.svg")));
    ASSERT_NE(page.variantSummary, "");
    EXPECT_NE(exported.out.find(page.variantSummary), std::string::npos) << page.variantSummary;
    const std::optional<DownloadFile> netlist =
        pageFile(form, PageFile::netlist, support::fixedClock());
    ASSERT_TRUE(netlist);
    EXPECT_EQ(netlist->content, asNamedByThePage(readFile("run1.cir")));
  }
}

struct BuildRefusal {
  FormValues build;
  std::string field;
  std::string message;  // the start of the field's message
};

const BuildRefusal BUILD_REFUSALS[] = {
    {{{"sourceOhms", "0"}},
     "sourceOhms",
     "Out of range: must be from 0.001 to 1000000.000 ohms; an ideal transformer"},
    {{{"sourceOhms", "1000000.5"}}, "sourceOhms", "Out of range: must be from 0.001"},
    {{{"sourceOhms", "5e1"}}, "sourceOhms", "Not a plain decimal number"},
    {{{"series", "E6"}}, "series", "Choose none or one of E12, E24, E48, E96, E192."},
    {{{"series", "E 24"}}, "series", "Choose none or one of"},
    {{{"qInductor", "0"}}, "qInductor", "Out of range: must be above 0; each inductor's loss"},
    {{{"qCapacitor", "0.000"}},
     "qCapacitor",
     "Out of range: must be above 0; each capacitor's loss"},
    {{{"qCapacitor", "-3"}}, "qCapacitor", "Not a plain decimal number"},
};

// A refused field of the network leaves the design and its reports, and no network at all.
TEST(DesignPageNetwork, RefusesWhatTheExporterRefusesAndKeepsTheReports) {
  for (const BuildRefusal& refusal : BUILD_REFUSALS) {
    SCOPED_TRACE(refusal.field + ": " + refusal.message);
    const DesignPage page = designPage(refusal.build);
    ASSERT_TRUE(page.form.design);
    EXPECT_FALSE(page.form.build);
    EXPECT_NE(page.reportBody, "");
    EXPECT_NE(page.problem, "");
    EXPECT_EQ(page.plot, "");
    EXPECT_EQ(page.schematic, "");
    EXPECT_EQ(page.smithChart, "");
    EXPECT_TRUE(page.parts.empty());
    EXPECT_TRUE(pageFile(refusal.build, PageFile::csvReport, support::fixedClock()));
    EXPECT_FALSE(pageFile(refusal.build, PageFile::partsList, support::fixedClock()));
    EXPECT_FALSE(pageFile(refusal.build, PageFile::netlist, support::fixedClock()));
    for (const FormField& field : page.form.buildFields) {
      if (field.key == refusal.field) {
        EXPECT_EQ(field.message.substr(0, refusal.message.size()), refusal.message);
      } else {
        EXPECT_EQ(field.message, "") << field.key;
      }
    }
  }
}

using testing::printedValue;

struct TabledDesign {
  FormValues form;
  std::string answers;
};

const TabledDesign TABLED_DESIGNS[] = {
    {{{"name", "a"}, {"N", "1"}}, "a 1 d s 10 20 1 50 e"},
    {{{"name", "b"},
      {"N", "4"},
      {"method", "l"},
      {"load", "p"},
      {"f1", "144"},
      {"f2", "148"},
      {"average", "0.02"},
      {"deltaBandwidth", "2"},
      {"delta", "0.004"}},
     "b 4 l p 144 148 0.02 2 0.004 e"},
    {{{"name", "c"}, {"N", "10"}, {"method", "q"}, {"f1", "1.8"}, {"f2", "2"}, {"loadQ", "4"}},
     "c 10 q s 1.8 2 4 50 e"},
    {{{"name", "d"}, {"N", "7"}, {"load", "p"}, {"decrement", "0.35"}, {"average", "0.02"}},
     "d 7 d p 10 20 0.35 0.02 e"},
};

// The table's row of the design's N against the console report's worst reflection, the limit
// against Fano's closed form for infinitely many resonators, |Gamma| = exp(-pi * decrement),
// and every row against bandmatch-fit's table for the reported decrement.
TEST(DesignPageNetwork, TableOfTheBestMatchAgreesWithTheReportFitAndFanosLimit) {
  for (const TabledDesign& tabled : TABLED_DESIGNS) {
    SCOPED_TRACE(tabled.answers);
    const support::ScratchDirectory scratch;
    const support::SessionResult session = support::runSession(tabled.answers);
    ASSERT_EQ(session.status, 0);
    const DesignPage page = designPage(tabled.form);
    ASSERT_TRUE(page.form.design);
    ASSERT_TRUE(page.bestMatch);
    const BestMatchTable& table = *page.bestMatch;
    ASSERT_EQ(table.rows.size(), 11u);
    ASSERT_GE(table.headings.size(), 3u);
    EXPECT_EQ(table.headings[2], "|Gamma| max");
    const std::string report = readFile(tabled.form.at("name") + ".txt");
    const double decrement = printedValue(report, "   Load Decrement =");
    const double worst = printedValue(session.console, "Magnitude of Reflection Coefficient Max =");
    const int n = std::stoi(tabled.form.at("N"));
    int current = 0;
    for (const BestMatchTableRow& row : table.rows) {
      ASSERT_EQ(row.note, "") << row.cells[0];
      if (row.n == n) {
        ++current;
        EXPECT_NEAR(std::stod(row.cells[2]) / worst, 1.0, 5e-6) << row.cells[2];
      }
    }
    EXPECT_EQ(current, 1);
    const BestMatchTableRow& limit = table.rows.back();
    EXPECT_EQ(limit.n, 0);
    EXPECT_EQ(limit.cells[0], "inf");
    EXPECT_NEAR(std::stod(limit.cells[2]) / std::exp(-std::numbers::pi * decrement), 1.0, 5e-6);

    const ToolResult fit =
        fitWith({"--decrement", formatFullPrecision(page.form.design->decrement)});
    ASSERT_EQ(fit.status, 0) << fit.err;
    for (const BestMatchTableRow& row : table.rows) {
      std::string line = "   " + row.cells[0];
      for (std::size_t i = 1; i < row.cells.size(); ++i) {
        line += " " + row.cells[i];
      }
      std::istringstream printed(fit.out);
      bool found = false;
      for (std::string text; std::getline(printed, text);) {
        std::istringstream words(text);
        std::vector<std::string> cells{std::istream_iterator<std::string>(words), {}};
        found = found || cells == row.cells;
      }
      EXPECT_TRUE(found) << line;
    }
  }
}

struct ChosenLoad {
  ExactLoad load;
  std::string model;  // as the page's choice gives it
};

const ChosenLoad CHOSEN_LOADS[] = {
    {{LoadType::series, 72.0, 3.75, 11.0}, "auto"},
    {{LoadType::parallel, 0.0125, 3.70, 4.0}, "auto"},
    {{LoadType::series, 20.0, 3.78, 6.0}, "series"},
};

// A measured load chosen in the page fills the form with bandmatch-fit's answers, and the page
// then shows the design on it as bandmatch-export --load shows it.
TEST(DesignPageNetwork, MeasuredLoadFillsTheFormAndShowsTheNetworkOnIt) {
  for (const ChosenLoad& chosen : CHOSEN_LOADS) {
    const ExactLoad& load = chosen.load;
    SCOPED_TRACE(load.level);
    const support::ScratchDirectory scratch;
    const std::string file = exactLoadFile(load, 3.0, 4.5, 151);
    writeTextFile("ant.s1p", file);
    const FormValues before = {
        {"name", "ant"}, {"N", "4"}, {"f1", "3.5"}, {"f2", "4"}, {"sourceOhms", "50"}};
    LoadModelChoice model = LoadModelChoice::automatic;
    for (const LoadModelOption& option : LOAD_MODEL_OPTIONS) {
      model = option.word == chosen.model ? option.model : model;
    }
    const LoadChoice choice = chooseLoad(before, "ant.s1p", file, model);
    ASSERT_EQ(choice.error, "");
    ASSERT_TRUE(choice.load);

    const ToolResult answers = fitWith(
        {"ant.s1p", "3.5", "4", "--answers", "4", "--name", "ant", "--model", chosen.model});
    ASSERT_EQ(answers.status, 0) << answers.err;
    const std::vector<std::string> words = support::splitLines(answers.out);
    ASSERT_EQ(words.size(), 10u);
    const char* const keys[] = {"name", "N",       "method",         "load", "f1",
                                "f2",   "average", "deltaBandwidth", "delta"};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
      EXPECT_EQ(choice.values.at(keys[i]), words[i]) << keys[i];
    }
    EXPECT_EQ(choice.values.at("sourceOhms"), "50");
    // The closed form: the fitted level is the load's resistance or conductance.
    EXPECT_NEAR(std::stod(choice.values.at("average")) / load.level, 1.0, 1e-8);
    const ToolResult report = fitWith({"ant.s1p", "3.5", "4", "--model", chosen.model});
    EXPECT_EQ(report.out.rfind(choice.fitReport, 0), 0u) << choice.fitReport;

    // The page's design on the measured load against the exporter's with --load.
    designWithTheConsole(answers.out);
    const DesignPage page = designPage(choice.values, &*choice.load);
    ASSERT_EQ(page.problem, "");
    EXPECT_EQ(page.loadProblem, "");
    const ToolResult exported = exportWith(
        {"ant.csv", "--load", "ant.s1p", "--source-ohms", "50", "--out", "net", "--smith"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(page.plot, asNamedByThePage(readFile("net.svg")));
    // Three curves: the network on the model load, on the measured load, and the load alone.
    EXPECT_EQ(page.smithChart, asNamedByThePage(readFile("net-smith.svg")));
    EXPECT_NE(page.smithChart.find("curve3-sweep"), std::string::npos);
    ASSERT_NE(page.loadSummary, "");
    EXPECT_NE(exported.out.find(page.loadSummary), std::string::npos) << page.loadSummary;
    const std::optional<DownloadFile> touchstone =
        pageFile(choice.values, PageFile::touchstone, support::fixedClock(), &*choice.load);
    ASSERT_TRUE(touchstone);
    EXPECT_EQ(touchstone->content, asNamedByThePage(readFile("net.s1p")));
  }
}

struct LoadRefusal {
  std::string file;  // the chosen file's text
  FormValues form;   // the band it is fitted over, and the rest of the form
  // The page's reason after the file's name; empty where it is bandmatch-fit's for the same
  // file and band.
  std::string error;
};

const ExactLoad RESONANT = {LoadType::series, 72.0, 3.75, 11.0};

const LoadRefusal LOAD_REFUSALS[] = {
    {"3.5 1 0\n", {{"f1", "3.5"}, {"f2", "4"}}, ""},
    {"", {{"f1", "3.5"}, {"f2", "4"}}, ""},
    {exactLoadFile(RESONANT, 3.0, 3.6, 61), {{"f1", "3.5"}, {"f2", "4"}}, ""},
    {exactLoadFile({LoadType::series, 2e6, 3.75, 11.0}, 3.0, 4.5, 61),
     {{"f1", "3.5"}, {"f2", "4"}},
     ""},
    {exactLoadFile(RESONANT, 3.0, 4.5, 61),
     {{"f1", "3.5"}, {"f2", "x"}},
     "the fit is made over the band f1 to f2, which the form does not hold"},
    {std::string(LOAD_FILE_SIZE_LIMIT + 1, '!'),
     {{"f1", "3.5"}, {"f2", "4"}},
     "the file is far too large for a one-port"},
    // Active in the band: -20 ohms at 3.75 MHz.
    {"# MHz Z RI R 50\n3.5 1 1\n3.75 -0.4 0\n4 1 -1\n", {{"f1", "3.5"}, {"f2", "4"}}, ""},
    // Binary data: the reason shows the bytes that are no text as '?', so that it is the same
    // UTF-8 text on the command line and in the page.
    {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
     {{"f1", "3.5"}, {"f2", "4"}},
     "line 1: \"?PNG\" is not a number"},
};

// A refused file fills nothing and leaves no load; the reason names the file, as
// bandmatch-fit's does for the same file and band.
TEST(DesignPageNetwork, RefusesAMeasuredLoadWithTheFitsReason) {
  for (const LoadRefusal& refusal : LOAD_REFUSALS) {
    SCOPED_TRACE(refusal.file.substr(0, 40));
    const support::ScratchDirectory scratch;
    std::string expected = refusal.error;
    if (expected.empty()) {
      writeTextFile("ant.s1p", refusal.file);
      const ToolResult fit = fitWith({"ant.s1p", refusal.form.at("f1"), refusal.form.at("f2"),
                                      "--answers", "3", "--name", "x"});
      ASSERT_EQ(fit.status, 2) << fit.out;
      const std::string prefix = "bandmatch-fit: ant.s1p: ";
      ASSERT_EQ(fit.err.rfind(prefix, 0), 0u) << fit.err;
      expected = fit.err.substr(prefix.size(), fit.err.size() - prefix.size() - 1);
    }
    const LoadChoice choice =
        chooseLoad(refusal.form, "ant.s1p", refusal.file, LoadModelChoice::automatic);
    EXPECT_EQ(choice.error, "ant.s1p: " + expected);
    EXPECT_FALSE(choice.load);
    EXPECT_EQ(choice.fitReport, "");
  }
}

// A load passive in the band is chosen, as bandmatch-fit takes it; active in the plot's sweep
// (3.25 to 4.25 MHz, -20 ohms at 4.1 MHz), it stays off the plot, as bandmatch-export refuses it.
TEST(DesignPageNetwork, RefusesAMeasuredLoadActiveInThePlotsSweep) {
  std::string file = "# MHz Z RI R 50\n";
  for (int i = 300; i <= 450; i += 5) {
    const std::complex<double> z = RESONANT.impedance(i / 100.0) / 50.0;
    const std::string resistance = i == 410 ? "-0.4" : formatFullPrecision(z.real());
    file +=
        formatFixed(i / 100.0, 2) + " " + resistance + " " + formatFullPrecision(z.imag()) + "\n";
  }
  const LoadChoice choice = chooseLoad({{"name", "ant"}, {"N", "3"}, {"f1", "3.5"}, {"f2", "4"}},
                                       "ant.s1p", file, LoadModelChoice::series);
  ASSERT_TRUE(choice.load) << choice.error;
  const DesignPage page = designPage(choice.values, &*choice.load);
  EXPECT_EQ(page.loadSummary, "");
  EXPECT_EQ(page.loadProblem,
            "ant.s1p: the load is active at 4.100000 MHz (resistance -2.0000e+001 ohms); only a "
            "passive load can be matched");
}

// A band the measured data no longer cover leaves the design on its model load, and says why.
TEST(DesignPageNetwork, ShowsTheModelLoadAloneWhenTheMeasuredLoadNoLongerServes) {
  const std::string file = exactLoadFile(RESONANT, 3.0, 4.5, 151);
  const LoadChoice choice = chooseLoad({{"name", "ant"}, {"N", "3"}, {"f1", "3.5"}, {"f2", "4"}},
                                       "ant.s1p", file, LoadModelChoice::automatic);
  ASSERT_TRUE(choice.load);
  FormValues moved = choice.values;
  moved["f2"] = "5";
  const DesignPage page = designPage(moved, &*choice.load);
  const DesignPage alone = designPage(moved);
  ASSERT_NE(page.plot, "");
  EXPECT_EQ(page.problem, "");
  EXPECT_EQ(page.loadProblem.rfind("ant.s1p: ", 0), 0u) << page.loadProblem;
  EXPECT_EQ(page.loadSummary, "");
  EXPECT_EQ(page.plot, alone.plot);
  const std::optional<DownloadFile> touchstone =
      pageFile(moved, PageFile::touchstone, support::fixedClock(), &*choice.load);
  const std::optional<DownloadFile> plain =
      pageFile(moved, PageFile::touchstone, support::fixedClock());
  ASSERT_TRUE(touchstone && plain);
  EXPECT_EQ(touchstone->content, plain->content);
}

}  // namespace
}  // namespace bandmatch
