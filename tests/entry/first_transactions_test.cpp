// Getting started with transactions, end to end: the script
// tests/app/scripts/getting_started_transactions.script run on an empty
// data directory; the transactions it leaves in TRSMITH1.REC, the lots and
// the cash balance as the lot list gives them. The script itself compares
// TRSMITH1.REC byte for byte with its hand-written listing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/lot_lists.h"
#include "records/account_records.h"
#include "records/prices.h"
#include "records/security_file.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;

TEST(FirstTransactions, TheScriptLeavesItsTransactionsLotsAndCash) {
    TempDataDir dir;
    {
        tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run.Started());
        EXPECT_TRUE(run.RunScriptFile(std::string(LEDRA_TESTS_DIR) +
                                      "/app/scripts/getting_started_transactions.script"));
        for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    }

    const std::vector<records::TransactionRecord> trs = fixtures::ReadTransactions("SMITH1");
    ASSERT_EQ(trs.size(), 5u);
    struct Expected {
        const char* code;
        const char* symbol;
        const char* lot;
        const char* date;
        double quantity;
        float price;
        double amount;
        double commission;
    };
    const Expected expected[] = {
        {"FI  ", "CASH        ", "    ", " 3/ 2/98", 0, 0, 10000.0, 0},
        {"B   ", "IBM         ", "1   ", " 3/ 3/98", 100, 50.0f, 5025.0, 25.0},
        {"S   ", "IBM         ", "1   ", " 6/ 1/98", 40, 55.0f, 2200.0, 0},
        {"SI  ", "T10         ", "B1  ", " 7/ 1/98", 10000, 0, 10100.0, 0},
        {"DI  ", "CASH        ", "    ", " 9/15/98", 0, 0, 30.0, 0},
    };
    for (std::size_t i = 0; i < trs.size(); ++i) {
        SCOPED_TRACE(i);
        const records::TransactionRecord& t = trs[i];
        EXPECT_EQ(t.code, expected[i].code);
        EXPECT_EQ(t.trade_date, expected[i].date);
        EXPECT_EQ(t.tax_lot, expected[i].lot);
        if (expected[i].quantity != 0) {
            EXPECT_EQ(t.symbol, expected[i].symbol);
            EXPECT_EQ(t.quantity, expected[i].quantity);
        }
        if (expected[i].price != 0) {
            EXPECT_EQ(t.price, expected[i].price);
        }
        EXPECT_NEAR(t.amount, expected[i].amount, 0.005);
        EXPECT_EQ(t.commission, expected[i].commission);
    }
    EXPECT_EQ(trs[3].lot_date, " 1/ 5/97");
    EXPECT_EQ(trs[3].lot_cost, 9800.0);
    EXPECT_EQ(trs[4].SourceSymbol(), "IBM         ");
    // IBM is entry 2, after the cash security: its dividend is its own.
    EXPECT_EQ(trs[4].symbol, "IBM         ");
    EXPECT_EQ(trs[4].security_record, 2);

    double cash = 0;
    int16_t count = 0;
    std::vector<engine::LotListEntry> lots;
    engine::Push("SMITH1  ", "IBM         ", cash, count, lots);
    EXPECT_NEAR(cash, 10000.0 - 5025.0 + 2200.0 + 30.0, 0.005);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(lots[0].tax_lot, "1   ");
    EXPECT_EQ(lots[0].quantity, 60.0);
    engine::Push("SMITH1  ", "T10         ", cash, count, lots);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(lots[0].tax_lot, "B1  ");
    EXPECT_EQ(lots[0].quantity, 10000.0);
    EXPECT_EQ(lots[0].open_date, " 1/ 5/97");
}

// The list goes on from there: the Transaction Editor lists the five
// transactions, a double-click changes the buy to 120 shares, and the lot
// holds 80 after the sale of 40.
TEST(FirstTransactions, TheTransactionListChangesTheBuy) {
    TempDataDir dir;
    {
        tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run.Started());
        EXPECT_TRUE(run.RunScriptFile(std::string(LEDRA_TESTS_DIR) +
                                      "/app/scripts/getting_started_transactions.script"));
        EXPECT_TRUE(run.RunScriptFile(std::string(LEDRA_TESTS_DIR) +
                                      "/app/scripts/continued/getting_started_transaction_list.script"));
        for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    }
    double cash = 0;
    int16_t count = 0;
    std::vector<engine::LotListEntry> lots;
    engine::Push("SMITH1  ", "IBM         ", cash, count, lots);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(lots[0].quantity, 80.0);
    EXPECT_NEAR(cash, 10000.0 - 6025.0 + 2200.0 + 30.0, 0.005);
}

// A new firm's first security is not taken for its cash: tests/app/
// scripts/first_security.script adds STK to an empty data directory, buys
// it, posts its dividend and prices it. The dividend is filed under STK,
// the price file holds STK's price at its entry, the appraisal values the
// 100 shares at 60 and the ledger runs from 0.00 to the cash left.
TEST(FirstTransactions, TheFirstSecurityAddedIsNotTheCash) {
    TempDataDir dir;
    {
        tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run.Started());
        EXPECT_TRUE(run.RunScriptFile(std::string(LEDRA_TESTS_DIR) + "/app/scripts/first_security.script"));
        for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    }
    EXPECT_EQ(records::ReadSecurityIndex(), (std::vector<std::string>{"CASH        ", "STK         "}));

    const std::vector<records::TransactionRecord> trs = fixtures::ReadTransactions("SMITH1");
    ASSERT_EQ(trs.size(), 3u);
    EXPECT_EQ(trs[0].symbol, "CASH        ");
    EXPECT_EQ(trs[0].security_record, 1);
    EXPECT_EQ(trs[1].symbol, "STK         ");
    EXPECT_EQ(trs[1].security_record, 2);
    EXPECT_EQ(trs[2].code, "DI  ");
    EXPECT_EQ(trs[2].symbol, "STK         ");
    EXPECT_EQ(trs[2].security_record, 2);

    const std::vector<double> prices = records::ReadPriceFile("12/08/98");
    ASSERT_GE(prices.size(), 2u);
    EXPECT_EQ(prices[1], 60.0);

    // 100 STK at 60 and the cash: 6,000.00 + 5,005.00.
    const std::string appraisal = fixtures::ReportText("APPRAISE.TXT");
    const std::string stk = fixtures::LineWith(appraisal, "STOCK COMPANY");
    EXPECT_NE(stk.find("6,000.00"), std::string::npos) << appraisal;
    EXPECT_EQ(stk.find("N/A"), std::string::npos) << appraisal;
    EXPECT_NE(fixtures::LineWith(appraisal, "TOTAL ACCOUNT").find("11,005.00"), std::string::npos)
        << appraisal;

    const std::string ledger = fixtures::ReportText("LEDGER.TXT");
    EXPECT_NE(fixtures::LineWith(ledger, "PURCHASE").find("STOCK COMPANY"), std::string::npos) << ledger;
    EXPECT_NE(fixtures::LineWith(ledger, "DIV INCOME").find("STK"), std::string::npos) << ledger;
    EXPECT_NE(fixtures::LineWith(ledger, "OPENING BALANCE").find("0.00"), std::string::npos) << ledger;
    // 10,000 - 5,025 + 30
    EXPECT_NE(fixtures::LineWith(ledger, "CLOSING BALANCE").find("5,005.00"), std::string::npos) << ledger;
}

}  // namespace
