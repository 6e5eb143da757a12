// The mutual fund appraisal (report code 106): the pages of one account
// against goldens, the run over a manager code, and the files it reads and
// writes (TEMP1.WRK's item 32, CCONTROL.FIL, LDL.DAT, COMMON.FIL record
// 70).

#include "reports/funds/fund_appraisal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "reports/appraisal/appraisal_side_files.h"
#include "reports/funds/fund_appraisal_pages.h"
#include "reports/funds/fund_valuation.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/funds/fund_appraisal_fixture.h"

namespace {

using fixtures::LineWith;
using fixtures::TempDataDir;
using records::Record;

constexpr const char* kCopy = "FUND.TXT";

std::string Appraise(const std::string& selection, const std::string& account,
                     const std::string& manager = "????", const std::string& accrued = "N   ") {
    reports::Mclntamu(selection, manager, account, mffix::kDate, accrued, kCopy, 12);
    return fixtures::ReportText(kCopy);
}

// ---- Golden runs of one account, each read line by line against the
// layouts of the pages.

struct GoldenCase {
    const char* golden;
    std::vector<std::pair<records::Opt, unsigned char>> options;
    const char* account;
    const char* accrued;
};

class MutualFundAppraisalGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(MutualFundAppraisalGolden, PagesOfOneAccount) {
    const GoldenCase& c = GetParam();
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions(c.options);
    const std::string text = Appraise("S   ", c.account, "????", c.accrued);
    fixtures::CompareWithGolden(std::string("reports/funds/") + c.golden, text);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
    EXPECT_FALSE(TempDataDir::Exists("TEMPHSUM.FIL"));
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
}

INSTANTIATE_TEST_SUITE_P(
    Options, MutualFundAppraisalGolden,
    ::testing::Values(
        // By type, without accrued interest.
        GoldenCase{"fund_appraisal_by_type.txt", {}, "MF1", "N   "},
        // The address block, accrued interest, the years to maturity and
        // the bond lines, yields on cost, the DIV/INT/YTM headings and the
        // loan disbursement limit.
        GoldenCase{"fund_appraisal_options.txt",
                   {{records::Opt::kAccountAddress, 1},
                    {records::Opt::kRateOrYieldToMaturity, 2},
                    {records::Opt::kYieldOnCost, 1},
                    {records::Opt::kBondDetails, 1},
                    {records::Opt::kLoanLimitAndExtracts, 1}},
                   "MF1",
                   "Y   "},
        // By asset class.
        GoldenCase{"fund_appraisal_by_class.txt", {{records::Opt::kPortfolioSummaryType, 2}}, "MF1", "N   "},
        // Against the target allocation.
        GoldenCase{"fund_appraisal_target.txt", {}, "MF2", "N   "}));

// ---- The holdings lines.

TEST(MutualFundAppraisalPages, AReinvestedPurchaseCountsInTheUnitCostButNotInTheAmountInvested) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    const std::string text = Appraise("S   ", "MF1");
    const std::string line = LineWith(text, "GROWTH FUND");
    // 110 shares, unit cost 1,100.00 / 110, amount invested 1,000.00, price
    // 12.50, market value 1,375.00.
    EXPECT_EQ(line.substr(0, 15), "       110     ");
    EXPECT_EQ(line.substr(36, 8), "   10.00");
    EXPECT_EQ(line.substr(44, 16), "       1,000.00 ");
    EXPECT_EQ(line.substr(60, 8), "  12.500");
    EXPECT_EQ(line.substr(68, 16), "       1,375.00 ");
    // The held-away stock prints after the total.
    EXPECT_LT(text.find("TOTAL PORTFOLIO"), text.find("HELD AWAY"));
    // The bond maturing within the year is a cash equivalent.
    EXPECT_LT(text.find("CASH AND EQUIVALENTS"), text.find("CITY BOND"));
    EXPECT_LT(text.find("CITY BOND"), text.find("CORPORATE NOTES"));
    EXPECT_EQ(text.find("MUNICIPAL BONDS"), std::string::npos);
}

