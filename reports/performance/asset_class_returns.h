#pragma once

// The summary of performance by asset class of one account, one page:
// for cash equivalents, equities, fixed income and the total portfolio the
// total and income return over the quarter to date, the year to date (and
// annualized), the last twelve months and since inception, and the same
// changes of up to two market indexes. It works on the series the
// performance table leaves behind and writes PCONTROL.FIL back.

#include <array>
#include <string>

#include "reports/performance/performance_table.h"

namespace reports {

struct AssetClassSummaryRequest {
    // The two index symbols (12 characters), looked up in SECURITY.IDX.
    std::array<std::string, 2> index_symbols{std::string(12, ' '), std::string(12, ' ')};
    int16_t output_mode = 1;  // 2: compute and write back, print nothing
    int16_t mode = 0;         // above 0: a composite (run record 11)
    double initial_value = -99999.99;
    // The first figures of the replayed series (the table's result).
    PerformanceTableResult first{};
    std::string title = std::string(42, ' ');  // printed in the date line
};

// Prints the page from the series (shifted in place by one period when the
// account opened on a month's last day) and writes the run record and the
// header back.
void Sumac(const AssetClassSummaryRequest& request, PerformancePage& page, MonthlySeries& series);

}  // namespace reports
