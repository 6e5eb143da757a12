// The performance summary page, the by-account lines and the summary of
// performance by asset class, run through the performance table from
// fixture accounts and compared with golden files.
//
// P1 (history road): 100,000 at 12/31/96, 1% a month, with 10,000 added
// at the end of June 1997 and 500 of income in March 1997; 1% a month
// without flows from 1998 to 6/30/00 (12.7% a calendar year). P2: opened
// 11/15/98 with 50,000 (half of a 30-day month), 1% a month. P3: P1 with
// no value at 12/31/96 nor at 6/30/00. Index SPX at 700 on 12/31/96 rising
// 7 a month, LEH at 400 rising 2. R1 and R2 are replayed from their
// transactions (R1 funded 01/02/97, R2 on 01/31/97).

#include "reports/performance/performance_summary.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/value_history.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/options.h"
#include "records/performance_control.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/performance/asset_class_returns.h"
#include "reports/performance/performance_table.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/performance/history_fixture.h"

namespace {

using reports::Fmtpct;
using reports::MonthlySeries;
using reports::PerformancePage;
using reports::PerformanceTableRequest;
using reports::PerformanceTableResult;

constexpr double kNone = -99999.99;
using Year = std::array<double, 12>;

using perffix::WriteHistory;

std::string MonthEnd(int month, int year4) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int d = days[month - 1];
    if (month == 2 && year4 % 4 == 0) d = 29;
    char text[16];
    std::snprintf(text, sizeof text, "%2d/%02d/%02d", month, d, year4 % 100);
    return text;
}

// Months from December 1996 (k = 0) to December 2000.
void WriteDirectory() {
    fixtures::WriteProgramDate(" 7/05/00");
    fixtures::WriteFirmHeading("FIRM", 58);
    fixtures::WriteSecurities({{"CASH", "CASH", "CASH", "", "1"},
                               {"STK", "STK", "STOCK CO", "", "P"},
                               {"BND", "BND", "BOND CO", "", "B", "", "", 0.0f},
                               {"SPX", "SPX", "S&P 500 COMPOSITE INDEX OF STOCKS", "", "P"},
                               {"LEH", "LEH", "LEHMAN GOV/CORP", "", "B"}});
    for (int k = 0; k <= 48; ++k) {
        const int month = (k + 11) % 12 + 1, year = 1996 + (k + 11) / 12;
        fixtures::WritePrices(MonthEnd(month, year),
                              {1.0, 50.0 + k, 100.0 - k * 0.5, 700.0 + 7 * k, 400.0 + 2 * k});
    }
    // P1 and P3.
    std::vector<Year> values(5), flows(5), incomes(5);
    for (auto* s : {&values, &flows, &incomes})
        for (Year& y : *s) y.fill(0);
    double v = 100000;
    values[0][11] = v;
    for (int y = 1; y <= 4; ++y)
        for (int m = 1; m <= 12; ++m) {
            double f = y == 1 && m == 6 ? 10000 : 0;
            v = v * 1.01 + f;
            values[y][m - 1] = v;
            flows[y][m - 1] = f;
        }
    incomes[1][2] = 500;
    WriteHistory("P1", 12, 96, values, flows, incomes);
    std::vector<Year> p3 = values;
    p3[0][11] = kNone;
    p3[4][5] = kNone;
    WriteHistory("P3", 12, 96, p3, flows, incomes);
    // P2: from November 1998.
    std::vector<Year> v2(3), f2(3), i2(3);
    for (auto* s : {&v2, &f2, &i2})
        for (Year& y : *s) y.fill(0);
    double w = 50500;
    v2[0][10] = w;
    f2[0][10] = 50000;
    for (int y = 0; y <= 2; ++y)
        for (int m = y == 0 ? 12 : 1; m <= 12; ++m) {
            w *= 1.01;
            v2[static_cast<std::size_t>(y)][static_cast<std::size_t>(m - 1)] = w;
        }
    WriteHistory("P2", 11, 98, v2, f2, i2);
    // R1 and R2: replayed.
    fixtures::WriteTransactions("R1", {fixtures::Transaction("FI", "CASH", "1", " 1/02/97", 0, 100000, 0, 1),
                                       fixtures::Transaction("B", "STK", "1", " 1/10/97", 1000, 50000, 1, 2),
                                       fixtures::Transaction("B", "BND", "1", " 2/03/97", 20000, 20000, 2, 3),
                                       fixtures::Transaction("DI", "STK", "1", " 3/14/97", 0, 500, 1, 2)});
    fixtures::WriteTransactions("R2", {fixtures::Transaction("FI", "CASH", "1", " 1/31/97", 0, 100000, 0, 1),
                                       fixtures::Transaction("B", "STK", "1", " 1/31/97", 1000, 50000, 1, 2),
                                       fixtures::Transaction("B", "BND", "1", " 2/03/97", 20000, 20000, 2, 3),
                                       fixtures::Transaction("DI", "STK", "1", " 3/14/97", 0, 500, 1, 2)});
    Year none{};
    WriteHistory("R1", 1, 97, {none}, {none}, {none});
    WriteHistory("R2", 1, 97, {none}, {none}, {none});
}

