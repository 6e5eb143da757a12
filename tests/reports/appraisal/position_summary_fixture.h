#pragma once

// The data directory of the position summary, the summary of accounts and
// the summary of assets under management: program date 12/31/98, prices
// of 12/31/98 and 01/29/99.
//
// Securities (record = index position):
//  1 CASH    type 1, 5.0%
//  2 IBM     type N (equity), 1.00 a share
//  3 BOND10  type B, 6.0%, due 06/30/05, coupon date 06/30/98
//  4 PAR4    type 4, 7.0%, due 11/15/02 (the price file says 90)
//  5 TRUST   type S (other), no rate
//  6 NOPRICE type N, no price on either date
//  7 REIT    type R, 0.5 a unit
//
// Accounts: ALPHA (AB12, two IBM lots, a managed "S" lot, a bond, par and
// trust), BETA (AB34, cash only), GAMMA (CD12, an unpriced holding and a
// REIT, cash 25), DELTA (CD34, IBM and cash).

#include <string>
#include <vector>

#include "records/manager_table.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"

namespace possum {

inline constexpr const char* kReportDate = "12/31/98";
inline constexpr const char* kLaterDate = " 1/29/99";

inline std::vector<fixtures::SecurityEntry> Securities() {
    std::vector<fixtures::SecurityEntry> s;
    s.push_back({.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "1", .rate = 5.0f});
    s.push_back({.symbol = "IBM",
                 .cusip = "IBM",
                 .description1 = "INTL BUSINESS MACHINES",
                 .type = "N",
                 .rate = 1.0f});
    s.push_back({.symbol = "BOND10",
                 .cusip = "BOND10",
                 .description1 = "CORPORATE BOND SIX PERCENT",
                 .type = "B",
                 .maturity = " 6/30/05",
                 .rate = 6.0f,
                 .coupon_date = " 6/30/98"});
    s.push_back({.symbol = "PAR4",
                 .cusip = "PAR4",
                 .description1 = "TYPE FOUR AT PAR",
                 .description2 = "SECOND LINE OF PAR4",
                 .type = "4",
                 .maturity = "11/15/02",
                 .rate = 7.0f,
                 .coupon_date = "11/15/98"});
    s.push_back({.symbol = "TRUST", .cusip = "TRUST", .description1 = "UNIT TRUST", .type = "S"});
    s.push_back({.symbol = "NOPRICE",
                 .cusip = "NOPRICE",
                 .description1 = "STOCK WITHOUT A PRICE",
                 .type = "N",
                 .rate = 0.5f});
    s.push_back({.symbol = "REIT", .cusip = "REIT", .description1 = "REAL ESTATE UNITS", .type = "R"});
    return s;
}

inline fixtures::ClientFields Client(const std::string& id, const std::string& manager,
                                     const std::string& name, double opening = 0) {
    fixtures::ClientFields c;
    c.id = id;
    c.manager = manager;
    c.short_name = name;
    c.address = {name, "1 MAIN STREET", "", "", ""};
    c.opened = " 1/02/95";
    c.opening_value = opening;
    return c;
}

inline fixtures::LotFields Lot(const std::string& symbol, int16_t record, double quantity, double cost,
                               const std::string& tax_lot = "", double key = 1) {
    return {.symbol = symbol,
            .security_record = record,
            .quantity = quantity,
            .cost = cost,
            .open_date = " 3/15/96",
            .tax_lot = tax_lot,
            .holding_key = key};
}

inline void WriteFirm(int16_t page_length = 58) {
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", page_length, 0);
    fixtures::WriteProgramDate(kReportDate);
    records::ManagerSlots codes;
    codes.fill("    ");
    codes[0] = "AB12";
    codes[1] = "AB34";
    codes[2] = "CD12";
    codes[3] = "CD34";
    records::WriteManagerTable(codes);
}

inline void WriteHoldingsOfAlpha() {
    fixtures::WriteHoldings(
        "ALPHA", {Lot("CASH", 1, 5000, 5000, "", 0), Lot("IBM", 2, 100, 8000), Lot("BOND10", 3, 10000, 9800),
                  Lot("PAR4", 4, 10000, 9500), Lot("IBM", 2, 50, 1000, "S"), Lot("TRUST", 5, 2000, 2000),
                  Lot("IBM", 2, 50, 4500)});
}

inline void WriteData() {
    WriteFirm();
    fixtures::WriteSecurityFiles(Securities());
    fixtures::WritePrices(kReportDate, {1.0, 120.0, 98.5, 90.0, 3.0, -99999.99, 0.5});
    fixtures::WritePrices(kLaterDate, {1.0, 130.0, 99.0, 90.0, 3.0, -99999.99, 0.6});
    fixtures::WriteClients(
        {Client("ALPHA", "AB12", "ALPHA GROWTH FUND", 25000), Client("BETA", "AB34", "JOHN Q PUBLIC"),
         Client("$$$$$$", "AB12", "DELETED ACCOUNT"), Client("GAMMA", "CD12", "ZETA HOLDINGS"),
         Client("DELTA", "CD34", "ADAMS PARTNERS")});
    WriteHoldingsOfAlpha();
    fixtures::WriteHoldings("BETA", {Lot("CASH", 1, 2500, 2500, "", 0)});
    fixtures::WriteHoldings(
        "GAMMA", {Lot("CASH", 1, 25, 25, "", 0), Lot("NOPRICE", 6, 100, 1500), Lot("REIT", 7, 1000, 400)});
    fixtures::WriteHoldings("DELTA", {Lot("CASH", 1, 1000, 1000, "", 0), Lot("IBM", 2, 300, 30000)});
}

}  // namespace possum
