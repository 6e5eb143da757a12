#include "reports/appraisal/composite_appraisal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/groups.h"
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

using aafix::Lot;
using fixtures::TempDataDir;
using records::ValuedHolding;

constexpr const char* kCopy = "COMP.TXT";

// The work file and arrays of one valuation pass.
struct Pass {
    bool ok = false;
    records::AppraisalHeader head;
    std::vector<ValuedHolding> records;  // record r at r - 2
    std::vector<int16_t> order;          // print order, 0 for a merged holding
    std::string report;                  // the report lines the pass wrote

    // The printed holdings (order list without merged entries).
    std::vector<ValuedHolding> Printed() const {
        std::vector<ValuedHolding> out;
        for (int16_t r : order)
            if (r > 0) out.push_back(records[static_cast<std::size_t>(r - 2)]);
        return out;
    }
    int CountOf(const std::string& symbol) const {
        const auto printed = Printed();
        return static_cast<int>(std::count_if(printed.begin(), printed.end(), [&](const ValuedHolding& h) {
            return records::TrimRight(h.symbol) == symbol;
        }));
    }
    const ValuedHolding* Find(const std::string& symbol) const {
        for (int16_t r : order)
            if (r > 0 && records::TrimRight(records[static_cast<std::size_t>(r - 2)].symbol) == symbol)
                return &records[static_cast<std::size_t>(r - 2)];
        return nullptr;
    }
};

Pass Gather(const std::vector<std::string>& accounts, const std::string& date = "12/31/98",
            const std::string& accrued = "N   ") {
    Pass pass;
    reports::AppraisalRun run;
    run.options = records::Rdopts();
    run.program_date_number = 981231;
    const reports::CompositeRunDates dates = compfix::Dates(date, accrued);
    reports::CompositeHoldings holdings;
    {
        reports::ReportFrame frame(kCopy, true);
        pass.ok = reports::ValueCompositeAppraisal(run, frame, dates, compfix::Ids(accounts), "THE GROUP",
                                                   holdings);
    }
    pass.report = fixtures::ReportText(kCopy);
    pass.order = holdings.records;
    if (!pass.ok) return pass;
    records::Record rec;
    compfix::ReadWork(pass.head, rec, pass.records);
    return pass;
}

using compfix::Prepare;

using aafix::kAway;
using aafix::kBond;
using aafix::kCash;
using aafix::kIbm;
using aafix::kNote;
using aafix::kXyz;

// ---- The merge of one security across accounts.

TEST(Clntcom1, ASecurityLastInOneAccountAndFirstInTheNextIsOneHolding) {
    TempDataDir dir;
    Prepare();
    fixtures::WriteHoldings("AA1", {Lot("CASH", kCash, 0, 100, 100), Lot("IBM", kIbm, 1, 100, 12000)});
    auto later = Lot("IBM", kIbm, 1, 50, 6000);
    later.open_date = " 6/01/98";
    fixtures::WriteHoldings("AA2", {later, Lot("BOND", kBond, 2, 5000, 4900)});
    const Pass p = Gather({"AA1", "AA2"});
    ASSERT_TRUE(p.ok) << p.report;
    // CASH, IBM (one record for both lots), BOND.
    ASSERT_EQ(p.head.count, 3);
    const ValuedHolding* ibm = p.Find("IBM");
    ASSERT_NE(ibm, nullptr);
    EXPECT_DOUBLE_EQ(ibm->quantity, 150);
    EXPECT_DOUBLE_EQ(ibm->cost, 18000);
    EXPECT_DOUBLE_EQ(ibm->market_value, 150 * 150.0);
    EXPECT_EQ(ibm->lot_date, " 6/01/98");  // its own last lot's date
    EXPECT_EQ(p.CountOf("IBM"), 1);
    EXPECT_EQ(p.head.order, 2);
    EXPECT_EQ(p.head.combined, 1);
    EXPECT_EQ(p.head.name.substr(0, 9), "THE GROUP");
    EXPECT_EQ(p.head.account, "AA2     ");
}

