#pragma once

// The performance summary of one account after its performance table: the
// returns of the fiscal year to date, each calendar year and the time
// since inception (with option 70 the last 12 months and the last 3 and 5
// years), beside up to two market indexes, and the balances block; or one
// account's line of the summary of performance by account or of the
// monthly performance by account. PCONTROL.FIL is written back for the
// next account of the run.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "records/common_file.h"
#include "reports/performance/performance_table.h"

namespace reports {

// The 8-character percentage cell of the performance pages (in a
// 32-character text): "    N/A " when a check is -999.99, else the value
// under "(F7.1,1X)" (mode 0) or "(F7.1,'%')" (mode 1), with a plus sign
// before a positive value.
std::string Fmtpct(float value, float check1, float check2, float check3, int16_t mode);

// The return over the last span + 1 entries ending at entry `end` of three
// level series (entry k at [k - 1]), each as an Fmtpct text, "   N/A  "
// where it cannot be computed: annualized with exponent 12 / (span + 1),
// cumulative with option 34; option 71 measures the last 12 entries with
// exponent (span + 1) / 12.
struct AnnualizedTexts {
    std::string a, b, c;
};
AnnualizedTexts Prfann(const records::Options& options, std::span<const float> a, std::span<const float> b,
                       std::span<const float> c, int end, int span);

// The summary page (sub-kind 0) or a by-account line (1, 2) of the
// account PCONTROL.FIL points to, from the series the table leaves.
void Persumm(const PerformanceSummaryCall& call);

// The page headings of the by-account pages. Page and lines move on;
// print mode 2 prints the short heading only.
void Prfmon(int16_t& page, int16_t& lines, std::string_view ending_date, int16_t print_mode,
            int16_t& page_length);
void Prfsumac(int16_t& page, int16_t& lines, std::string_view date_printed, std::string_view ending_date,
              int16_t print_mode, int16_t& page_length);

}  // namespace reports