TEST(MutualFundAppraisalPages, AShortHoldingShowsNoQuantityAndItsShareOfTheAssets) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    // Cash of 1,000.00 and 10 IBM sold short for 1,500.00: 2,500.00 of cash
    // and -1,500.00 of IBM, 1,000.00 in all; IBM is 150% of it.
    fixtures::WriteTransactions("MF3", {mffix::T("FI", "CASH", mffix::kCash, " 1/02/98", 0, 1000),
                                        mffix::T("SS", "IBM", mffix::kIbm, " 4/01/98", 10, 1500, "a")});
    const std::string line = LineWith(Appraise("S   ", "MF3"), "INTL BUS MACH");
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.substr(0, 16), std::string(16, ' '));
    EXPECT_EQ(line.substr(68, 16), "      (1,500.00)");
    EXPECT_EQ(line.substr(84, 8), "  150.0 ");
    // -10 x 1.50 = -15, not lowered to -16.
    EXPECT_EQ(line.substr(102, 8), "    (15)");
}

TEST(MutualFundAppraisalPages, Option75LeavesTheYieldOfTypeLHoldingsBlank) {
    for (const unsigned char option : {0, 1}) {
        TempDataDir dir;
        mffix::WriteDirectory();
        mffix::WriteSecurities(" 6/01/99", "L");
        mffix::SetOptions({{records::Opt::kNoSummaryBeginningValue, option}});
        const std::string line = LineWith(Appraise("S   ", "MF1"), "ACME NOTE");
        ASSERT_GE(line.size(), 109u);
        // 7.00 a share on 4,000 shares at 98.00: 28,000 on 392,000.00.
        EXPECT_EQ(line.substr(102, 7), " 28,000");
        EXPECT_EQ(line.size() > 110 ? line.substr(110) : "", option == 1 ? "" : "  7.1");
    }
}

// ---- The valuation pass: TEMP1.WRK and CCONTROL.FIL.

struct Valued {
    int16_t step = 0;
    records::FundWorkHeader header;
    std::vector<records::FundWorkLine> lines;
    std::vector<Record> raw;  // records 2 on, as stored
};

// The request of a mutual fund run into VALUE.TXT: the one account who
// (selection "S   ") or the manager pattern who (any other selection).
void Request(reports::AppraisalRun& run, const std::string& selection, const std::string& who,
             const std::string& accrued = "Y   ", const std::string& date = mffix::kDate) {
    run.selection = selection;
    if (selection == "S   ")
        run.account = records::Fixed(who, 8);
    else
        run.manager = who;
    run.report_date = records::Fixed(date, 8);
    run.accrued_switch = accrued;
    run.output_name = "VALUE.TXT";
}

// One call of Mfvalu for the account as of the date; TEMP1.WRK read back.
Valued Value(const std::string& account, const std::string& date = mffix::kDate,
             const std::string& accrued = "N   ") {
    reports::AppraisalRun run;
    Request(run, "S   ", account, accrued, date);
    Valued out;
    std::string title;
    reports::Mfvalu(run, out.step, title);
    const records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength, false);
    Record rec;
    if (!work.Read(1, rec)) return out;
    out.header = records::FundWorkHeader::Decode(rec);
    for (int n = 1; n <= out.header.count && work.Read(n + 1, rec); ++n) {
        out.lines.push_back(records::FundWorkLine::Decode(rec));
        out.raw.push_back(rec);
    }
    return out;
}

const records::FundWorkLine* Line(const Valued& v, const std::string& symbol) {
    for (const records::FundWorkLine& l : v.lines)
        if (records::TrimRight(l.symbol) == symbol) return &l;
    return nullptr;
}

std::vector<unsigned char> Bytes(const Record& rec, std::size_t offset, std::size_t n) {
    return {rec.data() + offset, rec.data() + offset + n};
}

std::vector<unsigned char> LittleEndian(double value) {
    unsigned char b[8];
    std::memcpy(b, &value, 8);
    return {b, b + 8};
}

