// The investment history report: the page, its amounts, options 3 and 20,
// values without a price, the period without a start date.

#include "reports/history/investment_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/history/investment_history_fixture.h"

namespace {

using fixtures::TempDataDir;

std::string RunHistory(const char* selection, const char* manager, const char* account, const char* start,
                       const char* accrued = "N   ") {
    reports::Invhsty(selection, manager, records::Fixed(account, 8), start, "12/31/98", accrued, 3,
                     "HISTORY.TXT ", 12);
    return fixtures::ReportText("HISTORY.TXT");
}

struct HistoryCase {
    const char* golden;
    std::vector<std::pair<records::Opt, unsigned char>> options;
    const char* selection;
    const char* manager;
    const char* account;
    const char* start;
};

class HistoryGoldens : public ::testing::TestWithParam<HistoryCase> {
protected:
    TempDataDir dir_;
};

TEST_P(HistoryGoldens, MatchesGolden) {
    const HistoryCase& c = GetParam();
    historyfix::WriteData();
    for (const auto& [option, value] : c.options) fixtures::SetOptions({{option, value}});
    const std::string text = RunHistory(c.selection, c.manager, c.account, c.start);
    for (const std::string& line : fixtures::ReportFileLines("HISTORY.TXT")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden(std::string("reports/history/") + c.golden, text);
}

INSTANTIATE_TEST_SUITE_P(
    History, HistoryGoldens,
    ::testing::Values(
        // Income, fees, a sale, additions and withdrawals; the municipal
        // interest of a type 7 security; an unmanaged lot left out.
        HistoryCase{"investment_history_one_account.txt", {}, "S   ", "????", "IH1", " 1/01/98"},
        // Option 3: miscellaneous income as capital distribution; option
        // 20: the fees as one management fee.
        HistoryCase{"investment_history_options.txt",
                    {{records::Opt::kAutopostIncome, 1}, {records::Opt::kFeesAsExpense, 1}},
                    "S   ",
                    "????",
                    "IH1",
                    " 1/01/98"},
        // By manager: IH2's beginning value has no price, so it and every
        // line depending on it show N/A.
        HistoryCase{"investment_history_all.txt", {}, "A   ", "????", "", " 1/01/98"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// Without a start date each account's period starts on its opening date.
TEST(InvestmentHistory, PeriodFromTheOpeningDate) {
    TempDataDir dir;
    historyfix::WriteData();
    const std::string text = RunHistory("A   ", "ZZ??", "", "        ");
    EXPECT_NE(text.find("\n" + std::string(51, ' ') + "JULY 1, 1998 - DECEMBER 31, 1998\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("HISTORY ACCOUNT"), std::string::npos);
    EXPECT_NE(text.find("CASH OR SECURITIES DEPOSITED              $         500.00"), std::string::npos);
    // A code the manager table does not know gives no page, and says so.
    EXPECT_EQ(RunHistory("A   ", "QQQQ", "", " 1/01/98"),
              " Manager code QQQQ is not in the manager code table.\n");
    // One account by its identifier, whatever its manager code.
    EXPECT_NE(RunHistory("S   ", "QQQQ", "IH3", " 7/01/98").find("NEW ACCOUNT"), std::string::npos);
}

TEST(InvestmentHistory, AmountTexts) {
    EXPECT_EQ(reports::Hstamt(-99999.99), "       N/A      ");
    EXPECT_EQ(reports::Hstamt(1234567.5), "   1,234,567.50 ");
    EXPECT_EQ(reports::Hstamt(-150), "        (150.00)");
    EXPECT_EQ(reports::Hstamt(0), "           0.00 ");
}

TEST(InvestmentHistory, ClassifierTable) {
    struct Case {
        const char* code;
        int category;
        const char* word;
        char type;
        bool on_start;
        double amount;
        double accrued;
        double reports::HistoryAmounts::*field;
        double expected;
    } cases[] = {
        {"DI", 1, "    ", 'H', false, 10, 0, &reports::HistoryAmounts::dividends, 10},
        {"DE", 2, "    ", 'H', false, 10, 0, &reports::HistoryAmounts::dividends, -10},
        {"II", 7, "    ", '7', false, 10, 0, &reports::HistoryAmounts::municipal_interest, 10},
        {"IP", 10, "    ", 'H', false, 10, 0, &reports::HistoryAmounts::other_interest, -10},
        {"SI", 3, "    ", 'H', false, 10, 0, &reports::HistoryAmounts::deposited, 10},
        {"SI", 3, "    ", 'H', true, 10, 0, &reports::HistoryAmounts::deposited, 0},  // on the start date
        {"FO", 6, "    ", 'H', true, 10, 0, &reports::HistoryAmounts::withdrawn, -10},
        {"MF", 11, "B   ", 'H', false, 10, 0, &reports::HistoryAmounts::advisory_fees, 0},
        {"BC", 12, "B   ", 'H', false, 10, 0, &reports::HistoryAmounts::custodian_fees, -10},
        {"DI", 1, "N   ", 'H', false, 10, 0, &reports::HistoryAmounts::withdrawn, -10},
        {"IE", 8, "N   ", 'H', false, 10, 0, &reports::HistoryAmounts::deposited, 10},
        {"AO", 16, "    ", 'H', false, 10, 0, &reports::HistoryAmounts::adjustments, -10},
        {"B", 0, "    ", 'H', false, 1000, 12.5, &reports::HistoryAmounts::other_interest, -12.5},
        {"S", 0, "    ", '7', false, 1000, 12.5, &reports::HistoryAmounts::municipal_interest, 12.5},
    };
    for (const Case& c : cases) {
        reports::HistoryAmounts a;
        reports::Hstcls(a, c.category, c.code, c.amount, 4, c.accrued, c.on_start, c.word, c.type, false);
        EXPECT_EQ(a.*c.field, c.expected) << c.code << " " << c.word << (c.on_start ? " on start" : "");
        EXPECT_EQ(a.total_income, a.other_interest + a.dividends + a.municipal_interest);
    }
    reports::HistoryAmounts a;
    reports::Hstcls(a, 3, "SI", 100, 60, 0, false, "    ", 'H', false);
    EXPECT_EQ(a.unrealized_withdrawals, -40);
    reports::Hstcls(a, 13, "MI", 7, 0, 0, false, "    ", 'H', true);
    EXPECT_EQ(a.capital_distribution, 7);
    EXPECT_EQ(a.other_interest, 0);
}

TEST(InvestmentHistory, AccruedInterestRaisesBothValues) {
    TempDataDir dir;
    historyfix::WriteData();
    const reports::HistoryValue without = reports::Hstval("IH1", "12/31/98", "N   ");
    const reports::HistoryValue with = reports::Hstval("IH1", "12/31/98", "Y   ");
    // 10,000 of a 5% bond from 07/01/98 to 12/31/98: 180 days of 30/360.
    EXPECT_NEAR(with.market_value - without.market_value, 250.0, 0.005);
    EXPECT_EQ(with.cost, without.cost);
}

}  // namespace
