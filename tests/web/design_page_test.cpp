// The web page's design against the console program and bandmatch-export run in-process on the
// same answers: the report body, the two reports, the plot, the netlist and the Touchstone file.
#include "web/design_page.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/session.hpp"
#include "support/tool_run.hpp"
#include "web/page_files.hpp"

namespace bandmatch {
namespace {

using support::readFile;
using testing::asNamedByThePage;

// A form and the console answers that give the same design.
struct SameDesign {
  FormValues form;
  std::string answers;
};

const SameDesign SAME_DESIGNS[] = {
    // No values at all: the README's first example.
    {{}, "run1 3 d s 10 20 1 50 e"},
    {{{"name", "dp"},
      {"N", "2"},
      {"method", "d"},
      {"load", "p"},
      {"f1", "3.5"},
      {"f2", "4"},
      {"decrement", "0.35"},
      {"average", "0.02"}},
     "dp 2 d p 3.5 4 0.35 0.02 e"},
    {{{"name", "qs"},
      {"N", "5"},
      {"method", "q"},
      {"load", "s"},
      {"f1", "1.8"},
      {"f2", "2"},
      {"loadQ", "4"},
      {"average", "12.5"}},
     "qs 5 q s 1.8 2 4 12.5 e"},
    // A Q whose decrement lies below the recommended range: the dialogue's warning, then a design.
    {{{"name", "qp"},
      {"N", "1"},
      {"method", "Q"},
      {"load", "P"},
      {"f1", "10"},
      {"f2", "20"},
      {"loadQ", "300"},
      {"average", "1000000"}},
     "qp 1 q p 10 20 300 1000000 e"},
    {{{"name", "run3"},
      {"N", "10"},
      {"method", "l"},
      {"load", "s"},
      {"f1", "10"},
      {"f2", "20"},
      {"average", "75"},
      {"deltaBandwidth", "2"},
      {"delta", "40"}},
     "run3 10 l s 10 20 75 2 40 e"},
    // The README's complete session, with a delta bandwidth of the whole match band.
    {{{"name", "lpar"},
      {"N", "4"},
      {"method", "l"},
      {"load", "p"},
      {"f1", " 144 "},
      {"f2", "148"},
      {"average", "0.02"},
      {"deltaBandwidth", "4"},
      {"delta", "0.004"},
      {"loadQ", "unused"}},
     "lpar 4 l p 144 148 0.02 4 0.004 e"},
    // Designs whose CSV report bandmatch-export refuses: band edges that print alike, and a
    // reflection that prints as zero. The page refuses them with the exporter's reason.
    {{{"name", "close"}, {"f1", "0.0000011"}, {"f2", "0.0000012"}, {"decrement", "0.01"}},
     "close 3 d s 0.0000011 0.0000012 0.01 50 e"},
    {{{"name", "flat"},
      {"N", "10"},
      {"f1", "999998"},
      {"f2", "999999"},
      {"decrement", "20"},
      {"average", "1000000"}},
     "flat 10 d s 999998 999999 20 1000000 e"},
};

// The console's report lines from "Inputs:" through the "Source Resistance" line.
std::string consoleReportBody(const std::string& console) {
  const std::size_t start = console.find("Inputs:\n");
  const std::size_t last = console.find("   Source Resistance (ohms) = ", start);
  return console.substr(start, console.find('\n', last) - start);
}

TEST(DesignPage, GivesTheConsoleProgramsReportsAndTheExportersFiles) {
  for (const SameDesign& same : SAME_DESIGNS) {
    SCOPED_TRACE(same.answers);
    const support::ScratchDirectory scratch;
    const support::SessionResult session = support::runSession(same.answers);
    ASSERT_EQ(session.status, 0) << session.errors;
    const DesignPage page = designPage(same.form);
    ASSERT_TRUE(page.form.design);
    EXPECT_EQ(page.reportBody, consoleReportBody(session.console));
    if (page.form.warnings.empty()) {
      EXPECT_EQ(session.console.find("WARNING"), std::string::npos);
    } else {
      EXPECT_NE(session.console.find(page.form.warnings + "\nInputs:"), std::string::npos);
    }

    const std::string& csvName = page.form.design->csvFileName;
    const std::string base = csvName.substr(0, csvName.size() - 4);
    const testing::ToolResult exported = testing::exportWith({csvName});
    const bool refused = exported.status != 0;
    if (refused) {
      // "bandmatch-export: NAME.csv: REASON"
      const std::string reason = exported.err.substr(exported.err.find(".csv: ") + 6);
      EXPECT_NE(page.problem.find(reason.substr(0, reason.size() - 1)), std::string::npos)
          << page.problem;
      EXPECT_EQ(page.plot, "");
    } else {
      EXPECT_EQ(page.problem, "");
      EXPECT_EQ(page.plot, asNamedByThePage(readFile(base + ".svg")));
    }
    const struct {
      PageFile kind;
      std::string name;
      std::string expected;
      bool exported;
    } files[] = {
        {PageFile::textReport, base + ".txt", readFile(base + ".txt"), false},
        {PageFile::csvReport, base + ".csv", readFile(base + ".csv"), false},
        {PageFile::netlist, base + ".cir", asNamedByThePage(readFile(base + ".cir")), true},
        {PageFile::touchstone, base + ".s1p", asNamedByThePage(readFile(base + ".s1p")), true},
    };
    for (const auto& file : files) {
      const std::optional<DownloadFile> download =
          pageFile(same.form, file.kind, support::fixedClock());
      if (file.exported && refused) {
        EXPECT_FALSE(download) << file.name;
        continue;
      }
      ASSERT_TRUE(download) << file.name;
      EXPECT_EQ(download->name, file.name);
      EXPECT_EQ(download->content, file.expected) << file.name;
    }
  }
}

// Values the console dialogue would ask again for: the field says why, and there is no result.
struct Refusal {
  FormValues form;
  std::string field;
  std::string message;  // the start of the field's message
};

const Refusal REFUSALS[] = {
    {{{"N", "0"}}, "N", "Out of range: must be from 1 to 10;"},
    {{{"N", "3.0"}}, "N", "Not a whole number"},
    {{{"name", ""}}, "name", "Needs a value"},
    {{{"name", "two words"}}, "name", "One word without spaces"},
    {{{"method", "x"}}, "method", "Choose one of d, l, q."},
    {{{"load", "series"}}, "load", "Choose one of s, p."},
    {{{"f1", "0.000001"}},
     "f1",
     "Out of range: must be above 0.000001 and below 1000000.000000 MHz;"},
    {{{"f1", "1e3"}}, "f1", "Not a plain decimal number"},
    {{{"f1", "  "}}, "f1", "Needs a value: above 0.000001"},
    {{{"f2", "10"}}, "f2", "Out of range: must be above 10.000000 and below 1000000.000000 MHz;"},
    {{{"f2", "1000000"}}, "f2", "Out of range: must be above 10.000000 and below 1000000.000000"},
    {{{"decrement", "20.001"}}, "decrement", "Out of range: must be from 0.010 to 20.000;"},
    {{{"method", "q"}, {"loadQ", "300.5"}},
     "loadQ",
     "Out of range: must be from 0.03330 to 300.00000;"},
    {{{"average", "0"}}, "average", "Out of range: must be above 0 and at most 1000000 ohms;"},
    {{{"load", "p"}, {"average", "1000001"}},
     "average",
     "Out of range: must be above 0 and at most 1000000 siemens;"},
    {{{"method", "l"}, {"average", "0"}},
     "average",
     "Out of range: must be above 0.000000 and at most 1000000.000000 ohms;"},
    {{{"method", "l"}, {"deltaBandwidth", "10.5"}},
     "deltaBandwidth",
     "Out of range: must be above 0.000000 and at most 10.000000 MHz;"},
    {{{"method", "l"}, {"load", "p"}, {"delta", "0"}},
     "delta",
     "Out of range: must be above 0.000000 and at most 1000000.000000 siemens;"},
    {{{"method", "l"}, {"delta", "1234567890123456789012345678901234567890"}},
     "delta",
     "Not a plain decimal number"},
};

TEST(DesignPage, RefusesWhatTheDialogueRefusesAndShowsNoResult) {
  for (const Refusal& refusal : REFUSALS) {
    SCOPED_TRACE(refusal.field + ": " + refusal.message);
    const DesignPage page = designPage(refusal.form);
    EXPECT_FALSE(page.form.design);
    EXPECT_EQ(page.reportBody, "");
    EXPECT_EQ(page.plot, "");
    EXPECT_FALSE(pageFile(refusal.form, PageFile::csvReport, support::fixedClock()));
    for (const FormField& field : page.form.fields) {
      if (field.key == refusal.field) {
        EXPECT_EQ(field.message.substr(0, refusal.message.size()), refusal.message);
      } else {
        EXPECT_EQ(field.message, "") << field.key;
      }
    }
  }
}

// The bounds the dialogue includes, the same reading of numbers, and fields the method does not
// ask for left unchecked.
TEST(DesignPage, AcceptsTheDialoguesIncludedBoundsAndIgnoresFieldsTheMethodDoesNotAsk) {
  const FormValues accepted[] = {
      {{"decrement", "20"}},
      {{"decrement", "0.01"}, {"loadQ", "x"}, {"delta", ""}},
      {{"method", "q"}, {"loadQ", "0.0333"}, {"decrement", "-1"}},
      {{"average", "1000000"}},
      {{"method", "L"}, {"deltaBandwidth", "10"}, {"delta", "1000000"}},
      {{"N", "010"}, {"f1", "10."}, {"f2", "\t20.000\n"}, {"name", " a/b,c "}},
  };
  for (const FormValues& form : accepted) {
    const DesignPage page = designPage(form);
    EXPECT_TRUE(page.form.design) << form.begin()->first << "=" << form.begin()->second;
  }
}

}  // namespace
}  // namespace bandmatch
