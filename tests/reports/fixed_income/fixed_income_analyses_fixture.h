#pragma once

// The data directory of the fixed income analyses and summary: a firm with
// a short page, securities at the class edges, four accounts and the
// prices of the report date 11/10/98 (also the program date).
//
// Securities (record = index position):
//  1 CASH     type 1, 5.0% paid in December
//  2 T1YR     1.0 year to maturity, 6.0%, yield 6.0, AAA
//  3 T30YR    30.0 years, 5.0%, yield 5.5, AA+ (not on the scale)
//  4 C3001    30.01 years, 14.95%, yield 15.0, blank rating
//  5 MATURED  matured 06/30/98, 4.99%, yield 4.0, BBB
//  6 NORATE   5 years, no coupon and no yield, AA
//  7 HICOUP   5 years, 15.0%, yield 6.0, AAA
//  8 STOCK    a stock paying 1.20 a share, income date in February
//  9 MMFUND   type 1, 5.0% paid in June
// 10 NODATE   no maturity date, 8.0%, yield 8.0, A
// 11 PAR4     type 4, priced 90 in the price file
// 12 NOPRICE  no price on the report date
// 13 SEMI6    6% maturing 03/15/05
// 14 TWOLINE  a second description line
// 15 BIGQTY   held 100,000,000
//
// Accounts: BONDS (AB12), a deleted key, EQUITY (AB34, no fixed income),
// FLOW (CD12, the income flow holdings), SUMMRY (CD34, the summary's
// cases: a blank maturity, a short position, type 4, an unpriced holding,
// second lines, a page break).

#include <string>
#include <vector>

#include "records/manager_table.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"

