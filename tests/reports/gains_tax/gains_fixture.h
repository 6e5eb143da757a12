#pragma once

// The data directory of the gains and income report tests: a firm with
// three accounts, their securities and their realised lots.

#include <string>
#include <vector>

#include "tests/fixtures/report_data.h"

namespace gains_fixture {

// IBM (type N), BOND (type B, 7.5% due 06/15/05), TBILL (type 1) and a
// foreign-address fund DIV (type P).
inline void WriteSecurities() {
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "C   "},
        {.symbol = "IBM",
         .cusip = "459200101XYZ",
         .description1 = "INTL BUSINESS MACHINES CORPORATION",
         .type = "N   "},
        {.symbol = "BOND",
         .cusip = "123456AB7",
         .description1 = "ACME CORP DEBENTURES",
         .type = "B   ",
         .maturity = " 6/15/05",
         .rate = 7.5f},
        {.symbol = "TBILL", .cusip = "912795AA1", .description1 = "U S TREASURY BILL", .type = "1   "},
    });
}

// SMITH: "JOHN Q PUBLIC", a street line with digits; JONES: "MARY SMITH"
// with a second name line. The gains runs and the income summary's
// 1099-DIV file both use them.
inline fixtures::ClientFields SmithClient() {
    return {.id = "SMITH",
            .address = {"JOHN Q PUBLIC", "123 MAIN STREET", "SPRINGFIELD, IL 62701", "", ""},
            .manager = "AB",
            .short_name = "JOHN Q PUBLIC",
            .tax_id = "123-45-6789",
            .custodian_account = "SMITH-ACCOUNT-NUMBER-1"};
}
inline fixtures::ClientFields JonesClient() {
    return {.id = "JONES",
            .address = {"MARY SMITH", "C/O JONES TRUST", "44 ELM ROAD APT 5", "BOSTON MA 02110-1234", ""},
            .manager = "AC",
            .short_name = "MARY SMITH TRUST",
            .tax_id = "987654321",
            .custodian_account = "JONES-1"};
}

// SMITH, JONES, and BILLS: only type "1" lots.
inline void WriteAccounts() {
    fixtures::WriteClients({
        SmithClient(),
        JonesClient(),
        {.id = "BILLS",
         .address = {"BILL HOLDER", "1 WAY", "DOVER DE 19901"},
         .manager = "AB",
         .short_name = "BILL HOLDER"},
    });
}

inline void WriteCommon(short page_length = 58) {
    fixtures::WriteProgramDate("12/31/97");
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS", page_length);
}

// SMITH's lots, in file order (not date order).
inline std::vector<fixtures::GainFields> SmithGains() {
    return {
        // Sold 07/15/97, held eighteen months: long-term, a second line.
        {.sold = " 7/15/97",
         .bought = " 1/15/96",
         .description1 = "INTL BUSINESS MACHINES CORPORATION",
         .description2 = "LOT OF JULY",
         .proceeds = 150000,
         .cost = 100000,
         .quantity = 1500,
         .symbol = "IBM"},
        // A year to the day: short-term.
        {.sold = " 1/15/97",
         .bought = " 1/15/96",
         .description1 = "INTL BUSINESS MACHINES CORPORATION",
         .proceeds = 12000,
         .cost = 10000,
         .quantity = 100,
         .symbol = "IBM"},
        // A day more: mid-term, a loss.
        {.sold = " 1/16/97",
         .bought = " 1/15/96",
         .description1 = "INTL BUSINESS MACHINES CORPORATION",
         .proceeds = 4000,
         .cost = 5000.004,
         .quantity = 50,
         .symbol = "IBM"},
        // Proceeds equal to cost: left out unless option 48.
        {.sold = " 2/01/97",
         .bought = " 6/01/96",
         .description1 = "ACME CORP DEBENTURES",
         .proceeds = 500,
         .cost = 500,
         .quantity = 5,
         .symbol = "BOND"},
        // Reacquired, held three years: short-term with "* ".
        {.sold = " 3/03/97",
         .bought = " 1/15/94",
         .description1 = "INTL BUSINESS MACHINES CORPORATION",
         .proceeds = 1000,
         .cost = 900,
         .quantity = 10,
         .symbol = "IBM",
         .reacquired = 1},
        // Sold before the range.
        {.sold = "12/15/96",
         .bought = " 1/15/96",
         .description1 = "INTL BUSINESS MACHINES CORPORATION",
         .proceeds = 99,
         .cost = 1,
         .quantity = 1,
         .symbol = "IBM"},
        // A gain of a cent, always listed; the bond's second line comes
        // from its rate and maturity when option 2 is on.
        {.sold = " 4/01/97",
         .bought = " 6/01/96",
         .description1 = "ACME CORP DEBENTURES",
         .proceeds = 100.01,
         .cost = 100,
         .quantity = 1,
         .symbol = "BOND"},
        // Quantity 0: left out.
        {.sold = " 4/02/97",
         .bought = " 6/01/96",
         .description1 = "ACME CORP DEBENTURES",
         .proceeds = 50,
         .cost = 10,
         .quantity = 0,
         .symbol = "BOND"},
    };
}

inline std::vector<fixtures::GainFields> BillGains() {
    return {{.sold = " 5/01/97",
             .bought = " 2/01/97",
             .description1 = "U S TREASURY BILL",
             .proceeds = 10000,
             .cost = 9800,
             .quantity = 10000,
             .symbol = "TBILL"}};
}

inline std::vector<fixtures::GainFields> JonesGains() {
    return {{.sold = " 3/01/97",
             .bought = " 9/15/96",
             .description1 = "ACME CORP DEBENTURES",
             .proceeds = 2000,
             .cost = 2123.45,
             .quantity = 20,
             .symbol = "BOND"}};
}

inline void WriteAll(short page_length = 58) {
    WriteCommon(page_length);
    WriteSecurities();
    WriteAccounts();
    fixtures::WriteGains("SMITH", SmithGains());
    fixtures::WriteGains("BILLS", BillGains());
    fixtures::WriteGains("JONES", JonesGains());
}

}  // namespace gains_fixture
