#pragma once

// The fixed income analyses (report codes 222 to 227): per account, the
// fixed-income holdings distributed over twelve classes by years to
// maturity, rating, coupon or yield, or the account's income spread over
// the twelve months from the report date's month.

#include <cstdint>
#include <string_view>

namespace reports {

// The report kinds of Getfix.
enum FixedIncomeAnalysis : int16_t {
    kMaturityAnalysis = 1,
    kRatingAnalysis = 2,
    kCouponAnalysis = 3,
    kYieldAnalysis = 4,
    kIncomeFlowFixed = 5,
    kIncomeFlowOther = -5,
};

// Writes the analysis of the kind for every account of ACCOUNT.IDX whose
// manager code matches the pattern (selection "A   "; "?" matches any
// character) or for the one account named (any other selection), as of
// the report date (MM/DD/YY): holdings rebuilt as of that date when it is
// before the program date. OUTPUT.TMP is always ended and copied to
// output_name.
void Getfix(int16_t kind, std::string_view selection, std::string_view manager, std::string_view account,
            std::string_view report_date, std::string_view output_name);

}  // namespace reports
