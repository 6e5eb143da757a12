#pragma once

// The performance table of one account (or of a composite): an INITIAL
// VALUE line, then one row a month or a calendar quarter with the ending
// market value, the period's capital flow, income and change, the
// cumulative gain, the period and cumulative return and up to two market
// indexes; the chart data file PERF.DAT or GRAPHER.OUT beside it. The
// account and the run come from PCONTROL.FIL, which the account driver has
// written before the call.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/series.h"
#include "records/common_file.h"
#include "records/index_slot.h"
#include "records/performance_control.h"

namespace reports {

inline constexpr int kTableMonths = 360;

// The monthly series of an account that the table, the performance
// summary page and the summary by asset class share: the table's months
// (entry 2 is the first month, entry 1 the month before it), the ending
// values V, flows F, incomes I, the levels of the two market indexes X1
// and X2, the asset-class series of a replayed account and T, which
// nothing fills. Entry k is held at [k - 1].
struct MonthlySeries {
    int16_t start_month = 0;
    int16_t start_year = 0;  // stored years: 100 + YY from 2000
    int16_t last_month = 0;
    int16_t last_year = 0;
    std::array<double, kTableMonths> value{};
    std::array<double, kTableMonths> flow{};
    std::array<float, kTableMonths> income{};
    std::array<float, kTableMonths> index1{};
    std::array<float, kTableMonths> index2{};
    engine::PeriodSeries cash_equivalents;
    engine::PeriodSeries equities;
    engine::PeriodSeries fixed_income;
    std::array<float, kTableMonths> t{};
};

// Page state carried from the caller and back.
struct PerformancePage {
    int16_t lines = 0;
    int16_t page = 0;
    int16_t page_length = 0;
};

// What the performance summary page is handed after the table (the
// summary page itself is built elsewhere; see PerformanceTableRequest).
struct PerformanceSummaryCall {
    const records::PerformanceHeader* header = nullptr;
    const records::PerformanceAccount* account = nullptr;
    int16_t index_display = 0;
    double initial_value = 0;
    std::string cumulative_text = std::string(6, ' ');
    std::string first_equities = std::string(8, ' ');
    std::string first_fixed_income = std::string(8, ' ');
    std::string first_cash_equivalents = std::string(8, ' ');
    MonthlySeries* series = nullptr;
    PerformancePage* page = nullptr;
    // The rest of the table's request and state the summary page prints
    // from: the index heading texts (three pieces each), the output mode,
    // the mode (1 a composite: its transfers count and the run record is
    // 11), the store flag, the sub-kind (0 the page, 1 a line of the
    // summary by account, 2 a line of the monthly page), the centred
    // account title, the series' start date and the security's
    // description.
    std::array<std::array<std::string, 3>, 2> index_headers{};
    records::Options options{};
    int16_t output_mode = 1;
    int16_t mode = 0;
    std::string store_flag = "N   ";
    int16_t sub_kind = 0;
    std::string title = std::string(42, ' ');
    std::string start_date = std::string(8, ' ');
    std::string description = std::string(32, ' ');
    // The start within a month is already in the series: entry 1 holds the
    // initial value and entry 2's flow has been reduced by it.
    bool opening_in_series = false;
    // The last month's return of the account and change of each index
    // (percent; -999.99 when not known).
    float last_return = -999.99f;
    std::array<float, 2> last_index_change{-999.99f, -999.99f};
};

struct PerformanceTableRequest {
    std::string frequency = "M   ";  // replaced by the run header's
    // The two market indexes: the symbol looked up for the levels and the
    // three heading texts (all blank: the index is not shown).
    std::array<records::IndexSlot, 2> indexes{};
    int16_t output_mode = 1;  // 2: no line is written (the chart file still is)
    int16_t mode = 0;         // 0 one account, 1 composite (run record 11)
    records::Options options{};
    int16_t sub_kind = 0;  // 0 the table; above 0 only the figures
    int16_t choice = 0;    // replaced by the run record's asset-class choice
    std::string security = std::string(12, ' ');
    std::string description = std::string(32, ' ');
    // The performance summary page, called after the table when option 29
    // is on or the sub-kind is above 0 (unless the choice is 4). Empty:
    // Persumm.
    std::function<void(const PerformanceSummaryCall&)> summary_page;
};

// What the table hands back: the first entries of the replayed series
// (the summary by asset class starts from them) and its running figures.
struct PerformanceTableResult {
    double cash_equivalents_start = 0;
    double equities_start = 0;
    double fixed_income_start = 0;
    float income_start = 0;
    float cash_equivalents_income_start = 0;
    float equities_income_start = 0;
    float fixed_income_income_start = 0;
    float cumulative_return = 0;
    bool no_holdings = false;
};

void Mnappr(PerformanceTableRequest& request, PerformancePage& page, MonthlySeries& series,
            PerformanceTableResult& result);

// Splits date 1 (MM/DD/YY) and gives the numbers the table's rows go by
// (YYMMDD with the stored year, 100 + YY from 2000): date 2's, 0 when it
// equals date 1 or is blank, and the last day of the month before date 2.
struct TableDates {
    int16_t month = 0;
    int16_t day = 0;
    int16_t year = 0;  // stored year
    double start_number = 0;
    double opening_number = 0;
    double month_end_number = 0;
};
TableDates Mnapdat(std::string_view date1, std::string_view date2);

}  // namespace reports
