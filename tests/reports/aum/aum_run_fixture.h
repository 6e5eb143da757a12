#pragma once

// The data directory of the assets under management tests: eleven
// securities of every valuation the run knows, four accounts under the
// manager codes AXBY, A1B2, BABA and blank, priced on 12/31/98 (the
// program date).

#include <string>

#include "tests/fixtures/report_data.h"

namespace meomfix {

enum Position : int16_t {
    kCash = 1,
    kIbm,
    kBond,
    kMuni,
    kMoney,
    kNoPrice,
    kHeldAway,
    kRSec,
    kUnheld,
    kIndex,
    kTrust,
};

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

inline void WriteSecurities() {
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .description1 = "CASH", .type = "1", .rate = 0},
        {.symbol = "IBM",
         .cusip = "IBM",
         .description1 = "INTL BUSINESS MACHINES",
         .type = "H",
         .rate = 1.5f},
        {.symbol = "BOND5",
         .cusip = "BOND5",
         .description1 = "CITY OF SPRINGFIELD",
         .type = "5",
         .maturity = " 6/15/05",
         .rate = 6.0f,
         .coupon_date = " 6/15/98"},
        {.symbol = "MUNI4",
         .cusip = "MUNI4",
         .description1 = "STATE MUNICIPAL BOND",
         .description2 = "INSURED",
         .type = "4",
         .maturity = "12/01/10",
         .rate = 5.0f},
        {.symbol = "MMF", .cusip = "MMF", .description1 = "MONEY MARKET FUND", .type = "1", .rate = 0},
        {.symbol = "NOPR", .cusip = "NOPR", .description1 = "NO PRICE CORP", .type = "H", .rate = 0},
        {.symbol = "UNMG", .cusip = "UNMG", .description1 = "HELD AWAY", .type = "H", .rate = 0},
        {.symbol = "RSEC", .cusip = "RSEC", .description1 = "R SECURITY", .type = "R", .rate = 3.0f},
        {.symbol = "UNH5", .cusip = "UNH5", .description1 = "UNHELD BOND", .type = "5", .rate = 4.0f},
        {.symbol = "SPX", .cusip = "SPX", .description1 = "S&P 500 INDEX", .type = "5", .rate = 0},
        {.symbol = "TRST", .cusip = "TRST", .description1 = "TRUST UNIT", .type = "T", .rate = 0},
    });
    fixtures::WritePrices("12/31/98", {1.0, 100.25, 98.5, 97.0, 1.0, -1.0, 30.0, 25.0, 99.0, 1200.0, 10.0});
}

inline void WriteData() {
    fixtures::WriteProgramDate("12/31/98");
    fixtures::WriteFirmHeading("LEDRA TEST FIRM", 58);
    WriteSecurities();
    fixtures::WriteClients({
        {.id = "AXBY", .manager = "AXBY", .short_name = "AXBY ACCOUNT", .custodian_account = "CUST-111"},
        {.id = "A1B2", .manager = "A1B2", .short_name = "A1B2 ACCOUNT"},
        {.id = "BABA", .manager = "BABA", .short_name = "BABA ACCOUNT"},
        {.id = "BLNK", .manager = "", .short_name = "BLANK MANAGER"},
    });
    fixtures::WriteHoldings("AXBY", {
                                        Lot("CASH", kCash, 0, 5000, 5000, "12/31/98"),
                                        Lot("IBM", kIbm, 1, 100, 8000, " 3/15/97"),
                                        Lot("BOND5", kBond, 2, 10000, 9500, "10/01/98"),
                                        Lot("MUNI4", kMuni, 3, 5000, 5100, " 1/10/96"),
                                        Lot("UNMG", kHeldAway, 4, 50, 500, " 1/10/96", "S"),
                                    });
    fixtures::WriteHoldings("A1B2", {
                                        Lot("IBM", kIbm, 1, 50, 6000, "11/01/98"),
                                        Lot("MMF", kMoney, 2, 2500, 2500, " 6/01/98"),
                                        Lot("RSEC", kRSec, 3, 10, 20000, " 6/01/97"),
                                        Lot("TRST", kTrust, 4, 5, 40, " 6/01/97"),
                                    });
    fixtures::WriteHoldings("BABA", {
                                        Lot("IBM", kIbm, 1, 10, 900, " 1/15/98"),
                                        Lot("NOPR", kNoPrice, 2, 20, 400, " 2/01/98"),
                                    });
    fixtures::WriteHoldings("BLNK", {Lot("IBM", kIbm, 1, 5, 450, " 7/01/98")});
}

}  // namespace meomfix
