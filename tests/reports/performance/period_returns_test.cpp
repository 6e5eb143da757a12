// The appraisal performance figures from a small data directory: an
// account funded on 01/02/97 whose stock, bought on 01/10/97 for the whole
// 10,000, gains 1% a month (month-end prices 100 x 1.01^k); a second
// account funded and invested on the month end 01/31/97; market index SPX
// at 400 on 12/31/96 rising 4 a month. Expected figures are worked by hand
// in the comments.

#include "reports/performance/period_returns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/value_history.h"
#include "records/files.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using reports::AppraisalPerformanceRequest;
using reports::AppraisalReturns;
using reports::Mnappr2;

constexpr float kNA = -999.99f;

class Mnappr2Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteSecurities({{"CASH", "CASH", "CASH", "", "1"},
                                   {"STK", "STK", "STOCK CO", "", "P"},
                                   {"SPX", "SPX", "S&P 500", "", "P"}});
        const char* month_ends[] = {"12/31/96", " 1/31/97", " 2/28/97", " 3/31/97", " 4/30/97",
                                    " 5/31/97", " 6/30/97", " 7/31/97", " 8/31/97", " 9/30/97",
                                    "10/31/97", "11/30/97", "12/31/97"};
        for (int k = 0; k <= 12; ++k) {
            double stock = 100.0 * std::pow(1.01, k);
            double index = 400.0 + 4.0 * k;
            records::Rwpric(1, -30, month_ends[k], 2, stock);
            records::Rwpric(1, -30, month_ends[k], 3, index);
        }
        fixtures::WriteTransactions("A1",
                                    {fixtures::Transaction("FI", "CASH", "1", " 1/02/97", 0, 10000, 0, 1),
                                     fixtures::Transaction("B", "STK", "1", " 1/10/97", 100, 10000, 100, 2)});
        fixtures::WriteTransactions("A2",
                                    {fixtures::Transaction("FI", "CASH", "1", " 1/31/97", 0, 10000, 0, 1),
                                     fixtures::Transaction("B", "STK", "1", " 1/31/97", 100, 10000, 100, 2)});
        WriteHistory("A1", 97, 1);
        WriteHistory("A2", 97, 1);
    }

    // HL<acct>.DAT's header: first year and number of years.
    static void WriteHistory(const std::string& account, int16_t first_year, int16_t years) {
        engine::ValueHistoryHeader h;
        h.account = records::Fixed(account, 8);
        h.start_month = 1;
        h.first_year = first_year;
        h.end_month = 12;
        h.last_year = static_cast<int16_t>(first_year + years - 1);
        h.years = years;
        records::Record rec(128, 0);
        h.Encode(rec);
        records::DirectFile f("HL" + account + ".DAT", 128);
        ASSERT_TRUE(f.Write(1, rec));
    }

    static AppraisalPerformanceRequest Request(const std::string& account, const std::string& security,
                                               const std::string& end) {
        AppraisalPerformanceRequest r;
        r.account = records::Fixed(account, 8);
        r.security = records::Fixed(security, 12);
        r.end_date = end;
        r.indexes[0].symbol = records::Fixed("DJI", 12);
        r.indexes[1].symbol = records::Fixed("SPX", 12);
        return r;
    }

    static records::Options Cumulative(bool on) {
        records::Options o{};
        records::SetOption(o, records::Opt::kCumulativeReturn, on ? 1 : 0);
        return o;
    }

    fixtures::TempDataDir dir_;
};

void ExpectReturns(const AppraisalReturns& got, const AppraisalReturns& want, const std::string& what) {
    const float g[] = {got.since_start,      got.six_months,          got.twelve_months,
                       got.index_six_months, got.index_twelve_months, got.index_since_start};
    const float w[] = {want.since_start,      want.six_months,          want.twelve_months,
                       want.index_six_months, want.index_twelve_months, want.index_since_start};
    for (int k = 0; k < 6; ++k) {
        if (w[k] == kNA)
            EXPECT_EQ(g[k], kNA) << what << ": result " << k;
        else
            EXPECT_NEAR(g[k], w[k], 0.001) << what << ": result " << k;
    }
}

struct Case {
    std::string name;
    std::string account, security, end;
    bool cumulative;
    float begin_index_level;
    AppraisalReturns want;
};