struct SummaryRun {
    std::string account = "P1";
    std::string start = "12/31/96";
    std::string end = " 6/30/00";
    double initial = kNone;
    int16_t carry_month = 0, carry_year = 0;
    float carried_return = 0;
    int16_t history = 1;
    int16_t choice = 0;
    int16_t fiscal_month = 12;
    int16_t position = 1, count = 1;  // entry number and entry count
    int16_t skip = 0;
    int16_t slot = 10;
    float index1_base = 700, index2_base = 400;  // the levels at the start date
    std::string title = "SMITH FAMILY TRUST";
};

void WriteRun(const SummaryRun& r, bool header = true) {
    if (header) {
        records::PerformanceHeader h;
        h.slot = r.slot;
        h.slot_flags[static_cast<std::size_t>(r.slot - 1)] = 1;
        h.remaining = 1;
        h.written = 1;
        h.manager = "????";
        h.frequency = "M   ";
        h.output_mode = 1;
        h.start_date = "        ";
        ASSERT_TRUE(records::WritePerformanceHeader(h));
    }
    records::PerformanceAccount a;
    a.account = records::Fixed(r.account, 8);
    a.index_position = r.position;
    a.index_count = r.count;
    a.end_date = r.end;
    a.end_date_copy = r.end;
    int16_t m = 0, d = 0, y = 0;
    records::Redate(r.end, m, d, y);
    const int yy = y < 51 ? y + 100 : y;
    a.end_date_number = static_cast<float>(yy * 10000 + m * 100 + d);
    a.title = records::Fixed(r.title, 32);
    a.manager = "AB  ";
    a.opening_date = r.start;
    a.initial_value = r.initial;
    a.index1_base = r.index1_base;
    a.index2_base = r.index2_base;
    a.carry_month = r.carry_month;
    a.carry_year = r.carry_year;
    a.carried_return = r.carried_return;
    a.status = r.skip;
    a.selection = "S   ";
    a.end_day = d;
    a.end_month = m;
    a.history = r.history;
    a.fiscal_month = r.fiscal_month;
    a.choice = r.choice;
    ASSERT_TRUE(records::WritePerformanceAccount(r.slot, a));
}

