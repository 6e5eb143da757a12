#include "reports/appraisal/composite_working_appraisal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/groups.h"
#include "records/holdings_control.h"
#include "records/index.h"
#include "records/prices.h"
#include "records/record.h"
#include "reports/kernel/report_frame.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/account_appraisal_fixture.h"
#include "tests/reports/appraisal/composite_fixture.h"

namespace {

using aafix::kBond;
using aafix::kCash;
using aafix::kIbm;
using aafix::kXyz;
using aafix::Lot;
using fixtures::TempDataDir;
using records::ValuedHolding;

constexpr const char* kCopy = "WORK.TXT";

TEST(Cohold, PriorMonthDates) {
    struct Case {
        const char* date;
        const char* prior;
    };
    for (const Case& c :
         {Case{"12/31/95", "11/30/95"}, Case{"03/31/96", " 2/29/96"}, Case{"01/15/96", "12/15/95"},
          Case{"03/31/95", " 2/28/95"}, Case{"03/30/97", " 2/28/97"}, Case{"02/28/95", " 1/31/95"},
          Case{"02/28/96", " 1/28/96"}, Case{"05/15/00", " 4/15/00"}, Case{"01/31/00", "12/31/99"},
          Case{"04/30/98", " 3/31/98"}}) {
        EXPECT_EQ(reports::PriorMonthDate(c.date), c.prior) << c.date;
    }
}

struct Pass {
    bool ok = false;
    records::HoldingsWorkHeader head;
    std::vector<ValuedHolding> records;  // record r at r - 2
    std::vector<int16_t> order;
    std::string report;

    std::vector<std::string> OrderedSymbols() const {
        std::vector<std::string> out;
        for (int16_t r : order)
            out.push_back(records::TrimRight(records[static_cast<std::size_t>(r - 2)].symbol));
        return out;
    }
};

Pass Gather(const std::vector<std::string>& accounts, const std::string& accrued = "Y   ") {
    Pass pass;
    reports::CompositeCommon common = reports::ReadCompositeCommon();
    const reports::CompositeRunDates dates = compfix::Dates("12/31/98", accrued);
    reports::CompositeHoldings holdings;
    {
        reports::ReportFrame frame(kCopy, true);
        pass.ok = reports::ValueCompositeWorking(frame, common, dates, compfix::Ids(accounts), "THE GROUP",
                                                 holdings);
    }
    pass.report = fixtures::ReportText(kCopy);
    pass.order = holdings.records;
    if (!pass.ok) return pass;
    records::Record rec;
    compfix::ReadWork(pass.head, rec, pass.records);
    // Bytes 169-212 are blank: no second heading, no objective.
    EXPECT_EQ(rec.Text(169, 44), std::string(44, ' '));
    return pass;
}

using compfix::Prepare;

TEST(Cohold, EveryLotIsARecordInTheCommonOrder) {
    TempDataDir dir;
    Prepare();
    const Pass p = Gather({"AA2", "BB1", "AA3"});
    ASSERT_TRUE(p.ok) << p.report;
    EXPECT_EQ(p.head.account, "COMBI.  ");
    EXPECT_EQ(p.head.run_kind, records::kHoldingsCompositeRun);
    EXPECT_EQ(p.head.name.substr(0, 9), "THE GROUP");
    ASSERT_EQ(p.head.count, 5);
    // The two IBM lots side by side; cash lots of AA2 and AA3 together.
    EXPECT_EQ(p.OrderedSymbols(), (std::vector<std::string>{"CASH", "CASH", "BOND", "IBM", "IBM"}));
    // Total: cash 1000 + 750, the bond 5000 (type "4" is priced at 100),
    // IBM 60 at 150, and the bond's accrued interest.
    EXPECT_NEAR(p.head.portfolio_value, 1750 + 5000 + 9000 + p.head.accrued_interest, 1e-6);
    EXPECT_GT(p.head.accrued_interest, 0);
    EXPECT_EQ(p.head.reserved, 0.0);  // the last lot valued (AA3's cash) earned none
}

TEST(Cohold, WithoutAccruedInterestBothHeaderFieldsAreZero) {
    TempDataDir dir;
    Prepare();
    const Pass p = Gather({"AA2"}, "N   ");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.head.accrued_interest, 0.0);
    EXPECT_EQ(p.head.reserved, 0.0);
    EXPECT_DOUBLE_EQ(p.head.portfolio_value, 1000 + 5000 + 7500);
}

TEST(Cohold, AnUnpricedLotEarlyInTheListMakesTheTotalUnknown) {
    TempDataDir dir;
    Prepare();
    fixtures::WriteHoldings("AA1", {Lot("XYZ", kXyz, 1, 10, 100)});
    fixtures::WritePrices("12/31/98", {1.0, 1.0, 101.5, 98.0, 150.0, records::kNoPriceValue, 12.5, 10.0});
    const Pass p = Gather({"AA1", "AA2", "BB1"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.head.portfolio_value, records::kNoPriceValue);
}

TEST(Cohold, AShortLotKeepsItsQuantityTurnsItsCostAndItsMergeKey) {
    TempDataDir dir;
    Prepare();
    fixtures::WriteHoldings("AA1", {Lot("IBM", kIbm, 1, -20, 3000)});
    const Pass p = Gather({"AA1", "BB1"});
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.records.size(), 2u);
    EXPECT_DOUBLE_EQ(p.records[0].quantity, -20);
    EXPECT_DOUBLE_EQ(p.records[0].cost, -3000);
    EXPECT_LT(p.records[0].combining_key, 0);
    EXPECT_DOUBLE_EQ(p.records[0].combining_key, -p.records[1].combining_key);
    // Signed: 10 long less 20 short at 150.
    EXPECT_DOUBLE_EQ(p.head.portfolio_value, -10 * 150.0);
}

