#pragma once

// The data directory of the maturity alert tests (report date 06/15/99:
// window ends 07/15/99, 08/15/99, 09/15/99 and 06/15/00).
//
// Securities, by position:
//  1 CASH
//  2 US TREASURY NOTE   matures 07/10/99 (1 month), coupon 5.000, rated
//  3 CALLABLE BOND      called 08/01/99 (2 months), matures 12/01/99
//  4 PUTABLE BOND       put 09/15/99 (3 months, on W3), matures 05/01/05,
//                       no coupon (-999.99)
//  5 NO CUSIP ONE       matures 01/15/00, CUSIP zero bytes
//  6 NO CUSIP TWO       matures 06/15/00 (on W4), CUSIP zero bytes
//  7 NO DATES           no call, put or maturity date
//  8-13 types 9 H J L N P, each maturing 07/01/99
// Accounts: ALPHA (manager AB01: cash, 2, 3, 4, 7 and 8-13), BETA (AB02:
// 2 and 5), ZULU (ZZ01: 5 and 6).

#include <string>
#include <vector>

#include "records/manager_table.h"
#include "tests/fixtures/report_data.h"

namespace maturityfix {

inline void WriteData() {
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    fixtures::WriteProgramDate("06/20/99");
    records::ManagerSlots managers;
    managers.fill("    ");
    managers[0] = "AB01";
    managers[1] = "AB02";
    managers[2] = "ZZ01";
    records::WriteManagerTable(managers);
    const std::string no_cusip(12, '\0');
    std::vector<fixtures::SecurityEntry> securities = {
        {.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "1"},
        {.symbol = "T 5 99",
         .cusip = "912827AA1",
         .description1 = "US TREASURY NOTE",
         .type = "3",
         .maturity = " 7/10/99",
         .rate = 5.0f,
         .moody_rating = "AAA",
         .sp_rating = "AA+"},
        {.symbol = "CALLBD",
         .cusip = "CALL01",
         .description1 = "CALLABLE BOND",
         .type = "4",
         .maturity = "12/01/99",
         .rate = 7.25f,
         .moody_rating = "A1",
         .sp_rating = "A",
         .call_date = " 8/01/99",
         .call_price = 1015.5},
        {.symbol = "PUTBD",
         .cusip = "PUT01",
         .description1 = "PUTABLE BOND",
         .type = "6",
         .maturity = " 5/01/05",
         .put_date = " 9/15/99",
         .put_price = 100.0},
        {.symbol = "NOCUS1",
         .cusip = no_cusip,
         .description1 = "NO CUSIP ONE",
         .type = "5",
         .maturity = " 1/15/00"},
        {.symbol = "NOCUS2",
         .cusip = no_cusip,
         .description1 = "NO CUSIP TWO",
         .type = "5",
         .maturity = " 6/15/00"},
        {.symbol = "NODATE", .cusip = "NODATE", .description1 = "NO DATES", .type = "3"},
    };
    for (const char* type : {"9", "H", "J", "L", "N", "P"})
        securities.push_back({.symbol = std::string("TYPE ") + type,
                              .cusip = std::string("TYPE") + type,
                              .description1 = std::string("LEFT OUT TYPE ") + type,
                              .type = type,
                              .maturity = " 7/01/99"});
    fixtures::WriteSecurityFiles(securities);

    fixtures::WriteClients({{.id = "ALPHA", .manager = "AB01", .short_name = "ALPHA ACCOUNT"},
                            {.id = "BETA", .manager = "AB02", .short_name = "BETA ACCOUNT"},
                            {.id = "ZULU", .manager = "ZZ01", .short_name = "ZULU ACCOUNT"}});
    std::vector<fixtures::LotFields> alpha = {
        {.symbol = "CASH", .security_record = 2, .quantity = 1500, .cost = 1500, .holding_key = 0},
        {.symbol = "T 5 99",
         .security_record = 2,
         .quantity = 10000,
         .cost = 9950.25,
         .open_date = " 1/05/98",
         .holding_key = 1},
        {.symbol = "CALLBD",
         .security_record = 3,
         .quantity = 25000,
         .cost = 25312.5,
         .open_date = " 2/10/97",
         .holding_key = 2},
        {.symbol = "PUTBD",
         .security_record = 4,
         .quantity = 1234567,
         .cost = -1234.5,
         .open_date = " 3/03/96",
         .holding_key = 3},
        {.symbol = "NODATE",
         .security_record = 7,
         .quantity = 100,
         .cost = 100,
         .open_date = " 4/04/98",
         .holding_key = 4},
    };
    for (int16_t n = 8; n <= 13; ++n)
        alpha.push_back({.symbol = "LEFT OUT",
                         .security_record = n,
                         .quantity = 1,
                         .cost = 1,
                         .open_date = " 5/05/98",
                         .holding_key = 5.0 + n});
    fixtures::WriteHoldings("ALPHA", alpha);
    fixtures::WriteHoldings("BETA", {{.symbol = "T 5 99",
                                      .security_record = 2,
                                      .quantity = 5000,
                                      .cost = 4987.5,
                                      .open_date = "11/30/98",
                                      .holding_key = 1},
                                     {.symbol = "NOCUS1",
                                      .security_record = 5,
                                      .quantity = 2000,
                                      .cost = 2010,
                                      .open_date = "12/01/98",
                                      .holding_key = 2}});
    fixtures::WriteHoldings("ZULU", {{.symbol = "NOCUS1",
                                      .security_record = 5,
                                      .quantity = 3000,
                                      .cost = 3020,
                                      .open_date = " 6/01/99",
                                      .holding_key = 1},
                                     {.symbol = "NOCUS2",
                                      .security_record = 6,
                                      .quantity = 4000,
                                      .cost = 4040,
                                      .open_date = " 6/02/99",
                                      .holding_key = 2}});
}

}  // namespace maturityfix
