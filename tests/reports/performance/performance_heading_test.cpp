// The performance table's page heading: monthly and quarterly titles for
// each asset-class choice, the two-, one- and no-index column headings,
// and nothing at all while a composite continues its output.

#include "reports/performance/performance_heading.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

// OUTPUT.TMP as golden files keep text: one line per 132-character
// record, trailing blanks dropped.
std::string OutputText() {
    std::string text;
    const records::DirectFile file(records::kReportWorkFile, 132, false);
    records::Record rec;
    for (long n = 1; file.Read(n, rec); ++n) text += records::TrimRight(rec.Text(0, 132)) + "\n";
    return text;
}

reports::PerformanceHeading Heading(const char* frequency, int16_t choice, int16_t selector) {
    reports::PerformanceHeading h;
    h.page = 1;
    h.start_date = "12/31/97";
    h.end_date = "06/30/98";
    h.title = "           SMITH FAMILY TRUST";
    h.frequency = frequency;
    h.index1 = {"S&P   ", "500   ", "INDEX "};
    h.index2 = {"LEHMAN", "GOV/CR", "BOND  "};
    h.index_selector = selector;
    h.output_mode = 1;
    h.choice = choice;
    h.description = "ACME WIDGETS COMMON STOCK";
    return h;
}

// Every heading of one frequency, one after another in one OUTPUT.TMP:
// choices 0-5 with two indexes, then choice 0 with one and with none.
std::string Headings(const char* frequency) {
    std::string name;
    records::Prtout("", "START", name);
    for (int16_t choice = 0; choice <= 5; ++choice) {
        reports::PerformanceHeading h = Heading(frequency, choice, 0);
        reports::Mprfhead(h);
        records::Prtout(" --- choice " + std::to_string(choice) + ", lines " + std::to_string(h.lines));
    }
    for (int16_t selector = 1; selector <= 2; ++selector) {
        reports::PerformanceHeading h = Heading(frequency, 0, selector);
        reports::Mprfhead(h);
        records::Prtout(" --- selector " + std::to_string(selector) + ", lines " + std::to_string(h.lines));
    }
    records::Prtout("", "END", name);
    return OutputText();
}

TEST(PerformanceHeading, MonthlyHeadings) {
    TempDataDir dir;
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    fixtures::CompareWithGolden("reports/performance/performance_heading_monthly.txt", Headings("M   "));
}

TEST(PerformanceHeading, QuarterlyHeadings) {
    TempDataDir dir;
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    fixtures::CompareWithGolden("reports/performance/performance_heading_quarterly.txt", Headings("Q   "));
}

TEST(PerformanceHeading, CompositeContinuationPrintsNothing) {
    TempDataDir dir;
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    std::string name;
    records::Prtout("", "START", name);
    reports::PerformanceHeading h = Heading("M   ", 0, 0);
    h.output_mode = 2;
    h.page = 3;
    h.lines = 20;
    reports::Mprfhead(h);
    records::Prtout("", "END", name);
    EXPECT_EQ(OutputText(), "");
    EXPECT_EQ(h.page, 3);
    EXPECT_EQ(h.lines, 20);
}

}  // namespace
