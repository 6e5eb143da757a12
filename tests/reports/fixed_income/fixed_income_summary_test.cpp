// The fixed income summary: goldens, the maturity key, selections,
// failures and the report date.

#include "reports/fixed_income/fixed_income_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/fixed_income/fixed_income_analyses_fixture.h"

namespace {

using fixtures::TempDataDir;

std::vector<std::string> RunFixsum(const char* selection, const char* manager, const char* account,
                                   const char* date = fiafix::kReportDate) {
    reports::Fixsum(selection, manager, account, date, "SUM.TXT     ");
    return fixtures::ReportFileLines("SUM.TXT");
}

int Count(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos) ++n;
    return n;
}

TEST(Mtdkey, Widening) {
    EXPECT_EQ(reports::Mtdkey(991231), 19991231);
    EXPECT_EQ(reports::Mtdkey(800101), 19800101);
    EXPECT_EQ(reports::Mtdkey(791231), 20791231);  // 12/31/79 sorts after 01/01/99
    EXPECT_GT(reports::Mtdkey(791231), reports::Mtdkey(990101));
    EXPECT_EQ(reports::Mtdkey(50315), 20050315);
    EXPECT_EQ(reports::Mtdkey(1050315), 20050315);  // the windowed form of 2005
    EXPECT_EQ(reports::Mtdkey(800000), 0);
    EXPECT_EQ(reports::Mtdkey(0), 0);
    EXPECT_EQ(reports::Mtdkey(-5), 0);
}