PerformanceTableRequest Request(int indexes) {
    PerformanceTableRequest rq;
    rq.indexes[0].symbol = records::Fixed("SPX", 12);
    rq.indexes[0].headers = {"S&P   ", "500   ", "INDEX "};
    rq.indexes[1].symbol = records::Fixed(indexes >= 2 ? "LEH" : "", 12);
    if (indexes >= 2) rq.indexes[1].headers = {"LEHMAN", "GOV/CR", "BOND  "};
    if (indexes == 0) records::SetOption(rq.options, records::Opt::kNoIndexPerformance, 1);
    records::SetOption(rq.options, records::Opt::kPerformanceSummaryType,
                       1);  // option 29: the summary page after the table
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

// The table and its summary page; only the summary page is kept (from its
// "PERFORMANCE SUMMARY" title's page heading on).
std::string SummaryPage(const SummaryRun& run, PerformanceTableRequest rq) {
    WriteRun(run);
    std::string name;
    records::Prtout("", "START", name);
    PerformancePage page;
    MonthlySeries series;
    PerformanceTableResult result;
    reports::Mnappr(rq, page, series, result);
    records::Prtout("", "END", name);
    const std::string text = OutputText();
    const std::size_t title = text.find("PERFORMANCE SUMMARY");
    if (title == std::string::npos) return text;
    const std::size_t page_line = text.rfind("PAGE", title);
    const std::size_t from = text.rfind('\n', page_line == std::string::npos ? title : page_line);
    return text.substr(from == std::string::npos ? 0 : from + 1);
}

// ---- Fmtpct and Prfann.

// A positive percentage as the cells print it, worked out here.
std::string Percent(double value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%7.1f%%", value);
    std::string text = buf;
    text[text.find_first_not_of(' ') - 1] = '+';
    return text;
}

TEST(PerformanceCellsOfTheSummary, FmtpctTable) {
    struct Row {
        float value, check2;
        int16_t mode;
        const char* text;
    };
    const Row rows[] = {
        {12.3f, 1.0f, 1, "  +12.3%"}, {-4.0f, 1.0f, 1, "   -4.0%"},     {0.4f, 1.0f, 1, "    0.4%"},
        {0.0f, 1.0f, 1, "    0.0%"},  {12.3f, -999.99f, 1, "    N/A "}, {12.3f, 1.0f, 0, "  +12.3 "},
        {-4.0f, 1.0f, 0, "   -4.0 "}, {0.0f, 1.0f, 0, "    0.0 "},      {123.4f, 1.0f, 1, " +123.4%"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Fmtpct(r.value, r.value, r.check2, 1.0f, r.mode).substr(0, 8), r.text) << r.value;
    EXPECT_EQ(Fmtpct(5.0f, -999.99f, 1.0f, 1.0f, 1).substr(0, 8), "    N/A ");
    EXPECT_EQ(Fmtpct(5.0f, 1.0f, 1.0f, -999.99f, 1).size(), 32u);
}

TEST(PerformanceCellsOfTheSummary, PrfannTable) {
    // Levels 100 at entry 1 growing 1% an entry; the second series doubles
    // over the window; the third starts at 0.
    std::vector<float> a(60), b(60, 50.0f), c(60, 0.0f);
    for (std::size_t k = 0; k < 60; ++k) a[k] = static_cast<float>(100.0 * std::pow(1.01, k));
    b[40] = 100.0f;
    c[40] = 7.0f;
    records::Options options{};
    // Span 35 ending at entry 41: entries 6 and 41 (35 steps), exponent 12/36.
    reports::AnnualizedTexts t = reports::Prfann(options, a, b, c, 41, 35);
    const double expected_a = (std::pow(std::pow(1.01, 35), 12.0 / 36) - 1) * 100;
    const double expected_b = (std::pow(2.0, 12.0 / 36) - 1) * 100;
    EXPECT_EQ(t.a, Percent(expected_a));
    EXPECT_EQ(t.b, Percent(expected_b));
    EXPECT_EQ(t.c, "   N/A  ") << "a base of 0";
    // Option 34: the cumulative change over the same entries.
    records::SetOption(options, records::Opt::kCumulativeReturn, 1);
    t = reports::Prfann(options, a, b, c, 41, 35);
    EXPECT_EQ(t.b, " +100.0%");
    // A window reaching before entry 1.
    records::SetOption(options, records::Opt::kCumulativeReturn, 0);
    t = reports::Prfann(options, a, b, c, 30, 35);
    EXPECT_EQ(t.a, "   N/A  ");
    // Option 71: the last 12 entries raised to (span + 1) / 12.
    records::SetOption(options, records::Opt::kAnnualizeMonthlyReturns, 1);
    t = reports::Prfann(options, a, b, c, 41, 35);
    EXPECT_EQ(t.a, Percent((std::pow(std::pow(1.01, 11), 3.0) - 1) * 100));
}

// ---- The summary page.

struct PageCase {
    std::string name;
    SummaryRun run;
    int indexes = 2;
    std::array<unsigned char, 3> options{};  // 34, 62, 70
    int16_t mode = 0;                        // 1: a composite (entry 1)
};

class PerformanceSummaryPage : public ::testing::TestWithParam<PageCase> {};

TEST_P(PerformanceSummaryPage, MatchesItsGolden) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    const PageCase& c = GetParam();
    PerformanceTableRequest rq = Request(c.indexes);
    records::SetOption(rq.options, records::Opt::kCumulativeReturn, c.options[0]);
    records::SetOption(rq.options, records::Opt::kNoSummaryItem4, c.options[1]);
    records::SetOption(rq.options, records::Opt::kThreeFiveYearReturns, c.options[2]);
    rq.mode = c.mode;
    fixtures::CompareWithGolden("reports/performance/performance_summary_" + c.name + ".txt",
                                SummaryPage(c.run, rq));
}

SummaryRun P(const std::string& account) {
    SummaryRun r;
    r.account = account;
    return r;
}
SummaryRun MidMonth() {
    SummaryRun r;
    r.account = "P2";
    r.start = "11/15/98";
    r.initial = 50000;
    r.index1_base = 854;  // October 1998's levels
    r.index2_base = 444;
    return r;
}
SummaryRun CarryIn(int16_t month, int16_t year) {
    SummaryRun r;
    r.carry_month = month;
    r.carry_year = year;
    r.carried_return = 2.5f;
    return r;
}
SummaryRun Replayed(int16_t choice) {
    SummaryRun r;
    r.account = "R1";
    r.start = " 1/02/97";
    r.end = " 6/30/97";
    r.history = 0;
    r.choice = choice;
    return r;
}
SummaryRun Composite() {
    SummaryRun r;
    r.slot = 1;
    return r;
}
SummaryRun Fiscal() {
    SummaryRun r;
    r.fiscal_month = 3;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Golden, PerformanceSummaryPage,
    ::testing::Values(
        PageCase{"two_indexes", P("P1")}, PageCase{"one_index", P("P1"), 1}, PageCase{"no_index", P("P1"), 0},
        PageCase{"cumulative", P("P1"), 2, {1, 0, 0}}, PageCase{"no_balances", P("P1"), 2, {0, 1, 0}},
        PageCase{"three_and_five_years", P("P1"), 2, {0, 0, 1}},
        PageCase{"three_and_five_years_fiscal_march", Fiscal(), 2, {0, 0, 1}},
        PageCase{"cumulative_three_and_five_years", P("P1"), 1, {1, 0, 1}},
        PageCase{"mid_month_start", MidMonth()}, PageCase{"unavailable", P("P3")},
        PageCase{"reporting_start_last_year", CarryIn(3, 100), 2, {0, 0, 1}},
        PageCase{"reporting_start_inside", CarryIn(6, 99)}, PageCase{"cash_equivalents", Replayed(1)},
        PageCase{"equities", Replayed(2), 1}, PageCase{"fixed_income", Replayed(3), 2, {0, 0, 1}},
        PageCase{"security", Replayed(5), 2, {0, 0, 1}}, PageCase{"composite", Composite(), 2, {0, 0, 0}, 1}),
    [](const auto& info) { return info.param.name; });

TEST(PerformanceSummaryFigures, CalendarYearsAndFractions) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    const std::string p1 = SummaryPage(P("P1"), Request(2));
    // 1998 and 1999 grow 1% a month: 12.7%; 2000 to date is annualized
    // over 6 months (12.7%), and cumulative with option 34 (6.2%).
    const std::string gap(31, ' ');
    EXPECT_NE(p1.find("1998" + gap + "+12.7%"), std::string::npos);
    EXPECT_NE(p1.find("1999" + gap + "+12.7%"), std::string::npos);
    EXPECT_NE(p1.find("2000   (TO DATE)" + std::string(19, ' ') + "+12.7%"), std::string::npos);
    EXPECT_EQ(p1.find("1996"), std::string::npos) << "no month of 1996 in the block";
    PerformanceTableRequest rq = Request(2);
    records::SetOption(rq.options, records::Opt::kCumulativeReturn, 1);
    EXPECT_NE(SummaryPage(P("P1"), rq).find("2000   (TO DATE)" + std::string(20, ' ') + "+6.2%"),
              std::string::npos);
    // P2 opened on 11/15/98: the first month counts half. Since inception
    // 19 whole months at 1% from 50,000 (the start within November makes
    // 19.5 months): 1.01^20 over 19.5 months.
    const std::string p2 = SummaryPage(MidMonth(), Request(2));
    const std::string expected = Percent((std::pow(1.01 * std::pow(1.01, 19), 12.0 / 19.5) - 1) * 100);
    const std::size_t item3 = p2.find("3.  PERFORMANCE, FROM INCEPTION TO DATE:");
    ASSERT_NE(item3, std::string::npos);
    EXPECT_EQ(p2.substr(item3 - 5 + 89, 8), expected) << p2;
}