TEST(MutualFundValuation, ItemThirtyTwoHoldsTheTotalCostIncludingReinvestments) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    const Valued v = Value("MF1");
    ASSERT_EQ(v.step, reports::kStepHoldingsPages);
    // Cash, the growth and income funds, the bond, the note, IBM and the
    // held-away stock, one line each.
    ASSERT_EQ(v.header.count, 7);
    for (std::size_t k = 0; k < v.lines.size(); ++k) {
        const records::FundWorkLine& l = v.lines[k];
        const std::string symbol = records::TrimRight(l.symbol);
        if (symbol != "GROWTH") continue;
        EXPECT_EQ(l.quantity, 110);
        EXPECT_EQ(l.cost, 1000);
        EXPECT_EQ(Bytes(v.raw[k], 220, 8), LittleEndian(1100.0));
        EXPECT_EQ(Bytes(v.raw[k], 110, 8), LittleEndian(1000.0));
        EXPECT_EQ(Bytes(v.raw[k], 26, 8), LittleEndian(110.0));
        EXPECT_EQ(Bytes(v.raw[k], 118, 8), LittleEndian(1375.0));
        EXPECT_EQ(l.lot_date, " 2/02/98");  // the reinvestment joined the lot
    }
    ASSERT_NE(Line(v, "BOND"), nullptr);
    EXPECT_EQ(Line(v, "BOND")->type_number, 2);
    EXPECT_EQ(Line(v, "BOND")->matures_within_year, 1);
    EXPECT_EQ(Line(v, "BOND")->cost_basis, 4950);
    ASSERT_NE(Line(v, "AWAY"), nullptr);
    EXPECT_EQ(Line(v, "AWAY")->type_number, 36);
    // The classes met: cash equivalents (the bond among them), notes,
    // funds, stocks and the held-away stock, whose group then prints.
    for (int type : {2, 6, 18, 26, 36}) EXPECT_EQ(v.header.type_flags[type - 1], 1) << type;
    EXPECT_EQ(v.header.total_market_value, 31705);
    EXPECT_EQ(v.header.order, 9);
    EXPECT_EQ(v.header.page_word, 3);  // a stock with a category
    EXPECT_EQ(std::string(v.header.account_word.begin(), v.header.account_word.end()), "GR  ");
}

TEST(MutualFundValuation, TheAccountTotalAddsSignedValues) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    // Cash of 1,000.00 less a purchase of 1,500.00: -500.00 of cash and
    // 1,500.00 of IBM are worth 1,000.00, not 2,000.00.
    fixtures::WriteTransactions("MF3", {mffix::T("FI", "CASH", mffix::kCash, " 1/02/98", 0, 1000),
                                        mffix::T("B", "IBM", mffix::kIbm, " 4/01/98", 10, 1500)});
    const Valued v = Value("MF3");
    ASSERT_EQ(v.lines.size(), 2u);
    EXPECT_EQ(v.header.total_market_value, 1000);
    EXPECT_EQ(Line(v, "CASH")->market_value, -500);
}

TEST(MutualFundValuation, MaturitiesAreWindowedAndUnknownTypesFileAsT) {
    struct Case {
        const char* date;
        const char* maturity;
        const char* note_type;
        int bond_type;
        int note_type_number;
    };
    const std::vector<Case> cases = {
        // Within the year, also across 2000.
        {"12/31/98", " 6/01/99", "5", 2, 6},
        {"12/31/99", " 6/01/00", "5", 2, 6},
        // Maturing on the date itself, or exactly a year ahead, is within
        // the year; a day more is not.
        {"12/31/98", "12/31/98", "5", 2, 6},
        {"12/31/98", "12/31/99", "5", 2, 6},
        {"12/31/99", "12/31/00", "5", 2, 6},
        {"12/31/98", " 1/01/00", "5", 5, 6},
        // Matured.
        {"12/31/99", " 6/01/99", "5", 2, 6},
        // More than a year ahead: a bond.
        {"12/31/98", " 6/01/00", "5", 5, 6},
        // A type character outside the class text, and one the pages do
        // not print: "T".
        {"12/31/98", " 6/01/00", "#", 5, 30},
        {"12/31/98", " 6/01/00", "0", 5, 30},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        mffix::WriteDirectory();
        mffix::WriteSecurities(c.maturity, c.note_type, c.date);
        mffix::SetOptions({});
        const Valued v = Value("MF1", c.date);
        ASSERT_NE(Line(v, "BOND"), nullptr);
        EXPECT_EQ(Line(v, "BOND")->type_number, c.bond_type) << c.date << c.maturity;
        EXPECT_EQ(Line(v, "NOTE")->type_number, c.note_type_number) << c.note_type;
    }
}

// The bytes of CCONTROL.FIL records as the page stages read them, built
// here field by field.
Record ControlHeaderBytes(int16_t slot, int16_t flag1, int16_t countdown, const std::string& manager) {
    Record rec(256, 0);
    rec.SetI16(0, slot);
    rec.SetI16(2, flag1);
    rec.SetI16(202, countdown);
    rec.SetText(204, 4, manager);
    rec.SetI16(208, 1);
    return rec;
}

