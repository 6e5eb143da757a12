// The report data directory fixture, written byte by byte, read back
// through the record layer's codecs and services: the two must agree on
// every place, or report goldens built on the fixture would rest on
// misplaced fields.

#include "tests/fixtures/report_data.h"

#include <gtest/gtest.h>

#include "engine/value_history.h"
#include "records/account_file.h"
#include "records/account_lists.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/security_file.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

TEST(ReportDataFixture, AccountsReadBackThroughTheAccountCodec) {
    TempDataDir dir;
    fixtures::ClientFields c;
    c.id = "SMITH1";
    c.address = {"NAME", "LINE 2", "LINE 3", "LINE 4", "LINE 5"};
    c.manager = "ABCD";
    c.short_name = "ALPHA FUND";
    c.opened = "03/15/95";
    c.custodian_account = "1234567890123456ABCDEFGHIJKLMNOP";
    c.custodian = "CUST01";
    c.broker = "BRK01";
    c.fiscal_year_end = 6;
    c.combined = {"ACC001", "ACC002", "ACC003", "ACC004", "ACC005",
                  "ACC006", "ACC007", "ACC008", "ACC009", "ACC010"};
    c.cash_code = "S";
    c.index1_price = 1.5f;
    c.index2_price = 2.5f;
    c.opening_value = 1200000.0;
    c.fee_code = "A";
    c.setup_charge = 250.0f;
    c.billing_frequency = 3;
    c.objective = "GROW";
    c.notes = {"N1", "N2", "N3", "N4"};
    fixtures::WriteClients({c});

    records::CAccountEntry a;
    ASSERT_TRUE(records::ReadAccountEntry(1, a));
    EXPECT_EQ(a.name, "NAME");
    EXPECT_EQ(a.address[0], "LINE 2");
    EXPECT_EQ(a.address[3], "LINE 5");
    EXPECT_EQ(a.manager_code, "ABCD");
    EXPECT_EQ(a.short_name, "ALPHA FUND");
    EXPECT_EQ(a.date_opened, "03/15/95");
    EXPECT_EQ(a.custodian1 + a.custodian2, "1234567890123456ABCDEFGHIJKLMNOP");
    EXPECT_EQ(a.custodian_id, "CUST01");
    EXPECT_EQ(a.broker_id, "BRK01");
    EXPECT_EQ(a.fiscal_year_end_month, 6);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(a.combined[i], c.combined[i]) << i;
    EXPECT_EQ(a.cash_balance_code, "S");
    EXPECT_EQ(a.index1_price, 1.5f);
    EXPECT_EQ(a.index2_price, 2.5f);
    EXPECT_EQ(a.opening_value, 1200000.0);
    EXPECT_EQ(a.management_fee_code, "A");
    EXPECT_EQ(a.setup_charge, 250.0f);
    EXPECT_EQ(a.billing_frequency, 3);
    EXPECT_EQ(a.investment_objective, "GROW");
    EXPECT_EQ(a.notes[3], "N4");
}

TEST(ReportDataFixture, SecuritiesPricesAndHistoryReadBack) {
    TempDataDir dir;
    fixtures::WriteSecurityFiles({{.symbol = "IBM", .cusip = "459200101", .description1 = "INTL BUSINESS"},
                                  {.symbol = "T 5 02",
                                   .cusip = "912827ZZ1",
                                   .description1 = "US TREASURY",
                                   .type = "3",
                                   .maturity = "11/15/02",
                                   .rate = 5.25f,
                                   .moody_rating = "AAA",
                                   .sp_rating = "AA+"}});
    EXPECT_EQ(records::ReadSecurityIndex(), (std::vector<std::string>{"IBM         ", "T 5 02      "}));
    records::SecurityRecord s;
    ASSERT_TRUE(records::ReadSecurity(2, s));
    EXPECT_EQ(s.cusip, "912827ZZ1   ");
    EXPECT_EQ(s.TypeCharacter(), '3');
    EXPECT_EQ(s.due_date, "11/15/02");
    EXPECT_EQ(s.rate, 5.25f);
    records::SecurityExtension terms;
    ASSERT_TRUE(records::ReadSecurityTerms(2, terms));
    EXPECT_EQ(terms.moody_rating, "AAA ");
    EXPECT_EQ(terms.sp_rating, "AA+ ");

    fixtures::WritePrices(" 3/ 5/97", {101.5, -99999.999999, 7.25});
    double price = 0;
    records::Rwpric(0, -30, " 3/ 5/97", 1, price);
    EXPECT_EQ(price, 101.5);
    records::Rwpric(0, -30, " 3/ 5/97", 2, price);
    EXPECT_EQ(price, records::kNoPriceValue);
    records::Rwpric(0, -30, " 3/ 5/97", 3, price);
    EXPECT_EQ(price, 7.25);

    std::array<double, 12> values{};
    for (std::size_t m = 0; m < 12; ++m) values[m] = 1000.0 * static_cast<double>(m + 1);
    fixtures::WriteValueHistory("SMITH1", 98, values);
    int16_t record = 0;
    int16_t year = 0;
    engine::MonthlyValues market{}, flows{}, incomes{};
    engine::Rperf("SMITH1", 98, record, year, market, flows, incomes);
    EXPECT_EQ(record, 2);
    EXPECT_EQ(market, values);
}

}  // namespace