// Option 17: each lot's change from the prior month's price; without a
// prior price "N/A" (-999.99).
TEST(Cohold, Option17GivesTheChangeFromThePriorMonth) {
    TempDataDir dir;
    Prepare({{records::Opt::kChangeFromPriorMonth, 1}});
    fixtures::WritePrices("11/30/98", {1.0, 1.0, 100.0, 97.0, 140.0, records::kNoPriceValue, 12.0, 10.0});
    fixtures::WriteHoldings("AA1", {Lot("CASH", kCash, 0, 100, 100), Lot("IBM", kIbm, 1, 10, 1000),
                                    Lot("XYZ", kXyz, 2, 10, 100)});
    const Pass p = Gather({"AA1"});
    ASSERT_TRUE(p.ok);
    for (const ValuedHolding& h : p.records) {
        const std::string s = records::TrimRight(h.symbol);
        if (s == "CASH") {
            EXPECT_FLOAT_EQ(h.month_change, 0.0f);
        }
        if (s == "IBM") {
            EXPECT_FLOAT_EQ(h.month_change, 100.0f);  // 10 x (150 - 140)
        }
        if (s == "XYZ") {
            EXPECT_FLOAT_EQ(h.month_change, -999.99f);
        }
    }
}

std::string RunComposite(const std::string& kind, const std::string& manager,
                         const std::vector<std::string>& list) {
    if (!list.empty()) records::WriteAccountLines(list, records::kAccountListFile);
    reports::Cohold(kind, manager, "12/31/98", "Y   ", records::kAccountListFile, 12, kCopy, 12, "THE GROUP");
    EXPECT_TRUE(TempDataDir::Exists(kCopy));
    return fixtures::ReportText(kCopy);
}

TEST(Cohold, TheRunLeavesTheControlFileFinishedAndNoWorkFile) {
    TempDataDir dir;
    Prepare();
    const std::string text = RunComposite("S   ", "????", {"AA2", "ZZ9", "BB1"});
    EXPECT_NE(text.find(" ACCOUNT ZZ9 of the account list is not in ACCOUNT.IDX; it is passed over."),
              std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("HLZZ9.REC"));
    EXPECT_NE(text.find("ACCOUNT: COMBINED- THE GROUP"), std::string::npos) << text;
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
    const std::vector<unsigned char> control = TempDataDir::ReadBytes(records::kHoldingsControlFile);
    ASSERT_EQ(control.size(), records::kHoldingsControlLength);
    std::vector<unsigned char> expected(records::kHoldingsControlLength, 0);
    const auto finished = static_cast<uint16_t>(records::kHoldingsRunFinished);
    expected[0] = static_cast<unsigned char>(finished & 0xff);
    expected[1] = static_cast<unsigned char>(finished >> 8);
    EXPECT_EQ(control, expected);
}

TEST(Cohold, StopsAreReportLines) {
    TempDataDir dir;
    Prepare();
    EXPECT_EQ(RunComposite("S   ", "????", {"ZZ9"}),
              " ACCOUNT ZZ9 of the account list is not in ACCOUNT.IDX; it is passed over.\n"
              "No accounts selected.\n");
    fixtures::WriteAccountKeys({}, 0);
    EXPECT_EQ(RunComposite("A   ", "????", {}),
              "No accounts in system, enter accounts in menu option \"Setup\".\n");
    records::Purge(records::kAccountIndex);
    EXPECT_EQ(RunComposite("A   ", "????", {}), "Error in account file(s)\n");
}

// More lots than TEMP1.WRK's header can count: the run ends with the
// warning, and the report is still ended and copied.
TEST(Cohold, TheHoldingsLimitEndsTheRunWithItsWarning) {
    TempDataDir dir;
    Prepare();
    std::vector<fixtures::LotFields> lots(16400, Lot("IBM", kIbm, 1, 1, 100));
    fixtures::WriteHoldings("AA1", lots);
    fixtures::WriteHoldings("AA2", lots);
    const std::string text = RunComposite("S   ", "????", {"AA1", "AA2"});
    EXPECT_EQ(text, "Warning:maximum of 32766 holdings currently allowed.\n");
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
}

// A rebuild that stops is named in a report line, and the pages print
// (the rebuild's status is not taken for the output mode).
TEST(Cohold, AFailedRebuildIsNamedAndThePagesPrint) {
    TempDataDir dir;
    Prepare();
    compfix::WriteStoppingRebuild();
    reports::Cohold("S   ", "????", "11/30/98", "N   ", records::kAccountListFile, 12, kCopy, 12,
                    "THE GROUP");
    const std::string text = fixtures::ReportText(kCopy);
    EXPECT_NE(
        text.find(" ACCOUNT AA2: the rebuild of its holdings ended with status 2; its lots are appraised "
                  "as rebuilt."),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("ACCOUNT: COMBINED- THE GROUP"), std::string::npos);
    EXPECT_NE(text.find("14,000.00"), std::string::npos);  // IBM: 100 at 140
}

}  // namespace
