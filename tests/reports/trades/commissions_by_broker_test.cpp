// Commissions by broker: every broker or one, the TOTAL line, warnings only
// for every-broker runs.

#include "reports/trades/commissions_by_broker.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/trades/commission_fixture.h"

namespace {

using commission_fixture::Trade;
using fixtures::TempDataDir;

void WriteData() {
    commission_fixture::WriteCommon();
    commission_fixture::WriteBrokers();
    commission_fixture::WriteAccounts();
    fixtures::WriteTransactions("SMITH", {
                                             Trade("B", "IBM", " 3/01/01", "ALDEN", 25.00),
                                             Trade("S", "IBM", " 3/15/01", "BAXTER", 30.50),
                                             Trade("B", "IBM", " 2/10/01", "ALDEN", 10.00),
                                             Trade("B", "IBM", "12/15/00", "ALDEN", 1000.00),
                                             Trade("B", "IBM", " 3/05/01", "ZED", 4.00),
                                             Trade("B", "IBM", " 3/16/01", "CORWIN", 4.00),
                                         });
    fixtures::WriteTransactions("JONES", {Trade("S", "IBM", " 3/02/01", "ALDEN", 12.00)});
}

std::string RunBrokers(const std::string& selection, const std::string& broker,
                       const std::string& manager = "????") {
    reports::Btotcom(" 3/15/01", selection, broker, manager, 1, "COMBRK.TXT  ");
    return fixtures::ReportText("COMBRK.TXT");
}

TEST(Btotcom, EveryBroker) {
    TempDataDir dir;
    WriteData();
    // CORWIN's only trade is after the report date: not listed.
    fixtures::CompareWithGolden("reports/trades/commissions_by_broker_all.txt",
                                RunBrokers("A   ", "        "));
}

TEST(Btotcom, OneBroker) {
    TempDataDir dir;
    WriteData();
    fixtures::CompareWithGolden("reports/trades/commissions_by_broker_baxter.txt",
                                RunBrokers("S   ", "BAXTER  ", "AB  "));
}

// A broker the sort file lacks lists every broker, without warnings; a
// manager code with no commissions still writes the TOTAL line.
TEST(Btotcom, UnknownBrokerListsEveryBrokerAndTotalsAlwaysWritten) {
    TempDataDir dir;
    WriteData();
    const std::string unknown = RunBrokers("S   ", "NOBODY  ");
    EXPECT_EQ(unknown.find("WARNING"), std::string::npos);
    EXPECT_NE(unknown.find("ALDEN"), std::string::npos);
    EXPECT_NE(unknown.find("BAXTER"), std::string::npos);
    const std::string none = RunBrokers("A   ", "        ", "ZZ  ");
    EXPECT_NE(none.find("TOTAL           0.00        0.00        0.00"), std::string::npos);
}

}  // namespace