// The summary page on a series changed after the table: the series the
// table leaves, then the change, then Persumm.
std::string ChangedSummaryPage(const SummaryRun& run, PerformanceTableRequest rq,
                               const std::function<void(MonthlySeries&)>& change) {
    rq.summary_page = [&](const reports::PerformanceSummaryCall& call) {
        change(*call.series);
        reports::Persumm(call);
    };
    return SummaryPage(run, rq);
}

TEST(PerformanceSummaryFigures, AMissingFlowLeavesTheLaterWindowsWithoutAFigure) {
    // P1 without March 2000's flow (entry 41 of the table's series): the
    // chain stops there; 1999 keeps its figure, every window ending in
    // June 2000 prints N/A for the account, the indexes keep theirs.
    fixtures::TempDataDir dir;
    WriteDirectory();
    const std::string text =
        ChangedSummaryPage(P("P1"), Request(2), [](MonthlySeries& s) { s.flow[40] = kNone; });
    EXPECT_NE(text.find("1999" + std::string(31, ' ') + "+12.7%"), std::string::npos);
    EXPECT_NE(text.find("2000   (TO DATE)" + std::string(21, ' ') + "N/A         +9.0%"), std::string::npos);
    EXPECT_NE(text.find("FISCAL YEAR TO DATE:" + std::string(9, ' ') + "N/A" + std::string(9, ' ') + "+4.4%"),
              std::string::npos);
    const std::size_t item3 = text.find("3.  PERFORMANCE, FROM INCEPTION");
    EXPECT_EQ(text.substr(item3 - 5 + 89, 8), "    N/A ");
}