TEST(MutualFundValuation, AManagerRunKeepsItsCursorInTheControlFile) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    reports::AppraisalRun run;
    Request(run, "A   ", "AB  ");
    std::string title;
    int16_t step = 0;
    reports::Mfvalu(run, step, title);
    ASSERT_EQ(step, reports::kStepHoldingsPages);
    const records::DirectFile control(records::kAppraisalControlFile, 256, false);
    Record rec;
    ASSERT_TRUE(control.Read(1, rec));
    EXPECT_EQ(rec.bytes(), ControlHeaderBytes(1, 1, 998, "AB  ").bytes());
    ASSERT_TRUE(control.Read(2, rec));
    Record account(256, 0);
    account.SetText(0, 8, "MF1     ");
    account.SetI16(8, 12);
    account.SetI16(10, 98);
    account.SetI16(12, 1);
    account.SetI16(14, 3);
    account.SetText(24, 8, "12/31/98");
    account.SetR4(32, 981231.0f);
    account.SetText(36, 32, "SMITH FUND ACCOUNT");
    EXPECT_EQ(rec.bytes(), account.bytes());

    // The second account of AB, then none: N = -99.
    reports::Mfvalu(run, step, title);
    EXPECT_EQ(step, reports::kStepHoldingsPages);
    EXPECT_EQ(run.current.id, "MF2     ");
    reports::Mfvalu(run, step, title);
    EXPECT_EQ(step, reports::kStepFinished);
    ASSERT_TRUE(control.Read(1, rec));
    EXPECT_EQ(rec.I16(0), -99);
}

TEST(MutualFundAppraisalPages, TheSummaryFileHeaderKeepsTheAccountName) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    reports::AppraisalRun run;
    Request(run, "S   ", "MF2");
    std::string title;
    int16_t step = 0;
    reports::Mfvalu(run, step, title);
    ASSERT_EQ(step, reports::kStepHoldingsPages);
    reports::Clntamu2(run, step, run.holding_list, 1, title, reports::FundAssetClassTable(run.options));
    EXPECT_EQ(step, reports::kStepSummaryPage);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
    Record rec;
    ASSERT_TRUE(records::DirectFile("TEMPHSUM.FIL", 256, false).Read(1, rec));
    EXPECT_EQ(rec.Text(67, 32), records::Fixed("JONES FUND ACCOUNT", 32));
    // The groups' income in the run's lists: cash, then common stocks.
    EXPECT_EQ(run.group_income[0], 0.0f);
    EXPECT_EQ(run.group_income[1], 15.0f);
}

TEST(MutualFundAppraisalPages, AccruedInterestJoinsTheFixedIncomeClass) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({{records::Opt::kPortfolioSummaryType, 2}});
    reports::AppraisalRun run;
    Request(run, "S   ", "MF1");
    std::string title;
    int16_t step = 0;
    reports::Mfvalu(run, step, title);
    reports::Clntamu2(run, step, run.holding_list, 1, title, reports::FundAssetClassTable(run.options));
    // The note (3,920.00) and the accrued interest of the bond and the note
    // from their last coupons of 12/01/98 (25.00 + 23.33); the maturing
    // bond is a cash equivalent.
    EXPECT_NEAR(run.classes.market_value[1], 3920.0 + 48.33, 0.005);
    EXPECT_NEAR(run.classes.market_value[0], 14410.0 + 5000.0, 0.005);
}

// ---- The run.

TEST(MutualFundAppraisalRun, AManagerPatternPrintsItsAccounts) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    const std::string text = Appraise("A   ", "", "AB");
    EXPECT_EQ(fixtures::Occurrences(text, "M U T U A L   F U N D   A P P R A I S A L"), 3);  // MF1 on two pages
    EXPECT_NE(text.find("SMITH FUND ACCOUNT"), std::string::npos);
    EXPECT_NE(text.find("JONES FUND ACCOUNT"), std::string::npos);
    EXPECT_EQ(text.find("BROWN FUND ACCOUNT"), std::string::npos);
    EXPECT_EQ(fixtures::Occurrences(text, "SUMMARY OF INVESTMENT PORTFOLIO"), 2);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
    EXPECT_NE(Appraise("A   ", "", "EF").find("No account has the manager code EF."), std::string::npos);
    EXPECT_NE(Appraise("S   ", "ZZ9").find(" ACCOUNT ZZ9 is not in ACCOUNT.IDX; nothing is appraised."),
              std::string::npos);
}

