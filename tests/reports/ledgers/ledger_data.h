#pragma once

// The data directory of the transaction ledger, composite ledger and
// member statement tests: a firm with a short page, the security type
// codes, four securities and two accounts whose transactions exercise the
// ledger lines (cash, trades, a bond bought with accrued interest, a
// transfer in with interest, income with notes, an "N" adjustment and
// typed transactions).
//
//  SMITH1 (manager ABCD, custodian account CUST-0001XYZ)
//    12/15/04 FI  5,000.00 before the window: the opening balance
//    01/03/05 FI 10,000.00 "INITIAL DEPOSIT"
//    01/10/05 B   IBM 100 @ 85.50, 8,550.00, commission 25.00
//    02/01/05 B   XYZ bond 10,000 @ 101, 10,100.00, accrued interest 12.50
//    03/15/05 DI  45.00, note "IBM DIVIDEND", type "T"
//    04/01/05 SI  XYZ bond 5,000, 5,050.00, interest 20.00, 03/01/99 @ 4,800.00
//    05/02/05 S   IBM 50 @ 90, 4,500.00, commission 20.00
//    06/15/05 AI  300.00, type "N" (never in a balance)
//    06/30/05 MF  250.00, type "T"
//    06/30/05 MI  100.00
//  Closing balance 12/31/05: 5,000 + 10,000 - 8,550 - 10,100 - 12.50 + 45
//    + 4,500 - 250 + 100 = 732.50.
//  JONES (manager ABZZ, custodian account JON-7777)
//    01/05/05 FI 1,000.00;  02/10/05 B IBM 20 @ 80, 1,600.00: closing (600.00)

#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/record.h"
#include "records/security_types.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"

namespace ledgerfix {

// Holding keys of the securities (cash is 0).
inline constexpr double kIbmKey = 3100;
inline constexpr double kXyzKey = 3200;

inline records::TransactionRecord Cash(const std::string& code, const std::string& date, double amount,
                                       const std::string& note, const std::string& type = "") {
    records::TransactionRecord t = fixtures::Transaction(code, "CASH", "", date, 0, amount, 0, 1);
    t.SetCashText(note);
    t.type = records::Fixed(type, 4);
    return t;
}

inline records::TransactionRecord Trade(const std::string& code, const std::string& symbol,
                                        const std::string& date, double quantity, float price, double amount,
                                        double commission, double key, int16_t security) {
    records::TransactionRecord t =
        fixtures::Transaction(code, symbol, "", date, quantity, amount, key, security);
    t.price = price;
    t.commission = commission;
    t.SetTradeExtra(date, 0);
    return t;
}

// The firm (page length as given), program date 12/31/05, type codes
// CA (type 1), CB (type 3) and CS (type C) with their titles, and the
// securities: 1 CASH (type 1), 2 IBM (C), 3 XYZ bond (3), 4 MMF (1).
inline void WriteFirm(int16_t page_length = 58) {
    fixtures::WriteProgramDate("12/31/05");
    fixtures::WriteFirmHeading("LEDRA INVESTMENT ADVISERS", page_length, 0);
    records::TypeNames names;
    names.codes[0] = "CA";
    names.names[0] = "CASH EQUIVALENTS";
    names.codes[1] = "CB";
    names.names[1] = "CORPORATE BONDS";
    names.codes[9] = "CS";  // type C
    names.names[9] = "COMMON STOCKS";
    records::WriteTypeNames(names);

    fixtures::SecurityEntry cash;
    cash.symbol = "CASH";
    cash.description1 = "CASH";
    cash.type = "1";
    fixtures::SecurityEntry ibm;
    ibm.symbol = "IBM";
    ibm.description1 = "INTL BUSINESS MACHINES";
    ibm.type = "C";
    fixtures::SecurityEntry xyz;
    xyz.symbol = "XYZ 6% 10";
    xyz.description1 = "XYZ CORP DEBENTURES";
    xyz.description2 = "SENIOR NOTES 6% 2010";
    xyz.type = "3";
    xyz.maturity = "06/15/10";
    xyz.rate = 6.0f;
    fixtures::SecurityEntry mmf;
    mmf.symbol = "MMF";
    mmf.description1 = "MONEY MARKET FUND";
    mmf.type = "1";
    fixtures::WriteSecurityFiles({cash, ibm, xyz, mmf});
}

inline std::vector<records::TransactionRecord> SmithTransactions() {
    records::TransactionRecord bond =
        Trade("B", "XYZ 6% 10", "02/01/05", 10000, 101.0f, 10100, 0, kXyzKey, 3);
    bond.bond_interest = 12.50;
    records::TransactionRecord received =
        Trade("SI", "XYZ 6% 10", "04/01/05", 5000, -999.99f, 5050, 0, kXyzKey, 3);
    received.bond_interest = 20.00;
    received.lot_date = "03/01/99";
    received.lot_cost = 4800;
    received.SetTransferExtra();
    return {
        Cash("FI", "01/03/05", 10000, "INITIAL DEPOSIT"),
        Trade("B", "IBM", "01/10/05", 100, 85.50f, 8550, 25, kIbmKey, 2),
        bond,
        Cash("DI", "03/15/05", 45, "IBM         DIVIDEND", "T"),
        received,
        Trade("S", "IBM", "05/02/05", 50, 90.0f, 4500, 20, kIbmKey, 2),
        Cash("AI", "06/15/05", 300, "CORRECTION", "N"),
        Cash("MF", "06/30/05", 250, "Q2 FEE", "T"),
        Cash("MI", "06/30/05", 100, "XYZ         SETTLED"),
        // Filed last, dated first: the ledger sorts by trade date.
        Cash("FI", "12/15/04", 5000, "OPENING FUNDS"),
    };
}

inline std::vector<records::TransactionRecord> JonesTransactions() {
    return {
        Cash("FI", "01/05/05", 1000, "DEPOSIT"),
        Trade("B", "IBM", "02/10/05", 20, 80.0f, 1600, 0, kIbmKey, 2),
    };
}

// Both accounts with their transaction files.
inline void WriteLedgerAccounts() {
    fixtures::ClientFields smith;
    smith.id = "SMITH1";
    smith.address = {"JOHN A. SMITH", "12 ELM STREET", "APT 4B", "SPRINGFIELD, IL 62701", "USA"};
    smith.manager = "ABCD";
    smith.short_name = "SMITH FAMILY TRUST";
    smith.custodian_account = "CUST-0001XYZ";
    fixtures::ClientFields jones;
    jones.id = "JONES";
    jones.address = {"MARY JONES", "4 OAK AVENUE", "", "DENVER, CO 80201", ""};
    jones.manager = "ABZZ";
    jones.short_name = "JONES IRA";
    jones.custodian_account = "JON-7777";
    fixtures::WriteClients({smith, jones});
    fixtures::WriteTransactions("SMITH1", SmithTransactions());
    fixtures::WriteTransactions("JONES", JonesTransactions());
}

}  // namespace ledgerfix
