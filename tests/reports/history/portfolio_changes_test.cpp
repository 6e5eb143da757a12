// The portfolio changes report: its sections, totals, balance lines,
// pages and limits.

#include "reports/history/portfolio_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/history/portfolio_changes_fixture.h"

namespace {

using fixtures::TempDataDir;

std::string RunChanges(const char* selection, const char* manager, const char* account) {
    std::string id = records::Fixed(account, 8);
    reports::Portchng(selection, manager, id, " 1/01/98", "12/31/98", std::string(12, ' '), "CHANGES.TXT ",
                      12);
    return fixtures::ReportText("CHANGES.TXT");
}

struct ChangesCase {
    const char* golden;
    std::vector<std::pair<records::Opt, unsigned char>> options;
    const char* selection;
    const char* manager;
    const char* account;
};

class ChangesGoldens : public ::testing::TestWithParam<ChangesCase> {
protected:
    TempDataDir dir_;
};

TEST_P(ChangesGoldens, MatchesGolden) {
    const ChangesCase& c = GetParam();
    changesfix::WriteData();
    for (const auto& [option, value] : c.options) fixtures::SetOptions({{option, value}});
    const std::string text = RunChanges(c.selection, c.manager, c.account);
    for (const std::string& line : fixtures::ReportFileLines("CHANGES.TXT")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden(std::string("reports/history/") + c.golden, text);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangesGoldens,
    ::testing::Values(
        // Every section; the bond purchase's interest in Purchased and in
        // Income & Expenses; balance lines (option 58) with a negative
        // closing balance; option 2's coupon and due date line.
        ChangesCase{"portfolio_changes_all.txt",
                    {{records::Opt::kCouponDueDescription, 1}, {records::Opt::kCashBalances, 1}},
                    "S   ",
                    "????",
                    "PC1"},
        // By manager code: PC2 has nothing in the period, framed by its
        // balances.
        ChangesCase{"portfolio_changes_none.txt", {{records::Opt::kCashBalances, 1}}, "A   ", "PC02", ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(PortfolioChanges, Option11LeavesOutCashEquivalentPurchasesButNotTheirIncome) {
    TempDataDir dir;
    changesfix::WriteData();
    std::string text = RunChanges("S   ", "????", "PC1");
    EXPECT_NE(text.find(" MONEY MARKET FUND        3/01/98"), std::string::npos) << text;
    fixtures::SetOptions({{records::Opt::kNoCashEquivalentChanges, 1}});
    text = RunChanges("S   ", "????", "PC1");
    EXPECT_EQ(text.find(" MONEY MARKET FUND        3/01/98"), std::string::npos) << text;
    EXPECT_NE(text.find(" MONEY MARKET FUND        4/01/98"), std::string::npos) << text;
}

TEST(PortfolioChanges, SelectionByManagerAndByAccount) {
    TempDataDir dir;
    changesfix::WriteData();
    auto accounts = [](const std::string& text) {
        std::vector<std::string> found;
        for (const char* name : {"CHANGES ACCOUNT", "QUIET ACCOUNT", "BUSY ACCOUNT"})
            if (text.find(name) != std::string::npos) found.push_back(name);
        return found;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(accounts(RunChanges("A   ", "????", "")),
              (V{"CHANGES ACCOUNT", "QUIET ACCOUNT", "BUSY ACCOUNT"}));
    EXPECT_EQ(accounts(RunChanges("A   ", "PC?2", "")), (V{"QUIET ACCOUNT"}));
    EXPECT_EQ(accounts(RunChanges("A   ", "??  ", "")), V{});
    EXPECT_EQ(accounts(RunChanges("S   ", "ZZZZ", "PC3")), (V{"BUSY ACCOUNT"}));
    EXPECT_EQ(RunChanges("S   ", "????", "NOBODY"), "");  // not in the index: no line
    // The account argument names the last account reported.
    std::string id = "        ";
    reports::Portchng("A   ", "????", id, " 1/01/98", "12/31/98", std::string(12, ' '), "CHANGES.TXT ", 12);
    EXPECT_EQ(id, "PC3     ");
}

// With page length 58 the page breaks after the detail line that brings
// the lines used to 51: the 40th purchase of a first page.
TEST(PortfolioChanges, PageBreaksAfterTheLineThatReachesFiftyOne) {
    TempDataDir dir;
    changesfix::WriteData();
    changesfix::WritePurchases(45);
    RunChanges("S   ", "????", "PC3");
    const std::vector<std::string> lines = fixtures::ReportFileLines("CHANGES.TXT");
    std::vector<std::size_t> details;
    std::size_t second_page = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, 23, " INTL BUSINESS MACHINES") == 0) details.push_back(i);
        if (records::TrimRight(lines[i]).find("PAGE   2") != std::string::npos) second_page = i;
    }
    ASSERT_EQ(details.size(), 45u);
    ASSERT_GT(second_page, 0u);
    EXPECT_EQ(details[39], 57u);  // 18 lines of headings, then 40 purchases fill the page
    EXPECT_EQ(second_page, 58u + 4u);
    EXPECT_EQ(records::TrimRight(lines[58 + 12 + 3]), " Purchased");  // the section goes on under its title
}

// The 1,000th purchase still prints; the 1,001st puts the limit line in
// place of the whole section.
TEST(PortfolioChanges, SectionLimit) {
    TempDataDir dir;
    changesfix::WriteData();
    fixtures::SetOptions({{records::Opt::kNoPageNumbers, 1}});
    changesfix::WritePurchases(1000);
    std::string text = RunChanges("S   ", "????", "PC3");
    EXPECT_EQ(text.find("Maximum number"), std::string::npos);
    EXPECT_NE(text.find(" Purchased\n"), std::string::npos);
    changesfix::WritePurchases(1001);
    text = RunChanges("S   ", "????", "PC3");
    EXPECT_NE(
        text.find("\n Maximum number of purchase transactions is 1000, re-run report using a smaller time "
                  "interval.\n"),
        std::string::npos);
    EXPECT_EQ(text.find(" Purchased\n"), std::string::npos);
    EXPECT_EQ(text.find("INTL BUSINESS MACHINES"), std::string::npos);
    // The limit counts as transactions: no "no applicable transactions".
    EXPECT_EQ(text.find("There are no applicable transactions."), std::string::npos);
}

TEST(PortfolioChanges, PartsOfTheLines) {
    EXPECT_EQ(reports::Datrng(980101.0f, 1001231.0f), " 1/ 1/98 - 12/31/ 0");  // as Wrdate writes dates
    struct Case {
        std::string text;
        int n;
        std::string expected;
        int16_t flag;
    } cases[] = {
        {"      12.50 ", 12, "    $ 12.50 ", 0},  // the blank at 12 is not taken
        {"     (12.50)", 12, "   $ (12.50)", 0},
        {"123456789012", 12, "123456789012", -1},  // no room
    };
    for (Case& c : cases) {
        int16_t flag = 7;
        reports::Putdl2(c.text, c.n, flag);
        EXPECT_EQ(c.text, c.expected);
        EXPECT_EQ(flag, c.flag);
    }
    // Keys compare as signed bytes: a code above 127 sorts before the blank.
    std::vector<std::string> keys = {std::string(42, 'B'), std::string(42, ' '),
                                     "\xC1" + std::string(41, 'A'), std::string(42, 'A')};
    std::vector<int16_t> tags = {1, 2, 3, 4};
    reports::Shel42(4, keys, tags);
    EXPECT_EQ(tags, (std::vector<int16_t>{3, 2, 4, 1}));
}

}  // namespace

namespace {

// A sale whose gain record cannot be read says so, prints with zeros and
// stays out of the totals.
TEST(PortfolioChanges, SaleWithoutItsGainRecord) {
    TempDataDir dir;
    changesfix::WriteData();
    std::vector<records::TransactionRecord> t = fixtures::ReadTransactions("PC1");
    ASSERT_EQ(records::TrimRight(t[8].code), "S");
    t[8].gain_record = 77;
    fixtures::WriteTransactionAt("PC1", 10, t[8]);
    const std::string text = RunChanges("S   ", "????", "PC1");
    EXPECT_NE(text.find("\n EOF IN PC1     GAIN/LOSS FILE, RECORD NO.  77\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n INTL BUSINESS MACHINES   6/01/98  1/10/98          50.000       0.000         $ "
                        "0.00      120.00"
                        "        0.00        0.00  01\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("     $ 4,950.00                5,100.00    $ 150.00\n"), std::string::npos) << text;
}

}  // namespace
