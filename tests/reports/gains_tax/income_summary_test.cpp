// The income summary: sections from the built-in income classes and from
// a COMMON.FIL table, the capital gains distributions, the expense rows,
// the closing message, and the 1099-DIV tax file.

#include "reports/gains_tax/income_summary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/gains_tax/gains_fixture.h"

namespace {

using fixtures::TempDataDir;
using records::TransactionRecord;

void WriteIncomeSecurities() {
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "C   "},
        {.symbol = "IBM", .cusip = "459200101", .description1 = "INTL BUSINESS MACHINES", .type = "N   "},
        {.symbol = "BOND",
         .cusip = "123456AB7",
         .description1 = "ACME CORP DEBENTURES",
         .type = "B   ",
         .maturity = " 6/15/05",
         .rate = 7.5f},
        {.symbol = "TBILL", .cusip = "912795AA1", .description1 = "U S TREASURY BILL", .type = "1   "},
        {.symbol = "USTN", .cusip = "912828AA1", .description1 = "U S TREASURY NOTE", .type = "3   "},
        {.symbol = "NYMUNI", .cusip = "649999AA1", .description1 = "NEW YORK CITY GO BONDS", .type = "7   "},
        {.symbol = "FUNDP",
         .cusip = "316000AA1",
         .description1 = "GROWTH FUND",
         .description2 = "CLASS A SHARES",
         .type = "P   "},
    });
}

TransactionRecord T(const std::string& code, const std::string& symbol, const std::string& date,
                    double amount, int16_t security, double bond_interest = 0, const std::string& type = "") {
    TransactionRecord t = fixtures::Transaction(code, symbol, "", date, 0, amount, 0, security);
    t.bond_interest = bond_interest;
    t.type = records::Fixed(type, 4);
    return t;
}

void WriteSmithTransactions() {
    fixtures::WriteTransactions(
        "SMITH",
        {
            T("DI", "IBM", " 1/10/97", 150.00, 2), T("DI", "IBM", "12/31/96", 999.00, 2),  // before the range
            T("DI", "FUNDP", " 3/01/97", 25.50, 7), T("II", "BOND", " 6/15/97", 375.00, 3),
            T("B", "BOND", " 2/01/97", 4500.00, 3, 45.25),  // accrued interest paid
            T("IP", "BOND", " 7/01/97", 10.00, 3), T("II", "TBILL", " 4/01/97", 18.00, 4),
            T("II", "USTN", " 5/15/97", 200.00, 5), T("II", "NYMUNI", " 6/01/97", 120.00, 6),
            T("DI", "XYZ", " 3/15/97", 12.34, 0),  // no security record
            T("DI", "IBM", " 4/10/97", 150.00, 2), T("MI", "IBM", "12/01/97", 40.00, 2, 0, "ST"),
            T("MI", "IBM", "12/01/97", 60.00, 2, 0, "LT"), T("MI", "FUNDP", "12/02/97", 5.00, 7),
            T("MF", "CASH", " 3/31/97", 250.00, 1), T("BC", "CASH", " 3/31/97", 50.00, 1),
            T("ME", "CASH", " 9/30/97", 1234.56, 1),
            T("FI", "CASH", " 1/02/97", 100000.00, 1),  // passed over
        });
}

void WriteIncomeData() {
    gains_fixture::WriteCommon();
    WriteIncomeSecurities();
    gains_fixture::WriteAccounts();
    WriteSmithTransactions();
    // Two fees of one code add up: 150.00.
    fixtures::WriteTransactions(
        "JONES", {T("MF", "CASH", " 6/30/97", 100.00, 1), T("MF", "CASH", " 9/30/97", 50.00, 1)});
    fixtures::WriteMessageText(
        {"THANK YOU FOR YOUR BUSINESS.", "PLEASE KEEP THIS SUMMARY FOR YOUR RECORDS."});
}

