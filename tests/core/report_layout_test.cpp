// The CSV layout round trip: for every method, load type and N, each row the CSV writer writes
// stands at the line the layout declares, and the reader, which finds rows by that layout, reads
// the design back.
#include "core/report_layout.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "report/csv_report.hpp"
#include "formats/csv_report_reader.hpp"
#include "support/printed_values.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

namespace label = reportLabels;
namespace line = csvLines;

std::string csvLabel(std::string_view text) {
  return std::string(text) + ",";
}

TEST(CsvLayout, EveryFixedRowStandsAtItsDeclaredLineAndReadsBack) {
  for (const Method method : {Method::direct, Method::loadParameters, Method::fromQ}) {
    for (const LoadType loadType : {LoadType::series, LoadType::parallel}) {
      for (int n = MIN_ELEMENTS; n <= MAX_ELEMENTS; ++n) {
        SCOPED_TRACE("N = " + std::to_string(n));
        DesignCase design = testing::synthesizedDesign(n, 1.0, loadType, 10.0, 20.0);
        design.method = method;
        std::ostringstream file;
        writeCsvReport(file, design, support::FIXED_DATE_STAMP);
        const std::vector<std::string> rows = support::splitLines(file.str());
        ASSERT_EQ(static_cast<int>(rows.size()), line::sourceResistance(n));
        // The row at a 1-based line number begins with the expected text.
        const auto startsAt = [&rows](int number, const std::string& start) {
          return rows.at(static_cast<std::size_t>(number) - 1).rfind(start, 0) == 0;
        };

        EXPECT_EQ(rows[line::CREDITS_LAST - 1], "");
        EXPECT_TRUE(startsAt(line::INPUTS_HEADING, std::string(label::INPUTS_HEADING)));
        EXPECT_TRUE(startsAt(line::TEXT_FILE_NAME, csvLabel(label::TEXT_FILE_NAME)));
        EXPECT_TRUE(startsAt(line::CSV_FILE_NAME, csvLabel(label::CSV_FILE_NAME)));
        EXPECT_TRUE(startsAt(line::N, csvLabel(label::N) + formatInteger(n)));
        EXPECT_TRUE(startsAt(line::LOAD_TYPE_CHOICE,
                             std::string(loadType == LoadType::series ? csvRows::SERIES_CHOICE
                                                                      : csvRows::PARALLEL_CHOICE)));
        EXPECT_TRUE(startsAt(line::LOW_FREQUENCY, csvLabel(label::LOW_FREQUENCY)));
        EXPECT_TRUE(startsAt(line::HIGH_FREQUENCY, csvLabel(label::HIGH_FREQUENCY)));
        EXPECT_TRUE(
            startsAt(line::OUTPUT_PART_1_HEADING, std::string(label::OUTPUT_PART_1_HEADING)));
        EXPECT_TRUE(
            startsAt(line::OUTPUT_PART_2_HEADING, std::string(label::OUTPUT_PART_2_HEADING)));
        EXPECT_TRUE(startsAt(line::FV, csvLabel(label::FV)));
        EXPECT_TRUE(startsAt(line::RHO_MIN, csvLabel(label::RHO_MIN)));
        EXPECT_TRUE(startsAt(line::RHO_MAX, csvLabel(label::RHO_MAX)));
        EXPECT_TRUE(startsAt(line::SWR_MAX, csvLabel(label::SWR_MAX)));
        EXPECT_TRUE(
            startsAt(line::OUTPUT_PART_3_HEADING, std::string(label::OUTPUT_PART_3_HEADING)));
        for (int i = 0; i <= n + 1; ++i) {
          EXPECT_TRUE(startsAt(line::prototypeValue(i), "   G(" + formatInteger(i) + ")")) << i;
        }
        EXPECT_TRUE(
            startsAt(line::outputPart4Heading(n), std::string(label::OUTPUT_PART_4_HEADING)));
        EXPECT_TRUE(startsAt(line::loadResistance(n), csvLabel(label::LOAD_RESISTANCE)));
        for (int i = 1; i <= n; ++i) {
          EXPECT_TRUE(startsAt(line::inductor(n, i), "   L(" + formatInteger(i) + ") (H)")) << i;
          EXPECT_TRUE(startsAt(line::capacitor(n, i), "   C(" + formatInteger(i) + ") (F)")) << i;
        }
        EXPECT_TRUE(startsAt(line::sourceResistance(n), csvLabel(label::SOURCE_RESISTANCE)));

        const ReportReading reading = readCsvReport(file.str());
        ASSERT_TRUE(reading.design.has_value()) << reading.error;
        EXPECT_EQ(reading.design->N, n);
        EXPECT_EQ(reading.design->loadType, loadType);
        EXPECT_TRUE(testing::matchesPrinted(reading.design->ladder.sourceResistance,
                                            design.sourceResistance, 10));
        EXPECT_TRUE(
            testing::matchesPrinted(reading.design->ladder.inductance.back(), design.L[n], 10));
      }
    }
  }
}

}  // namespace
}  // namespace bandmatch
