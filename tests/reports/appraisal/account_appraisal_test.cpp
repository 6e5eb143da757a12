#include "reports/appraisal/account_appraisal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/chart_files.h"
#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "reports/appraisal/stocks_by_industry.h"
#include "reports/appraisal/summary_against_target.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/account_appraisal_fixture.h"

namespace {

using fixtures::TempDataDir;

constexpr const char* kCopy = "APPR.TXT";

std::string Appraise(const std::string& selection, const std::string& account,
                     const std::string& manager = "????", const std::string& accrued = "N   ") {
    reports::Mclntapr(selection, manager, account, "12/31/98", accrued, 3, kCopy, 12);
    return fixtures::ReportText(kCopy);
}

// ---- Golden runs of one account, each read line by line against the
// layouts of its pages.

struct GoldenCase {
    const char* golden;
    std::vector<std::pair<records::Opt, unsigned char>> options;
    const char* account;
    const char* accrued;
};

class AccountAppraisalGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(AccountAppraisalGolden, PagesOfOneAccount) {
    const GoldenCase& c = GetParam();
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions(c.options);
    const std::string text = Appraise("S   ", c.account, "????", c.accrued);
    fixtures::CompareWithGolden(std::string("reports/appraisal/") + c.golden, text);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
    EXPECT_FALSE(TempDataDir::Exists("TEMPHSUM.FIL"));
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
}

INSTANTIATE_TEST_SUITE_P(
    Options, AccountAppraisalGolden,
    ::testing::Values(
        // By type, with the rates of return, the allocation model and the
        // address block.
        GoldenCase{"account_appraisal_by_type.txt",
                   {{records::Opt::kAccountAddress, 1},
                    {records::Opt::kTimeWeightedReturn, 1},
                    {records::Opt::kGenericAllocationModel, 1}},
                   "AA1",
                   "N   "},
        // By asset class.
        GoldenCase{
            "account_appraisal_by_class.txt", {{records::Opt::kPortfolioSummaryType, 2}}, "AA1", "N   "},
        // By asset class with the percentages of the class.
        GoldenCase{"account_appraisal_class_percents.txt",
                   {{records::Opt::kPortfolioSummaryType, 3}},
                   "AA1",
                   "N   "},
        // Against the target allocation, with accrued interest.
        GoldenCase{"account_appraisal_target.txt", {{records::Opt::kPortfolioSummaryType, 2}}, "AA2", "Y   "},
        // No summary page: the industry page is page 1.
        GoldenCase{
            "account_appraisal_no_summary.txt", {{records::Opt::kNoPortfolioSummary, 1}}, "AA1", "N   "},
        // Market values only.
        GoldenCase{
            "account_appraisal_market_only.txt", {{records::Opt::kNoSummaryIncomeYield, 1}}, "AA1", "N   "},
        // % of income and % of unrealized gain/loss.
        GoldenCase{"account_appraisal_gain_columns.txt",
                   {{records::Opt::kSummaryIncomeGainPercents, 1}},
                   "AA1",
                   "N   "}));

// ---- The run.

TEST(AccountAppraisalRun, AManagerPatternPrintsItsAccountsAndEndsTheRun) {
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions({});
    {
        const std::string text = Appraise("A   ", "", "AB");
        for (const char* name : {"SMITH ACCOUNT", "JONES ACCOUNT", "BROWN ACCOUNT"})
            EXPECT_NE(text.find(name), std::string::npos) << name;
        EXPECT_EQ(text.find("GREEN ACCOUNT"), std::string::npos);
        EXPECT_EQ(fixtures::Occurrences(text, "SUMMARY OF INVESTMENT PORTFOLIO"), 3);
        EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
    }
    {
        const std::string text = Appraise("A   ", "", "????");
        EXPECT_EQ(fixtures::Occurrences(text, "SUMMARY OF INVESTMENT PORTFOLIO"), 4);
        EXPECT_NE(text.find("GREEN ACCOUNT"), std::string::npos);
        EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
    }
}

TEST(AccountAppraisalRun, AControlFileLeftByABrokenRunChangesNothing) {
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions({});
    {
        // An interrupted manager run: slot 1, at the first of five accounts.
        records::DirectFile control(records::kAppraisalControlFile, records::kWorkRecordLength);
        records::AppraisalControlHeader head;
        head.slot = 1;
        control.Write(1, head.Encode());
        records::AppraisalControlAccount account;
        account.account = "AA1     ";
        account.index = 1;
        account.count = 5;
        control.Write(2, account.Encode());
    }
    const std::string text = Appraise("S   ", "AA3");
    EXPECT_NE(text.find("BROWN ACCOUNT"), std::string::npos);
    for (const char* other : {"SMITH ACCOUNT", "JONES ACCOUNT", "GREEN ACCOUNT"})
        EXPECT_EQ(text.find(other), std::string::npos) << other;
    EXPECT_EQ(fixtures::Occurrences(text, "SUMMARY OF INVESTMENT PORTFOLIO"), 1);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
}

TEST(AccountAppraisalRun, ABrokenLotListEndsTheReportWithALineAndTheCopy) {
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions({});
    fixtures::WriteHoldings(
        "AA3", {aafix::Lot("CASH", aafix::kCash, 0, 750, 750), aafix::Lot("IBM", aafix::kIbm, 1, 10, 1200)},
        {3, 9});
    const std::string text = Appraise("A   ", "", "AB");
    EXPECT_NE(text.find("SMITH ACCOUNT"), std::string::npos);
    EXPECT_NE(text.find(" ACCOUNT AA3: the lots of HL"), std::string::npos) << text;
    EXPECT_NE(text.find("THE APPRAISAL STOPS AT ACCOUNT AA3."), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
}

TEST(AccountAppraisalRun, AClassTableWithAnEmptyEntryGivesWayToTheDefault) {
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions({{records::Opt::kPortfolioSummaryType, 2}});
    // Every type "O " but one entry of zero bytes: the firm's default
    // table takes its place.
    std::string table;
    for (int k = 0; k < 22; ++k) table += "O ";
    table[8] = '\0';
    table[9] = '\0';
    aafix::WriteClassTable(table);
    const std::string text = Appraise("S   ", "AA1");
    for (const char* label : {"CASH EQUIVALENTS", "FIXED INCOME", "EQUITIES", "TOTAL EQUITIES"})
        EXPECT_NE(text.find(label), std::string::npos) << label;
}

TEST(AccountAppraisalRun, AClassTableOfTheFirmIsTaken) {
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions({{records::Opt::kPortfolioSummaryType, 2}});
    std::string table;
    for (int k = 0; k < 22; ++k) table += "O ";
    aafix::WriteClassTable(table);
    const std::string text = Appraise("S   ", "AA1");
    EXPECT_NE(text.find("TOTAL OTHER"), std::string::npos);
    EXPECT_EQ(text.find("EQUITIES"), std::string::npos);
}

TEST(AccountAppraisalRun, TargetPagesAreNumberedOneAfterAnother) {
    TempDataDir dir;
    aafix::WriteDirectory(/*page_length=*/21);
    aafix::SetOptions({{records::Opt::kPortfolioSummaryType, 2}});
    const std::vector<std::string> lines =
        fixtures::ReportFileLines((Appraise("S   ", "AA2", "????", "Y   "), kCopy));
    // The pages of the target summary: from its title to the industry page.
    std::vector<std::string> pages;
    bool in_summary = false;
    std::string last_page;
    for (const std::string& line : lines) {
        if (line.find("PAGE ") != std::string::npos) last_page = line.substr(109, 8);
        if (line.find("SUMMARY OF INVESTMENT PORTFOLIO") != std::string::npos) {
            in_summary = true;
            pages.push_back(last_page);
        }
        if (line.find("COMMON STOCKS BY") != std::string::npos ||
            line.find("% OF              % OF") != std::string::npos)
            in_summary = false;
    }
    (void)in_summary;
    ASSERT_GE(pages.size(), 2u);
    for (std::size_t k = 0; k < pages.size(); ++k)
        EXPECT_EQ(pages[k], "PAGE " + std::string(k + 1 < 10 ? "  " : " ") + std::to_string(k + 1));
}

TEST(AccountAppraisalTargets, PositionsOfTheTypes) {
    const std::vector<std::pair<int, int>> cases = {{2, 1},   {33, 6}, {8, 7}, {18, 17},
                                                    {30, 22}, {36, 0}, {1, 0}};
    for (const auto& [type, position] : cases) EXPECT_EQ(reports::TargetPosition(type), position) << type;
}

// ---- The chart files of the industry page.

TEST(IndustryChart, PieFileIsReadByTheChartViewAndHoldsTheTitleAloneWithoutStocks) {
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions({{records::Opt::kAppraisalExportType, 3}});
    Appraise("S   ", "AA1");
    {
        const auto read = platform::ReadPieChartFile(dir.path(), platform::ChartFile::IndustryCategory);
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.data.title, " COMMON STOCKS - SMITH ACCOUN");
        ASSERT_EQ(read.data.slices.size(), 2u);
        // XYZ 4,000 (category 20) and IBM 15,000 (35) of 19,000 in common
        // stocks, in category order.
        EXPECT_EQ(read.data.slices[0].name, "TECHNOLOGY");
        EXPECT_NEAR(read.data.slices[0].percent, 21.1, 1e-9);
        EXPECT_EQ(read.data.slices[1].name, "COMPUTERS");
        EXPECT_NEAR(read.data.slices[1].percent, 78.9, 1e-9);
    }
    Appraise("S   ", "AA3");
    const std::vector<std::string> lines = fixtures::ReportFileLines(reports::kIndustryChartFile);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(records::TrimRight(lines[0]), " COMMON STOCKS - BROWN ACCOUN");
}

TEST(IndustryChart, SummaryFileHoldsThePercentagesAndIsEmptiedWithoutStocks) {
    TempDataDir dir;
    aafix::WriteDirectory();
    aafix::SetOptions({});
    Appraise("S   ", "AA1");
    EXPECT_EQ(fixtures::ReportFileLines(reports::kIndustrySummaryFile),
              (std::vector<std::string>{"  21.1", "  78.9"}));
    Appraise("S   ", "AA3");
    EXPECT_TRUE(TempDataDir::Exists(reports::kIndustrySummaryFile));
    EXPECT_TRUE(fixtures::ReportFileLines(reports::kIndustrySummaryFile).empty());
}

}  // namespace