TEST(PerformanceSummaryFigures, TheStoredReturnGoesOnlyToAnAccountOfTheIndex) {
    // Store flag "Y   ": the fiscal-year-to-date return (6.15%) goes to the
    // account's fourth ACCOUNT.REC record as 0.06; an account the index
    // does not hold changes no record.
    fixtures::TempDataDir dir;
    WriteDirectory();
    fixtures::WriteAccountKeys({"P1      ", "P2      "}, 2);
    {
        records::DirectFile rec("ACCOUNT.REC", 128);
        for (long n = 1; n <= 16; ++n) rec.Write(n, records::Record(128, 0));
    }
    auto stored = [](PerformanceTableRequest rq, const SummaryRun& run) {
        rq.summary_page = [](const reports::PerformanceSummaryCall& call) {
            reports::PerformanceSummaryCall c = call;
            c.store_flag = "Y   ";
            reports::Persumm(c);
        };
        SummaryPage(run, rq);
    };
    stored(Request(2), P("P1"));
    records::DirectFile rec("ACCOUNT.REC", 128, false);
    records::Record r;
    ASSERT_TRUE(rec.Read(4, r));
    EXPECT_FLOAT_EQ(r.R4(111), 0.06f);
    SummaryRun unknown = P("P1");
    unknown.account = "P9";
    stored(Request(2), unknown);
    for (long n = 1; n <= 16; ++n) {
        ASSERT_TRUE(rec.Read(n, r));
        for (std::size_t k = 0; k < 128; ++k) {
            if (!(n == 4 && k >= 111 && k < 115)) {
                ASSERT_EQ(r.data()[k], 0) << "record " << n << " byte " << k;
            }
        }
    }
}

// ---- PCONTROL.FIL after the summary.