TEST(MutualFundAppraisalRun, AStaleControlFileChangesNothing) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    const std::string clean = Appraise("S   ", "MF3");
    {
        // An interrupted manager run in mode 2: slot 1, at MF2.
        records::DirectFile control(records::kAppraisalControlFile, records::kWorkRecordLength);
        records::AppraisalControlHeader head;
        head.slot = 1;
        head.slot_flags[0] = 1;
        head.countdown = 5;
        head.manager = "AB  ";
        head.output_mode = 2;
        control.Write(1, head.Encode());
        records::AppraisalControlAccount account;
        account.account = "MF2     ";
        account.index = 2;
        account.count = 3;
        control.Write(2, account.Encode());
    }
    EXPECT_EQ(Appraise("S   ", "MF3"), clean);
    EXPECT_NE(clean.find("BROWN FUND ACCOUNT"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
}

TEST(MutualFundAppraisalRun, UnreadableLotsEndTheReportWithALineAndTheCopy) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    // Without the options record the rebuild leaves HL.TMP as it is: here
    // a header whose first lot lies past the file.
    fixtures::CutFile(records::kCommonFile, 30);
    Record header(128, 0);
    records::HoldingsHeader h;
    h.first_lot = 2;
    h.records_in_use = 2;
    h.next_free = 3;
    h.Encode(header);
    records::DirectFile("HL.TMP", 128).Write(1, header);
    const std::string text = Appraise("S   ", "MF1");
    EXPECT_NE(text.find(" ACCOUNT MF1: lot 2 of HL.TMP could not be read"), std::string::npos) << text;
    EXPECT_NE(text.find("THE MUTUAL FUND APPRAISAL STOPS AT ACCOUNT MF1."), std::string::npos);
    EXPECT_EQ(text.find("M U T U A L"), std::string::npos);
}

TEST(MutualFundAppraisalRun, Option52StartsLdlDatAfreshAndAppendsTheLoanRecords) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    TempDataDir::WriteBytes(reports::kLoanFile, std::vector<unsigned char>(256, 'X'));
    const std::string text = Appraise("S   ", "MF1");
    EXPECT_NE(text.find("LOAN DISBURSEMENT LIMIT                                 687.50"), std::string::npos);
    const std::vector<std::string> lines = fixtures::ReportFileLines(reports::kLoanFile);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(records::TrimRight(lines[0]).find('X'), std::string::npos);
    // The growth fund: 50% of 1,375.00.
    EXPECT_EQ(lines[1], reports::LoanRecord("MF1     ", records::Fixed("CUST-1001", 32), "12/31/98", 687.5,
                                            "GROWTH    ", 110)
                            .substr(0, lines[1].size()));
}

TEST(MutualFundAppraisalRun, Option47WithABlankClassCodePrintsTheDefaultClasses) {
    for (const bool blank : {true, false}) {
        TempDataDir dir;
        mffix::WriteDirectory();
        mffix::SetOptions({{records::Opt::kPortfolioSummaryType, 2}});
        std::string table;
        for (int k = 0; k < 22; ++k) table += "O ";
        if (blank) table.replace(8, 2, "  ");
        mffix::WriteCommonRecord(14, table);
        const std::string text = Appraise("S   ", "MF1");
        for (const char* label : {"CASH EQUIVALENTS", "FIXED INCOME", "EQUITIES"})
            EXPECT_EQ(text.find(label) != std::string::npos, blank) << label;
        EXPECT_EQ(text.find("TOTAL OTHER") != std::string::npos, !blank);
    }
}

TEST(MutualFundAppraisalRun, Option38PrintsTheKeptTitleCentredAndLeavesItsRecord) {
    struct Case {
        std::string record70;
        std::string title_line;
    };
    const std::vector<Case> cases = {
        {"GROWTH PORTFOLIO REVIEW" + std::string(41, ' '),
         std::string(35 + 20, ' ') + "GROWTH PORTFOLIO REVIEW"},
        {std::string(64, ' '), std::string(47, ' ') + "M U T U A L   F U N D   A P P R A I S A L"},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        mffix::WriteDirectory();
        mffix::SetOptions({{records::Opt::kChangeReportName, 1}});
        mffix::WriteCommonRecord(reports::kReportTitleRecord, c.record70 + "KEPT BYTES");
        Record before;
        records::DirectFile(records::kCommonFile, 128).Read(reports::kReportTitleRecord, before);
        const std::string text = Appraise("S   ", "MF3");
        EXPECT_NE(text.find("\n" + c.title_line + "\n"), std::string::npos) << c.title_line;
        Record after;
        records::DirectFile(records::kCommonFile, 128).Read(reports::kReportTitleRecord, after);
        EXPECT_EQ(after.bytes(), before.bytes());
    }
}

}  // namespace
