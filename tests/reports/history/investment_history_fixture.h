#pragma once

// The data directory of the investment history tests: the period 01/01/98
// to 12/31/98, program date 12/31/98.
//
// Securities, by position: 1 CASH (type 1), 2 ABC CO (type H), 3 CITY
// MUNI BOND (type 7, 5% coupon on 01/01 and 07/01), 4 NO PRICE CO (type H, no
// price on 01/01/98).
// Accounts: IH1 (manager IH01) with a year of income, fees, a sale,
// additions and withdrawals, and an unmanaged lot (tax lot "S"); IH2
// (IH02) holding NO PRICE CO; IH3 (ZZ01), opened 07/01/98, with a
// deposit on that day.

#include <string>
#include <vector>

#include "engine/rebuild.h"
#include "records/account_records.h"
#include "records/manager_table.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"

namespace historyfix {

inline records::TransactionRecord Cash(const std::string& code, const std::string& date, double amount,
                                       const std::string& text, int16_t security = 1) {
    records::TransactionRecord t = fixtures::Transaction(code, "CASH", "", date, amount, amount, 0, security);
    t.SetCashText(text);
    return t;
}

inline void WriteData() {
    using fixtures::Transaction;
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    fixtures::WriteProgramDate("12/31/98");
    records::ManagerSlots managers;
    managers.fill("    ");
    managers[0] = "IH01";
    managers[1] = "IH02";
    managers[2] = "ZZ01";
    records::WriteManagerTable(managers);
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "1"},
        {.symbol = "ABC", .cusip = "ABC", .description1 = "ABC CO", .type = "H"},
        {.symbol = "MUNI",
         .cusip = "MUNI",
         .description1 = "CITY MUNI BOND",
         .type = "7",
         .maturity = " 7/01/08",
         .rate = 5.0f,
         .coupon_date = " 7/01/08"},
        {.symbol = "NOPRICE", .cusip = "NOPRICE", .description1 = "NO PRICE CO", .type = "H"},
    });
    fixtures::WriteClients(
        {{.id = "IH1", .manager = "IH01", .short_name = "HISTORY ACCOUNT", .opened = " 1/01/97"},
         {.id = "IH2", .manager = "IH02", .short_name = "UNPRICED ACCOUNT", .opened = " 1/01/97"},
         {.id = "IH3", .manager = "ZZ01", .short_name = "NEW ACCOUNT", .opened = " 7/01/98"}});
    // Prices of ABC, MUNI and NO PRICE CO at the start and end of 1998.
    fixtures::WritePrices(" 1/01/98", {0, 50, 98, -99999.999999});
    fixtures::WritePrices("12/31/98", {0, 60, 101, 12});
    fixtures::WritePrices(" 7/01/98", {0, 55, 99, 11});

    std::vector<records::TransactionRecord> t;
    t.push_back(Cash("FI", " 1/02/97", 20000, "OPENING DEPOSIT"));
    t.push_back(Transaction("B", "ABC", "01", " 6/01/97", 100, 5000, 2, 2));
    t.push_back(Transaction("B", "MUNI", "01", " 6/01/97", 10000, 9800, 3, 3));
    auto dividend = Cash("DI", " 3/15/98", 50, "ABC", 2);
    t.push_back(dividend);
    t.push_back(Cash("MI", " 4/01/98", 250, "MUNI", 3));  // municipal interest of a type 7 security
    t.push_back(Cash("II", " 5/01/98", 20, "BANK INTEREST"));
    t.push_back(Cash("MF", " 6/30/98", 100, "ADVISORY FEE"));
    t.push_back(Cash("BC", " 6/30/98", 50, "CUSTODIAN FEE"));
    t.push_back(Transaction("S", "ABC", "01", " 9/01/98", 50, 3000, 2, 2));
    t.push_back(Cash("FO", "10/01/98", 1000, "WITHDRAWAL"));
    t.push_back(Cash("FI", "11/01/98", 2000, "DEPOSIT"));
    t.push_back(Cash("AI", "12/01/98", 100, "ADJUSTMENT"));
    // An unmanaged asset: neither its lot nor its transfer counts.
    auto unmanaged = Transaction("SI", "ABC", "S", " 2/01/98", 1000, 50000, 2, 2);
    unmanaged.lot_cost = 40000;
    t.push_back(unmanaged);
    fixtures::WriteTransactions("IH1", t);
    fixtures::WriteTransactions("IH2", {Cash("FI", " 1/02/97", 1000, "DEPOSIT"),
                                        Transaction("B", "NOPRICE", "01", " 6/01/97", 10, 100, 4, 4)});
    fixtures::WriteTransactions("IH3", {Cash("FI", " 7/01/98", 500, "FIRST DEPOSIT")});
    for (const char* account : {"IH1", "IH2", "IH3"}) {
        int16_t flag = 0;
        engine::Rbldhl(account, flag);
    }
}

}  // namespace historyfix
