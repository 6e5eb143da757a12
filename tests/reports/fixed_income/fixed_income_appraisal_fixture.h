#pragma once

// The data directory of the fixed income appraisal tests: securities of
// every fixed-income type with their prices of 03/15/98, TYPENAME.DAT
// without a name for type F, and three accounts.

#include <string>
#include <utility>
#include <vector>

#include "records/prices.h"
#include "tests/fixtures/report_data.h"

namespace fifix {

// The securities, by position.
inline constexpr double kNoPrice = records::kNoPriceValue;

enum Position : int16_t {
    kCash = 1,
    kZero,       // type 3
    kPar,        // type 4
    kNote,       // type 5, 6%, coupon 01/15
    kNoteBlank,  // type 5, no maturity date
    kNote99,     // type 5, maturing 1999
    kNote45,     // type 5, maturing 2045
    kCorp,       // type 6
    kConv,       // type 7
    kAgency,     // type W
    kMuni,       // type B
    kMuniFund,   // type D
    kExempt,     // type X
    kForeign,    // type F
    kYankee,     // type Y
    kStock,      // type H
    kUnpriced,   // type 6, no price
    kOdd,        // type "#"
};

inline void WriteSecurities() {
    auto bond = [](const std::string& symbol, const std::string& name, const std::string& type,
                   const std::string& maturity, float rate, const std::string& coupon) {
        return fixtures::SecurityEntry{.symbol = symbol,
                                       .description1 = name,
                                       .type = type,
                                       .maturity = maturity,
                                       .rate = rate,
                                       .coupon_date = coupon};
    };
    std::vector<fixtures::SecurityEntry> s = {
        {.symbol = "CASH", .description1 = "CASH", .type = "1", .rate = 0},
        bond("ZERO", "ZERO COUPON 2005", "3", "12/31/05", 0, ""),
        bond("PAR", "SAVINGS BOND", "4", " 6/01/02", 5.0f, " 6/01/98"),
        bond("NOTE", "TREASURY NOTE 6%", "5", " 1/15/08", 6.0f, " 1/15/99"),
        bond("NOTEB", "NOTE NO MATURITY", "5", "", 4.0f, ""),
        bond("NOTE99", "TREASURY NOTE 1999", "5", " 6/01/99", 5.0f, ""),
        bond("NOTE45", "TREASURY BOND 2045", "5", "12/01/45", 7.0f, ""),
        bond("CORP", "ACME CORP 7.5%", "6", " 9/15/10", 7.5f, ""),
        bond("CONV", "ACME CONVERTIBLE", "7", "", -999.99f, ""),
        bond("AGENCY", "FNMA 5.5%", "W", " 2/01/03", 5.5f, ""),
        bond("MUNI", "CITY OF SPRINGFIELD", "B", " 7/01/12", 5.0f, " 7/01/98"),
        bond("MFUND", "MUNI FUND", "D", "", 4.5f, ""),
        bond("EXEMPT", "STATE EXEMPT 5%", "X", " 1/15/06", 5.0f, " 1/15/98"),
        bond("FOREIGN", "BUND 6%", "F", " 3/15/04", 6.0f, ""),
        bond("YANKEE", "YANKEE 6.25%", "Y", " 5/15/07", 6.25f, ""),
        {.symbol = "STOCK", .description1 = "BIG COMMON", .type = "H", .rate = 1.0f},
        bond("UNPRICED", "NO PRICE CORP", "6", " 1/01/01", 8.0f, ""),
        bond("ODD", "ODD TYPE", "#", " 1/01/01", 8.0f, ""),
    };
    // The 6% note: yield to maturity 6.2, call and put terms and codes.
    s[kNote - 1].yield = 6.2f;
    s[kNote - 1].moody_rating = "AAA";
    s[kNote - 1].sp_rating = "AA+";
    s[kNote - 1].insurer = "MBIA";
    s[kNote - 1].call_date = " 1/15/03";
    s[kNote - 1].call_price = 101.0;
    s[kMuni - 1].yield = 150.0f;  // out of range: N/A
    s[kCorp - 1].yield = 7.1f;
    fixtures::WriteSecurityFiles(s);
    fixtures::SetYieldToCall(kNote, 5.9f);
    fixtures::SetYieldToCall(kCorp, 120.0f);
    // Prices of 03/15/98 by position; UNPRICED has none.
    fixtures::WritePrices(" 3/15/98", {1.0, 62.0, 99.0, 98.5, 101.0, 100.25, 95.0, 104.0, 120.0, 99.5, 102.0,
                                       104.0, 100.0, 97.0, 101.5, 45.0, kNoPrice, 10.0});
}

inline fixtures::LotFields Lot(const std::string& symbol, Position pos, double quantity, double cost,
                               const std::string& code = "", double key = 1) {
    return {.symbol = symbol,
            .security_record = pos,
            .quantity = quantity,
            .cost = cost,
            .open_date = " 1/02/97",
            .tax_lot = code,
            .holding_key = key};
}

// FI1 (manager AB): every fixed-income type, two lots of the note that
// fold and a short lot that does not, four type 5 notes to sort, a stock,
// an unmanaged municipal lot and cash. FI2 (manager AB): the note and an
// unpriced bond. FI3 (manager CD): a stock alone.
inline void WriteDirectory() {
    fixtures::WriteProgramDate(" 3/15/98");
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS", 58);
    WriteSecurities();
    std::vector<std::pair<int, std::string>> names = {{4, "TAXABLE ZERO COUPON BONDS"},
                                                      {5, "SAVINGS BONDS"},
                                                      {6, "U.S. GOVERNMENT NOTES"},
                                                      {7, "CORPORATE BONDS"},
                                                      {8, "CONVERTIBLES"},
                                                      {33, "AGENCY BONDS"},
                                                      {12, "MUNICIPAL BONDS"},
                                                      {14, "MUNICIPAL FUNDS"},
                                                      {34, "TAX EXEMPT BONDS"},
                                                      {35, "YANKEE BONDS"},
                                                      {36, "UNMANAGED ASSETS"}};
    fixtures::WriteTypeNameFile(names);  // no name for type F (16)
    fixtures::WriteClients({
        {.id = "FI1",
         .address = {"JOHN SMITH", "1 MAIN ST", "", "SPRINGFIELD IL", ""},
         .manager = "AB",
         .short_name = "SMITH BOND ACCOUNT"},
        {.id = "FI2", .address = {"MARY JONES"}, .manager = "AB", .short_name = "JONES ACCOUNT"},
        {.id = "FI3", .address = {"AL BROWN"}, .manager = "CD", .short_name = "BROWN ACCOUNT"},
    });
    fixtures::WriteHoldings("FI1",
                            {
                                Lot("CASH", kCash, 2500, 2500, "", 0), Lot("ZERO", kZero, 20000, 11000),
                                Lot("PAR", kPar, 5000, 5000),          Lot("NOTE", kNote, 6000, 5940),
                                Lot("NOTE", kNote, 4000, 3980),        Lot("NOTE", kNote, -1000, 990),
                                Lot("NOTEB", kNoteBlank, 2000, 2000),  Lot("NOTE45", kNote45, 3000, 2900),
                                Lot("NOTE99", kNote99, 1000, 1000.5),  Lot("CORP", kCorp, 15000, 15150),
                                Lot("CONV", kConv, 2000, 2100),        Lot("AGENCY", kAgency, 10000, 9900),
                                Lot("MUNI", kMuni, 25000, 24750),      Lot("MUNI", kMuni, 5000, 5000, "S"),
                                Lot("MFUND", kMuniFund, 3000, 3150),   Lot("EXEMPT", kExempt, 10000, 10000),
                                Lot("FOREIGN", kForeign, 8000, 7600),  Lot("YANKEE", kYankee, 12000, 11880),
                                Lot("STOCK", kStock, 100, 4000),       Lot("ODD", kOdd, 100, 100),
                            });
    fixtures::WriteHoldings("FI2", {
                                       Lot("NOTE", kNote, 10000, 9900),
                                       Lot("UNPRICED", kUnpriced, 5000, 5100),
                                   });
    fixtures::WriteHoldings("FI3", {Lot("STOCK", kStock, 50, 2000)});
}

}  // namespace fifix
