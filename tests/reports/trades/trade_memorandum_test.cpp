// The trade memorandum: letters per account and broker, sections, the
// settlement date, the net amount, continuation pages and unknown brokers.

#include "reports/trades/trade_memorandum.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

records::TransactionRecord Trade(const std::string& code, const std::string& date, const std::string& broker,
                                 double quantity, float price, int16_t security, double commission = 0,
                                 double interest = 0, double fee = 0) {
    records::TransactionRecord t = fixtures::Transaction(code, "X", "", date, quantity, 0, 0, security);
    t.broker = records::Fixed(broker, 8);
    t.price = price;
    t.commission = commission;
    t.bond_interest = interest;
    t.SetTradeExtra("        ", fee);
    return t;
}

void WriteData(short page_length = 58) {
    fixtures::WriteProgramDate("02/27/96");
    fixtures::WriteFirmHeading("   LEDRA TEST ADVISERS", page_length);
    fixtures::WriteLetterheadLines({"LEDRA TEST ADVISERS INC", "100 WALL STREET", "NEW YORK NY 10005", "", "",
                                    "JANE ROE, PRINCIPAL", "", ""});
    fixtures::WriteBrokers({
        {.id = "XBROKER",
         .lines = {"X BROKERAGE", "1 MARKET PLACE", "CHICAGO IL", "", ""},
         .attention = "ATTN: TRADE DESK",
         .executive = "EXECUTIVE",
         .telephone = "3125550100"},
        {.id = "YBROKER",
         .lines = {"Y SECURITIES", "", "", "", ""},
         .attention = "ATTN: Y DESK",
         .telephone = "2125550111"},
    });
    fixtures::WriteCustodians(
        {{.id = "CUST1",
          .lines = {"FIRST TRUST BANK", "CUSTODY DEPT", "2 BANK ST", "BOSTON MA", "ATTN: SETTLEMENTS"}}});
    fixtures::WriteClients({
        {.id = "SMITH",
         .address = {"JOHN Q PUBLIC"},
         .manager = "AB",
         .custodian_account = "SMITH-CUSTODY-0001",
         .custodian = "CUST1",
         .broker = "XBROKER"},
        {.id = "LONELY", .address = {"NOBODY KNOWS"}, .manager = "AB", .broker = "NOSUCH"},
    });
    fixtures::WriteSecurityFiles(
        {{.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "C   "},
         {.symbol = "IBM", .cusip = "IBM", .description1 = "INTL BUSINESS MACHINES", .type = "N   "},
         {.symbol = "BOND",
          .cusip = "123456AB7",
          .description1 = "ACME CORP DEBENTURES",
          .description2 = "7.5% DUE 6/15/05",
          .type = "B   "}});
}

std::string RunLetters(const std::string& selection, const std::string& account, const std::string& date,
                       std::string* settlement = nullptr) {
    std::string trade = date;
    std::string settle = "        ";
    reports::Bnkltr(selection, account, "AB  ", trade, settle, "MEMO.TXT    ");
    if (settlement) *settlement = settle;
    return fixtures::ReportText("MEMO.TXT");
}

TEST(Bnkltr, LettersPerBrokerAndSections) {
    TempDataDir dir;
    WriteData();
    fixtures::WriteTransactions("SMITH",
                                {
                                    Trade("B", " 2/27/96", "XBROKER", 2.4, 101.25f, 2, 12.00),
                                    Trade("S", " 2/27/96", "YBROKER", 10000, 98.5f, 3, 25.00, 100.00, 1.50),
                                    Trade("S", " 2/27/96", "XBROKER", 2.5, 100.0f, 2, 10.00, 0, 0.25),
                                    Trade("B", " 2/26/96", "XBROKER", 5, 100.0f, 2),  // other date
                                    Trade("B", " 2/27/96", "XBROKER", 10000, 98.5f, 3, 50.00, 25.00),
                                    Trade("SS", " 2/27/96", "YBROKER", 10000, 98.5f, 3, 99.00),
                                });
    fixtures::WriteTransactions("LONELY", {Trade("CS", " 2/27/96", "", 100, 50.0f, 2, 5.00)});
    std::string settlement;
    fixtures::CompareWithGolden("reports/trades/trade_memorandum_all.txt",
                                RunLetters("A   ", "        ", " 2/27/96", &settlement));
    EXPECT_EQ(settlement, " 3/ 1/96");
}

TEST(Bnkltr, SettlementDates) {
    TempDataDir dir;
    WriteData();
    struct Case {
        const char* trade;
        const char* settlement;
    };
    for (const Case& c :
         {Case{" 2/27/96", " 3/ 1/96"}, Case{" 2/27/97", " 3/ 2/97"}, Case{"12/30/99", " 1/ 2/ 0"}}) {
        std::string settlement;
        EXPECT_NE(RunLetters("S   ", "SMITH   ", c.trade, &settlement)
                      .find("No trades to be reported for this date."),
                  std::string::npos);
        EXPECT_EQ(settlement, c.settlement) << c.trade;
    }
}

TEST(Bnkltr, LongLetterNumbersItsPagesInFull) {
    TempDataDir dir;
    WriteData(20);
    std::vector<records::TransactionRecord> trades(33, Trade("B", " 2/27/96", "XBROKER", 1, 10.0f, 2));
    fixtures::WriteTransactions("SMITH", trades);
    const std::string text = RunLetters("S   ", "SMITH   ", " 2/27/96");
    EXPECT_NE(text.find("PAGE 9\n"), std::string::npos);
    EXPECT_NE(text.find("PAGE 10\n"), std::string::npos);
    EXPECT_EQ(text.find("PAGE *"), std::string::npos);
}

}  // namespace
