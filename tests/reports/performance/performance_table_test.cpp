// The performance table from fixture accounts, compared with golden
// files (OUTPUT.TMP, then the chart file when one is written). Account H1
// (history road): 0 at 12/31/96, funded with 100,000 in January and worth
// 105,000 at its end (5.0%; 10.0 in a composite, which keeps the zero
// start), +2.0% in February, 1.99% in March (107,100 to 109,242 with
// 1,071 of income), then 1.0, 2.0 and -1.0 (a second quarter of 1.9898,
// printed "+2.0"). H2 is H1 with no March value. H3 starts on 01/15/97
// with an initial value of 50,000. R1 is replayed from its transactions.
// Index SPX at 700 on 12/31/96 rising 7 a month, LEH at 400 rising 2.

#include "reports/performance/performance_table.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/value_history.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/options.h"
#include "records/performance_control.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/performance/history_fixture.h"

namespace {

using reports::Mnappr;
using reports::MonthlySeries;
using reports::PerformancePage;
using reports::PerformanceTableRequest;
using reports::PerformanceTableResult;

constexpr double kNone = -99999.99;
using perffix::H1Values;
using perffix::Months;
using perffix::Year;

using perffix::WriteHistory;

void WriteDirectory() {
    perffix::WriteHalfYearMarket();
    Year none = Months({}, 0);
    WriteHistory("H1", 12, 96, {Months({{12, 0}}), H1Values()}, {none, Months({{1, 100000}})},
                 {none, Months({{3, 1071}})});
    Year h2 = H1Values();
    h2[2] = kNone;
    WriteHistory("H2", 12, 96, {Months({{12, 0}}), h2}, {none, Months({{1, 100000}})},
                 {none, Months({{3, 1071}})});
    // H3: opened 01/15/97 with 50,000 (January's flow holds it), 51,000 at
    // January's end, then 2% a month.
    WriteHistory(
        "H3", 1, 97,
        {Months({{1, 51000}, {2, 52020}, {3, 53060.4}, {4, 54121.608}, {5, 55204.04}, {6, 56308.12}})},
        {Months({{1, 50000}})}, {none});
    // R1: funded on 01/02/97, stock on 01/10, a bond on 02/03, a dividend.
    fixtures::WriteTransactions("R1", {fixtures::Transaction("FI", "CASH", "1", " 1/02/97", 0, 100000, 0, 1),
                                       fixtures::Transaction("B", "STK", "1", " 1/10/97", 1000, 50000, 1, 2),
                                       fixtures::Transaction("B", "BND", "1", " 2/03/97", 20000, 20000, 2, 3),
                                       fixtures::Transaction("DI", "STK", "1", " 3/14/97", 0, 500, 1, 2)});
    WriteHistory("R1", 1, 97, {none}, {none}, {none});
}

struct TableRun {
    std::string account = "H1";
    std::string frequency = "M   ";
    std::string start = "12/31/96";    // the account's start (run record)
    std::string opening = "        ";  // the report's start (run header)
    double initial = kNone;
    int16_t carry_month = 0, carry_year = 0;
    double carried_gain = 0;
    float carried_return = 0;
    int16_t history = 1;
    int16_t choice = 0;
    int16_t mode = 0;
    std::string end = " 6/30/97";  // the end date, its windowed number and parts
    float end_number = 970630;
    int16_t end_month = 6, end_day = 30;
};

void WriteRun(const TableRun& r) {
    records::PerformanceHeader h;
    h.slot = r.mode == 1 ? 1 : 10;
    h.slot_flags[static_cast<std::size_t>(h.slot - 1)] = 1;
    h.remaining = 1;
    h.written = 1;
    h.manager = "????";
    h.frequency = r.frequency;
    h.output_mode = 1;
    h.start_date = r.opening;
    ASSERT_TRUE(records::WritePerformanceHeader(h));
    records::PerformanceAccount a;
    a.account = records::Fixed(r.account, 8);
    a.index_position = 1;
    a.index_count = 3;
    a.end_date = r.end;
    a.end_date_copy = r.end;
    a.end_date_number = r.end_number;
    a.title = "SMITH FAMILY TRUST";
    a.manager = "AB  ";
    a.opening_date = r.start;
    a.initial_value = r.initial;
    a.index1_base = 690;
    a.index2_base = 399;
    a.carry_month = r.carry_month;
    a.carry_year = r.carry_year;
    a.carried_gain = r.carried_gain;
    a.carried_return = r.carried_return;
    a.selection = "S   ";
    a.end_day = r.end_day;
    a.end_month = r.end_month;
    a.history = r.history;
    a.choice = r.choice;
    ASSERT_TRUE(records::WritePerformanceAccount(h.slot, a));
}

// The request: two indexes, or one (index 2's texts blank), or none.
PerformanceTableRequest Request(int indexes, unsigned char chart) {
    PerformanceTableRequest rq;
    rq.indexes[0].symbol = records::Fixed("SPX", 12);
    rq.indexes[0].headers = {"S&P   ", "500   ", "INDEX "};
    rq.indexes[1].symbol = records::Fixed(indexes >= 2 ? "LEH" : "", 12);
    if (indexes >= 2) rq.indexes[1].headers = {"LEHMAN", "GOV/CR", "BOND  "};
    if (indexes == 0)
        records::SetOption(rq.options, records::Opt::kNoIndexPerformance, 1);  // option 40: no index
    records::SetOption(rq.options, records::Opt::kPerformanceExportType,
                       chart);  // option 73: 1 PERF.DAT, 2 GRAPHER.OUT
    rq.security = records::Fixed("STK", 12);
    rq.description = records::Fixed("STOCK CO", 32);
    return rq;
}

std::string OutputText() {
    std::string text;
    const records::DirectFile file(records::kReportWorkFile, 132, false);
    records::Record rec;
    for (long n = 1; file.Read(n, rec); ++n) text += records::TrimRight(rec.Text(0, 132)) + "\n";
    return text;
}

std::string Table(const TableRun& run, PerformanceTableRequest rq, PerformanceTableResult* out = nullptr) {
    WriteRun(run);
    std::string name;
    records::Prtout("", "START", name);
    PerformancePage page;
    MonthlySeries series;
    PerformanceTableResult result;
    rq.mode = run.mode;
    Mnappr(rq, page, series, result);
    records::Prtout("", "END", name);
    if (out != nullptr) *out = result;
    std::string text = OutputText();
    for (const char* chart : {"PERF.DAT", "GRAPHER.OUT"})
        if (fixtures::TempDataDir::Exists(chart))
            text += std::string("--- ") + chart + "\n" + fixtures::ReportText(chart);
    return text;
}

struct Case {
    std::string name;
    TableRun run;
    int indexes = 2;
    unsigned char chart = 0;
};

class PerformanceTable : public ::testing::TestWithParam<Case> {};

TEST_P(PerformanceTable, MatchesItsGolden) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    const Case& c = GetParam();
    fixtures::CompareWithGolden("reports/performance/performance_table_" + c.name + ".txt",
                                Table(c.run, Request(c.indexes, c.chart)));
}