std::string RunSummary(const std::string& scope, const std::string& manager, const std::string& account,
                       const std::string& correction = "N   ") {
    int16_t status = 0;
    reports::Taxre(scope, manager, account, " 1/01/97", "12/31/97", status, 3, "INCOME.TXT  ", 12, "TC123   ",
                   "ACME", correction);
    return fixtures::ReportText("INCOME.TXT");
}

TEST(Taxre, EverySectionFromTheBuiltInTable) {
    TempDataDir dir;
    WriteIncomeData();
    fixtures::CompareWithGolden("reports/gains_tax/income_summary_built_in.txt",
                                RunSummary("S   ", "????", "SMITH   "));
}

TEST(Taxre, IncomeClassesFromCommonFile) {
    TempDataDir dir;
    WriteIncomeData();
    // Type 7 with a blank class is municipal income, type P interest
    // income; type B with a blank class stays interest income by its type.
    std::array<std::string, 23> classes = {"II", "  ", "II", "  ", "  ", "  ", "  ", "II",
                                           "  ", "II", "II", "II", "II", "II", "DI", "DI",
                                           "DI", "DI", "DI", "DI", "  ", "  ", "XX"};
    fixtures::WriteIncomeClassRecord(classes, -999);
    fixtures::CompareWithGolden("reports/gains_tax/income_summary_record_25.txt",
                                RunSummary("S   ", "????", "SMITH   "));
}

TEST(Taxre, IncomeClassTableChoice) {
    TempDataDir dir;
    std::array<std::string, 23> classes;
    classes.fill("DI");
    fixtures::WriteIncomeClassRecord(classes, -999);
    EXPECT_EQ(reports::ReadIncomeClasses(), classes);
    // Without the marker, or with an entry that is not "DI", "II" or blank
    // among the first 22, the built-in table holds.
    fixtures::WriteIncomeClassRecord(classes, 0);
    EXPECT_EQ(reports::ReadIncomeClasses(), reports::BuiltInIncomeClasses());
    classes[21] = "XX";
    fixtures::WriteIncomeClassRecord(classes, -999);
    EXPECT_EQ(reports::ReadIncomeClasses(), reports::BuiltInIncomeClasses());
    EXPECT_EQ(reports::BuiltInIncomeClasses()[6], "II");  // type 7
}

TEST(Taxre, ManagerRunWithAnAccountOfFeesOnly) {
    TempDataDir dir;
    WriteIncomeData();
    fixtures::CompareWithGolden("reports/gains_tax/income_summary_fees_only.txt",
                                RunSummary("A   ", "AC  ", "        "));
}

// Two symbols that differ only in their ninth character are two entries,
// and an amount above a million keeps its cents.
TEST(Taxre, AmountsKeepTheirCentsAndSymbolsTheirLastCharacters) {
    TempDataDir dir;
    gains_fixture::WriteCommon();
    fixtures::WriteSecurityFiles({{.symbol = "CASH", .type = "C   "},
                                  {.symbol = "FUNDALPH1", .description1 = "FUND ALPHA ONE", .type = "P   "},
                                  {.symbol = "FUNDALPH2", .description1 = "FUND ALPHA TWO", .type = "P   "}});
    gains_fixture::WriteAccounts();
    fixtures::WriteTransactions(
        "SMITH", {T("DI", "FUNDALPH1", " 2/01/97", 1234567.89, 2), T("DI", "FUNDALPH2", " 3/01/97", 0.01, 3),
                  T("DI", "FUNDALPH1", " 4/01/97", 0.02, 2)});
    const std::string text = RunSummary("S   ", "????", "SMITH   ");
    // Description (32), 15 blanks, the amount in 16.
    const std::string one =
        "          " + records::Fixed("FUND ALPHA ONE", 32) + std::string(15, ' ') + "   1,234,567.91\n";
    const std::string two =
        "          " + records::Fixed("FUND ALPHA TWO", 32) + std::string(15, ' ') + "           0.01\n";
    EXPECT_NE(text.find(one), std::string::npos);
    EXPECT_NE(text.find(two), std::string::npos);
}

}  // namespace
