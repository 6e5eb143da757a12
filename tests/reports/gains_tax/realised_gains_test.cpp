// The realised gains and losses report: goldens from small accounts, the
// tax-file run and the runs that stop.

#include "reports/gains_tax/realised_gains.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/gains_tax/gains_fixture.h"

namespace {

using fixtures::TempDataDir;

std::string RunGains(const std::string& scope, const std::string& manager, const std::string& account,
                     const std::string& start = " 1/01/97", const std::string& end = "12/31/97") {
    std::string id = account;
    int16_t status = 0, page = 0;
    reports::Glprint(scope, manager, id, start, end, 3, status, page, "GAINS.TXT   ", "TC123   ", "ACME");
    EXPECT_EQ(status, 105);
    return fixtures::ReportText("GAINS.TXT");
}

TEST(Glprint, OneAccountInThreeColumns) {
    TempDataDir dir;
    gains_fixture::WriteAll();
    fixtures::CompareWithGolden("reports/gains_tax/realised_gains_one_account.txt",
                                RunGains("S   ", "????", "SMITH   "));
}

TEST(Glprint, OptionsGainsOnlyTotalsKeepZeroGainsAndSecondLines) {
    TempDataDir dir;
    gains_fixture::WriteAll();
    fixtures::SetOptions({{records::Opt::kCouponDueDescription, 1},
                          {records::Opt::kNoGainTotals, 1},
                          {records::Opt::kKeepZeroGains, 1}});
    fixtures::CompareWithGolden("reports/gains_tax/realised_gains_options.txt",
                                RunGains("S   ", "????", "SMITH   "));
}

TEST(Glprint, ManagerCodeRunPagesAndTypeOneAccounts) {
    TempDataDir dir;
    // A page of 20 lines holds the heading (12 lines) and a few lots.
    gains_fixture::WriteAll(20);
    fixtures::CompareWithGolden("reports/gains_tax/realised_gains_manager_ab.txt",
                                RunGains("A   ", "AB  ", "        "));
}

TEST(Glprint, NoAccountOfTheManagerCode) {
    TempDataDir dir;
    gains_fixture::WriteAll();
    EXPECT_EQ(RunGains("A   ", "ZZ  ", "        "), "No accounts for manager ZZ   to report.\n");
}

TEST(Glprint, UnreadableRecordsEndTheirStep) {
    TempDataDir dir;
    gains_fixture::WriteAll();
    // A gains file cut after its third lot (in file order): the lots read
    // so far and the totals.
    fixtures::CutFile("GLSMITH.REC", 4);
    const std::string cut = RunGains("S   ", "????", "SMITH   ");
    EXPECT_NE(cut.find("12,000.00"), std::string::npos);
    EXPECT_NE(cut.find("150,000.00"), std::string::npos);
    EXPECT_EQ(cut.find("100.01"), std::string::npos);
    EXPECT_EQ(cut.find("REACQUIRED"), std::string::npos);
    EXPECT_NE(cut.find("TOTALS:"), std::string::npos);
    // A gains file that cannot be read: the account has nothing to report.
    std::filesystem::remove("GLJONES.REC");
    EXPECT_EQ(RunGains("S   ", "????", "JONES   "), "\n No gains (losses) for JONES  to report.\n");
    // An account whose records cannot be read ends the run with the reason
    // after what was written, and the report is still copied.
    fixtures::CutFile("ACCOUNT.REC", 10);
    const std::string stopped = RunGains("A   ", "????", "        ");
    EXPECT_NE(stopped.find("REALIZED GAINS & LOSSES"), std::string::npos);
    EXPECT_NE(stopped.find(" ACCOUNT.REC record 9 could not be read."), std::string::npos);
    // An empty data directory: the index cannot be read.
    TempDataDir empty;
    EXPECT_EQ(RunGains("A   ", "????", "        "), " ACCOUNT.IDX record 1 could not be read.\n");
}

TEST(Glprint, AGrowingTableTakesEveryLot) {
    TempDataDir dir;
    gains_fixture::WriteCommon();
    gains_fixture::WriteSecurities();
    gains_fixture::WriteAccounts();
    std::vector<fixtures::GainFields> lots;
    for (int i = 0; i < 2000; ++i)
        lots.push_back({.sold = " 6/02/97",
                        .bought = " 1/02/97",
                        .description1 = "LOT",
                        .proceeds = 2,
                        .cost = 1,
                        .quantity = 1,
                        .symbol = "IBM"});
    fixtures::WriteGains("SMITH", lots);
    const std::string text = RunGains("S   ", "????", "SMITH   ");
    EXPECT_NE(text.find("2,000.00        4,000.00        2,000.00"), std::string::npos);
}

}  // namespace
