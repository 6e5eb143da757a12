#pragma once

// The fixed income summary (report code 228): per account, its
// fixed-income holdings in order of maturity with face value, cost, market
// value, years to maturity, coupon, yield, current yields, rating and
// duration, then the account's totals and averages.

#include <string_view>

namespace reports {

// Writes the summary for every account of ACCOUNT.IDX whose manager code
// matches the pattern (selection "A   "; "?" matches any character) or for
// the one account named (any other selection), as of the report date
// (MM/DD/YY): holdings rebuilt as of that date when it is before the
// program date. Each account starts on a page of its own. OUTPUT.TMP is
// always ended and copied to output_name.
void Fixsum(std::string_view selection, std::string_view manager, std::string_view account,
            std::string_view report_date, std::string_view output_name);

// The maturity sort key of a YYMMDD number (two-digit year as stored):
// eight digits YYYYMMDD, years 00-79 in 2000-2079 and 80-99 in 1980-1999;
// 0 for zero or a negative number.
double Mtdkey(double date);

}  // namespace reports
