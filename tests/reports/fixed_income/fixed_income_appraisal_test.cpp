// The fixed income appraisal: the valuation of an account's lots into
// TEMP1.WRK, the pages and TEMPHSUM.FIL, the run over a manager's accounts
// and FCONTROL.FIL.

#include "reports/fixed_income/fixed_income_appraisal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "records/appraisal_files.h"
#include "records/appraisal_summary.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/fixed_income_files.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/security_types.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/fixed_income/fixed_income_appraisal_fixture.h"

namespace {

using fixtures::TempDataDir;
using records::FixedIncomeHolding;
using records::Record;
using namespace fifix;

class FixedIncomeAppraisal : public ::testing::Test {
protected:
    void SetUp() override { WriteDirectory(); }
    TempDataDir dir_;
};

std::string RunReport(const std::string& selection, const std::string& manager, const std::string& account,
                      const std::string& date = " 3/15/98") {
    std::filesystem::remove("FIXED.TXT");
    reports::Fapr1(selection, manager, account, date, "FIXED.TXT");
    return fixtures::ReportText("FIXED.TXT");
}

int16_t ControlPosition() {
    records::DirectFile control(records::kFixedIncomeControlFile, records::kWorkRecordLength, false);
    Record rec;
    if (!control.Read(1, rec)) return 0;
    return records::FixedIncomeControlHeader::Decode(rec).slot;
}

// ---- Goldens

struct GoldenCase {
    const char* golden;
    const char* selection;
    const char* manager;
    const char* account;
    std::vector<std::pair<records::Opt, unsigned char>> options;
};

class FixedIncomeGoldens : public FixedIncomeAppraisal, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(FixedIncomeGoldens, MatchesGolden) {
    const GoldenCase& c = GetParam();
    records::Options options = records::Rdopts();
    for (const auto& [n, value] : c.options) records::SetOption(options, n, value);
    records::Wropts(options);
    fixtures::CompareWithGolden(std::string("reports/fixed_income/") + c.golden,
                                RunReport(c.selection, c.manager, c.account));
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
    EXPECT_EQ(ControlPosition(), -99);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, FixedIncomeGoldens,
    ::testing::Values(
        // Every type in its order, the note folded and sorted by maturity,
        // the short lot apart, accrued interest before X, type F without a
        // name, the unmanaged lot after the total, the stock and the odd
        // type not listed.
        GoldenCase{"fixed_income_appraisal_every_type.txt", "S   ", "    ", "FI1", {}},
        // The address (option 6), yield on cost (44), the unmanaged lot
        // among the municipal bonds (46).
        GoldenCase{"fixed_income_appraisal_options.txt",
                   "S   ",
                   "    ",
                   "FI1",
                   {{records::Opt::kAccountAddress, 1},
                    {records::Opt::kYieldOnCost, 1},
                    {records::Opt::kUnmanagedInBody, 1}}},
        // FI2: an unpriced bond, and accrued interest without type X.
        // The manager CD: FI3 with a stock and no fixed income.
        GoldenCase{"fixed_income_appraisal_unpriced.txt", "S   ", "    ", "FI2", {}},
        GoldenCase{"fixed_income_appraisal_no_fixed_income.txt", "A   ", "CD  ", "", {}}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::to_string(info.index); });

// ---- The valuation

reports::FixedIncomeRun SingleRun(const std::string& account, const std::string& date = " 3/15/98") {
    reports::FixedIncomeRun run;
    run.selection = "S   ";
    run.account = records::Fixed(account, 8);
    run.report_date = date;
    return run;
}

std::vector<Record> WorkRecords() {
    std::vector<Record> recs;
    records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength, false);
    Record rec;
    for (long n = 1; work.Read(n, rec); ++n) recs.push_back(rec);
    return recs;
}

TEST_F(FixedIncomeAppraisal, TheNoteAccruesSixtyDaysOnThirtyThreeSixty) {
    // 6% on par 10,000 from the coupon of 01/15/98 (stepped back from
    // 01/15/99) to 03/15/98: the 30/360 count takes the report date in, 61
    // days, 101.67. The unpriced 8% bond has no coupon date: its coupons
    // fall on its maturity's day, 01/01/98 the last, 75 days, 83.33 on
    // 5,000.
    reports::FixedIncomeRun run = SingleRun("FI2");
    int16_t status = 0;
    reports::Faprval(run, status);
    ASSERT_EQ(status, reports::kFixedIncomePrint);
    const std::vector<Record> recs = WorkRecords();
    const records::AppraisalHeader head = records::AppraisalHeader::Decode(recs.at(0));
    EXPECT_EQ(head.count, 2);
    EXPECT_EQ(head.order, records::kFixedIncomeReportKind);
    EXPECT_NEAR(head.total_accrued, 10000 * 0.06 * 61 / 360 + 5000 * 0.08 * 75 / 360, 1e-3);
    EXPECT_DOUBLE_EQ(head.total_market_value, kNoPrice);  // the unpriced bond
    const FixedIncomeHolding note = FixedIncomeHolding::Decode(recs.at(1));
    EXPECT_DOUBLE_EQ(note.accrued, 101.67);
    EXPECT_DOUBLE_EQ(note.holding.market_value, 9850.0);  // 98.5 on par 10,000
    EXPECT_FLOAT_EQ(note.holding.extension_percent, 6.2f);
    EXPECT_FLOAT_EQ(note.yield_to_call, 5.9f);
    EXPECT_DOUBLE_EQ(FixedIncomeHolding::Decode(recs.at(2)).holding.market_value, kNoPrice);
}

