// The position summary: goldens, selections, combined lots, the rebuilt
// holdings and the early ends.

#include "reports/appraisal/position_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/position_summary_fixture.h"

namespace {

using fixtures::TempDataDir;

std::vector<std::string> RunPrhlrec(const char* scope, const char* manager, const char* account,
                                    const char* date = possum::kReportDate, int16_t mode = 3) {
    std::string id = account;
    reports::Prhlrec(scope, manager, id, date, mode, "POS.TXT     ");
    return fixtures::ReportFileLines("POS.TXT");
}

int Count(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos) ++n;
    return n;
}

TEST(Prhlrec, GoldenEveryAccount) {
    TempDataDir dir;
    possum::WriteData();
    fixtures::SetOptions({{records::Opt::kCouponDueDescription, 1}, {records::Opt::kOpeningValue, 1}});
    for (const std::string& line : RunPrhlrec("A   ", "????", "")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden("reports/appraisal/position_summary_all.txt",
                                fixtures::ReportText("POS.TXT"));
}

TEST(Prhlrec, GoldenCombinedSortedLotsOnShortPages) {
    TempDataDir dir;
    possum::WriteData();
    possum::WriteFirm(24);
    fixtures::SetOptions(
        {{records::Opt::kSortStocksWithoutSic, 1}, {records::Opt::kCombineLotsOnSummary, 1}});
    RunPrhlrec("S   ", "????", "ALPHA");
    fixtures::CompareWithGolden("reports/appraisal/position_summary_alpha.txt",
                                fixtures::ReportText("POS.TXT"));
}

TEST(Prhlrec, Selections) {
    TempDataDir dir;
    possum::WriteData();
    EXPECT_EQ(Count(RunPrhlrec("A   ", "AB??", ""), "POSITION SUMMARY"), 2);
    EXPECT_EQ(Count(RunPrhlrec("A   ", "CD12", ""), "ZETA HOLDINGS"), 1);
    EXPECT_EQ(Count(RunPrhlrec("A   ", "    ", ""), "POSITION SUMMARY"), 0);
    // One account outside the index: one line says so.
    const std::vector<std::string> missing = RunPrhlrec("S   ", "????", "NOSUCH");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0].find("NOSUCH"), std::string::npos);
    // Output mode 0 writes nothing.
    std::remove("POS.TXT");
    std::string id = "ALPHA";
    reports::Prhlrec("A   ", "????", id, possum::kReportDate, 0, "POS.TXT     ");
    EXPECT_FALSE(TempDataDir::Exists("POS.TXT"));
}

TEST(Prhlrec, AnIndexOfOneAccountListsIt) {
    TempDataDir dir;
    possum::WriteData();
    fixtures::WriteClients({possum::Client("DELTA", "CD34", "ADAMS PARTNERS")});
    EXPECT_EQ(Count(RunPrhlrec("A   ", "????", ""), "ADAMS PARTNERS"), 1);
}

TEST(Prhlrec, CombiningKeepsManagedLotsOut) {
    TempDataDir dir;
    possum::WriteData();
    fixtures::SetOptions({{records::Opt::kCombineLotsOnSummary, 1}});
    // The managed "S" lot first: the two IBM lots still print, as one.
    fixtures::WriteHoldings("ALPHA", {possum::Lot("IBM", 2, 50, 1000, "S"), possum::Lot("IBM", 2, 100, 8000),
                                      possum::Lot("IBM", 2, 50, 4500)});
    const std::vector<std::string> lines = RunPrhlrec("S   ", "????", "ALPHA");
    ASSERT_EQ(Count(lines, "INTL BUSINESS MACHINES"), 1);
    for (const std::string& line : lines) {
        if (line.find("INTL BUSINESS") != std::string::npos) {
            EXPECT_NE(line.find("       150"), std::string::npos);
        }
    }
    fixtures::SetOptions({{records::Opt::kCombineLotsOnSummary, 2}});
    EXPECT_EQ(Count(RunPrhlrec("S   ", "????", "ALPHA"), "INTL BUSINESS MACHINES"), 2);
}

TEST(Prhlrec, EarlierDateRebuildsWithoutTouchingTheTransactions) {
    TempDataDir dir;
    possum::WriteData();
    fixtures::WriteTransactions("DELTA", {fixtures::Transaction("B", "IBM", "", " 3/15/96", 100, 10000, 1, 2),
                                          fixtures::Transaction("S", "IBM", "", " 6/15/98", 40, 5000, 1, 2)});
    fixtures::WritePrices("12/31/97", {1.0, 80.0});
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("TRDELTA.REC");
    const std::vector<std::string> lines = RunPrhlrec("S   ", "????", "DELTA", "12/31/97");
    EXPECT_EQ(Count(lines, "INTL BUSINESS MACHINES"), 1);
    EXPECT_EQ(Count(lines, "       100 "), 1);
    EXPECT_EQ(TempDataDir::ReadBytes("TRDELTA.REC"), before);
    EXPECT_FALSE(TempDataDir::Exists("GL.TMP"));
}

TEST(Prhlrec, EarlyEndsFinishTheReport) {
    TempDataDir dir;
    // No COMMON.FIL: the report says so and is still copied.
    std::vector<std::string> lines = RunPrhlrec("A   ", "????", "");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("COMMON.FIL"), std::string::npos);
    possum::WriteData();
    fixtures::CutFile("ACCOUNT.REC", 9);  // ALPHA's records 2-8 only in part
    lines = RunPrhlrec("A   ", "????", "");
    EXPECT_NE(lines.back().find("ACCOUNT.REC record"), std::string::npos);
}

}  // namespace
