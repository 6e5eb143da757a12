// The fixed income analyses: the four class analyses and the two income
// flow analyses against goldens, selections, failures and the report date.

#include "reports/fixed_income/fixed_income_analyses.h"

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

std::vector<std::string> RunGetfix(int16_t kind, const char* selection, const char* manager,
                                   const char* account, const char* date = fiafix::kReportDate) {
    reports::Getfix(kind, selection, manager, account, date, "FIX.TXT     ");
    return fixtures::ReportFileLines("FIX.TXT");
}

int Count(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos) ++n;
    return n;
}

struct GoldenCase {
    const char* golden;
    int16_t kind;
    const char* selection;
    const char* manager;
    const char* account;
};

class GetfixGoldens : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GetfixGoldens, MatchesGolden) {
    TempDataDir dir;
    fiafix::WriteData();
    const GoldenCase& c = GetParam();
    for (const std::string& line : RunGetfix(c.kind, c.selection, c.manager, c.account))
        EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden(std::string("reports/fixed_income/") + c.golden,
                                fixtures::ReportText("FIX.TXT"));
}

INSTANTIATE_TEST_SUITE_P(
    Analyses, GetfixGoldens,
    ::testing::Values(
        // Every account: the class edges, an account without fixed income,
        // the income flow account's bonds and the summary account's.
        GoldenCase{"fixed_income_analyses_maturity_all.txt", 1, "A   ", "????", "        "},
        GoldenCase{"fixed_income_analyses_rating_ab.txt", 2, "A   ", "AB??", "        "},
        GoldenCase{"fixed_income_analyses_coupon_ab.txt", 3, "A   ", "AB??", "        "},
        GoldenCase{"fixed_income_analyses_yield_ab.txt", 4, "A   ", "AB??", "        "},
        GoldenCase{"fixed_income_analyses_income_flow_fixed.txt", 5, "S   ", "????", "FLOW    "},
        GoldenCase{"fixed_income_analyses_income_flow_other.txt", -5, "S   ", "????", "FLOW    "},
        GoldenCase{"fixed_income_analyses_income_flow_fixed_ab.txt", 5, "A   ", "AB??", "        "}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Getfix, SelectionsAndTheNoAccountLine) {
    TempDataDir dir;
    fiafix::WriteData();
    struct Case {
        const char* selection;
        const char* manager;
        const char* account;
        std::vector<std::string> accounts;  // the account lines, in order
    } cases[] = {
        {"A   ", "????", "", {"BONDS", "EQUITY", "FLOW", "SUMMRY"}},
        {"A   ", "A???", "", {"BONDS", "EQUITY"}},
        {"A   ", "??12", "", {"BONDS", "FLOW"}},
        {"A   ", "ZZZZ", "", {}},
        {"S   ", "ZZZZ", "SUMMRY", {"SUMMRY"}},  // one account: its code is not looked at
        {"S   ", "????", "NOBODY", {}},
        {"S   ", "????", "$$$$$$", {}},
    };
    for (const Case& c : cases) {
        for (const int16_t kind : {1, 5}) {
            SCOPED_TRACE(std::string(c.selection) + c.manager + c.account + " kind " + std::to_string(kind));
            const std::vector<std::string> lines = RunGetfix(kind, c.selection, c.manager, c.account);
            std::vector<std::string> seen;
            for (const std::string& line : lines)
                for (const char* id : {"BONDS", "EQUITY", "FLOW", "SUMMRY", "DELETED"})
                    if (line.find(std::string(id) + " ") != std::string::npos &&
                        line.find(" - ") != std::string::npos && (seen.empty() || seen.back() != id))
                        seen.push_back(id);
            EXPECT_EQ(seen, c.accounts);
            if (c.accounts.empty()) {
                ASSERT_EQ(lines.size(), 1u);
                EXPECT_EQ(records::TrimRight(lines[0]),
                          std::string("No accounts for manager ") + c.manager + " to report.");
            }
        }
    }
}

TEST(Getfix, UnreadableRecordsEndTheRunWithTheWarning) {
    TempDataDir dir;
    fiafix::WriteData();
    // BONDS' lots name a security record past the end of SECURITY.REC.
    fixtures::WriteHoldings("BONDS", {fiafix::Lot("T1YR", 2, 10000, 9900), fiafix::Lot("GONE", 40, 1, 1)});
    std::vector<std::string> lines = RunGetfix(1, "A   ", "????", "");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(records::TrimRight(lines.back()), " *** Warning: ERR in SECURITY.REC,    40");
    EXPECT_EQ(Count(lines, "MATURITY ANALYSIS"), 0);

    // ACCOUNT.REC cut after BONDS' second record: EQUITY's (entry 3) cannot
    // be read; 14 keys of the index record are left.
    fiafix::WriteData();
    fixtures::CutFile("ACCOUNT.REC", 8 + 1);
    lines = RunGetfix(5, "A   ", "????", "");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(records::TrimRight(lines.back()),
              " *** Warning: EOF or ERR in account.idx; account.rec,      18       2      14");
    EXPECT_GE(Count(lines, "BONDS   - BOND ACCOUNT"), 1);
    EXPECT_EQ(Count(lines, "EQUITY - "), 0);

    // No data at all: the no-account line.
    fixtures::CutFile("ACCOUNT.IDX", 0);
    lines = RunGetfix(2, "A   ", "????", "");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(records::TrimRight(lines[0]), "No accounts for manager ???? to report.");
}

TEST(Getfix, ExtensionOrLotReadFailuresShowTheLotsReadSoFar) {
    TempDataDir dir;
    fiafix::WriteData();
    // A broken link after the first bond.
    fixtures::WriteHoldings(
        "BONDS", {fiafix::Lot("T1YR", 2, 10000, 9900), fiafix::Lot("T30YR", 3, 20000, 19000)}, {40, -1});
    std::vector<std::string> lines = RunGetfix(1, "S   ", "????", "BONDS");
    EXPECT_EQ(Count(lines, "   UNDER  1 YR     10000.00"), 1);
    EXPECT_EQ(Count(lines, "25 YRS - 30 YRS"), 0);
    EXPECT_EQ(Count(lines, "AVG YRS TO MAT"), 1);
}

TEST(Getfix, DecemberHeadingSpansTwoYears) {
    TempDataDir dir;
    fiafix::WriteData();
    fixtures::WriteProgramDate("12/15/99");
    for (const int16_t kind : {5, -5}) {
        const std::vector<std::string> lines = RunGetfix(kind, "S   ", "????", "FLOW", "12/15/99");
        ASSERT_GT(lines.size(), 9u);
        // "(5X,A3,37X,A4,62X,A4,5X,'TOTAL')": the years at columns 46 and 112.
        EXPECT_EQ(lines[8].substr(45, 4), "1999");
        EXPECT_EQ(lines[8].substr(111, 4), "2000");
        EXPECT_EQ(lines[9].substr(46, 3), "DEC");
        EXPECT_EQ(lines[9].substr(112, 3), "NOV");
    }
    // Year 49 runs into 2050 (the system window, 50 is 2050).
    fixtures::WriteProgramDate("12/15/49");
    const std::vector<std::string> lines = RunGetfix(5, "S   ", "????", "FLOW", "12/15/49");
    EXPECT_EQ(lines[8].substr(45, 4), "2049");
    EXPECT_EQ(lines[8].substr(111, 4), "2050");
}

TEST(Getfix, EarlierReportDateReadsRebuiltHoldingsAndLeavesTheTransactionsAlone) {
    TempDataDir dir;
    fiafix::WriteData();
    fixtures::WriteTransactions("BONDS",
                                {fixtures::Transaction("B", "T1YR", "", " 1/15/97", 4000, 3950, 1, 2),
                                 fixtures::Transaction("B", "HICOUP", "", "10/01/98", 6000, 6500, 1, 7)});
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("TRBONDS.REC");
    fixtures::WritePrices(" 6/30/98", fiafix::Prices());
    for (const int16_t kind : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(kind);
        const std::vector<std::string> lines = RunGetfix(kind, "S   ", "????", "BONDS", " 6/30/98");
        if (kind == 5) {
            // The bought bond alone, not the stored holdings.
            EXPECT_EQ(Count(lines, "US TREASURY NOTE ONE YEAR"), 1);
            EXPECT_EQ(Count(lines, "HIGH COUPON BOND"), 0);
            EXPECT_EQ(Count(lines, "MUNICIPAL BOND"), 0);
        } else {
            EXPECT_EQ(Count(lines, "TOTALS/AVERAGES     4000.00     3950.00     4020.00"), 1);
        }
        EXPECT_EQ(TempDataDir::ReadBytes("TRBONDS.REC"), before);
    }
    EXPECT_EQ(TempDataDir::ReadBytes("TRBONDS.REC"), before);
}

}  // namespace
