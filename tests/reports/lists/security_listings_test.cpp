// The security and bond listings: goldens of both (checked by hand against
// the layout strings), the month-end column for price dates in March 2000,
// March 1999 and January, the securities left out ("CASH1", deleted
// entries), and the lines a run that cannot go on writes instead.

#include "reports/lists/security_listings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "records/security_types.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

// Entries: 1 CASH, 2 CASH1, 3 IBM, 4 deleted, 5 GE (unpriced), 6 CD 7/01
// (type 4), 7 REIT (type S), 8 MMF (type 1), 9 T 6 02 (a note with a blank
// second description), 10 ZERO (a price of 0), 11 XYZ BOND (terms).
std::vector<fixtures::SecurityEntry> Securities() {
    return {
        {.symbol = "CASH", .cusip = "", .description1 = "CASH", .type = "1"},
        {.symbol = "CASH1", .cusip = "000000001", .description1 = "SECOND CASH", .type = "1"},
        {.symbol = "IBM",
         .cusip = "459200101",
         .description1 = "INTL BUSINESS MACHINES",
         .description2 = "COMMON STOCK",
         .type = "H",
         .category = "01",
         .rate = 1.60f},
        {.symbol = "$$$$$$$$$$$$", .cusip = "111111111", .description1 = "DELETED", .type = "H"},
        {.symbol = "GE",
         .cusip = "369604103",
         .description1 = "GENERAL ELECTRIC CO",
         .type = "H",
         .category = "06",
         .rate = 1.04f},
        {.symbol = "CD 7/01",
         .cusip = "9CD000001",
         .description1 = "FIRST BANK CD",
         .type = "4",
         .maturity = "07/01/01",
         .rate = 5.10f},
        {.symbol = "REIT", .cusip = "75600A102", .description1 = "HARBOR REALTY TRUST", .type = "S"},
        {.symbol = "MMF", .cusip = "MMF000001", .description1 = "MONEY MARKET FUND", .type = "1"},
        {.symbol = "T 6 02",
         .cusip = "912827D25",
         .description1 = "U S TREASURY NOTE",
         .type = "5",
         .maturity = "02/15/02",
         .rate = 6.00f,
         .moody_rating = "AAA",
         .sp_rating = "AAA"},
        {.symbol = "ZERO", .cusip = "989898101", .description1 = "ZERO CORP", .type = "H", .rate = -999.99f},
        {.symbol = "XYZ BOND",
         .cusip = "98412KAA4",
         .description1 = "XYZ INDUSTRIES 7% DEB 2010",
         .type = "B",
         .maturity = "06/01/10",
         .rate = 7.00f,
         .moody_rating = "A2",
         .sp_rating = "A",
         .call_date = "06/01/05",
         .call_price = 102.5,
         .insurer = "MBIA"}};
}

class Allpos : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
        fixtures::WriteProgramDate("03/20/00");
        fixtures::SetOptions({{records::Opt::kCouponDueDescription, 1}});  // fill an empty second description
        fixtures::WriteSecurityFiles(Securities());
        records::TypeNames names;
        names.names[0] = "CASH AND EQUIVALENTS";
        names.names[2] = "CERTIFICATES OF DEP.";
        names.names[3] = "TREASURY NOTES";
        names.names[8] = "CORPORATE BONDS";
        names.names[16] = "COMMON STOCKS";
        names.names[20] = "REAL ESTATE";
        records::WriteTypeNames(names);
        // Price date 03/15/00 and month end 02/29/00.
        fixtures::WritePrices("03/15/00", {5, 5, 101.25, 9, -99999.999999, 50, 50, 5, 99.5, 0.0, 98.75});
        fixtures::WritePrices("02/29/00", {5, 5, 99.875, 9, -99999.999999, 50, 50, 5, 99.25, 0.0, 98.5});
    }
    TempDataDir dir_;
};

TEST_F(Allpos, SecurityListInCusipOrderMatchesGolden) {
    reports::Allpos(0, "03/15/00", "    ", "SECURITY.TXT");
    const std::string text = fixtures::ReportText("SECURITY.TXT");
    fixtures::CompareWithGolden("reports/lists/security_listings_securities.txt", text);
    EXPECT_EQ(text.find("SECOND CASH"), std::string::npos);
    EXPECT_EQ(text.find("DELETED"), std::string::npos);
}

TEST_F(Allpos, BondListOfTheFixedIncomeTypesMatchesGolden) {
    reports::Allpos(1, "        ", "    ", "BONDS.TXT");
    fixtures::CompareWithGolden("reports/lists/security_listings_bonds.txt",
                                fixtures::ReportText("BONDS.TXT"));
}

TEST_F(Allpos, TheMonthEndColumnIsTheLastDayOfTheMonthBefore) {
    struct Case {
        const char* price_date;
        const char* heading;
    };
    for (const Case c : {Case{"03/15/00", " 3/15/00      2/29/00"}, Case{"03/15/99", " 3/15/99      2/28/99"},
                         Case{"01/15/99", " 1/15/99     12/31/98"}}) {
        SCOPED_TRACE(c.price_date);
        reports::Allpos(0, c.price_date, "    ", "DATES.TXT");
        EXPECT_NE(fixtures::ReportText("DATES.TXT").find(c.heading), std::string::npos)
            << fixtures::ReportText("DATES.TXT");
    }
}

TEST_F(Allpos, ARunThatCannotGoOnSaysWhyAndEndsTheReport) {
    struct Case {
        const char* price_date;
        const char* filter;
        const char* line;
    };
    // Record 27 gives "CS" to common stocks (the 17th listed type).
    records::TypeNames names = records::ReadTypeNames();
    names.codes[16] = "CS";
    records::WriteTypeNames(names);
    for (const Case c : {Case{"13/45/00", "    ", " illegal date 13/45/00"},
                         Case{"03/15/00", "ZZ  ", " invalid security type ZZ"}}) {
        SCOPED_TRACE(c.line);
        reports::Allpos(0, c.price_date, c.filter, "STOP.TXT");
        const std::vector<std::string> lines = fixtures::ReportFileLines("STOP.TXT");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(records::TrimRight(lines[0]), c.line);
    }
    // A filter that reads lists that type alone.
    reports::Allpos(0, "03/15/00", "CS  ", "STOCKS.TXT");
    const std::string stocks = fixtures::ReportText("STOCKS.TXT");
    EXPECT_NE(stocks.find("INTL BUSINESS MACHINES"), std::string::npos);
    EXPECT_EQ(stocks.find("FIRST BANK CD"), std::string::npos);
}

TEST_F(Allpos, AnEmptyIndexGivesTheHeadingOnly) {
    std::filesystem::remove("SECURITY.IDX");
    reports::Allpos(0, "03/15/00", "    ", "EMPTY.TXT");
    const std::vector<std::string> lines = fixtures::ReportFileLines("EMPTY.TXT");
    ASSERT_EQ(lines.size(), 12u);  // the page heading 4 and the list's 8 lines
    EXPECT_NE(lines[4].find("SECURITY DATA BASE"), std::string::npos);
}

}  // namespace