TEST(PerformanceSummaryControlFile, WriteBackRules) {
    struct Case {
        int16_t position, count, skip;
        int16_t slot_after, flag_after;
    };
    const Case cases[] = {
        {1, 1, 0, -99, 0},  // the only entry: the run is over
        {1, 3, 0, 10, 1},   // more to come: slot and flag kept
        {1, 3, 3, 0, 0},    // skipped entry: pointer and flag cleared
        {3, 3, 0, -99, 0},  // the last entry
        {2, 0, 0, -99, 0},  // no count
    };
    // A class kind on the replay road: the page starts from the caller's
    // start date and value, the entry still goes back as read.
    {
        fixtures::TempDataDir dir;
        WriteDirectory();
        SummaryRun run = Replayed(2);
        run.position = 1;
        run.count = 2;
        WriteRun(run);
        records::DirectFile raw(records::kPerformanceControlFile, 256, false);
        records::Record before, after;
        ASSERT_TRUE(raw.Read(20, before));
        PerformanceTableRequest rq = Request(2);
        rq.output_mode = 2;
        PerformancePage page;
        MonthlySeries series;
        PerformanceTableResult result;
        reports::Mnappr(rq, page, series, result);
        records::DirectFile again(records::kPerformanceControlFile, 256, false);
        ASSERT_TRUE(again.Read(20, after));
        EXPECT_EQ(after.I16(8), 6);
        EXPECT_EQ(after.I16(10), 97);
        for (std::size_t k = 12; k < 256; ++k) ASSERT_EQ(after.data()[k], before.data()[k]) << "byte " << k;
    }
    for (const Case& c : cases) {
        fixtures::TempDataDir dir;
        WriteDirectory();
        SummaryRun run = P("P1");
        run.position = c.position;
        run.count = c.count;
        run.skip = c.skip;
        WriteRun(run);
        records::PerformanceHeader before;
        ASSERT_TRUE(records::ReadPerformanceHeader(before));
        before.start_date = " 1/01/97";
        before.remaining = 4;
        ASSERT_TRUE(records::WritePerformanceHeader(before));
        records::DirectFile raw(records::kPerformanceControlFile, 256, false);
        records::Record entry_before;
        ASSERT_TRUE(raw.Read(20, entry_before));

        PerformanceTableRequest rq = Request(2);
        rq.output_mode = 2;
        PerformancePage page;
        MonthlySeries series;
        PerformanceTableResult result;
        reports::Mnappr(rq, page, series, result);

        records::Record header, entry;
        records::DirectFile after(records::kPerformanceControlFile, 256, false);
        ASSERT_TRUE(after.Read(10, header));
        ASSERT_TRUE(after.Read(20, entry));
        EXPECT_EQ(header.I16(0), c.slot_after) << c.position << "/" << c.count << "/" << c.skip;
        EXPECT_EQ(header.I16(2 + 2 * 9), c.flag_after);
        EXPECT_EQ(header.I16(202), 4) << "an account's run keeps the count";
        EXPECT_EQ(header.I16(204), 0) << "the status word";
        EXPECT_EQ(header.Text(206, 8), "????M   ");
        EXPECT_EQ(header.I16(214), 2) << "the print mode";
        EXPECT_EQ(header.Text(216, 8), " 1/01/97") << "the start date is kept";
        // The entry: only its last month and year change.
        EXPECT_EQ(entry.I16(8), 6);
        EXPECT_EQ(entry.I16(10), 100);
        for (std::size_t k = 0; k < 256; ++k) {
            if (k < 8 || k > 11) {
                ASSERT_EQ(entry.data()[k], entry_before.data()[k]) << "byte " << k;
            }
        }
    }
}

TEST(PerformanceSummaryControlFile, CompositeModeTakesEntryOneAndClearsTheCount) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    SummaryRun run = P("P1");
    run.slot = 1;
    run.position = 1;
    run.count = 2;
    WriteRun(run);
    records::PerformanceHeader h;
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    h.remaining = 3;
    ASSERT_TRUE(records::WritePerformanceHeader(h));
    PerformanceTableRequest rq = Request(2);
    rq.mode = 1;
    rq.output_mode = 2;
    PerformancePage page;
    MonthlySeries series;
    PerformanceTableResult result;
    reports::Mnappr(rq, page, series, result);
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    EXPECT_EQ(h.remaining, 0);
    EXPECT_EQ(h.slot, 1);
    records::PerformanceAccount a;
    ASSERT_TRUE(records::ReadPerformanceAccount(1, a));
    EXPECT_EQ(a.last_month, 6);
}

// ---- The by-account pages.

// Three accounts, one entry each, under the heading of each page; the
// index lines follow the last account.
std::string ByAccount(int16_t kind, int16_t start_lines) {
    std::string name;
    records::Prtout("", "START", name);
    PerformancePage page;
    page.page = 1;
    if (kind == 1)
        reports::Prfsumac(page.page, page.lines, " 7/05/00", " 6/30/00", 1, page.page_length);
    else
        reports::Prfmon(page.page, page.lines, " 6/30/00", 1, page.page_length);
    if (start_lines > 0) page.lines = start_lines;
    const char* accounts[3] = {"P1", "P2", "P3"};
    const char* titles[3] = {"SMITH FAMILY TRUST", "JONES PENSION PLAN WITH A LONG NAME", "BROWN IRA"};
    for (int16_t k = 1; k <= 3; ++k) {
        SummaryRun r = k == 2 ? MidMonth() : P(accounts[k - 1]);
        r.account = accounts[k - 1];
        r.title = titles[k - 1];
        r.slot = k;
        r.position = k;
        r.count = 3;
        WriteRun(r);
        PerformanceTableRequest rq = Request(2);
        records::SetOption(rq.options, records::Opt::kPerformanceSummaryType, 0);
        rq.sub_kind = kind;
        MonthlySeries series;
        PerformanceTableResult result;
        reports::Mnappr(rq, page, series, result);
    }
    records::Prtout("", "END", name);
    return OutputText();
}

