#pragma once

// The data directory of the account appraisal tests (report code 103):
// securities of five types with their prices of 12/31/98, the type and
// category names, and four accounts of the index (a deleted entry among
// them).
//
// AA1 (manager AB, objective CI, address): cash and a money fund, a bond
// and a note (the note at a loss), two common stocks in categories 35 and
// 20 (XYZ at a loss), an equity fund, a lot held away.
// AA2 (manager AB, target allocation: type 1 10%, type 4 20%, type H 25%):
// cash, the bond with its accrued interest, IBM.
// AA3 (manager AB): cash alone, no common stocks.
// BB1 (manager CD): IBM alone.

#include <string>
#include <vector>

#include "tests/fixtures/report_data.h"
#include "tests/reports/appraisal/position_appraisal_fixture.h"

namespace aafix {

using apfix::Allocation;
using apfix::SetOptions;

enum Position : int16_t { kCash = 1, kMmf, kBond, kNote, kIbm, kXyz, kFund, kAway };

inline void WriteSecurities() {
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .description1 = "CASH", .type = "1", .rate = 0},
        {.symbol = "MMF",
         .description1 = "MONEY MARKET FUND",
         .type = "1",
         .rate = 5.0f,
         .first_word = Allocation("ST")},
        {.symbol = "BOND",
         .description1 = "CITY BOND 6%",
         .type = "4",
         .maturity = "12/15/10",
         .rate = 6.0f,
         .first_word = Allocation("LT"),
         .coupon_date = " 6/15/98"},
        {.symbol = "NOTE",
         .description1 = "ACME NOTE 7%",
         .type = "5",
         .maturity = " 6/01/05",
         .rate = 7.0f,
         .first_word = Allocation("IT")},
        {.symbol = "IBM",
         .description1 = "INTL BUS MACH",
         .type = "H",
         .category = "35",
         .rate = 1.5f,
         .first_word = Allocation("AG")},
        {.symbol = "XYZ",
         .description1 = "XYZ CORP",
         .type = "H",
         .category = "20",
         .rate = 0.5f,
         .first_word = Allocation("CG")},
        {.symbol = "FUND",
         .description1 = "GROWTH FUND",
         .type = "P",
         .rate = 0.25f,
         .first_word = Allocation("IG")},
        {.symbol = "AWAY", .description1 = "HELD AWAY", .type = "H", .rate = 0},
    });
    fixtures::WritePrices("12/31/98", {1.0, 1.0, 101.5, 98.0, 150.0, 20.0, 12.5, 10.0});
}

inline fixtures::LotFields Lot(const std::string& symbol, Position pos, double key, double quantity,
                               double cost, const std::string& code = "") {
    return {.symbol = symbol,
            .security_record = pos,
            .quantity = quantity,
            .cost = cost,
            .open_date = " 3/02/98",
            .tax_lot = code,
            .holding_key = key};
}

// The target allocation bytes of AA2, by target position.
inline std::string Aa2Targets() {
    std::string t(23, '\0');
    t[0] = 10;   // cash and equivalents
    t[2] = 20;   // type "4"
    t[16] = 25;  // common stocks
    return t;
}

inline void WriteDirectory(int16_t page_length = 58) {
    fixtures::WriteProgramDate("12/31/98");
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS", page_length);
    WriteSecurities();
    apfix::WriteTypeNames();
    fixtures::WriteNameFile(records::kCategoryNameFile, {{20, "TECHNOLOGY"}, {35, "COMPUTERS"}});
    fixtures::WriteClients({
        {.id = "AA1",
         .address = {"JOHN SMITH", "1 MAIN ST", "SPRINGFIELD IL", "", ""},
         .manager = "AB",
         .short_name = "SMITH ACCOUNT",
         .opened = " 1/02/97",
         .objective = "CI  "},
        {.id = "$$$$"},
        {.id = "AA2",
         .address = {"MARY JONES"},
         .manager = "AB",
         .short_name = "JONES ACCOUNT",
         .objective = "AG  ",
         .targets = Aa2Targets()},
        {.id = "AA3",
         .address = {"AL BROWN"},
         .manager = "AB",
         .short_name = "BROWN ACCOUNT",
         .objective = "XX  "},
        {.id = "BB1", .address = {"ANN GREEN"}, .manager = "CD", .short_name = "GREEN ACCOUNT"},
    });
    fixtures::WriteHoldings("AA1", {
                                       Lot("CASH", kCash, 0, 2500, 2500),
                                       Lot("MMF", kMmf, 1, 5000, 5000),
                                       Lot("BOND", kBond, 2, 10000, 9800),
                                       Lot("NOTE", kNote, 3, 5000, 5100),
                                       Lot("IBM", kIbm, 4, 100, 12000),
                                       Lot("XYZ", kXyz, 5, 200, 5000),
                                       Lot("FUND", kFund, 6, 400, 4000),
                                       Lot("AWAY", kAway, 7, 5, 40, "S"),
                                   });
    fixtures::WriteHoldings("AA2", {
                                       Lot("CASH", kCash, 0, 1000, 1000),
                                       Lot("BOND", kBond, 1, 5000, 4900),
                                       Lot("IBM", kIbm, 2, 50, 6000),
                                   });
    fixtures::WriteHoldings("AA3", {Lot("CASH", kCash, 0, 750, 750)});
    fixtures::WriteHoldings("BB1", {Lot("IBM", kIbm, 1, 10, 1200)});
}

// COMMON.FIL record 14: 22 two-character asset classes in the record
// layer's type order.
inline void WriteClassTable(const std::string& text) {
    apfix::WriteCommonRecord(14, text);
}

}  // namespace aafix
