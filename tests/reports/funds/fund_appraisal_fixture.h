#pragma once

// The data directory of the mutual fund appraisal tests (report code 106):
// securities of five types with their prices of 12/31/98, the type and
// category names, and three accounts whose lots are rebuilt from their
// transactions.
//
// MF1 (manager AB, address): cash; the growth fund bought for 1,000.00
// (100 shares) and 10 more shares reinvested for 100.00, so one line of
// 110 shares, amount invested 1,000.00 and unit cost 10.00 (1,100.00 /
// 110); an income fund; a bond maturing 6/01/99 (a cash equivalent), a
// note, IBM in category 35 and a stock held away (tax lot "S").
// MF2 (manager AB, target allocation: type 1 10%, type H 40%): cash and
// IBM.
// MF3 (manager CD): cash alone.

#include <string>
#include <utility>
#include <vector>

#include "records/account_records.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/reports/appraisal/position_appraisal_fixture.h"

namespace mffix {

using apfix::Allocation;
using apfix::SetOptions;
using apfix::WriteCommonRecord;

inline constexpr const char* kDate = "12/31/98";

enum Position : int16_t { kCash = 1, kGrowth, kIncome, kBond, kNote, kIbm, kAway };

// bond_maturity: the maturity of the bond; note_type: the type code of
// the note; price_date: the date of the price file.
inline void WriteSecurities(const std::string& bond_maturity = " 6/01/99", const std::string& note_type = "5",
                            const std::string& price_date = kDate) {
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .description1 = "CASH", .type = "1", .rate = 0},
        {.symbol = "GROWTH",
         .description1 = "GROWTH FUND",
         .type = "P",
         .rate = 0.25f,
         .first_word = Allocation("AG"),
         .last_word = 50},
        {.symbol = "INCOME",
         .description1 = "INCOME FUND",
         .type = "P",
         .rate = 1.2f,
         .first_word = Allocation("IG")},
        {.symbol = "BOND",
         .description1 = "CITY BOND 6%",
         .type = "4",
         .maturity = bond_maturity,
         .rate = 6.0f,
         .first_word = Allocation("ST"),
         .coupon_date = " 6/01/98"},
        {.symbol = "NOTE",
         .description1 = "ACME NOTE 7%",
         .type = note_type,
         .maturity = " 6/01/05",
         .rate = 7.0f,
         .first_word = Allocation("IT"),
         .coupon_date = " 6/01/98",
         .yield = 6.5f},
        {.symbol = "IBM",
         .description1 = "INTL BUS MACH",
         .type = "H",
         .category = "35",
         .rate = 1.5f,
         .first_word = Allocation("CG")},
        {.symbol = "AWAY", .description1 = "HELD AWAY", .type = "H", .rate = 0},
    });
    fixtures::WritePrices(price_date, {1.0, 12.5, 20.0, 100.25, 98.0, 150.0, 10.0});
}

inline records::TransactionRecord T(const std::string& code, const std::string& symbol, Position pos,
                                    const std::string& date, double quantity, double amount,
                                    const std::string& lot = "A") {
    return fixtures::Transaction(code, symbol, lot, date, quantity, amount, code == "FI" ? 0.0 : double(pos),
                                 pos);
}

inline records::TransactionRecord Reinvested(records::TransactionRecord t) {
    t.type = "R   ";
    return t;
}

// The target allocation bytes of MF2, by target position.
inline std::string Mf2Targets() {
    std::string t(23, '\0');
    t[0] = 10;   // cash and equivalents
    t[16] = 40;  // common stocks
    return t;
}

inline void WriteDirectory(int16_t page_length = 58) {
    fixtures::WriteProgramDate(kDate);
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS", page_length);
    WriteSecurities();
    apfix::WriteTypeNames();
    fixtures::WriteNameFile(records::kCategoryNameFile, {{35, "COMPUTERS"}});
    fixtures::WriteClients({
        {.id = "MF1",
         .address = {"JOHN SMITH", "1 MAIN ST", "SPRINGFIELD IL", "", ""},
         .manager = "AB",
         .short_name = "SMITH FUND ACCOUNT",
         .custodian_account = "CUST-1001",
         .objective = "GR  "},
        {.id = "MF2",
         .address = {"MARY JONES"},
         .manager = "AB",
         .short_name = "JONES FUND ACCOUNT",
         .targets = Mf2Targets()},
        {.id = "MF3", .address = {"AL BROWN"}, .manager = "CD", .short_name = "BROWN FUND ACCOUNT"},
    });
    fixtures::WriteTransactions("MF1", {
                                           T("FI", "CASH", kCash, " 1/02/98", 0, 30000),
                                           T("B", "GROWTH", kGrowth, " 2/02/98", 100, 1000),
                                           T("B", "INCOME", kIncome, " 3/02/98", 200, 3000),
                                           T("B", "BOND", kBond, " 3/02/98", 5000, 4950),
                                           T("B", "NOTE", kNote, " 3/02/98", 4000, 4100),
                                           T("B", "IBM", kIbm, " 4/01/98", 20, 2400),
                                           T("B", "AWAY", kAway, " 5/01/98", 5, 40, "S"),
                                           Reinvested(T("B", "GROWTH", kGrowth, " 6/30/98", 10, 100)),
                                       });
    fixtures::WriteTransactions("MF2", {
                                           T("FI", "CASH", kCash, " 1/02/98", 0, 5000),
                                           T("B", "IBM", kIbm, " 4/01/98", 10, 1200),
                                       });
    fixtures::WriteTransactions("MF3", {T("FI", "CASH", kCash, " 1/02/98", 0, 750)});
}

}  // namespace mffix