TEST(Clntcom1, ASecurityInTheMiddleOfTwoAccountsIsMergedIntoTheFirstRecord) {
    TempDataDir dir;
    Prepare();
    fixtures::WriteHoldings("AA1", {Lot("CASH", kCash, 0, 100, 100), Lot("IBM", kIbm, 1, 100, 12000),
                                    Lot("BOND", kBond, 2, 5000, 4900)});
    fixtures::WriteHoldings("AA2", {Lot("CASH", kCash, 0, 200, 200), Lot("IBM", kIbm, 1, 50, 6000),
                                    Lot("NOTE", kNote, 2, 1000, 990)});
    const Pass p = Gather({"AA1", "AA2"});
    ASSERT_TRUE(p.ok) << p.report;
    ASSERT_EQ(p.head.count, 6);  // two records each of CASH and IBM, BOND, NOTE
    EXPECT_EQ(std::count(p.order.begin(), p.order.end(), int16_t{0}), 2);  // the second CASH and IBM
    EXPECT_EQ(p.CountOf("IBM"), 1);
    EXPECT_EQ(p.CountOf("CASH"), 1);
    const ValuedHolding* ibm = p.Find("IBM");
    ASSERT_NE(ibm, nullptr);
    EXPECT_DOUBLE_EQ(ibm->quantity, 150);
    EXPECT_DOUBLE_EQ(ibm->cost, 18000);
    EXPECT_DOUBLE_EQ(ibm->market_value, 22500);
    EXPECT_DOUBLE_EQ(p.Find("CASH")->market_value, 300);
    // One of the two IBM records (3 and 6) takes the sums, the other is 0.
    EXPECT_NE(std::count(p.order.begin(), p.order.end(), int16_t{3}) +
                  std::count(p.order.begin(), p.order.end(), int16_t{6}),
              2);
    // Print order: cash, the bond (type "4"), the note ("5"), common stock.
    std::vector<std::string> symbols;
    for (const ValuedHolding& h : p.Printed()) symbols.push_back(records::TrimRight(h.symbol));
    EXPECT_EQ(symbols, (std::vector<std::string>{"CASH", "BOND", "NOTE", "IBM"}));
}

TEST(Clntcom1, ALongAndAShortPositionStayTwoHoldings) {
    TempDataDir dir;
    Prepare();
    fixtures::WriteHoldings("AA1", {Lot("IBM", kIbm, 1, 100, 12000)});
    fixtures::WriteHoldings("AA2", {Lot("IBM", kIbm, 1, -20, 3000), Lot("IBM", kIbm, 2, -10, 1400)});
    const Pass p = Gather({"AA1", "AA2"});
    ASSERT_TRUE(p.ok) << p.report;
    // Two short lots are not combined while they are read, but merge
    // with each other afterwards: a long line and a short line.
    ASSERT_EQ(p.head.count, 3);
    EXPECT_EQ(p.CountOf("IBM"), 2);
    double shorts = 0;
    for (const ValuedHolding& h : p.Printed()) {
        if (h.quantity < 0) {
            EXPECT_LT(h.combining_key, 0);
            EXPECT_LT(h.cost, 0);  // the short lot's cost turns its sign
            shorts += h.quantity;
        }
    }
    EXPECT_DOUBLE_EQ(shorts, -30);
    // The managed value adds signed values: 100 long less 30 short at 150.
    EXPECT_DOUBLE_EQ(p.head.total_market_value, 70 * 150.0);
}

TEST(Clntcom1, NegativeCashLowersTheTotal) {
    TempDataDir dir;
    Prepare();
    fixtures::WriteHoldings("AA1", {Lot("CASH", kCash, 0, -500, -500), Lot("IBM", kIbm, 1, 100, 12000)});
    fixtures::WriteHoldings("AA2", {Lot("CASH", kCash, 0, 1000, 1000)});
    const Pass p = Gather({"AA1", "AA2"});
    ASSERT_TRUE(p.ok);
    EXPECT_DOUBLE_EQ(p.head.total_market_value, 15000 - 500 + 1000);
}

// Option 41: a cash lot of less than half a cent is left out.
TEST(Clntcom1, ZeroCashIsLeftOutWithOption41) {
    struct Case {
        double cash;
        unsigned char option41;
        int lines;
    };
    for (const Case& c : {Case{0.004, 1, 0}, Case{0.005, 1, 1}, Case{-0.004, 1, 0}, Case{0.004, 0, 1}}) {
        SCOPED_TRACE(std::to_string(c.cash) + " option 41 " + std::to_string(c.option41));
        TempDataDir dir;
        Prepare({{records::Opt::kNoZeroCash, c.option41}});
        fixtures::WriteHoldings("AA1",
                                {Lot("CASH", kCash, 0, c.cash, c.cash), Lot("IBM", kIbm, 1, 10, 1000)});
        const Pass p = Gather({"AA1"});
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.CountOf("CASH"), c.lines);
    }
}