TEST_F(FixedIncomeAppraisal, AverageYearsToMaturityWeighsDaysByPar) {
    fixtures::WriteHoldings("FI2", {Lot("NOTE99", kNote99, 10000, 10000), Lot("NOTE", kNote, 30000, 29700)});
    reports::FixedIncomeRun run = SingleRun("FI2");
    int16_t status = 0;
    reports::Faprval(run, status);
    const records::AppraisalHeader head = records::AppraisalHeader::Decode(WorkRecords().at(0));
    // 03/15/98 to 06/01/99 is 443 days, to 01/15/08 3593 days.
    EXPECT_NEAR(head.average_years, (443.0 * 10000 + 3593.0 * 30000) / 40000 / 365, 1e-9);
    // Managed market value 9,850 x 3 + 10,025 plus the accrued interest of
    // the note and of NOTE99, whose coupons fall on its maturity's day
    // (12/01/97 the last, 105 days on 10,000 at 5%).
    EXPECT_NEAR(head.total_market_value, 29550.0 + 10025.0 + 305.0 + 145.8333, 1e-6);
    EXPECT_DOUBLE_EQ(head.largest_value, 29550.0);
}

TEST_F(FixedIncomeAppraisal, SummaryRecordsFollowTheAppraisalSummaryLayout) {
    RunReport("S   ", "    ", "FI2");
    records::DirectFile summary(records::kAppraisalSummaryFile, records::kWorkRecordLength, false);
    Record rec;
    ASSERT_TRUE(summary.Read(1, rec));
    const records::AppraisalSummaryHeader head = records::AppraisalSummaryHeader::Decode(rec);
    // The note's type, the bond's type, the accrued interest, then the
    // portfolio totals.
    ASSERT_EQ(head.count, 4);
    EXPECT_EQ(head.report_date, " 3/15/98");
    EXPECT_EQ(records::TrimRight(head.name), "JONES ACCOUNT");
    std::vector<records::AppraisalSummaryLine> lines;
    for (long n = 2; n <= head.count + 1; ++n) {
        ASSERT_TRUE(summary.Read(n, rec));
        lines.push_back(records::AppraisalSummaryLine::Decode(rec));
    }
    EXPECT_EQ(lines[0].kind, 6);
    EXPECT_EQ(lines[0].name, records::Fixed("U.S. GOVERNMENT NOTES", 28));
    EXPECT_EQ(records::TrimRight(lines[0].texts[0]), "  N/A");  // the account's total is unpriced
    EXPECT_EQ(records::TrimRight(lines[0].texts[1]), "       9,900.00");
    EXPECT_EQ(records::TrimRight(lines[0].texts[2]), "       9,850.00");
    EXPECT_EQ(records::TrimRight(lines[0].texts[3]), "        (51)");
    EXPECT_EQ(records::TrimRight(lines[0].texts[4]), "   6.1%");
    EXPECT_EQ(records::TrimRight(lines[0].texts[5]), "      600");
    EXPECT_EQ(lines[1].kind, 7);
    EXPECT_EQ(records::TrimRight(lines[1].texts[2]), "         N/A");
    EXPECT_EQ(records::TrimRight(lines[1].texts[3]), "   N/A");
    EXPECT_EQ(lines[2].kind, records::kAccruedInterestKind);
    EXPECT_EQ(records::TrimRight(lines[2].texts[2]), "         185.00");  // the note and the unpriced bond
    EXPECT_EQ(lines[3].kind, 0);
    EXPECT_EQ(records::TrimRight(lines[3].texts[0]), "      15,000.00");
    EXPECT_EQ(records::TrimRight(lines[3].texts[1]), "         N/A");
    EXPECT_EQ(records::TrimRight(lines[3].texts[2]), "        N/A");
}

// ---- The run