TEST(PerformanceByAccountPages, SummaryOfPerformanceByAccount) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    fixtures::CompareWithGolden("reports/performance/performance_summary_by_account_summary.txt",
                                ByAccount(1, 0));
}

TEST(PerformanceByAccountPages, MonthlyPerformanceByAccount) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    fixtures::CompareWithGolden("reports/performance/performance_summary_by_account_monthly.txt",
                                ByAccount(2, 0));
}

TEST(PerformanceByAccountPages, TheLineThatReachesFiftyThreeStartsANewPage) {
    // Page length 58: the second account's line brings the count from 52 to
    // 53, past 58 - 6, and a new page follows it.
    fixtures::TempDataDir dir;
    WriteDirectory();
    const std::string text = ByAccount(1, 51);
    const std::size_t second = text.find("JONES PENSION");
    const std::size_t heading2 = text.find("SUMMARY OF PERFORMANCE BY ACCOUNT", text.find("SMITH FAMILY"));
    ASSERT_NE(heading2, std::string::npos);
    EXPECT_LT(second, heading2);
    EXPECT_LT(heading2, text.find("BROWN IRA"));
    EXPECT_NE(text.find("PAGE   2"), std::string::npos);
}

TEST(PerformanceByAccountPages, ShortHeadingsStillCountTheirLines) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    int16_t page = 1, lines = 10, length = 58;
    int16_t base_page = 1, base_lines = 10, base_length = 58;
    records::Headr2(base_page, base_lines, base_length);
    reports::Prfmon(page, lines, " 6/30/00", 2, length);
    EXPECT_EQ(lines, base_lines + 8);
    int16_t lines2 = 10;
    reports::Prfsumac(page, lines2, " 7/05/00", " 6/30/00", 2, length);
    EXPECT_EQ(lines2, 7);
}

// ---- The summary by asset class.

struct ClassCase {
    std::string name;
    std::string account = "R1";
    std::string start = " 1/02/97";
    std::string end = " 6/30/97";
    bool no_index_level_at_ytd = false;
    std::string index2 = "LEH";
};

std::string AssetClassPage(const ClassCase& c) {
    SummaryRun r;
    r.account = c.account;
    r.start = c.start;
    r.end = c.end;
    r.history = 0;
    r.choice = 4;
    r.title = "SMITH FAMILY TRUST";
    WriteRun(r);
    std::string name;
    records::Prtout("", "START", name);
    PerformanceTableRequest rq = Request(2);
    rq.indexes[1].symbol = records::Fixed(c.index2, 12);
    PerformancePage page;
    MonthlySeries series;
    PerformanceTableResult result;
    reports::Mnappr(rq, page, series, result);
    // The level of the year-to-date start (entry 2, entry 1 once the
    // month-end start has moved the series down).
    if (c.no_index_level_at_ytd) series.index1[1] = -999.99f;
    reports::AssetClassSummaryRequest sq;
    sq.index_symbols = {rq.indexes[0].symbol, rq.indexes[1].symbol};
    sq.first = result;
    sq.title = "            SMITH FAMILY TRUST            ";
    reports::Sumac(sq, page, series);
    records::Prtout("", "END", name);
    return OutputText();
}

class AssetClassSummary : public ::testing::TestWithParam<ClassCase> {};