// A lot held away ("S") is type 36, out of the managed total and its
// missing price leaves the total known, unless option 46 is set.
TEST(Clntcom1, ALotHeldAwayIsUnmanagedUnlessOption46) {
    for (unsigned char option46 : {0, 1}) {
        SCOPED_TRACE(option46);
        TempDataDir dir;
        Prepare({{records::Opt::kUnmanagedInBody, option46}});
        fixtures::WriteHoldings("AA1", {Lot("IBM", kIbm, 1, 10, 1000), Lot("AWAY", kAway, 2, 5, 40, "S")});
        // No price for the lot held away.
        fixtures::WritePrices("12/31/98", {1.0, 1.0, 101.5, 98.0, 150.0, 20.0, 12.5, records::kNoPriceValue});
        const Pass p = Gather({"AA1"});
        ASSERT_TRUE(p.ok);
        const ValuedHolding* away = p.Find("AWAY");
        ASSERT_NE(away, nullptr);
        if (option46 == 0) {
            EXPECT_EQ(away->type_number, 36);
            EXPECT_EQ(p.head.type_flags[35], 1);
            EXPECT_DOUBLE_EQ(p.head.total_market_value, 1500);
        } else {
            EXPECT_EQ(away->type_number, 18);
            EXPECT_EQ(p.head.total_market_value, records::kNoPriceValue);
        }
    }
}

// Maturities are windowed: a bond of 2000 is within a year of 12/31/99.
TEST(Clntcom1, ABondMaturingWithinAYearIsACashEquivalent) {
    struct Case {
        const char* maturity;
        unsigned char option63;
        int type;
    };
    for (const Case& c :
         {Case{" 6/30/00", 0, 2}, Case{" 6/30/00", 1, 5}, Case{" 6/30/01", 0, 5}, Case{"11/30/99", 0, 2}}) {
        SCOPED_TRACE(std::string(c.maturity) + " option 63 " + std::to_string(c.option63));
        TempDataDir dir;
        Prepare({{records::Opt::kMaturingBondsNotCash, c.option63}});
        fixtures::WriteSecurityFiles({{.symbol = "CASH", .type = "1", .rate = 0},
                                      {.symbol = "MMF", .type = "1"},
                                      {.symbol = "BOND",
                                       .description1 = "CITY BOND",
                                       .type = "4",
                                       .maturity = c.maturity,
                                       .rate = 6.0f}});
        fixtures::WritePrices("12/31/99", {1.0, 1.0, 100.0});
        fixtures::WriteHoldings("AA1", {Lot("BOND", kBond, 1, 1000, 990)});
        const Pass p = Gather({"AA1"}, "12/31/99");
        ASSERT_TRUE(p.ok);
        ASSERT_EQ(p.records.size(), 1u);
        EXPECT_EQ(p.records[0].type_number, c.type);
        EXPECT_EQ(p.records[0].matures_within_year, c.type == 2 ? 1 : 0);
        EXPECT_EQ(p.records[0].category, 99);  // 98 only for a type "1" security
    }
}

// Items 29-31 of a composite holding: no loan value, no allocation class,
// and no return of its own under option 55.
TEST(Clntcom1, HoldingsCarryNoLoanValueNoClassAndNoReturn) {
    for (unsigned char option55 : {0, 1}) {
        TempDataDir dir;
        Prepare({{records::Opt::kTimeWeightedReturn, option55}});
        const Pass p = Gather({"AA1", "AA2"});
        ASSERT_TRUE(p.ok);
        for (const ValuedHolding& h : p.records) {
            EXPECT_EQ(h.security_last_word, 0);
            EXPECT_EQ(h.security_first_word, 0);
            EXPECT_FLOAT_EQ(h.performance, option55 ? -999.99f : 0.0f);
        }
    }
}

// ---- The run.

std::string RunComposite(const std::string& kind, const std::string& manager,
                         const std::vector<std::string>& list) {
    if (!list.empty()) records::WriteAccountLines(list, records::kAccountListFile);
    reports::Clntcom1(kind, manager, "12/31/98", "N   ", records::kAccountListFile, 12, kCopy, 12,
                      "THE GROUP");
    EXPECT_TRUE(TempDataDir::Exists(kCopy));
    return fixtures::ReportText(kCopy);
}