TEST_F(Mnappr2Fixture, Figures) {
    // A1, whole account, start 01/02/97 within a month: the count starts in
    // December 96, so N = 13 with entry 1 the first day's 10,000 and
    // entries 2-13 the month ends, 10,000 x 1.01^k. I(13) = 112.6825.
    // First-month fraction 29/31, months 11.9355, exponent 1.0054:
    // annualized 12.7553%, cumulative 12.6825%. 6 months (P = 7): 1.01^6,
    // 6.1520%; 12 months (P = 1): 12.6825%. Index: 6 months 448 / 424,
    // 5.6604%; 12 months from the saved level of December 96, 400: 12%;
    // since the start from the beginning index level, none when it is 0,
    // else (448 / 400)^1.0054 = 12.0686% annualized.
    // A1's stock alone: first-day amount 10,000 on 01/10/97, fraction
    // 21/31, annualized 13.0548%; no index returns for a holding.
    // A2 starts on the month end 01/31/97: exactly 12 months (N = 12, Jan
    // to Dec), so no 12-month returns; I(12) = 1.01^11: 11.5668%
    // cumulative, annualized with 12 / 11: 1.01^12, 12.6825%. Index since
    // January's 404: 44 / 404 = 10.8911% cumulative, (448 / 404)^(12/11)
    // annualized.
    const float a2_index_annual = static_cast<float>((std::pow(448.0 / 404.0, 12.0 / 11.0) - 1.0) * 100.0);
    const std::vector<Case> cases = {
        {"WholeAccountMidMonth",
         "A1",
         "",
         "12/31/97",
         false,
         0,
         {12.7553f, 6.1520f, 12.6825f, 5.6604f, 12.0f, kNA}},
        {"WholeAccountCumulative",
         "A1",
         "",
         "12/31/97",
         true,
         0,
         {12.6825f, 6.1520f, 12.6825f, 5.6604f, 12.0f, kNA}},
        {"BeginIndexLevel",
         "A1",
         "",
         "12/31/97",
         false,
         400,
         {12.7553f, 6.1520f, 12.6825f, 5.6604f, 12.0f, 12.0686f}},
        {"Holding", "A1", "STK", "12/31/97", false, 0, {13.0548f, 6.1520f, 12.6825f, kNA, kNA, kNA}},
        {"MonthEndStartTwelveMonths",
         "A2",
         "",
         "12/31/97",
         false,
         0,
         {12.6825f, 6.1520f, kNA, 5.6604f, kNA, a2_index_annual}},
        {"MonthEndStartCumulative",
         "A2",
         "",
         "12/31/97",
         true,
         0,
         {11.5668f, 6.1520f, kNA, 5.6604f, kNA, 10.8911f}},
        // 01/02/97 to 06/30/97 is 179 days.
        {"UnderOneHundredEightyTwoDays", "A1", "", " 6/30/97", false, 0, {kNA, kNA, kNA, kNA, kNA, kNA}},
        // The history holds 1997 only: the period ends in December 97.
        {"HistoryEndsTheYearBefore",
         "A1",
         "",
         " 3/31/98",
         true,
         0,
         {12.6825f, 6.1520f, 12.6825f, 5.6604f, 12.0f, kNA}},
        {"NoHistoryFile", "A3", "", "12/31/97", false, 0, {kNA, kNA, kNA, kNA, kNA, kNA}},
    };
    for (const Case& c : cases) {
        AppraisalPerformanceRequest r = Request(c.account, c.security, c.end);
        r.begin_index_level = c.begin_index_level;
        ExpectReturns(Mnappr2(r, Cumulative(c.cumulative)), c.want, c.name);
    }
}

TEST_F(Mnappr2Fixture, LeavesTheCallersFilesAloneAndCreatesNothingWithoutAHistory) {
    const std::vector<unsigned char> hl_tmp(384, 0x5A);
    const std::vector<unsigned char> output(264, 'X');
    fixtures::TempDataDir::WriteBytes("HL.TMP", hl_tmp);
    fixtures::TempDataDir::WriteBytes("OUTPUT.TMP", output);
    auto names = [&] {
        std::set<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir_.path()))
            out.insert(e.path().filename().string());
        return out;
    };

    const std::set<std::string> before = names();
    Mnappr2(Request("A3", "", "12/31/97"), Cumulative(false));
    EXPECT_EQ(names(), before) << "no history: nothing read further, nothing created";

    Mnappr2(Request("A1", "", "12/31/97"), Cumulative(false));
    Mnappr2(Request("A1", "STK", "12/31/97"), Cumulative(false));
    EXPECT_EQ(fixtures::TempDataDir::ReadBytes("HL.TMP"), hl_tmp);
    EXPECT_EQ(fixtures::TempDataDir::ReadBytes("OUTPUT.TMP"), output);
}

TEST_F(Mnappr2Fixture, HoldingRequestFromTheStoredIndexFields) {
    std::array<unsigned char, 72> record37{};
    const std::string text = "DJI         DOW     JONES   INDUSTRLSPX         S&P     500     INDEX   ";
    std::copy(text.begin(), text.end(), record37.begin());
    const AppraisalPerformanceRequest r =
        reports::HoldingPerformanceRequest("A1", "STK", "12/31/97", record37);
    EXPECT_EQ(r.account, "A1      ");
    EXPECT_EQ(r.security, "STK         ");
    EXPECT_EQ(r.start_date, "        ");
    EXPECT_EQ(r.end_date, "12/31/97");
    EXPECT_EQ(r.indexes[0].symbol, "DJI         ");
    EXPECT_EQ(r.indexes[1].symbol, "SPX         ");
    EXPECT_EQ(r.indexes[1].headers[2], "INDEX   ");
    EXPECT_EQ(r.opening_value, 0.0);
}

}  // namespace
