#include "reports/appraisal/working_appraisal.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/value_history.h"
#include "records/amounts.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/holdings_control.h"
#include "records/options.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/security_types.h"
#include "reports/appraisal/working_appraisal_pages.h"
#include "reports/kernel/amount_texts.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/working_appraisal_fixture.h"

namespace {

using fixtures::TempDataDir;
using namespace hwfix;
using records::Record;

void SetOptions(const std::vector<std::pair<records::Opt, unsigned char>>& options) {
    records::Options record = records::Rdopts();
    for (const auto& [n, value] : options) records::SetOption(record, n, value);
    records::Wropts(record);
}

Record ControlRecord(long n) {
    const records::DirectFile file(records::kHoldingsControlFile, records::kHoldingsControlLength, false);
    Record rec;
    EXPECT_TRUE(file.Read(n, rec)) << "HCONTROL.FIL record " << n;
    return rec;
}

long ControlRecords() {
    const records::DirectFile file(records::kHoldingsControlFile, records::kHoldingsControlLength, false);
    return file.ok() ? file.Count() : 0;
}

records::HoldingsWorkHeader WorkHeader() {
    const records::DirectFile file("TEMP1.WRK", 256, false);
    Record rec;
    EXPECT_TRUE(file.Read(1, rec));
    return records::HoldingsWorkHeader::Decode(rec);
}

// A run driven pass by pass, as Holdings drives it.
struct Passes {
    reports::HoldingsRun run;
    std::string kind, manager, account, date = " 6/30/00", accrued = "Y   ", post = "N   ";
    int16_t mode = 1;
    int16_t state = 0;

