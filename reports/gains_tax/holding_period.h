#pragma once

// The holding period of a realised lot: short-term, mid-term or long-term,
// from the date bought, the date sold and the lot's reacquired (covered
// short) flag. The gains and losses reports class every lot here; the
// composite report takes the mid-term class as long-term.

#include <string_view>

namespace reports {

enum class HoldingClass { kShortTerm, kMidTerm, kLongTerm };

// date_bought: MM/DD/YY as stored in the gain record; sale_number: the date
// sold as its YYMMDD number (years below 51 as 100 + YY).
//  - a reacquired lot is short-term whatever its holding;
//  - a purchase from 06/23/84 to 12/31/87 (purchase number YYMMDD of the
//    two-digit year as written) held no longer than six months is
//    short-term; any other purchase held no longer than one year is;
//  - a lot not short-term is mid-term while held less than eighteen
//    months, long-term from eighteen months on.
// Each limit is the actual days from the date bought to the shifted date:
// six months on (day cut to the month's length), the same day a year on
// (February 29 then counts as March 1), eighteen months on (day cut).
HoldingClass ClassifyHolding(std::string_view date_bought, float sale_number, bool reacquired);

// The three limits of a purchase date, in actual days from it.
struct HoldingLimits {
    double six_months = 0;
    double one_year = 0;
    double eighteen_months = 0;
};
HoldingLimits LimitsOf(std::string_view date_bought);

// The same rule in the composite report's two classes: mid-term counts as
// long-term.
inline bool IsShortTerm(HoldingClass c) {
    return c == HoldingClass::kShortTerm;
}

// The date sold of a YYMMDD number as month, day and two-digit year.
struct SaleDate {
    int month = 0;
    int day = 0;
    int year = 0;  // 0-99
};
SaleDate SaleDateOf(float sale_number);

}  // namespace reports