TEST(Clntcom1, AListIdThatNamesNoAccountIsPassedOverWithALine) {
    TempDataDir dir;
    Prepare();
    const std::string text = RunComposite("S   ", "????", {"AA1", "ZZ9", "AA3"});
    EXPECT_NE(text.find(" ACCOUNT ZZ9 of the account list is not in ACCOUNT.IDX; it is passed over."),
              std::string::npos)
        << text;
    EXPECT_FALSE(TempDataDir::Exists(records::TrimRight(records::Paknam("ZZ9", "HL", ".REC"))));
    EXPECT_NE(text.find("C L I E N T   A P P R A I S A L"), std::string::npos);
    EXPECT_NE(text.find("THE GROUP"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
    EXPECT_FALSE(TempDataDir::Exists("TEMPHSUM.FIL"));
}

// Every stop ends OUTPUT.TMP with its reason and copies it.
TEST(Clntcom1, StopsAreReportLines) {
    {
        TempDataDir dir;
        Prepare();
        EXPECT_EQ(RunComposite("S   ", "????", {"ZZ9"}),
                  " ACCOUNT ZZ9 of the account list is not in ACCOUNT.IDX; it is passed over.\n"
                  "No accounts selected.\n");
        EXPECT_EQ(RunComposite("A   ", "QQ", {}), "No accounts selected.\n");
    }
    {
        TempDataDir dir;
        Prepare();
        fixtures::WriteAccountKeys({}, 0);
        EXPECT_EQ(RunComposite("A   ", "????", {}), "No accounts in system, enter accounts in \"Setup\".\n");
        records::Purge(records::kAccountIndex);
        EXPECT_EQ(RunComposite("A   ", "????", {}), " Error in account file(s).\n");
    }
    {
        // A lot list that breaks: the reason, and no pages.
        TempDataDir dir;
        Prepare();
        fixtures::WriteHoldings("AA2", {Lot("CASH", kCash, 0, 100, 100), Lot("IBM", kIbm, 1, 10, 1000)},
                                {3, 40});
        const std::string text = RunComposite("A   ", "AB", {});
        EXPECT_NE(text.find(" ACCOUNT AA2: the lots of HLAA2.REC could not all be read after record 3; the "
                            "composite appraisal stops here."),
                  std::string::npos)
            << text;
        EXPECT_EQ(text.find("C L I E N T"), std::string::npos);
        EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
    }
}

// The holding records stop at the header's 16-bit count: the run ends with
// the warning as its only line, ended and copied, and no pages.
TEST(Clntcom1, TheHoldingsLimitEndsTheRunWithItsWarning) {
    TempDataDir dir;
    Prepare();
    // IBM and XYZ by turns: every lot is a holding of its own.
    std::vector<fixtures::LotFields> lots;
    for (int k = 0; k < 16400; ++k)
        lots.push_back(k % 2 == 0 ? Lot("IBM", kIbm, 1, 1, 100) : Lot("XYZ", kXyz, 2, 1, 100));
    fixtures::WriteHoldings("AA1", lots);
    fixtures::WriteHoldings("AA2", lots);
    EXPECT_EQ(RunComposite("S   ", "????", {"AA1", "AA2"}),
              "        Warning:maximum of 32766 holdings currently allowed.\n");
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
}

// A rebuild that stops (a sale of a lot the account does not hold) is
// named in a report line; the pages still print, from the lots as rebuilt.
TEST(Clntcom1, AFailedRebuildIsNamedAndItsLotsAreAppraised) {
    TempDataDir dir;
    Prepare();
    compfix::WriteStoppingRebuild();
    reports::Clntcom1("S   ", "????", "11/30/98", "N   ", records::kAccountListFile, 12, kCopy, 12,
                      "THE GROUP");
    const std::string text = fixtures::ReportText(kCopy);
    EXPECT_NE(
        text.find(" ACCOUNT AA2: the rebuild of its holdings ended with status 2; its lots are appraised "
                  "as rebuilt."),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("C L I E N T   A P P R A I S A L"), std::string::npos);
    EXPECT_NE(text.find("14,000.00"), std::string::npos);  // IBM: 100 at 140
}

// Option 68: a holding's percentage is of its type's market value, summed
// from the holdings written by their final type (merged IBM: 22,500 of the
// 26,500 of common stocks).
TEST(Clntcom1, Option68TakesThePercentageOfTheType) {
    TempDataDir dir;
    Prepare({{records::Opt::kAssetClassPercent, 1}});
    const std::string text = RunComposite("S   ", "????", {"AA1", "AA2"});
    const std::size_t ibm = text.find("INTL BUS MACH");
    ASSERT_NE(ibm, std::string::npos) << text;
    const std::string line = text.substr(ibm, text.find('\n', ibm) - ibm);
    EXPECT_NE(line.find("22,500.00    84.9"), std::string::npos) << line;
    const std::size_t xyz = text.find("XYZ CORP");
    ASSERT_NE(xyz, std::string::npos);
    EXPECT_NE(text.substr(xyz, 100).find("4,000.00    15.1"), std::string::npos) << text.substr(xyz, 100);
}

}  // namespace
