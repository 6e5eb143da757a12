#pragma once

// The three summary returns of the appraisal pages (since the start, last
// 6 months, last 12 months) for an account or holding and for a market
// index, chained month by month from a monthly series.

#include <array>
#include <cstdint>
#include <string>

#include "records/common_file.h"

namespace reports {

inline constexpr int kSummaryMonths = 360;

// The monthly series the caller fills; entry k of each series (from 1) is
// held at [k - 1]. Years are stored two-digit (100 + YY from 2000).
struct SummarySeries {
    int16_t first_month = 0;
    int16_t first_year = 0;
    int16_t last_month = 0;
    int16_t last_year = 0;
    int16_t count_year = 0;                      // the last year as the month count takes it
    int16_t entries = 0;                         // entries filled
    std::array<double, kSummaryMonths> value{};  // month-end values
    std::array<double, kSummaryMonths> flow{};   // net flow of each month
    std::array<float, kSummaryMonths> weight{};  // enters the divisor with the flow
    std::array<float, kSummaryMonths> index{};   // market index levels
    std::array<float, kSummaryMonths> extra{};   // carried along
};

// The six results in percent, each -999.99 where not available.
struct AppraisalReturns {
    float since_start = -999.99f;
    float six_months = -999.99f;
    float twelve_months = -999.99f;
    float index_six_months = -999.99f;
    float index_twelve_months = -999.99f;
    float index_since_start = -999.99f;
};

struct SummaryRequest {
    std::string start_date = std::string(8, ' ');  // MM/DD/YY
    std::string end_date = std::string(8, ' ');
    std::string index_word = std::string(4, ' ');  // blank: index returns too
    double opening_value = 0;                      // start within a month: the first value
    float opening_index = 0;                       // ... the first index level
    float opening_extra = 0;                       // ... the first entry of the carried series
    float start_index_level = 0;                   // start within a month: the index's first level
    int16_t anchor_month = 0;
    int16_t anchor_year = 0;
    float anchor_return = 0;  // percent: the anchor month's level is 100 + this
};

// Computes the returns; the series are rewritten in place (a start at a
// month end drops the first month, one within a month takes the opening
// entries). Option 34 set: the since-start return is cumulative, else
// annualized. A period under 182 days gives no results. A month with a
// negative starting value carries the previous level on; a flow of
// -99999.99 stops the chain, and then no account return is given. An index
// level of 0 or below (a missing price, -999.99) gives no index return
// from or to it.
AppraisalReturns Persum2(const SummaryRequest& request, SummarySeries& series,
                         const records::Options& options);

}  // namespace reports