TEST_P(AssetClassSummary, MatchesItsGolden) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    fixtures::CompareWithGolden("reports/performance/asset_class_returns_" + GetParam().name + ".txt",
                                AssetClassPage(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Golden, AssetClassSummary,
    ::testing::Values(ClassCase{"mid_month_june"}, ClassCase{"mid_month_march", "R1", " 1/02/97", " 3/31/97"},
                      ClassCase{"mid_month_april", "R1", " 1/02/97", " 4/30/97"},
                      ClassCase{"month_end_october", "R2", " 1/31/97", "10/31/97"},
                      ClassCase{"unknown_index", "R1", " 1/02/97", " 6/30/97", false, "NOPE"},
                      ClassCase{"index_without_prices", "R2", " 1/31/97", "10/31/97", true}),
    [](const auto& info) { return info.param.name; });

TEST(AssetClassSummaryFigures, ANegativeValueCarriesTheLevelOn) {
    // Opened 12/31/96: 100, +10% to 110 in February, a value of -50 at the
    // end of March reached by a flow (no gain), 110 in April (no base: the
    // level carries on) and +10% in May. The year to date is 1.1 x 1.1:
    // +21.0%, not a chain started again at 100 after the negative value
    // (+10.0%).
    fixtures::TempDataDir dir;
    WriteDirectory();
    SummaryRun r;
    r.account = "S1";
    r.start = "12/31/96";
    r.end = " 5/31/97";
    r.history = 0;
    r.choice = 4;
    WriteRun(r);
    MonthlySeries series;
    series.start_month = 1;
    series.start_year = 97;
    series.last_month = 5;
    series.last_year = 97;
    const double values[6] = {0, 100, 110, -50, 110, 121};
    const double flows[6] = {0, 0, 0, -160, 0, 0};
    for (std::size_t k = 0; k < 6; ++k) {
        series.value[k] = values[k];
        series.flow[k] = flows[k];
    }
    reports::AssetClassSummaryRequest sq;
    PerformancePage page;
    std::string name;
    records::Prtout("", "START", name);
    reports::Sumac(sq, page, series);
    records::Prtout("", "END", name);
    const std::string text = OutputText();
    const std::size_t row = text.find("  TOTAL PORTFOLIO");
    ASSERT_NE(row, std::string::npos);
    EXPECT_EQ(text.substr(row + 50, 8), "  +21.0%") << text.substr(row, 132);
    EXPECT_EQ(text.substr(row + 32, 8), "  +10.0%") << "the quarter from March's level";
}

TEST(AssetClassSummaryControlFile, WritesTheRecordWholeAndKeepsTheStartDate) {
    fixtures::TempDataDir dir;
    WriteDirectory();
    ClassCase c;
    SummaryRun r;
    r.account = c.account;
    r.start = c.start;
    r.end = c.end;
    r.history = 0;
    r.choice = 4;
    r.position = 1;
    r.count = 1;
    WriteRun(r);
    records::PerformanceHeader h;
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    h.start_date = " 2/01/97";
    ASSERT_TRUE(records::WritePerformanceHeader(h));
    records::Record before;
    {
        records::DirectFile raw(records::kPerformanceControlFile, 256, false);
        ASSERT_TRUE(raw.Read(20, before));
    }
    PerformanceTableRequest rq = Request(2);
    rq.output_mode = 2;
    PerformancePage page;
    MonthlySeries series;
    PerformanceTableResult result;
    reports::Mnappr(rq, page, series, result);
    reports::AssetClassSummaryRequest sq;
    sq.index_symbols = {rq.indexes[0].symbol, rq.indexes[1].symbol};
    sq.first = result;
    sq.output_mode = 2;
    sq.initial_value = 12345;  // the page's starting value, not the record's
    std::string name;
    records::Prtout("", "START", name);
    reports::Sumac(sq, page, series);
    records::Prtout("", "END", name);
    EXPECT_EQ(OutputText(), "") << "output mode 2 prints nothing";
    records::DirectFile raw(records::kPerformanceControlFile, 256, false);
    records::Record header, entry;
    ASSERT_TRUE(raw.Read(10, header));
    ASSERT_TRUE(raw.Read(20, entry));
    EXPECT_EQ(header.I16(0), -99);
    EXPECT_EQ(header.I16(2 + 2 * 9), 0);
    EXPECT_EQ(header.I16(204), 0);
    EXPECT_EQ(header.I16(214), 2);
    EXPECT_EQ(header.Text(216, 8), " 2/01/97");
    EXPECT_EQ(entry.I16(8), 6);
    EXPECT_EQ(entry.I16(10), 97);
    for (std::size_t k = 12; k < 256; ++k) ASSERT_EQ(entry.data()[k], before.data()[k]) << "byte " << k;
}

}  // namespace
