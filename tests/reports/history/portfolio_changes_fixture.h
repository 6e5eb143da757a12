#pragma once

// The data directory of the portfolio changes tests: the period 01/01/98
// to 12/31/98, program date 12/31/98.
//
// Securities, by position: 1 CASH (type 1), 2 INTL BUSINESS MACHINES
// (type H), 3 US TREASURY NOTE (type 3, 6.000% due 11/15/05), 4 MONEY
// MARKET FUND (type 1), 5 XYZ CORP (type H, second line CLASS A COMMON).
// Accounts: PC1 (manager PC01) with transactions of every section, PC2
// (PC02) with only a deposit before the period, PC3 (PC03) with as many
// purchases as a test asks for (WritePurchases).

#include <cstdio>
#include <string>
#include <vector>

#include "engine/rebuild.h"
#include "records/account_records.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"

namespace changesfix {

inline records::TransactionRecord Cash(const std::string& code, const std::string& date, double amount,
                                       const std::string& text) {
    records::TransactionRecord t = fixtures::Transaction(code, "CASH", "", date, amount, amount, 0, 1);
    t.SetCashText(text);
    return t;
}

inline std::vector<records::TransactionRecord> Pc1Transactions() {
    using fixtures::Transaction;
    std::vector<records::TransactionRecord> t;
    t.push_back(Cash("FI", "12/15/97", 1234.56, "OPENING DEPOSIT"));  // before the period
    t.push_back(Cash("II", " 1/01/98", 5.0, "BANK INTEREST"));        // on the start date
    // Two lots of one security on one day: lot 01 lists before lot 02.
    auto ibm2 = Transaction("B", "IBM", "02", " 1/10/98", 10, 1000, 2, 2);
    ibm2.price = 100;
    t.push_back(ibm2);
    auto ibm1 = Transaction("B", "IBM", "01", " 1/10/98", 100, 10000, 2, 2);
    ibm1.price = 100;
    t.push_back(ibm1);
    auto bond = Transaction("B", "T 6 05", "01", " 2/01/98", 10000, 9900, 3, 3);
    bond.price = 99;
    bond.bond_interest = 12.5;
    t.push_back(bond);
    auto mmf = Transaction("B", "MMF", "01", " 3/01/98", 5000, 5000, 4, 4);
    mmf.price = 1;
    t.push_back(mmf);
    auto dividend = Transaction("DI", "CASH", "", " 3/15/98", 25, 25, 0, 2);
    dividend.SetCashText("IBM");
    t.push_back(dividend);
    auto fund_dividend = Transaction("DI", "CASH", "", " 4/01/98", 10, 10, 0, 4);
    fund_dividend.SetCashText("MMF");
    t.push_back(fund_dividend);
    auto sale = Transaction("S", "IBM", "01", " 6/01/98", 50, 6000, 2, 2);
    sale.price = 120;
    sale.lot_date = " 1/10/98";
    t.push_back(sale);
    t.push_back(Cash("MF", " 6/30/98", 150, "MANAGEMENT FEE"));
    auto short_sale = Transaction("SS", "XYZ", "01", " 7/01/98", 100, 3000, 5, 5);
    short_sale.price = 30;
    short_sale.lot_cost = 3000;
    t.push_back(short_sale);
    auto cover = Transaction("CS", "XYZ", "01", " 8/01/98", 100, 2500, 5, 5);
    cover.price = 25;
    cover.lot_cost = -99999.99;  // no cost: the gain record's basis
    t.push_back(cover);
    auto in = Transaction("SI", "XYZ", "02", " 9/01/98", 100, 2800, 5, 5);
    in.lot_cost = 2000;
    in.lot_date = " 3/03/95";
    t.push_back(in);
    t.push_back(Cash("AI", " 9/15/98", 500, "ADJUSTMENT IN"));
    t.push_back(Cash("FO", "10/01/98", 1000, "WITHDRAWAL"));
    auto out = Transaction("SO", "IBM", "02", "11/01/98", 10, 1300, 2, 2);
    out.lot_cost = 1000;
    out.lot_date = " 1/10/98";
    t.push_back(out);
    auto bond_sale = Transaction("S", "T 6 05", "01", "12/01/98", 5000, 5100, 3, 3);
    bond_sale.price = 102;
    bond_sale.bond_interest = 30;
    bond_sale.lot_date = " 2/01/98";
    t.push_back(bond_sale);
    t.push_back(Cash("AO", "12/31/98", 200, "FEE TRANSFER"));  // on the end date
    t.push_back(Cash("FI", " 1/02/99", 999, "AFTER THE PERIOD"));
    return t;
}

inline void WriteData() {
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    fixtures::WriteProgramDate("12/31/98");
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "1"},
        {.symbol = "IBM", .cusip = "459200101", .description1 = "INTL BUSINESS MACHINES", .type = "H"},
        {.symbol = "T 6 05",
         .cusip = "912827ZZ1",
         .description1 = "US TREASURY NOTE",
         .type = "3",
         .maturity = "11/15/05",
         .rate = 6.0f},
        {.symbol = "MMF", .cusip = "MMF", .description1 = "MONEY MARKET FUND", .type = "1"},
        {.symbol = "XYZ",
         .cusip = "XYZ",
         .description1 = "XYZ CORP",
         .description2 = "CLASS A COMMON",
         .type = "H"},
    });
    fixtures::WriteClients({{.id = "PC1", .manager = "PC01", .short_name = "CHANGES ACCOUNT"},
                            {.id = "PC2", .manager = "PC02", .short_name = "QUIET ACCOUNT"},
                            {.id = "PC3", .manager = "PC03", .short_name = "BUSY ACCOUNT"}});
    fixtures::WriteTransactions("PC1", Pc1Transactions());
    fixtures::WriteTransactions("PC2", {Cash("FI", "11/01/97", 100, "DEPOSIT")});
    fixtures::WriteTransactions("PC3", {});
    for (const char* account : {"PC1", "PC2", "PC3"}) {
        int16_t flag = 0;
        engine::Rbldhl(account, flag);
    }
}

// PC3 buys IBM n times in the period, one share a day from 01/01/98 on.
inline void WritePurchases(int n) {
    std::vector<records::TransactionRecord> t;
    for (int i = 0; i < n; ++i) {
        const int month = 1 + (i / 28) % 12;
        const int day = 1 + i % 28;
        char date[9];
        std::snprintf(date, sizeof date, "%2d/%02d/98", month, day);
        t.push_back(fixtures::Transaction("B", "IBM", "01", date, 1, 100, 2, 2));
    }
    fixtures::WriteTransactions("PC3", t);
}

}  // namespace changesfix