TableRun Quarterly() {
    TableRun r;
    r.frequency = "Q   ";
    return r;
}
TableRun Carry() {
    TableRun r;
    r.carry_month = 3;
    r.carry_year = 97;
    r.carried_gain = 5000;
    r.carried_return = 12.5f;
    return r;
}
TableRun Account(const std::string& id) {
    TableRun r;
    r.account = id;
    return r;
}
TableRun MidMonth() {
    TableRun r;
    r.account = "H3";
    r.start = " 1/15/97";
    r.initial = 50000;
    return r;
}
TableRun Composite() {
    TableRun r;
    r.mode = 1;
    return r;
}
TableRun Replay(int16_t choice) {
    TableRun r;
    r.account = "R1";
    r.start = " 1/02/97";
    r.history = 0;
    r.choice = choice;
    return r;
}
TableRun Opening() {
    TableRun r;
    r.opening = " 3/15/97";
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Golden, PerformanceTable,
    ::testing::Values(
        Case{"monthly_two_indexes", TableRun{}, 2, 2}, Case{"quarterly_two_indexes", Quarterly(), 2, 1},
        Case{"monthly_one_index", TableRun{}, 1, 2}, Case{"quarterly_one_index", Quarterly(), 1, 1},
        Case{"monthly_no_index", TableRun{}, 0, 2}, Case{"quarterly_no_index", Quarterly(), 0, 1},
        Case{"carry_in", Carry()}, Case{"missing_month", Account("H2")}, Case{"mid_month_start", MidMonth()},
        Case{"composite", Composite()}, Case{"later_opening_date", Opening()},
        Case{"replay_cash_equivalents", Replay(1)}, Case{"replay_equities", Replay(2), 2, 1},
        Case{"replay_fixed_income", Replay(3)}, Case{"replay_security", Replay(5)}),
    [](const auto& info) { return info.param.name; });