    Passes(const std::string& k, const std::string& m, const std::string& a)
        : kind(k), manager(m), account(a) {
        run.output_name = "XXX.TXT";
    }
    void Value() { reports::Holval(run, state, mode, kind, manager, account, date, accrued, post); }
    void Print() { reports::Prhold(state, mode, {}); }
};

std::string RunReport(std::string kind, std::string manager, std::string account, std::string post = "Y   ",
                      std::string date = " 6/30/00") {
    std::string accrued = "Y   ";
    std::string name = "REPORT.TXT  ";
    int16_t mode = 3;
    reports::Holdings(kind, manager, account, date, accrued, post, mode, name, 12);
    return fixtures::ReportText("REPORT.TXT");
}

// ---- The codecs.

TEST(HoldingsControlFile, FieldsSitAtTheirOffsets) {
    records::HoldingsControlRecord c;
    c.index = 7;
    c.slot_flags[6] = 1;
    c.budget = 998;
    c.manager = "AB??";
    c.value_option = 1;
    c.output_mode = 3;
    const Record r = c.Encode();
    ASSERT_EQ(r.size(), 256u);
    EXPECT_EQ(r.I16(0), 7);
    EXPECT_EQ(r.I16(2 + 2 * 6), 1);
    EXPECT_EQ(r.I16(202), 998);
    EXPECT_EQ(r.Text(204, 4), "AB??");
    EXPECT_EQ(r.I16(208), 1);
    EXPECT_EQ(r.I16(210), 3);
    for (std::size_t i = 212; i < 256; ++i) EXPECT_EQ(r.data()[i], 0) << i;
    const records::HoldingsControlRecord back = records::HoldingsControlRecord::Decode(r);
    EXPECT_EQ(back.slot_flags[6], 1);
    EXPECT_EQ(back.manager, "AB??");

    records::AccountCursorRecord k;
    k.account = "100001  ";
    k.month = 6;
    k.year = 100;
    k.position = 2;
    k.count = 3;
    k.program_date = " 6/30/00";
    k.report_date = " 6/30/00";
    k.date_number = 1000630;
    const Record kr = k.Encode();
    EXPECT_EQ(kr.Text(0, 8), "100001  ");
    EXPECT_EQ(kr.I16(8), 6);
    EXPECT_EQ(kr.I16(10), 100);
    EXPECT_EQ(kr.I16(12), 2);
    EXPECT_EQ(kr.I16(14), 3);
    EXPECT_EQ(kr.Text(24, 8), " 6/30/00");
    EXPECT_EQ(kr.R4(32), 1000630.0f);
    for (std::size_t i = 36; i < 256; ++i) EXPECT_EQ(kr.data()[i], 0) << i;

    Record mark = c.Encode();
    records::MarkHoldingsRunFinished(mark);
    EXPECT_EQ(mark.I16(0), -99);
    EXPECT_EQ(mark.I16(202), 998);  // the other fields are not written
}

TEST(HoldingsWorkFile, HeaderAndLineOffsets) {
    records::HoldingsWorkHeader h;
    h.account = "100001  ";
    h.count = 2;
    h.type_flags[35] = 1;
    h.run_kind = 9;
    h.accrued_interest = 150;
    h.average_years = 1.75;
    h.objective = "GRTH";
    const Record r = h.Encode();
    EXPECT_EQ(r.I16(16), 2);
    EXPECT_EQ(r.I16(66 + 70), 1);
    EXPECT_EQ(r.data()[140], ' ');
    EXPECT_EQ(r.I16(141), 9);
    EXPECT_EQ(r.R8(151), 150.0);
    EXPECT_EQ(r.R8(161), 1.75);
    EXPECT_EQ(r.Text(209, 4), "GRTH");
    for (std::size_t i = 213; i < 256; ++i) EXPECT_EQ(r.data()[i], 0) << i;

    records::HoldingsWorkRecord w;
    w.type_index = 18;
    w.maturity_date = " 6/30/01";
    w.extended = 1;
    w.security = 4;
    const Record wr = w.Encode();
    EXPECT_EQ(wr.Text(203, 8), " 6/30/01");
    EXPECT_EQ(wr.data()[211], 1);
    EXPECT_EQ(wr.I16(212), 4);
    for (std::size_t i = 214; i < 256; ++i) EXPECT_EQ(wr.data()[i], 0) << i;
}

// ---- Amount texts and the term and cash-equivalent rules.

TEST(HoldingsPages, AmountTexts) {
    std::string t;
    reports::Wamt11(-1234.5, t);
    EXPECT_EQ(t.substr(0, 12), "  (1,234.50)");
    EXPECT_EQ(t.size(), 32u);
    reports::Wamt11(0, t);
    EXPECT_EQ(t.substr(0, 12), "       0.00 ");
    reports::Wamt15(1234567.891, t);
    EXPECT_EQ(t.substr(0, 16), "   1,234,567.89 ");
    reports::Wamt15(-1234567.891, t);
    EXPECT_EQ(t.substr(0, 16), "  (1,234,567.89)");
}

TEST(HoldingsValuation, CashEquivalentsAcrossTheCentury) {
    EXPECT_TRUE(reports::MovesToCashEquivalents(1010630, 1000630));   // 06/30/01, a year after 06/30/00
    EXPECT_FALSE(reports::MovesToCashEquivalents(1010701, 1000630));  // a day later
    EXPECT_TRUE(reports::MovesToCashEquivalents(991231, 1000630));    // matured
    EXPECT_FALSE(reports::MovesToCashEquivalents(0, 1000630));        // no maturity date
}

// ---- The valuation pass and the control file.

TEST(HoldingsRunTest, ValuationFigures) {
    TempDataDir dir;
    WriteFirm();
    SetOptions({{records::Opt::kBondDetails, 1}});
    Passes p("S   ", "????", "100001");
    p.Value();
    ASSERT_EQ(p.state, reports::kHoldingsPrint);
    const records::HoldingsWorkHeader h = WorkHeader();
    EXPECT_EQ(h.count, 7);
    EXPECT_EQ(h.run_kind, 9);
    // The 6% note from its coupon of 4/01/00 (150.00); the 5% note has no
    // coupon date and pays on its maturity's day, 6/30: one day (4.17).
    EXPECT_NEAR(h.accrued_interest, 154.1667, 1e-9);
    EXPECT_DOUBLE_EQ(h.average_years, 1.75);
    // Cash, IBM, GE and the two notes, and the accrued interest; the
    // unmanaged lot is left out.
    EXPECT_NEAR(h.portfolio_value, 1500.25 + 10050 + 5025 + 10000 + 9900 + 29550 + 154.1667, 1e-6);
    EXPECT_EQ(h.objective, "GRTH");
    EXPECT_EQ(h.type_flags[1], 1);   // the note maturing in a year moved to cash equivalents
    EXPECT_EQ(h.type_flags[35], 1);  // the unmanaged lot

    // Without accrued interest nothing accrues.
    p.Print();
    p.run.frame.reset();
    Passes q("S   ", "????", "100001");
    q.accrued = "N   ";
    q.Value();
    EXPECT_EQ(WorkHeader().accrued_interest, 0.0);
    q.Print();
}

// A note whose maturity date is blank is unknown, not a note maturing in
// 2000: the average years to maturity is the 6% note's alone, 365 days.
TEST(HoldingsRunTest, ANoteWithoutAMaturityDateStaysOutOfTheAverageYears) {
    TempDataDir dir;
    WriteFirm();
    {
        records::DirectFile securities("SECURITY.REC", 128, false);
        Record rec;
        ASSERT_TRUE(securities.Read(kNote, rec));
        rec.SetText(88, 8, "        ");
        ASSERT_TRUE(securities.Write(kNote, rec));
    }
    SetOptions({{records::Opt::kBondDetails, 1}});
    Passes p("S   ", "????", "100001");
    p.Value();
    ASSERT_EQ(p.state, reports::kHoldingsPrint);
    EXPECT_DOUBLE_EQ(WorkHeader().average_years, 1.0);
}

TEST(HoldingsRunTest, ControlFileOfAManagerRun) {
    TempDataDir dir;
    WriteFirm();
    Passes p("A   ", "????", "");
    p.post = "y   ";
    p.Value();
    ASSERT_EQ(p.state, reports::kHoldingsPrint);
    records::HoldingsControlRecord c = records::HoldingsControlRecord::Decode(ControlRecord(1));
    EXPECT_EQ(c.index, 1);
    EXPECT_EQ(c.slot_flags[0], 1);
    EXPECT_EQ(c.budget, 999);
    EXPECT_EQ(c.manager, "????");
    EXPECT_EQ(c.value_option, 1);
    EXPECT_EQ(c.output_mode, 1);
    records::AccountCursorRecord k = records::AccountCursorRecord::Decode(ControlRecord(2));
    EXPECT_EQ(k.account, "100001  ");
    EXPECT_EQ(k.position, 1);
    EXPECT_EQ(k.count, 3);
    EXPECT_EQ(k.month, 6);
    EXPECT_EQ(k.year, 100);
    p.Print();
    EXPECT_EQ(p.state, reports::kHoldingsValue);
    p.Value();
    p.Print();
    EXPECT_EQ(records::AccountCursorRecord::Decode(ControlRecord(2)).position, 2);
    EXPECT_EQ(p.state, reports::kHoldingsValue);
    p.Value();
    EXPECT_EQ(p.account, "100003  ");
    p.Print();
    EXPECT_EQ(p.state, reports::kHoldingsDone);
    EXPECT_EQ(ControlRecord(1).I16(0), -99);
    p.run.frame.reset();
}

// Each account's valuation is written over the last one's: the work file
// holds the header and the account's own records, nothing of a longer
// account before it.
TEST(HoldingsRunTest, WorkFileHoldsOnlyTheAccountBeingPrinted) {
    TempDataDir dir;
    WriteFirm();
    Passes p("A   ", "????", "");
    auto records_in_work_file = [] {
        const records::DirectFile file("TEMP1.WRK", 256, false);
        return file.ok() ? file.Count() : -1;
    };
    std::vector<std::pair<std::string, long>> seen;
    for (int pass = 0; pass < 3; ++pass) {
        p.Value();
        ASSERT_EQ(p.state, reports::kHoldingsPrint) << pass;
        const records::HoldingsWorkHeader h = WorkHeader();
        EXPECT_EQ(records_in_work_file(), h.count + 1) << h.account;
        seen.emplace_back(h.account, h.count);
        p.Print();
    }
    p.run.frame.reset();
    const std::vector<std::pair<std::string, long>> expected = {
        {"100001  ", 7}, {"100002  ", 2}, {"100003  ", 1}};
    EXPECT_EQ(seen, expected);
}

TEST(HoldingsRunTest, ControlFileOfAnAccountRunAndItsEnd) {
    TempDataDir dir;
    WriteFirm();
    Passes p("S   ", "????", "100002");
    p.Value();
    ASSERT_EQ(p.state, reports::kHoldingsPrint);
    EXPECT_EQ(ControlRecords(), 1);
    const records::HoldingsControlRecord c = records::HoldingsControlRecord::Decode(ControlRecord(1));
    EXPECT_EQ(c.index, 0);
    EXPECT_EQ(c.manager, "CD  ");  // the account's own code
    EXPECT_EQ(c.value_option, 0);
    p.Print();
    EXPECT_EQ(p.state, reports::kHoldingsDone);
    EXPECT_EQ(ControlRecords(), 1);
    p.run.frame.reset();

    // The whole run deletes the file; the lines name the account.
    const std::string text = RunReport("S   ", "????", "100002");
    EXPECT_FALSE(TempDataDir::Exists("HCONTROL.FIL"));
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
    EXPECT_NE(text.find("100002"), std::string::npos);
}

// An HCONTROL.FIL left by an interrupted run in progress, with slot
// flags 6 and 7 set, changes nothing: the run starts afresh with its own
// request.
TEST(HoldingsRunTest, AnInterruptedRunIsNotTakenUp) {
    TempDataDir dir;
    WriteFirm();
    records::HoldingsControlRecord old;
    old.index = 0;
    old.slot_flags[5] = 1;
    old.slot_flags[6] = 3;
    old.manager = "CD  ";
    old.value_option = 1;
    old.output_mode = 1;
    {
        records::DirectFile f(records::kHoldingsControlFile, 256);
        f.Write(1, old.Encode());
    }
    fixtures::WriteValueHistory("100001", 100, {});
    const std::string text = RunReport("S   ", "????", "100001", "N   ");
    EXPECT_NE(text.find("SMITH ACCOUNT"), std::string::npos);
    // The stale value option posted nothing.
    int16_t record = 0, year = 0;
    engine::MonthlyValues market{}, flows{}, incomes{};
    engine::Rperf("100001", 100, record, year, market, flows, incomes);
    EXPECT_EQ(market[5], 0.0);
}

TEST(HoldingsRunTest, AnAccountNotInTheIndex) {
    TempDataDir dir;
    WriteFirm();
    const std::string text = RunReport("S   ", "????", "999999");
    EXPECT_EQ(text, " ACCOUNT 999999 IS NOT IN ACCOUNT.IDX.\n");
    EXPECT_FALSE(TempDataDir::Exists("HCONTROL.FIL"));
}

TEST(HoldingsRunTest, AnUnreadableLotEndsTheRunWithALine) {
    TempDataDir dir;
    WriteFirm();
    fixtures::WriteHoldings(
        "100001", {Lot("CASH", kCash, 0, 100, 100, " 6/30/00"), Lot("IBM", kIbm, 1, 1, 1, "")}, {3, 9});
    const std::string text = RunReport("A   ", "????", "");
    EXPECT_NE(text.find("ACCOUNT 100001: A LOT OF ITS HOLDINGS COULD NOT BE READ"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("JONES"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("HCONTROL.FIL"));
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
}

// A manager pattern takes the accounts whose code agrees wherever the
// pattern has no "?"; accounts after the last match are passed over, and
// the pass that finds none left ends the run without a page.
TEST(HoldingsRunTest, ManagerPatternAndPassedOverAccounts) {
    TempDataDir dir;
    WriteFirm();
    const std::string ab = RunReport("A   ", "A???", "", "N   ");
    EXPECT_NE(ab.find("SMITH ACCOUNT"), std::string::npos);
    EXPECT_NE(ab.find("BROWN ACCOUNT"), std::string::npos);
    EXPECT_EQ(ab.find("JONES ACCOUNT"), std::string::npos);
    EXPECT_NE(ab.find("PORTFOLIO MANAGER : A???"), std::string::npos);

    Passes p("A   ", "CD??", "");
    p.Value();
    EXPECT_EQ(p.account, "100002  ");
    p.Print();
    EXPECT_EQ(p.state, reports::kHoldingsValue);  // 100003 is still to be looked at
    p.Value();
    EXPECT_EQ(p.state, reports::kHoldingsDone);
    const Record r = ControlRecord(1);
    EXPECT_EQ(r.I16(0), -99);
    EXPECT_EQ(records::HoldingsControlRecord::Decode(r).slot_flags[0], 0);
    p.run.frame.reset();
    EXPECT_EQ(fixtures::ReportText("OUTPUT.TMP").find("BROWN"), std::string::npos);
}

TEST(HoldingsRunTest, DeletedKeysAreNeverSelected) {
    TempDataDir dir;
    WriteFirm();
    fixtures::WriteClients({
        {.id = "100001", .manager = "AB", .short_name = "SMITH ACCOUNT"},
        {.id = "$$$$$$", .manager = "AB", .short_name = "GONE ACCOUNT"},
        {.id = "100003", .manager = "AB", .short_name = "BROWN ACCOUNT"},
    });
    const std::string text = RunReport("A   ", "????", "", "N   ");
    EXPECT_EQ(text.find("GONE ACCOUNT"), std::string::npos);
    EXPECT_NE(text.find("BROWN ACCOUNT"), std::string::npos);
}

// An account without lots prints its heading and a TOTAL ACCOUNT line of
// zeros; a type whose name cannot be read prints a blank title and the
// pages go on.
TEST(HoldingsRunTest, AnEmptyAccountAndAMissingTypeName) {
    TempDataDir dir;
    WriteFirm();
    fixtures::WriteHoldings("100002", {});
    std::string text = RunReport("S   ", "????", "100002", "N   ");
    EXPECT_NE(
        text.find(
            "            TOTAL ACCOUNT    100.0%                       0.00                 0.00         0"
            "                 0   0.00"),
        std::string::npos)
        << text;
    records::Purge("TYPENAME.DAT");
    text = RunReport("S   ", "????", "100003", "N   ");
    EXPECT_NE(text.find("              COMPUTERS"), std::string::npos);
    EXPECT_NE(text.find("TOTAL ACCOUNT"), std::string::npos);
}

// A directory without a type table titles the types with the standard
// names, and the names file is not made.
TEST(HoldingsRunTest, WithoutATypeTableTheTitlesAreTheStandardNames) {
    TempDataDir dir;
    WriteFirm();
    std::remove("TYPENAME.DAT");
    ASSERT_FALSE(records::HasTypeTable());
    const std::string text = RunReport("S   ", "????", "100003", "N   ");
    EXPECT_NE(text.find("\n            COMMON STOCKS"), std::string::npos) << text;  // the firm's: COMMON STOCK
    EXPECT_FALSE(TempDataDir::Exists("TYPENAME.DAT"));
}

// With option 50 a bond line without a rate keeps the maturity date of
// its rate line, with blanks where the rate stands.
TEST(HoldingsRunTest, ARateLineWithoutARate) {
    TempDataDir dir;
    WriteFirm();
    SetOptions({{records::Opt::kBondDetails, 1}});
    {
        records::DirectFile securities("SECURITY.REC", 128);
        Record rec;
        ASSERT_TRUE(securities.Read(kNote, rec));
        rec.SetR4(96, 0.0f);
        securities.Write(kNote, rec);
    }
    const std::string text = RunReport("S   ", "????", "100001", "N   ");
    EXPECT_NE(text.find("\n                T 5 02\n" + std::string(22, ' ') + " 6/30/02\n"),
              std::string::npos)
        << text;
}

TEST(HoldingsRunTest, AnEmptyDirectory) {
    TempDataDir dir;
    EXPECT_EQ(RunReport("A   ", "????", ""), " NO ACCOUNT OF MANAGER CODE ???? WAS FOUND.\n");
    EXPECT_EQ(RunReport("S   ", "????", "SMITH"), " ACCOUNT SMITH IS NOT IN ACCOUNT.IDX.\n");
    EXPECT_FALSE(TempDataDir::Exists("HCONTROL.FIL"));
}

// ---- The month-end value posting.

TEST(HoldingsPosting, PostsTheMonthsValueIntoALaterYear) {
    TempDataDir dir;
    WriteFirm();
    fixtures::WriteProgramDate(" 1/31/01");
    fixtures::WriteHoldings("100003", {Lot("CASH", kCash, 0, 1000, 1000, " 1/02/01")});
    fixtures::WriteValueHistory("100003", 100, {});
    RunReport("S   ", "????", "100003", "Y   ", " 1/31/01");
    int16_t record = 0, year = 0;
    engine::MonthlyValues market{}, flows{}, incomes{};
    ASSERT_EQ(engine::Rperf("100003", 101, record, year, market, flows, incomes), engine::kHistoryDone);
    EXPECT_EQ(market[0], 1000.0);
}

TEST(HoldingsPosting, AnUnpricedManagedLinePostsNothing) {
    TempDataDir dir;
    WriteFirm();
    std::array<double, 12> values{};
    values[5] = 777;
    fixtures::WriteValueHistory("100002", 100, values);
    fixtures::WriteValueHistory("100001", 100, values);
    RunReport("A   ", "????", "");
    int16_t record = 0, year = 0;
    engine::MonthlyValues market{}, flows{}, incomes{};
    engine::Rperf("100002", 100, record, year, market, flows, incomes);
    EXPECT_EQ(market[5], 777.0);
    engine::Rperf("100001", 100, record, year, market, flows, incomes);
    EXPECT_NEAR(market[5], 1500.25 + 10050 + 5025 + 10000 + 9900 + 29550 + 154.1667, 1e-6);
}

// ---- Golden pages, each read line by line against the layouts.

TEST(HoldingsGolden, OneAccountWithBondLines) {
    TempDataDir dir;
    WriteFirm();
    SetOptions({{records::Opt::kBondDetails, 1}});
    fixtures::CompareWithGolden("reports/appraisal/working_appraisal_account.txt",
                                RunReport("S   ", "????", "100001"));
}

TEST(HoldingsGolden, EveryAccountUnrealizedGainAndYieldToMaturity) {
    TempDataDir dir;
    WriteFirm();
    SetPageKind('B');
    SetOptions({{records::Opt::kRateOrYieldToMaturity, 2}});
    fixtures::CompareWithGolden("reports/appraisal/working_appraisal_manager.txt",
                                RunReport("A   ", "????", ""));
}

}  // namespace
