// The form 1099-B blocks: their 31 lines, the second date, the purchase
// and sale columns, the difference, and the runs that end early.

#include "reports/gains_tax/form_1099b.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/record.h"
#include "reports/lists/broker_list.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/trades/commission_fixture.h"

namespace {

using fixtures::TempDataDir;

records::TransactionRecord Sale(const std::string& code, const std::string& date, double quantity,
                                float price, double commission, double fee, double amount,
                                int16_t security = 2) {
    records::TransactionRecord t =
        fixtures::Transaction(code, "IBM", "", date, quantity, amount, 0, security);
    t.price = price;
    t.commission = commission;
    t.broker = records::Fixed("ALDEN", 8);
    t.SetTradeExtra("        ", fee);
    return t;
}

void WriteData() {
    commission_fixture::WriteCommon("03/20/96");
    commission_fixture::WriteBrokers();
    fixtures::WriteLetterheadLines({"LEDRA TEST ADVISERS INCORPORATED", "100 WALL STREET",
                                    "NEW YORK NY 10005", "(212) 555-0100", "PAYER ID 13-1234567", "", "",
                                    ""});
    fixtures::WriteClients({
        {.id = "SMITH",
         .manager = "AB",
         .short_name = "JOHN Q PUBLIC",
         .tax_id = "123-45-6789",
         .home_phone = "2125550199",
         .custodian_account = "CUST-ACCOUNT-0001-XYZ-LONGER"},
        {.id = "JONES", .manager = "AB", .short_name = "MARY SMITH TRUST"},
        {.id = "OTHER", .manager = "ZZ", .short_name = "NOT THIS MANAGER"},
    });
    fixtures::WriteSecurityFiles(
        {{.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "C   "},
         {.symbol = "IBM", .cusip = "IBM", .description1 = "INTL BUSINESS MACHINES", .type = "N   "}});
    // The sale's amount is price x quantity less commission and fee: its
    // difference is 0.00.
    fixtures::WriteTransactions("SMITH",
                                {
                                    Sale("S", " 2/27/96", 1000, 102.5f, 75.00, 3.42, 102421.58),
                                    Sale("B", " 2/27/96", 12.5, 80.0f, 10.00, 0, 1015.00),
                                    Sale("SS", " 2/27/96", 10, 50.0f, 5.00, 0, 495.00),
                                    Sale("CS", " 2/27/96", 10, 40.0f, 5.00, 0, 405.00),
                                    Sale("B", " 2/28/96", 10, 40.0f, 5.00, 0, 405.00),   // other date
                                    Sale("DI", " 2/27/96", 10, 40.0f, 5.00, 0, 405.00),  // not a trade
                                });
    fixtures::WriteTransactions("OTHER", {Sale("B", " 2/27/96", 10, 40.0f, 5.00, 0, 405.00)});
    reports::Brksrt();
}

std::string Run1099(const std::string& mode, const std::string& account, const std::string& date,
                    std::string* second = nullptr) {
    std::string trade = date;
    std::string second_date = "        ";
    reports::T1099b(mode, account, "AB  ", trade, second_date, "F1099.TXT   ");
    if (second) *second = second_date;
    return fixtures::ReportText("F1099.TXT");
}

TEST(T1099b, EveryTradeOfTheDate) {
    TempDataDir dir;
    WriteData();
    std::string second;
    fixtures::CompareWithGolden("reports/gains_tax/form_1099b_all.txt",
                                Run1099("A   ", "        ", " 2/27/96", &second));
    EXPECT_EQ(second, " 3/ 1/96");
}

TEST(T1099b, SecondDateIsThreeDaysLater) {
    TempDataDir dir;
    WriteData();
    struct Case {
        const char* trade;
        const char* second;
    };
    for (const Case& c : {Case{" 2/27/96", " 3/ 1/96"}, Case{" 2/27/95", " 3/ 2/95"},
                          Case{"12/30/93", " 1/ 2/94"}, Case{"12/30/99", " 1/ 2/00"}}) {
        std::string second;
        Run1099("S   ", "SMITH   ", c.trade, &second);
        EXPECT_EQ(second, c.second) << c.trade;
    }
}

TEST(T1099b, NoTradesAndEarlyEnds) {
    TempDataDir dir;
    WriteData();
    const std::string none = Run1099("A   ", "        ", " 3/01/96");
    EXPECT_NE(none.find(" No trades to report for SMITH ."), std::string::npos);
    EXPECT_NE(none.find(" No trades to report for  3/ 1/96."), std::string::npos);
    EXPECT_EQ(none.find("OTHER"), std::string::npos);

    // A security record that cannot be read ends the run; the work file is
    // still finished and copied.
    fixtures::WriteTransactions("SMITH", {Sale("B", " 2/27/96", 10, 40.0f, 5.00, 0, 405.00, 9)});
    const std::string bad = Run1099("S   ", "SMITH   ", " 2/27/96");
    EXPECT_NE(bad.find(" Warning: EOF or error in reading security database."), std::string::npos);

    std::remove("BRSORT.DAT");
    const std::string brokers = Run1099("S   ", "SMITH   ", " 2/27/96");
    EXPECT_NE(brokers.find(" There are currently no brokers in the system."), std::string::npos);
}

}  // namespace
