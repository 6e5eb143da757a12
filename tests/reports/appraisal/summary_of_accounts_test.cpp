// The summary of accounts: goldens, missing prices, option 75 and
// selections.

#include "reports/appraisal/summary_of_accounts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/position_summary_fixture.h"

namespace {

using fixtures::TempDataDir;

std::vector<std::string> RunAccsum(const char* manager, const char* begin = possum::kReportDate,
                                   const char* current = possum::kLaterDate) {
    reports::Accsum(manager, begin, current, "ACC.TXT     ");
    return fixtures::ReportFileLines("ACC.TXT");
}

const std::string* Find(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos) return &line;
    return nullptr;
}

TEST(Accsum, GoldenEveryManager) {
    TempDataDir dir;
    possum::WriteData();
    for (const std::string& line : RunAccsum("????")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden("reports/appraisal/summary_of_accounts_all.txt",
                                fixtures::ReportText("ACC.TXT"));
}

TEST(Accsum, GoldenWithoutBeginningValuesYieldOnCost) {
    TempDataDir dir;
    possum::WriteData();
    fixtures::SetOptions({{records::Opt::kNoSummaryBeginningValue, 1}, {records::Opt::kYieldOnCost, 1}});
    RunAccsum("AB??");
    fixtures::CompareWithGolden("reports/appraisal/summary_of_accounts_ab.txt",
                                fixtures::ReportText("ACC.TXT"));
}

TEST(Accsum, NoAccountsAndOneAccount) {
    TempDataDir dir;
    possum::WriteData();
    std::vector<std::string> lines = RunAccsum("XY??");
    EXPECT_NE(lines.back().find("No accounts for manager XY?? to report."), std::string::npos);
    ASSERT_NE(Find(lines, "CONSOLIDATED PORTFOLIO"), nullptr);
    EXPECT_NE(Find(lines, "CONSOLIDATED PORTFOLIO")->find("0.00"), std::string::npos);
    fixtures::WriteClients({possum::Client("DELTA", "CD34", "ADAMS PARTNERS")});
    lines = RunAccsum("????");
    EXPECT_NE(Find(lines, "ADAMS PARTNERS"), nullptr);
    EXPECT_EQ(Find(lines, "No accounts"), nullptr);
}

TEST(Accsum, MissingPricesPrintNotAvailableAndStayOutOfTheTotals) {
    TempDataDir dir;
    possum::WriteData();
    const std::vector<std::string> lines = RunAccsum("CD??");
    const std::string* zeta = Find(lines, "ZETA HOLDINGS");
    ASSERT_NE(zeta, nullptr);
    EXPECT_EQ(zeta->substr(33, 16), "       N/A      ");
    const std::string* total = Find(lines, "CONSOLIDATED PORTFOLIO");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->substr(33, 16), "       N/A      ");
    EXPECT_EQ(total->substr(49, 16), "       N/A      ");
}

}  // namespace

namespace {

// A new page only once the lines used exceed the page length: the line
// that makes them equal stays on its page.
TEST(Accsum, PageBreaks) {
    TempDataDir dir;
    possum::WriteData();
    possum::WriteFirm(11);  // the heading uses 10 lines
    const std::vector<std::string> lines = RunAccsum("????");
    std::vector<std::string> order;
    for (const std::string& line : lines) {
        if (line.find("SUMMARY OF ACCOUNTS") != std::string::npos) order.push_back("HEADING");
        for (const char* name : {"ALPHA GROWTH", "JOHN Q", "ZETA", "ADAMS"})
            if (line.find(name) == 1) order.push_back(name);
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{"HEADING", "ALPHA GROWTH", "JOHN Q", "HEADING", "ZETA", "ADAMS"}));
}

}  // namespace