TEST_F(FixedIncomeAppraisal, ManagerRunsTakeEveryMatchingAccountInIndexOrder) {
    struct Case {
        const char* manager;
        std::vector<std::string> names;
    };
    for (const Case& c : {Case{"????", {"SMITH BOND ACCOUNT", "JONES ACCOUNT", "BROWN ACCOUNT"}},
                          Case{"AB  ", {"SMITH BOND ACCOUNT", "JONES ACCOUNT"}},
                          // Not in the table: still every matching account.
                          Case{"A?  ", {"SMITH BOND ACCOUNT", "JONES ACCOUNT"}}, Case{"ZZ  ", {}}}) {
        SCOPED_TRACE(c.manager);
        const std::string text = RunReport("A   ", c.manager, "");
        std::size_t at = 0;
        for (const std::string& name : c.names) {
            const std::size_t found = text.find(name, at);
            ASSERT_NE(found, std::string::npos) << name;
            at = found;
        }
        std::size_t pages = 0;
        for (std::size_t p = text.find("PAGE   1"); p != std::string::npos; p = text.find("PAGE   1", p + 1))
            ++pages;
        EXPECT_EQ(pages, c.names.size());  // each account's pages count from 1
        EXPECT_EQ(text.find("BROWN ACCOUNT") != std::string::npos, c.names.size() == 3);
        // A run that finds no account says so.
        EXPECT_EQ(text.find("No account has the manager code ZZ.") != std::string::npos, c.names.empty());
        EXPECT_TRUE(TempDataDir::Exists("FIXED.TXT"));
        EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
        EXPECT_EQ(ControlPosition(), -99);
    }
    // The run record of "????" (record 2) holds the last account gathered.
    RunReport("A   ", "????", "");
    records::DirectFile control(records::kFixedIncomeControlFile, records::kWorkRecordLength, false);
    Record rec;
    ASSERT_TRUE(control.Read(2, rec));
    const records::FixedIncomeRunRecord last = records::FixedIncomeRunRecord::Decode(rec);
    EXPECT_EQ(last.account, records::Fixed("FI3", 8));
    EXPECT_EQ(last.entry, 3);
    EXPECT_EQ(last.count, 3);
    EXPECT_EQ(last.month, 3);
    EXPECT_EQ(last.year, 98);
    EXPECT_EQ(last.report_date, " 3/15/98");
    EXPECT_FLOAT_EQ(last.date_number, 980315.0f);
    EXPECT_EQ(rec.Text(16, 8), std::string(8, ' '));  // the carried text
}

TEST(FixedIncomeFiles, RecordsAreZeroFilledAndFieldsSitAtTheirOffsets) {
    records::FixedIncomeHolding h;
    h.holding.symbol = "NOTE";
    h.holding.cost_basis = 1.5;
    h.accrued = 101.67;
    h.yield_to_call = 5.9f;
    const Record r = h.Encode();
    ASSERT_EQ(r.size(), 256u);
    EXPECT_EQ(r.Text(14, 4), "NOTE");
    EXPECT_EQ(r.R8(220), 1.5);
    EXPECT_EQ(r.R8(228), 101.67);
    EXPECT_FLOAT_EQ(r.R4(236), 5.9f);
    for (std::size_t b = 240; b < 256; ++b) ASSERT_EQ(r.data()[b], 0);
    EXPECT_EQ(records::FixedIncomeHolding::Decode(r).accrued, 101.67);

    records::FixedIncomeRunRecord run;
    run.account = "FI1";
    run.count = 7;
    run.report_date = "12/31/99";
    run.date_number = 991231.0f;
    const Record rr = run.Encode();
    EXPECT_EQ(rr.I16(14), 7);
    EXPECT_EQ(rr.Text(24, 8), "12/31/99");
    EXPECT_FLOAT_EQ(rr.R4(32), 991231.0f);
    for (std::size_t b = 36; b < 256; ++b) ASSERT_EQ(rr.data()[b], 0);
}

TEST_F(FixedIncomeAppraisal, APendingRunLeftInTheControlFileIsNotResumed) {
    // An earlier run that stopped half way: manager run 1 under way at the
    // second account, as of another date.
    {
        records::DirectFile control(records::kFixedIncomeControlFile, records::kWorkRecordLength);
        records::FixedIncomeControlHeader head;
        head.slot = 1;
        head.slot_flags[0] = 1;
        head.countdown = 500;
        head.manager = "????";
        control.Write(1, head.Encode());
        records::FixedIncomeRunRecord run;
        run.account = "FI2";
        run.entry = 2;
        run.count = 3;
        run.report_date = "12/31/97";
        control.Write(2, run.Encode());
    }
    const std::string text = RunReport("S   ", "    ", "FI3");
    EXPECT_NE(text.find("BROWN ACCOUNT"), std::string::npos);
    EXPECT_EQ(text.find("JONES ACCOUNT"), std::string::npos);
    EXPECT_NE(text.find(" 3/15/98"), std::string::npos);
    EXPECT_EQ(ControlPosition(), -99);
}