TEST(Fixsum, GoldenSeveralAccounts) {
    TempDataDir dir;
    fiafix::WriteData();
    for (const std::string& line : RunFixsum("A   ", "CD??", "")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden("reports/fixed_income/fixed_income_summary_cd.txt",
                                fixtures::ReportText("SUM.TXT"));
}

TEST(Fixsum, GoldenLongPage) {
    TempDataDir dir;
    fiafix::WriteData();
    fiafix::WriteFirm(58);
    RunFixsum("S   ", "????", "SUMMRY");
    fixtures::CompareWithGolden("reports/fixed_income/fixed_income_summary_one.txt",
                                fixtures::ReportText("SUM.TXT"));
}

TEST(Fixsum, SelectionsAndAccountsWithoutFixedIncome) {
    TempDataDir dir;
    fiafix::WriteData();
    std::vector<std::string> lines = RunFixsum("A   ", "????", "");
    EXPECT_EQ(Count(lines, "CLIENT NAME: "), Count(lines, "DATE: "));
    for (const char* id : {"BONDS ", "EQUITY", "FLOW  ", "SUMMRY"})
        EXPECT_GE(Count(lines, std::string("CLIENT NAME: ") + id + " - "), 1) << id;
    EXPECT_EQ(Count(lines, "DELETED"), 0);
    EXPECT_EQ(Count(lines, "FIXED INCOME SUMMARY"), 4);
    EXPECT_EQ(Count(lines, "TOTALS/AVERAGES"), 4);

    // EQUITY: no fixed-income lot, zero totals and no rating.
    lines = RunFixsum("S   ", "ZZZZ", "EQUITY");
    ASSERT_EQ(Count(lines, "TOTALS/AVERAGES"), 1);
    for (const std::string& line : lines) {
        if (line.find("TOTALS/AVERAGES") != std::string::npos) {
            EXPECT_EQ(
                records::TrimRight(line),
                "                               TOTALS/AVERAGES              0          0   0.0    0.0    0.0"
                "    0.0    0.0  N/A    0.0   0.0");
        }
    }

    // An account the index does not hold: one line.
    lines = RunFixsum("S   ", "????", "NOBODY");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(records::TrimRight(lines[0]), " Account NOBODY   is not in ACCOUNT.IDX.");

    lines = RunFixsum("A   ", "ZZZZ", "");
    EXPECT_TRUE(lines.empty());
}

TEST(Fixsum, FaceValuesSummingToZeroGiveNoAverageYears) {
    TempDataDir dir;
    fiafix::WriteData();
    // A long and a short position of the same size: the face values sum to
    // 0, so the average years to maturity is 0.0, not the raw sum of face
    // value x days.
    fixtures::WriteHoldings("SUMMRY",
                            {fiafix::Lot("T30YR", 3, 10000, 9800), fiafix::Lot("HICOUP", 7, -10000, 11000)});
    const std::vector<std::string> lines = RunFixsum("S   ", "????", "SUMMRY");
    ASSERT_FALSE(lines.empty());
    const std::string totals = lines.back();
    ASSERT_NE(totals.find("TOTALS/AVERAGES"), std::string::npos);
    // "(31X,'TOTALS/AVERAGES',4X,A11,A11,5A7,...)": the years in columns 73-79.
    EXPECT_EQ(totals.substr(72, 7), "   0.0 ");
}

TEST(Fixsum, NoTransactionsAndUnreadableRecords) {
    TempDataDir dir;
    fiafix::WriteData();
    // No lots at all; then a lot whose security record cannot be read in
    // the first pass.
    fixtures::WriteHoldings("EQUITY", {});
    fixtures::WriteHoldings("FLOW", {fiafix::Lot("SEMI6", 13, 10000, 10000), fiafix::Lot("GONE", 40, 1, 1)});
    std::vector<std::string> lines = RunFixsum("A   ", "????", "");
    EXPECT_EQ(Count(lines, "*** No transactions in account EQUITY ***"), 1);
    EXPECT_EQ(Count(lines, "*** No transactions in account FLOW   ***"), 1);
    EXPECT_EQ(Count(lines, "TOTALS/AVERAGES"), 2);  // BONDS and SUMMRY go on
    lines = RunFixsum("S   ", "????", "EQUITY");
    EXPECT_EQ(Count(lines, "*** No transactions in account EQUITY ***"), 1);
    EXPECT_EQ(Count(lines, "FIXED INCOME SUMMARY"), 0);

    // A lot link past the end of the file ends the first pass: the lots
    // listed before it are reported.
    fixtures::WriteHoldings(
        "SUMMRY", {fiafix::Lot("HICOUP", 7, 12000, 13000), fiafix::Lot("T1YR", 2, 10000, 9900)}, {3, 9});
    lines = RunFixsum("S   ", "????", "SUMMRY");
    EXPECT_EQ(Count(lines, "HIGH COUPON BOND"), 1);
    EXPECT_EQ(Count(lines, "US TREASURY NOTE ONE YEAR"), 1);
    EXPECT_EQ(Count(lines, "TOTALS/AVERAGES"), 1);

    // ACCOUNT.REC cut after BONDS: the warning names EQUITY's second
    // record, its index record and its key position.
    fixtures::CutFile("ACCOUNT.REC", 8 + 1);
    lines = RunFixsum("A   ", "????", "");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(records::TrimRight(lines.back()),
              "           *** Warning: EOF reached on account.rec ...      18       2       3");

    // ACCOUNT.IDX missing.
    fixtures::CutFile("ACCOUNT.IDX", 0);
    lines = RunFixsum("A   ", "????", "");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(records::TrimRight(lines[0]), " ACCOUNT.IDX record 1 could not be read.");
}

TEST(Fixsum, EarlierReportDateReadsRebuiltHoldingsAndLeavesTheTransactionsAlone) {
    TempDataDir dir;
    fiafix::WriteData();
    fixtures::WriteTransactions("SUMMRY",
                                {fixtures::Transaction("B", "T1YR", "", " 1/15/97", 4000, 3950, 1, 2),
                                 fixtures::Transaction("B", "HICOUP", "", "10/01/98", 6000, 6500, 1, 7)});
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("TRSUMMRY.REC");
    fixtures::WritePrices(" 6/30/98", fiafix::Prices());
    const std::vector<std::string> lines = RunFixsum("S   ", "????", "SUMMRY", " 6/30/98");
    EXPECT_EQ(Count(lines, "US TREASURY NOTE ONE YEAR"), 1);
    EXPECT_EQ(Count(lines, "HIGH COUPON BOND"), 0);
    EXPECT_EQ(Count(lines, "UNPRICED BOND"), 0);
    EXPECT_EQ(TempDataDir::ReadBytes("TRSUMMRY.REC"), before);
}

}  // namespace