TEST(PerformanceTableRuns, NoHoldingsWritesTheRunBackWhole) {
    // R9 has no transactions: no table, no summary page; the run record
    // goes back as read and record 10 is read, changed and written whole,
    // so its start date survives.
    fixtures::TempDataDir dir;
    WriteDirectory();
    TableRun run = Replay(1);
    run.account = "R9";
    run.opening = " 3/15/97";
    bool summary = false;
    PerformanceTableRequest rq = Request(2, 0);
    records::SetOption(rq.options, records::Opt::kPerformanceSummaryType, 1);
    rq.summary_page = [&](const reports::PerformanceSummaryCall&) { summary = true; };
    PerformanceTableResult result;
    const std::string text = Table(run, rq, &result);
    EXPECT_TRUE(result.no_holdings);
    EXPECT_FALSE(summary);
    EXPECT_NE(text.find(" ACCOUNT R9      : NO HOLDINGS"), std::string::npos);
    records::PerformanceHeader h;
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    EXPECT_EQ(h.start_date, " 3/15/97");
    EXPECT_EQ(h.written, 0);
    EXPECT_EQ(h.slot, 10) << "status 0 and the cursor before the count keep the slot";
    EXPECT_EQ(h.slot_flags[9], 1);
    EXPECT_EQ(h.manager, "????");
    records::PerformanceAccount a;
    ASSERT_TRUE(records::ReadPerformanceAccount(10, a));
    EXPECT_EQ(a.account, "R9      ");
    EXPECT_EQ(a.end_date, " 6/30/97");
}

TEST(PerformanceTableRuns, MoreThan360MonthsGiveOneLine) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    std::vector<Year> years(32, Months({}, 1000.0));
    WriteHistory("H9", 1, 66, years, std::vector<Year>(32, Months({})), std::vector<Year>(32, Months({})));
    TableRun run = Account("H9");
    run.start = " 1/31/66";
    const std::string text = Table(run, Request(2, 0));
    EXPECT_NE(text.find(" ACCOUNT H9      : MORE THAN 360 MONTHS, NO PERFORMANCE TABLE"), std::string::npos);
    EXPECT_EQ(text.find("INITIAL VALUE"), std::string::npos);
}

TEST(PerformanceTableRuns, OutputModeTwoWritesNoLineButEveryChartPoint) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    PerformanceTableRequest rq = Request(2, 2);
    rq.output_mode = 2;
    const std::string text = Table(TableRun{}, rq);
    EXPECT_EQ(text.substr(0, text.find("--- GRAPHER.OUT")), "");
    EXPECT_NE(text.find("   7 +11.4   +6.0   +3.0"), std::string::npos);
}

TEST(PerformanceTableRuns, SummaryPageAndReplayStartingFigures) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    PerformanceTableRequest rq = Request(2, 0);
    int calls = 0;
    std::string cumulative;
    rq.summary_page = [&](const reports::PerformanceSummaryCall& call) {
        ++calls;
        cumulative = call.cumulative_text;
        EXPECT_EQ(call.index_display, 0);
    };
    PerformanceTableResult result;
    Table(Replay(0), rq, &result);
    EXPECT_EQ(calls, 0) << "option 29 off, sub-kind 0: no summary page";
    records::SetOption(rq.options, records::Opt::kPerformanceSummaryType, 1);
    Table(Replay(0), rq, &result);
    EXPECT_EQ(calls, 1);
    // 100,000 to 105,900 by 01/31 (+1.0%), 02/28 (+0.8%), 03/31 with 500 of
    // income (+1.4%), then +0.9% a month: 5.9% in all.
    EXPECT_EQ(cumulative, "  +5.9");
    // The whole account replayed; the first entry of the series (01/02/97,
    // mid-month) holds the cash of the first day, nothing yet in equities
    // or fixed income.
    EXPECT_DOUBLE_EQ(result.cash_equivalents_start, 100000);
    EXPECT_NEAR(result.equities_start, 0.00001, 1e-9);
    EXPECT_NEAR(result.fixed_income_start, 0.00001, 1e-9);
}

