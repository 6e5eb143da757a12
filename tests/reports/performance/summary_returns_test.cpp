// The appraisal summary returns: month-end and mid-month starts,
// annualized and cumulative since-start returns, the 6- and 12-month
// windows, the funded, emptied and mid-month-flow months, the short
// period, the chain stopped by a missing flow, a negative starting value
// and the index returns. Expected figures are worked by hand in the
// comments.

#include "reports/performance/summary_returns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "records/options.h"

namespace {

using reports::AppraisalReturns;
using reports::Persum2;
using reports::SummaryRequest;
using reports::SummarySeries;

constexpr float kNA = -999.99f;

records::Options Cumulative(bool on) {
    records::Options o{};
    records::SetOption(o, records::Opt::kCumulativeReturn, on ? 1 : 0);
    return o;
}

// A series whose month count is n: months from first_month of year 98.
SummarySeries Series(int16_t first_month, int16_t last_month, const std::vector<double>& values,
                     const std::vector<double>& flows = {}, const std::vector<float>& index = {}) {
    SummarySeries s;
    s.first_month = first_month;
    s.first_year = first_month == 12 ? 97 : 98;
    s.last_month = last_month;
    s.last_year = 98;
    s.count_year = 98;
    s.entries = static_cast<int16_t>(values.size());
    for (std::size_t k = 0; k < values.size(); ++k) s.value[k] = values[k];
    for (std::size_t k = 0; k < flows.size(); ++k) s.flow[k] = flows[k];
    for (std::size_t k = 0; k < index.size(); ++k) s.index[k] = index[k];
    return s;
}

SummaryRequest Request(const char* start, const char* end) {
    SummaryRequest r;
    r.start_date = start;
    r.end_date = end;
    return r;
}

void ExpectReturns(const AppraisalReturns& got, const AppraisalReturns& want) {
    const float g[] = {got.since_start,      got.six_months,          got.twelve_months,
                       got.index_six_months, got.index_twelve_months, got.index_since_start};
    const float w[] = {want.since_start,      want.six_months,          want.twelve_months,
                       want.index_six_months, want.index_twelve_months, want.index_since_start};
    for (int k = 0; k < 6; ++k) {
        if (w[k] == kNA)
            EXPECT_EQ(g[k], kNA) << "result " << k;
        else
            EXPECT_NEAR(g[k], w[k], 0.001) << "result " << k;
    }
}

// 1% a month: the k-th month end (k from 1) at 100,000 x 1.01^(k-1).
std::vector<double> OnePercent(int count) {
    std::vector<double> v;
    for (int k = 0; k < count; ++k) v.push_back(100000.0 * std::pow(1.01, k));
    return v;
}

TEST(Persum2, MonthEndStartTwelveMonths) {
    // Start 12/31/97: the first entry is dropped, leaving 13 month ends
    // Dec 97 to Dec 98 (N = (98 - 97) x 12 - 12 + 12 + 1 = 13). I(13) =
    // 100 x 1.01^12: 12.6825% since the start and over 12 months (P = 1),
    // 1.01^6 - 1 = 6.1520% over the last 6. Index 400 rising 4 a month:
    // 448 / 400 = 12%, 448 / 424 = 5.6604%.
    std::vector<double> values = {-1.0};
    for (double v : OnePercent(13)) values.push_back(v);
    std::vector<float> index = {0.0f};
    for (int k = 0; k < 13; ++k) index.push_back(400.0f + 4.0f * k);
    for (bool cumulative : {false, true}) {
        SummarySeries s = Series(12, 12, values, {}, index);
        // Twelve months: annualizing (exponent 12 / (13 + 1 - 2) = 1)
        // changes nothing.
        const AppraisalReturns got = Persum2(Request("12/31/97", "12/31/98"), s, Cumulative(cumulative));
        ExpectReturns(got, {12.6825f, 6.1520f, 12.6825f, 5.6604f, 12.0f, 12.0f});
        EXPECT_EQ(s.value[0], 100000.0);  // the first entry was dropped
    }
}

TEST(Persum2, MidMonthStartAnnualizedAndCumulative) {
    // Start 06/15/98 in a 30-day month: first-month fraction 0.5; N = 7
    // (Jun to Dec). V(1) is the opening 100,000, then 1% a month: I(7) =
    // 100 x 1.01^6. Months 7 + 0.5 - 2 = 5.5, exponent 12 / 5.5:
    // annualized 1.0615202^2.1818 - 1 = 13.9123%, cumulative 6.1520%. The
    // 6-month window starts at I(1); no 12-month window (P < 1). Index:
    // opening 500 to 550 since the start (23.1151% annualized, 10%
    // cumulative); the 6-month window then starts at the start level 400:
    // 150 / 400 = 37.5%.
    std::vector<double> values = {0.0};
    for (double v : OnePercent(7)) values.push_back(v);
    values.erase(values.begin() + 1);  // entries 2-7: 101,000 ...
    const std::vector<float> index = {0.0f, 510.0f, 520.0f, 530.0f, 535.0f, 540.0f, 550.0f};
    SummaryRequest r = Request("06/15/98", "12/31/98");
    r.opening_value = 100000.0;
    r.opening_index = 500.0f;
    r.start_index_level = 400.0f;
    {
        SummarySeries s = Series(6, 12, values, {}, index);
        ExpectReturns(Persum2(r, s, Cumulative(false)), {13.9123f, 6.1520f, kNA, 37.5f, kNA, 23.1151f});
        EXPECT_EQ(s.value[0], 100000.0);  // the opening value took entry 1
    }
    {
        SummarySeries s = Series(6, 12, values, {}, index);
        ExpectReturns(Persum2(r, s, Cumulative(true)), {6.1520f, 6.1520f, kNA, 37.5f, kNA, 10.0f});
    }
    {
        // An index word: no index returns.
        SummarySeries s = Series(6, 12, values, {}, index);
        r.index_word = "ACME";
        ExpectReturns(Persum2(r, s, Cumulative(true)), {6.1520f, 6.1520f, kNA, kNA, kNA, kNA});
    }
}

TEST(Persum2, FundedEmptiedAndFlowMonths) {
    // Month-end start, N = 7 (Dec 97 to Jun 98), cumulative.
    //  Jan: from 0 with 10,000 in, ends 10,500: the flow is the start, 5.0%.
    //  Mar: 10,500 + 10,000 in, ends 21,000: gain 500 over 10,500 + 5,000.
    //  Jun: 21,000 all out, ends 0: |flow| is the end, no change.
    // I(7) = 100 x 1.05 x (1 + 500 / 15,500) = 108.3871.
    const std::vector<double> values = {-1.0, 0.0, 10500.0, 10500.0, 21000.0, 21000.0, 21000.0, 0.0};
    const std::vector<double> flows = {0.0, 0.0, 10000.0, 0.0, 10000.0, 0.0, 0.0, -21000.0};
    SummarySeries s = Series(12, 6, values, flows);
    ExpectReturns(Persum2(Request("12/31/97", "07/31/98"), s, Cumulative(true)),
                  {8.3871f, 8.3871f, kNA, kNA, kNA, kNA});
}

TEST(Persum2, ShortPeriodStoppedChainAndNegativeStart) {
    const std::vector<double> values = {-1.0, 100.0, 110.0, 121.0, 133.1, 146.41, 161.051, 177.1561};
    const std::vector<float> index = {0.0f, 100.0f, 101.0f, 102.0f, 103.0f, 104.0f, 105.0f, 106.0f};
    {
        // 06/30/98 to 12/15/98 is 168 days: nothing is given.
        SummarySeries s = Series(12, 6, values, {}, index);
        ExpectReturns(Persum2(Request("06/30/98", "12/15/98"), s, Cumulative(true)),
                      {kNA, kNA, kNA, kNA, kNA, kNA});
    }
    {
        // A missing flow in month 3 stops the chain: every account window
        // ends after it, so no account return; the index's stay (106 /
        // 100 = 6%; 6 months from 100: 6%).
        std::vector<double> flows(8, 0.0);
        flows[3] = -99999.99;
        SummarySeries s = Series(12, 6, values, flows, index);
        ExpectReturns(Persum2(Request("12/31/97", "07/31/98"), s, Cumulative(true)),
                      {kNA, kNA, kNA, 6.0f, kNA, 6.0f});
    }
    {
        // 10% a month with a negative month end in month 3: that month
        // falls to -0.1 x its start (level -11), and month 4, starting
        // negative, carries -11 on instead of falling back to 100. Levels
        // 100, 110, -11, -11 (N = 4).
        std::vector<double> v = values;
        v[3] = -11.0;
        v[4] = 121.0;
        SummarySeries s = Series(12, 3, v);  // N = 4
        const AppraisalReturns got = Persum2(Request("12/31/97", "07/31/98"), s, Cumulative(true));
        EXPECT_NEAR(got.since_start, -111.0f, 0.001);  // (-11 - 100) / 100
    }
}

TEST(Persum2, FebruaryTwentyEighthIsAMonthEndOnlyOutsideLeapYears) {
    for (const char* start : {"02/28/98", "02/28/96"}) {
        SummarySeries s = Series(2, 12, {1.0, 2.0, 3.0});
        SummaryRequest r = Request(start, "12/31/98");
        r.opening_value = 9.0;
        Persum2(r, s, Cumulative(true));
        EXPECT_EQ(s.value[0], std::string(start) == "02/28/98" ? 2.0 : 9.0) << start;
    }
}

TEST(Persum2, AnchorMonthAndThe365DayTest) {
    // Month-end start 12/31/97 to 03/31/99: N = 16 (Dec 97 to Mar 99),
    // 1% a month. The anchor month's level is 100 + 20 and the chain goes
    // on from it. Index 400 rising 4 a month: X(16) = 460.
    struct Case {
        int16_t anchor_month;  // of 98; its place K = month + 1
        AppraisalReturns want;
    };
    // Anchor June (K = 7): I(16) = 120 x 1.01^9 = 131.2422; 6 months from
    // I(10) = 120 x 1.01^3: 1.01^6. June 30 to March 31 is 274 days, under
    // 365: no 12-month returns, for the account nor the index.
    // Anchor March (K = 4): I(16) = 120 x 1.01^12 = 135.2190; March 31 to
    // March 31 is 365 days, so the 12-month returns are given: from I(4) =
    // 120, 12.6825%; index (460 - 412) / 412 = 11.6505%.
    const std::vector<Case> cases = {
        {6, {31.2422f, 6.1520f, kNA, 5.5046f, kNA, 15.0f}},
        {3, {35.2190f, 6.1520f, 12.6825f, 5.5046f, 11.6505f, 15.0f}},
    };
    for (const Case& c : cases) {
        SummarySeries s;
        s.first_month = 12;
        s.first_year = 97;
        s.last_month = 3;
        s.last_year = 99;
        s.count_year = 99;
        s.value[0] = -1.0;  // dropped by the month-end start
        const std::vector<double> v = OnePercent(16);
        for (int k = 0; k < 16; ++k) {
            s.value[k + 1] = v[k];
            s.index[k + 1] = 400.0f + 4.0f * k;
        }
        SummaryRequest r = Request("12/31/97", "03/31/99");
        r.anchor_month = c.anchor_month;
        r.anchor_year = 98;
        r.anchor_return = 20.0f;
        ExpectReturns(Persum2(r, s, Cumulative(true)), c.want);
    }
}

TEST(Persum2, MissingIndexLevelsGiveNoIndexReturns) {
    // The index has no price at the last month end (-999.99): no index
    // return ends there; the account's returns stand.
    std::vector<double> values = {-1.0};
    for (double v : OnePercent(13)) values.push_back(v);
    std::vector<float> index = {0.0f};
    for (int k = 0; k < 13; ++k) index.push_back(400.0f + 4.0f * k);
    index.back() = -999.99f;
    for (bool cumulative : {false, true}) {
        SummarySeries s = Series(12, 12, values, {}, index);
        ExpectReturns(Persum2(Request("12/31/97", "12/31/98"), s, Cumulative(cumulative)),
                      {12.6825f, 6.1520f, 12.6825f, kNA, kNA, kNA});
    }
}

}  // namespace
