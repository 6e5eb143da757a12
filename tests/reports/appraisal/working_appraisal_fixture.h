#pragma once

// The data directory of the working appraisal tests: seven securities
// priced on 06/30/00 (the program date), three accounts, the type and
// category names, page kind "I".

#include <string>

#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"

namespace hwfix {

inline void SetPageKind(char kind) {
    records::Record rec(128, ' ');
    rec.data()[0] = static_cast<unsigned char>(kind);
    fixtures::WriteCommonRecord(17, rec);
}

enum Position : int16_t { kCash = 1, kIbm, kGe, kBond, kNote, kXyz, kUnmg };

inline fixtures::LotFields Lot(const std::string& symbol, Position pos, double key, double quantity,
                               double cost, const std::string& date, const std::string& code = "") {
    return {.symbol = symbol,
            .security_record = pos,
            .quantity = quantity,
            .cost = cost,
            .open_date = date,
            .tax_lot = code,
            .holding_key = key};
}

// Three accounts priced on 06/30/00, the program date:
//  100001 (manager AB): cash; IBM bought 01/15/99 (long) and 02/15/00
//   (short); GE; a note of 10,000 at 6% maturing in 365 days whose coupon
//   steps back to 04/01/00 (90 days of interest, 30/360, end day counted:
//   150.00); a note of 30,000 maturing in 730 days without a coupon
//   date (its coupons fall on 06/30: one day, 4.17); an unmanaged lot.
//  100002 (manager CD): cash and a stock without a price.
//  100003 (manager AB): 10.5 shares of IBM.
inline void WriteFirm() {
    fixtures::WriteProgramDate(" 6/30/00");
    fixtures::WriteFirmHeading("FIRST ADVISERS", 58);
    SetPageKind('I');
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .description1 = "CASH", .type = "1", .rate = 0},
        {.symbol = "IBM",
         .description1 = "INTL BUSINESS MACHINES",
         .type = "H",
         .category = "35",
         .rate = 1.5f},
        {.symbol = "GE", .description1 = "GENERAL ELECTRIC", .type = "H", .category = "20", .rate = 0.8f},
        {.symbol = "T 6 01",
         .description1 = "US TREASURY NOTE",
         .description2 = "6% DUE 2001",
         .type = "5",
         .maturity = " 6/30/01",
         .rate = 6.0f,
         .moody_rating = "AAA",
         .sp_rating = "AAA",
         .coupon_date = "10/01/00"},
        {.symbol = "T 5 02",
         .description1 = "US TREASURY NOTE",
         .type = "5",
         .maturity = " 6/30/02",
         .rate = 5.0f},
        {.symbol = "XYZ", .description1 = "XYZ CORP", .type = "H", .category = "20", .rate = 0},
        {.symbol = "UNMG", .description1 = "HELD AWAY", .type = "H", .rate = 0},
    });
    fixtures::WritePrices(" 6/30/00", {1.0, 100.5, 50.0, 99.0, 98.5, -1.0, 20.0});
    fixtures::WriteClients({
        {.id = "100001",
         .address = {"JOHN SMITH"},
         .manager = "AB",
         .short_name = "SMITH ACCOUNT",
         .objective = "GRTH"},
        {.id = "100002", .address = {"MARY JONES"}, .manager = "CD", .short_name = "JONES ACCOUNT"},
        {.id = "100003", .address = {"AL BROWN"}, .manager = "AB", .short_name = "BROWN ACCOUNT"},
    });
    fixtures::WriteHoldings("100001", {
                                          Lot("CASH", kCash, 0, 1500.25, 1500.25, " 6/30/00"),
                                          Lot("IBM", kIbm, 1, 100, 9000, " 1/15/99"),
                                          Lot("IBM", kIbm, 1, 50, 5000, " 2/15/00"),
                                          Lot("GE", kGe, 2, 200, 11000, " 1/05/98"),
                                          Lot("T 6 01", kBond, 3, 10000, 9800, " 4/01/98"),
                                          Lot("T 5 02", kNote, 4, 30000, 29000, " 5/01/99"),
                                          Lot("UNMG", kUnmg, 5, 5, 80, " 2/05/00", "S"),
                                      });
    fixtures::WriteHoldings("100002", {
                                          Lot("CASH", kCash, 0, 250, 250, " 6/30/00"),
                                          Lot("XYZ", kXyz, 1, 10, 300, " 1/05/00"),
                                      });
    fixtures::WriteHoldings("100003", {Lot("IBM", kIbm, 1, 10.5, 900, " 1/15/99")});
    fixtures::WriteTypeNameFile({{2, "CASH AND EQUIVALENTS"},
                                 {6, "GOVERNMENT NOTES"},
                                 {18, "COMMON STOCK"},
                                 {36, "UNMANAGED ASSETS"}});
    fixtures::WriteNameFile("SCATNAME.DAT", {{20, "ELECTRICAL EQUIPMENT"}, {35, "COMPUTERS"}});
}

}  // namespace hwfix