TEST(PerformanceTableRuns, AFullPageRepeatsTheHeading) {
    // A page of 20 lines: the heading and the INITIAL VALUE line take 14,
    // three rows bring the count to 17, past 20 - 4, and April's row starts
    // page 2 under a new heading.
    fixtures::TempDataDir dir;
    WriteDirectory();
    fixtures::WriteFirmHeading("FIRM", 20);
    const std::string text = Table(TableRun{}, Request(2, 0));
    std::size_t headings = 0;
    for (std::size_t at = text.find("MONTHLY PERFORMANCE"); at != std::string::npos;
         at = text.find("MONTHLY PERFORMANCE", at + 1))
        ++headings;
    EXPECT_EQ(headings, 2u);
    EXPECT_NE(text.find("PAGE   2"), std::string::npos);
    EXPECT_LT(text.find("PAGE   2"), text.find(" 06/30/97"));
}

// A history that starts in 2000-2009 has its first date written as "7/31/ 0"
// and the run's as "7/31/00": the table must take them for one date. The
// same rising history (100,000 at the end of July, then 1,000 more each
// month) started in 1999, 2000, 2009 and 2010 prints the same rows and the
// same chart file, with an initial value of 0 and with none, and with no
// opening date or the start date written the other way as the opening
// date (the chart's first point then still comes at the start).
TEST(PerformanceTableRuns, AHistoryStartingIn2000To2009PrintsAsAnyOther) {
    struct Start {
        int16_t yy;  // two-digit year; the history file holds 100 + YY below 51
        const char* start;
        const char* end;
    };
    const Start starts[] = {{99, " 7/31/99", "12/31/99"},
                            {0, " 7/31/00", "12/31/00"},
                            {9, " 7/31/09", "12/31/09"},
                            {10, " 7/31/10", "12/31/10"}};
    for (const auto& [initial, with_opening] :
         {std::pair{0.0, false}, std::pair{kNone, false}, std::pair{0.0, true}, std::pair{kNone, true}}) {
        std::string first_text;
        for (const Start& s : starts) {
            SCOPED_TRACE(std::string(s.start) + (initial == 0 ? " initial 0" : " no initial value") +
                         (with_opening ? " opening date" : ""));
            fixtures::TempDataDir dir;
            perffix::WriteHalfYearMarket();
            const int16_t year = static_cast<int16_t>(records::WindowYear(s.yy));
            const Year none = Months({}, 0);
            WriteHistory(
                "H9", 7, year,
                {Months({{7, 100000}, {8, 101000}, {9, 102000}, {10, 103000}, {11, 104000}, {12, 105000}})},
                {none}, {none});
            TableRun run;
            run.account = "H9";
            run.start = s.start;
            run.initial = initial;
            run.end = s.end;
            run.end_number = static_cast<float>(year * 10000 + 1231);
            run.end_month = 12;
            run.end_day = 31;
            if (with_opening) {
                int16_t written = year;
                records::Wrdate(run.opening, 7, 31, written);  // " 7/31/ 0" for 2000
            }
            std::string text = Table(run, Request(0, 2));
            // The chart's points carry no index returns: "N/A" only there.
            const std::string rows = text.substr(0, text.find("--- GRAPHER.OUT"));
            for (const char* wrong : {"N/A", "+100,000", "INITIAL VALUE        0"})
                EXPECT_EQ(rows.find(wrong), std::string::npos) << wrong << "\n" << text;
            // The dates differ by their year only ("/99", "/ 0" or "/00").
            for (const std::string& yy : {std::string("/") + (s.yy < 10 ? " " : "") + std::to_string(s.yy),
                                          std::string("/") + (s.yy < 10 ? "0" : "") + std::to_string(s.yy)})
                for (std::size_t at = 0; (at = text.find(yy, at)) != std::string::npos; ++at)
                    text.replace(at + 1, 2, "YY");
            if (first_text.empty()) {
                first_text = text;
                EXPECT_NE(text.find("+1,000"), std::string::npos) << text;
                EXPECT_NE(text.find("--- GRAPHER.OUT\n 1\n H9      PORTFOLIO\n"), std::string::npos) << text;
                EXPECT_NE(text.find(" MONTHS\n   1   0.0    0.0    0.0\n"), std::string::npos) << text;
            } else {
                EXPECT_EQ(text, first_text);
            }
        }
    }
}

}  // namespace

