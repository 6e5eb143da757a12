// The code table and the filter shared by the ledgers and the member
// statement.

#include "reports/ledgers/ledger_code_table.h"

#include <gtest/gtest.h>

#include "tests/fixtures/account_builder.h"

namespace {

TEST(LedgerCodeTable, LooksCodesUpByTheirFirstTwoCharacters) {
    struct Case {
        const char* code;
        bool capital;
        int index;
        const char* description;
        int cash, quantity, units, value;
    } cases[] = {
        {"B   ", false, 1, "PURCHASE    ", -1, 1, 1, 1},
        {"S   ", false, 2, "SALE        ", 1, -1, -1, -1},
        {"SI  ", false, 7, "SEC RECVD   ", 0, 1, 1, 1},
        {"MI  ", false, 15, "MISC INCOME ", 1, 0, 0, 0},
        {"MI  ", true, 15, "CAPITAL DIST", 1, 0, 0, 0},
        {"AO  ", false, 18, "ADJ TO CASH ", -1, 0, 0, 0},
        {"IP  ", false, 22, "BND PRCH INT", -1, 1, 0, 1},
        {"IS  ", false, 23, "BND SALE INT", 1, -1, 0, -1},
        {"IPXX", false, 22, "BND PRCH INT", -1, 1, 0, 1},  // the first two characters count
        {"ZZ  ", false, 21, "            ", 0, 0, 0, 0},
        {"    ", false, 21, "            ", 0, 0, 0, 0},  // never matches entry 21
    };
    for (const Case& c : cases) {
        const reports::LedgerCode e = reports::LedgerCodeTable(c.code, c.capital);
        EXPECT_EQ(e.index, c.index) << c.code;
        EXPECT_EQ(e.description, c.description) << c.code;
        EXPECT_EQ(e.cash_sign, c.cash) << c.code;
        EXPECT_EQ(e.quantity_sign, c.quantity) << c.code;
        EXPECT_EQ(e.units_sign, c.units) << c.code;
        EXPECT_EQ(e.value_factor, c.value) << c.code;
    }
}

TEST(LedgerFilter, CodesEndAtTheFirstBlankWordAndIpTakesInterest) {
    const std::string types(46, ' ');
    const reports::LedgerFilter none =
        reports::MakeLedgerFilter("!   ", "!   " + std::string(16, ' '), "!   ", types);
    EXPECT_TRUE(none.unfiltered());
    EXPECT_EQ(none.codes_text, " ALL" + std::string(16, ' '));

    const reports::LedgerFilter f = reports::MakeLedgerFilter("    ", "IP  FI      DI  ", "    ", types);
    EXPECT_EQ(f.code_count, 2);  // DI after the blank word is not chosen
    EXPECT_EQ(f.codes_text, "IP  FI      DI      ");
    records::TransactionRecord bond = fixtures::Transaction("B", "XYZ", "", "02/01/05", 10, 100, 1, 3);
    EXPECT_FALSE(f.PassesCodes(bond));
    bond.bond_interest = 0.01;
    EXPECT_TRUE(f.PassesCodes(bond));
    EXPECT_FALSE(f.CodeChosen("B   "));
    EXPECT_TRUE(f.PassesCodes(fixtures::Transaction("FI", "CASH", "", "02/01/05", 0, 1, 0, 1)));
    EXPECT_FALSE(f.PassesCodes(fixtures::Transaction("DI", "CASH", "", "02/01/05", 0, 1, 0, 1)));
    records::TransactionRecord sale = fixtures::Transaction("S", "XYZ", "", "02/01/05", 10, 100, 1, 3);
    sale.bond_interest = 5;
    EXPECT_FALSE(f.PassesCodes(sale));  // IS was not chosen

    // Codes longer than two characters show cut to three in the heading.
    EXPECT_EQ(reports::MakeLedgerFilter("    ", "ABCD", "    ", types).codes_text,
              "ABC " + std::string(16, ' '));
}

}  // namespace
