// Commissions by account: the three commission windows, the trades that
// count, broker warnings, zero totals, and the broker sort file it
// rebuilds.

#include "reports/trades/commissions_by_account.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "records/record.h"
#include "reports/trades/commission_detail.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/trades/commission_fixture.h"

namespace {

using commission_fixture::Trade;
using fixtures::TempDataDir;

void WriteMarch2001() {
    commission_fixture::WriteCommon();
    commission_fixture::WriteBrokers();
    commission_fixture::WriteAccounts();
    fixtures::WriteTransactions("SMITH",
                                {
                                    Trade("B", "IBM", " 3/01/01", "ALDEN", 25.00),   // every column
                                    Trade("S", "IBM", " 3/15/01", "BAXTER", 30.50),  // the report date itself
                                    Trade("B", "IBM", " 2/10/01", "ALDEN", 10.00),   // year and as of
                                    Trade("B", "IBM", "12/15/00", "ALDEN", 1000.00),  // as of only
                                    Trade("SS", "GE", " 3/10/01", "CORWIN", 5.00),
                                    Trade("CS", "GE", " 3/16/01", "ALDEN", 7.00),   // after the report date
                                    Trade("DI", "IBM", " 3/05/01", "ALDEN", 9.00),  // not a trade
                                    Trade("B", "IBM", " 3/05/01", "ALDEN", 0.00),   // no commission
                                    Trade("B", "", " 3/05/01", "ALDEN", 3.00),      // blank symbol
                                    Trade("B", "IBM", " 3/05/01", "ZED", 4.00),     // broker not entered
                                    Trade("B", "IBM", " 6/01/99", "BAXTER", 2.00),  // an earlier century
                                });
    fixtures::WriteTransactions("JONES", {Trade("S", "IBM", " 3/02/01", "CORWIN", 12.00),
                                          Trade("S", "IBM", " 4/02/01", "ZED", 12.00)});
}

std::string RunAccounts(const std::string& date, const std::string& selection = "A   ",
                        const std::string& manager = "????", const std::string& account = "        ") {
    reports::Btcomacc(date, selection, account, manager, "COMACC.TXT  ");
    return fixtures::ReportText("COMACC.TXT");
}

TEST(Btcomacc, MarchOf2001) {
    TempDataDir dir;
    WriteMarch2001();
    fixtures::CompareWithGolden("reports/trades/commissions_by_account_march_2001.txt",
                                RunAccounts(" 3/15/01"));
}

TEST(Btcomacc, JanuaryStartsMonthAndYearTogether) {
    TempDataDir dir;
    WriteMarch2001();
    fixtures::WriteTransactions("SMITH", {
                                             Trade("B", "IBM", " 1/02/01", "ALDEN", 25.00),
                                             Trade("B", "IBM", "12/31/00", "ALDEN", 10.00),
                                             Trade("B", "IBM", " 1/05/01", "ZED", 4.00),
                                         });
    fixtures::CompareWithGolden("reports/trades/commissions_by_account_january.txt",
                                RunAccounts(" 1/31/01", "A   ", "A?"));
}

TEST(Btcomacc, OneAccountAndManagerPatterns) {
    TempDataDir dir;
    WriteMarch2001();
    const std::string one = RunAccounts(" 3/15/01", "S   ", "ZZ  ", "JONES   ");
    EXPECT_NE(one.find("JONES"), std::string::npos);
    EXPECT_EQ(one.find("JOHN Q PUBLIC"), std::string::npos);
    // "?" in the second and fourth places: the first and third characters
    // decide (SMITH and EMPTY are "AB  ", JONES "ACX ").
    const std::string ab = RunAccounts(" 3/15/01", "A   ", "A? ?");
    EXPECT_NE(ab.find("SMITH"), std::string::npos);
    EXPECT_NE(ab.find("EMPTY"), std::string::npos);
    EXPECT_EQ(ab.find("JONES"), std::string::npos);
}

// No account index: the reason, "END" and the copy.
TEST(Btcomacc, MissingIndexSaysSoAndEnds) {
    TempDataDir dir;
    commission_fixture::WriteCommon();
    commission_fixture::WriteBrokers();
    const std::string text = RunAccounts(" 3/15/01");
    EXPECT_NE(text.find("ACCOUNT.IDX record 1 could not be read."), std::string::npos);
}

// The broker sort file after a run: the brokers in ID order, the deleted
// entry left out, the name from the third BROKER.REC record.
std::vector<unsigned char> ExpectedSortFile() {
    std::vector<unsigned char> bytes(4 * 128, 0);
    bytes[0] = 4;
    const char* ids[] = {"ALDEN   ", "BAXTER  ", "CORWIN  "};
    const char* names[] = {"ALDEN SECURITIES", "BAXTER BROTHERS", "CORWIN AND COMPANY INCORPORATED NY"};
    for (int k = 0; k < 3; ++k) {
        const std::string id = ids[k];
        const std::string name = records::Fixed(names[k], 32) + std::string(28, ' ');
        std::copy(id.begin(), id.end(), bytes.begin() + (k + 1) * 128);
        std::copy(name.begin(), name.end(), bytes.begin() + (k + 1) * 128 + 8);
    }
    return bytes;
}

std::vector<unsigned char> FileBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Btcomacc, RebuildsTheBrokerSortFile) {
    TempDataDir dir;
    WriteMarch2001();
    {
        std::ofstream stale("BRSORT.DAT", std::ios::binary);
        stale << std::string(128 * 9, 'x');
    }
    RunAccounts(" 3/15/01");
    EXPECT_EQ(FileBytes("BRSORT.DAT"), ExpectedSortFile());
    // The commission detail rebuilds it the same way.
    {
        std::ofstream stale("BRSORT.DAT", std::ios::binary);
        stale << std::string(128 * 9, 'x');
    }
    reports::Brcomfil(" 3/15/01", "        ", "A   ", "????", "DETAIL.TXT  ");
    EXPECT_EQ(FileBytes("BRSORT.DAT"), ExpectedSortFile());
}

}  // namespace