namespace {

// A month or year read from HL<acct>.DAT or PCONTROL.FIL that would index
// past the month tables stops the account's table with a line naming the
// account and the field; PCONTROL.FIL is left as it was.
TEST(PerformanceTableRuns, AFieldOutOfRangeStopsTheAccountsTableWithALine) {
    struct Case {
        const char* name;
        int16_t history_start_month;  // of HLH1.DAT
        std::string opening;          // the run header's start date
        std::string start;            // the account's start
        float end_number;
        const char* line;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Case> cases = {
        {"history start month 0", 0, "        ", "12/31/96", 970630,
         " ACCOUNT H1      : HLH1.DAT START MONTH 0 OUT OF RANGE, NO PERFORMANCE TABLE"},
        {"history start month -30000", -30000, "        ", "12/31/96", 970630,
         " ACCOUNT H1      : HLH1.DAT START MONTH -30000 OUT OF RANGE, NO PERFORMANCE TABLE"},
        {"history start month 13", 13, "        ", "12/31/96", 970630,
         " ACCOUNT H1      : HLH1.DAT START MONTH 13 OUT OF RANGE, NO PERFORMANCE TABLE"},
        {"opening month 15", 12, "15/01/96", "12/31/96", 970630,
         " ACCOUNT H1      : PCONTROL.FIL START DATE MONTH 15 OUT OF RANGE, NO PERFORMANCE TABLE"},
        {"account start month 75", 12, "        ", "75/01/96", 970630,
         " ACCOUNT H1      : PCONTROL.FIL OPENING DATE MONTH 75 OUT OF RANGE, NO PERFORMANCE TABLE"},
        {"end month 13", 12, "        ", "12/31/96", 971330,
         " ACCOUNT H1      : PCONTROL.FIL END MONTH 13 OUT OF RANGE, NO PERFORMANCE TABLE"},
        {"end date not a number", 12, "        ", "12/31/96", nan,
         " ACCOUNT H1      : PCONTROL.FIL END DATE 0 OUT OF RANGE, NO PERFORMANCE TABLE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::TempDataDir dir;
        WriteDirectory();
        Year none = Months({}, 0);
        WriteHistory("H1", c.history_start_month, 96, {Months({{12, 0}}), H1Values()},
                     {none, Months({{1, 100000}})}, {none, Months({{3, 1071}})});
        TableRun run;
        run.opening = c.opening;
        run.start = c.start;
        WriteRun(run);
        records::PerformanceAccount a;
        ASSERT_TRUE(records::ReadPerformanceAccount(10, a));
        a.end_date_number = c.end_number;
        ASSERT_TRUE(records::WritePerformanceAccount(10, a));
        const std::vector<unsigned char> control = fixtures::TempDataDir::ReadBytes("PCONTROL.FIL");

        std::string name;
        records::Prtout("", "START", name);
        PerformancePage page;
        auto series = std::make_unique<MonthlySeries>();
        PerformanceTableResult result;
        PerformanceTableRequest rq = Request(2, 0);
        Mnappr(rq, page, *series, result);
        records::Prtout("", "END", name);
        const std::string text = OutputText();
        EXPECT_NE(text.find(std::string(c.line) + "\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("06/30/97"), std::string::npos) << "no row is printed";
        EXPECT_EQ(fixtures::TempDataDir::ReadBytes("PCONTROL.FIL"), control);
    }
}

TEST(PerformanceTableDates, AnOpeningMonthBeyondDecemberHasNoMonthEnd) {
    const reports::TableDates d = reports::Mnapdat("        ", "15/01/96");
    EXPECT_EQ(d.month_end_number, 0);
    const reports::TableDates ok = reports::Mnapdat("        ", " 3/15/97");
    EXPECT_EQ(ok.month_end_number, 970228);
}

}  // namespace