TEST_F(FixedIncomeAppraisal, AnUnreadableLotEndsTheReportWithTheWarning) {
    // FI2's second lot links to a record past the file's end.
    fixtures::WriteHoldings("FI2", {Lot("NOTE", kNote, 10000, 9900), Lot("CORP", kCorp, 100, 100)}, {3, 40});
    const std::string text = RunReport("A   ", "????", "");
    EXPECT_NE(text.find("SMITH BOND ACCOUNT"), std::string::npos);
    EXPECT_EQ(text.find("JONES ACCOUNT"), std::string::npos);
    EXPECT_EQ(text.find("BROWN ACCOUNT"), std::string::npos);
    EXPECT_NE(text.find("FI2: the lots of HLFI2.REC could not all be read"), std::string::npos);
    EXPECT_NE(text.find("Warning, error no.  -2 in fixed income client appraisal."), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
    EXPECT_EQ(ControlPosition(), -99);
}

TEST_F(FixedIncomeAppraisal, AWorkRecordThatCannotBeReadEndsTheAccountsPrinting) {
    reports::FixedIncomeRun run = SingleRun("FI2");
    run.frame.emplace("CUT.TXT", true);
    int16_t status = 0;
    reports::Faprval(run, status);
    ASSERT_EQ(status, reports::kFixedIncomePrint);
    fixtures::CutFile("TEMP1.WRK", 4);  // the header and the first security
    reports::Faprprt(run, status);
    EXPECT_EQ(status, reports::kFixedIncomeFinished);
    run.frame.reset();
    const std::string text = fixtures::ReportText("CUT.TXT");
    EXPECT_NE(text.find("FIXED INCOME APPRAISAL"), std::string::npos);
    EXPECT_NE(text.find("TEMP1.WRK record 3 could not be read."), std::string::npos);
    EXPECT_EQ(text.find("TOTAL PORTFOLIO"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
    EXPECT_EQ(ControlPosition(), -99);
}

TEST_F(FixedIncomeAppraisal, AnAccountNotInTheIndexIsSaid) {
    const std::string text = RunReport("S   ", "    ", "NOSUCH");
    EXPECT_NE(text.find("ACCOUNT NOSUCH is not in ACCOUNT.IDX"), std::string::npos);
    EXPECT_EQ(ControlPosition(), -99);
}

TEST_F(FixedIncomeAppraisal, AMissingTypeNameFileReplacesEverySubtitle) {
    // The firm's type table, its codes in record 27, without its names: a
    // directory with no table at all reads the standard names instead.
    fixtures::WriteCommonRecord(records::kTypeCodesRecord, records::Record(128, 'C'));
    std::filesystem::remove("TYPENAME.DAT");
    const std::string text = RunReport("S   ", "    ", "FI2");
    std::size_t lines = 0;
    for (std::size_t p = text.find("Security type description file is not complete."); p != std::string::npos;
         p = text.find("Security type description file is not complete.", p + 1))
        ++lines;
    EXPECT_EQ(lines, 2u);
    EXPECT_NE(text.find("TOTAL PORTFOLIO"), std::string::npos);
}

// A directory without a type table titles its types with the standard
// names, and the names file is not made.
TEST_F(FixedIncomeAppraisal, ADirectoryWithoutATypeTableTakesTheStandardNames) {
    std::filesystem::remove("TYPENAME.DAT");
    ASSERT_FALSE(records::HasTypeTable());
    const std::string text = RunReport("S   ", "    ", "FI2");
    EXPECT_EQ(text.find("Security type description file is not complete."), std::string::npos) << text;
    for (const char* subtitle : {"U.S. TREASURY NOTES", "MORTGAGE BACKED SECURITIES"})
        EXPECT_NE(text.find(subtitle), std::string::npos) << subtitle << "\n" << text;
    EXPECT_FALSE(TempDataDir::Exists("TYPENAME.DAT"));
}

TEST_F(FixedIncomeAppraisal, AnEarlierReportDateValuesTheReplayedHoldings) {
    fixtures::WriteProgramDate(" 6/30/98");
    fixtures::WriteTransactions("FI3",
                                {fixtures::Transaction("B", "NOTE", "", " 1/10/98", 4000, 3960, 1, kNote),
                                 fixtures::Transaction("B", "CORP", "", " 5/10/98", 1000, 1000, 2, kCorp)});
    std::vector<unsigned char> before = TempDataDir::ReadBytes("TRFI3.REC");
    const std::string text = RunReport("S   ", "    ", "FI3");
    // The note bought before 03/15/98 is there; the bond bought after is not.
    EXPECT_NE(text.find("TREASURY NOTE 6%"), std::string::npos);
    EXPECT_EQ(text.find("ACME CORP"), std::string::npos);
    EXPECT_EQ(TempDataDir::ReadBytes("TRFI3.REC"), before);
}

}  // namespace