namespace fiafix {

inline constexpr const char* kReportDate = "11/10/98";

inline std::vector<fixtures::SecurityEntry> Securities() {
    auto bond = [](const char* symbol, const char* cusip, const char* description, const char* type,
                   const char* maturity, float rate, float yield, const char* rating) {
        fixtures::SecurityEntry s;
        s.symbol = symbol;
        s.cusip = cusip;
        s.description1 = description;
        s.type = type;
        s.maturity = maturity;
        s.rate = rate;
        s.yield = yield;
        s.sp_rating = rating;
        s.moody_rating = "Aaa ";
        return s;
    };
    std::vector<fixtures::SecurityEntry> s;
    s.push_back({.symbol = "CASH",
                 .cusip = "CASH",
                 .description1 = "CASH",
                 .type = "1",
                 .rate = 5.0f,
                 .coupon_date = "12/31/98"});
    s.push_back(bond("T1YR", "912827AA1", "US TREASURY NOTE ONE YEAR", "5", "11/10/99", 6.0f, 6.0f, "AAA "));
    s.push_back(
        bond("T30YR", "646135AB2", "MUNICIPAL BOND THIRTY YEARS", "6", "11/02/28", 5.0f, 5.5f, "AA+ "));
    s.push_back(bond("C3001", "172967AC3", "CORPORATE OVER THIRTY", "B", "11/06/28", 14.95f, 15.0f, "    "));
    s.push_back(bond("MATURED", "313586AD4", "MATURED AGENCY NOTE", "7", " 6/30/98", 4.99f, 4.0f, "BBB "));
    s.push_back(
        bond("NORATE", "459200AE5", "DEBENTURE WITHOUT TERMS", "D", "11/10/03", -999.99f, -999.99f, "AA  "));
    s.push_back(bond("HICOUP", "026874AF6", "HIGH COUPON BOND", "F", "11/10/03", 15.0f, 6.0f, "AAA "));
    s.push_back({.symbol = "STOCK",
                 .cusip = "191216100",
                 .description1 = "COMMON STOCK PAYS 1.20",
                 .type = "C",
                 .rate = 1.20f,
                 .coupon_date = " 2/15/99"});
    s.push_back({.symbol = "MMFUND",
                 .cusip = "MMFUND",
                 .description1 = "MONEY MARKET FUND",
                 .type = "1",
                 .rate = 5.0f,
                 .coupon_date = " 6/30/98"});
    s.push_back(bond("NODATE", "912810AG7", "BOND WITHOUT MATURITY", "W", "", 8.0f, 8.0f, "A   "));
    s.push_back(bond("PAR4", "912794AH8", "TYPE FOUR AT PAR", "4", " 5/15/02", 7.0f, 7.0f, "A-  "));
    s.push_back(bond("NOPRICE", "084670AI9", "UNPRICED BOND", "X", " 1/01/99", 5.5f, 5.5f, "BB  "));
    s.push_back(bond("SEMI6", "594918AJ0", "SEMI ANNUAL SIX PERCENT", "5", " 3/15/05", 6.0f, 6.0f, "AA  "));
    fixtures::SecurityEntry two =
        bond("TWOLINE", "717081AK1", "BOND WITH TWO LINES", "3", " 7/01/10", 6.5f, 6.25f, "A+  ");
    two.description2 = "SECOND DESCRIPTION LINE";
    s.push_back(two);
    s.push_back(bond("BIGQTY", "931142AL2", "VERY LARGE HOLDING", "Y", " 9/01/12", 4.0f, 4.5f, "C   "));
    return s;
}

inline std::vector<double> Prices() {
    return {1.0, 100.5, 98.0, 101.25,    100.0, 95.0,  110.0, 40.0,
            1.0, 99.0,  90.0, -99999.99, 100.0, 102.0, 97.5};
}

inline fixtures::ClientFields Client(const std::string& id, const std::string& manager,
                                     const std::string& name) {
    fixtures::ClientFields c;
    c.id = id;
    c.manager = manager;
    c.short_name = name;
    c.address = {name, "1 MAIN STREET", "", "", ""};
    c.opened = " 1/02/95";
    return c;
}

inline fixtures::LotFields Lot(const std::string& symbol, int16_t record, double quantity, double cost,
                               const std::string& tax_lot = "", double key = 1) {
    return {.symbol = symbol,
            .security_record = record,
            .quantity = quantity,
            .cost = cost,
            .open_date = " 1/15/97",
            .tax_lot = tax_lot,
            .holding_key = key};
}

inline void WriteFirm(int16_t page_length = 24) {
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", page_length, 0);
    fixtures::WriteProgramDate(kReportDate);
    // Option 2: blank second description lines are filled from the coupon
    // and the maturity date.
    fixtures::SetOptions({{records::Opt::kCouponDueDescription, 1}});
    // The manager codes of the accounts, for the dialog's manager check.
    records::ManagerSlots codes;
    codes.fill("    ");
    codes[0] = "AB12";
    codes[1] = "AB34";
    codes[2] = "CD12";
    codes[3] = "CD34";
    records::WriteManagerTable(codes);
}

inline void WriteData() {
    WriteFirm();
    fixtures::WriteSecurityFiles(Securities());
    fixtures::WritePrices(kReportDate, Prices());
    fixtures::WriteClients(
        {Client("BONDS", "AB12", "BOND ACCOUNT"), Client("$$$$$$", "AB12", "DELETED ACCOUNT"),
         Client("EQUITY", "AB34", "EQUITY ONLY ACCOUNT"), Client("FLOW", "CD12", "INCOME FLOW ACCOUNT"),
         Client("SUMMRY", "CD34", "SUMMARY ACCOUNT")});
    fixtures::WriteHoldings(
        "BONDS",
        {Lot("CASH", 1, 5000, 5000, "", 0), Lot("T1YR", 2, 10000, 9900), Lot("T30YR", 3, 20000, 19000),
         Lot("C3001", 4, 15000, 15500), Lot("MATURED", 5, 5000, 5000), Lot("NORATE", 6, 8000, 7600),
         Lot("HICOUP", 7, 12000, 13000), Lot("T1YR", 2, 99999, 99999, "S"), Lot("STOCK", 8, 100, 3500)});
    fixtures::WriteHoldings("EQUITY", {Lot("CASH", 1, 1000, 1000, "", 0), Lot("STOCK", 8, 200, 7000)});
    fixtures::WriteHoldings(
        "FLOW", {Lot("SEMI6", 13, 10000, 10000), Lot("NODATE", 10, 5000, 4900),
                 Lot("BIGQTY", 15, 100000000, 97000000), Lot("TWOLINE", 14, 2000, 2050),
                 Lot("T1YR", 2, 3000, 2990), Lot("STOCK", 8, 100, 3500), Lot("STOCK", 8, 500, 17500, "", 0),
                 Lot("MMFUND", 9, 1000, 1000), Lot("CASH", 1, 2000, 2000, "", 0)});
    fixtures::WriteHoldings(
        "SUMMRY",
        {Lot("HICOUP", 7, 12000, 13000), Lot("NODATE", 10, 5000, 4900), Lot("T30YR", 3, -10000, 9500),
         Lot("PAR4", 11, 5000, 4700), Lot("NOPRICE", 12, 7000, 6900), Lot("TWOLINE", 14, 2000, 2050),
         Lot("NORATE", 6, 8000, 7600), Lot("MATURED", 5, 5000, 5000), Lot("CASH", 1, 3000, 3000, "", 0),
         Lot("STOCK", 8, 50, 1750), Lot("C3001", 4, 1000, 1000, "S")});
}

}  // namespace fiafix
