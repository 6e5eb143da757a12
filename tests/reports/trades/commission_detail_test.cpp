// Commission detail by broker: the month's trades broker by broker, the
// separators between accounts, the totals, and brokers the broker file
// lacks.

#include "reports/trades/commission_detail.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/trades/commission_fixture.h"

namespace {

using commission_fixture::Trade;
using fixtures::TempDataDir;

void WriteData() {
    commission_fixture::WriteCommon("03/20/98");
    commission_fixture::WriteBrokers();
    commission_fixture::WriteAccounts();
    fixtures::WriteTransactions("SMITH", {
                                             Trade("B", "IBM", " 3/01/98", "ALDEN", 25.00, 100, -2525.00),
                                             Trade("S", "IBM", " 3/31/98", "ALDEN", 30.50, 50.5, 1234567.25),
                                             Trade("B", "IBM", " 2/28/98", "ALDEN", 5.00),   // month before
                                             Trade("B", "IBM", " 4/01/98", "ALDEN", 5.00),   // month after
                                             Trade("B", "IBM", " 3/10/98", "ALDEN", 0.00),   // no commission
                                             Trade("DI", "IBM", " 3/10/98", "ALDEN", 5.00),  // not a trade
                                             Trade("SS", "GE", " 3/05/98", "BAXTER", 8.00, 10, 500.00),
                                             Trade("CS", "GE", " 3/06/98", "BAXTER", 8.00, 10, -520.00),
                                             Trade("B", "GE", " 3/06/98", "ZED", 3.00),  // broker not entered
                                         });
    fixtures::WriteTransactions("JONES", {
                                             Trade("B", "MSFT", " 3/03/98", "ALDEN", 12.00, 10, -1000.00),
                                             Trade("B", "MSFT", " 3/20/98", "CORWIN", 9.00, 10, -1000.00),
                                             Trade("S", "MSFT", " 3/21/98", "CORWIN", 9.00, 10, 1000.00),
                                         });
}

std::string RunDetail(const std::string& selection, const std::string& broker,
                      const std::string& manager = "????") {
    reports::Brcomfil(" 3/15/98", broker, selection, manager, "DETAIL.TXT  ");
    return fixtures::ReportText("DETAIL.TXT");
}

TEST(Brcomfil, MarchOf1998EveryBroker) {
    TempDataDir dir;
    WriteData();
    fixtures::CompareWithGolden("reports/trades/commission_detail_all.txt", RunDetail("A   ", "        "));
    EXPECT_FALSE(std::filesystem::exists("COMM.DAT"));
}

TEST(Brcomfil, OneBrokerAndManager) {
    TempDataDir dir;
    WriteData();
    const std::string baxter = RunDetail("S   ", "BAXTER  ", "AB  ");
    EXPECT_NE(baxter.find("SHRT"), std::string::npos);
    EXPECT_EQ(baxter.find("ALDEN"), std::string::npos);
    EXPECT_NE(baxter.find("PORTFOLIO MANAGER: AB"), std::string::npos);
    const std::string none = RunDetail("S   ", "NOBODY  ");
    EXPECT_EQ(none.find("SMITH"), std::string::npos);
    EXPECT_NE(none.find("COMMISSION DETAIL BY BROKER"), std::string::npos);
}

}  // namespace
