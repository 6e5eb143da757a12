#pragma once

// The holding-period rules of the reports, side by side. There are three,
// and they differ on purpose; each report family keeps to its own:
//  - realised gains and losses, the tax record file and the income summary
//    (ClassifyHolding): actual days between the dates bought and sold,
//    against limits moved on by calendar months; three classes (short,
//    mid, long); six months decide for purchases from 06/23/84 to
//    12/31/87; a reacquired lot is always short-term.
//  - the working appraisal pages (WorkingAppraisalLongTerm): the difference
//    of the two windowed YYMMDD numbers, long or short only; the purchase
//    date decides the rule (before 06/23/84 more than a year, later the
//    difference bands 601-1999 and 9401 on).
//  - the assets under management pages (AumLongTerm): the same difference
//    of windowed YYMMDD numbers, but the pricing year decides the rule
//    (six months, 601 on, in the pricing years 1984-1988; otherwise above
//    10000.5).

#include <string>
#include <string_view>

namespace reports {

// ---- Realised gains and losses.
//
// The holding period of a realised lot: short-term, mid-term or long-term,
// from the date bought, the date sold and the lot's reacquired (covered
// short) flag. The gains and losses reports class every lot here; the
// composite report takes the mid-term class as long-term.

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

// ---- The working appraisal pages.
//
// The term of a lot: long when bought before 06/23/84 and held more than a
// year, or bought later with a YYMMDD difference of 601-1999 or 9401 and
// more. Both dates are MM/DD/YY texts, windowed (two-digit years below 51
// are 2000 on).
bool WorkingAppraisalLongTerm(const std::string& trade_date, const std::string& pricing_date);
// The same from the dates' windowed YYMMDD numbers (LotDateNumber), for a
// page that reads its pricing date's number once.
bool WorkingAppraisalLongTerm(float trade_number, float pricing_number);

// ---- The assets under management pages.
//
// The term of a lot from the windowed YYMMDD numbers of the pricing date
// and the lot's date, and the windowed year of the pricing date: in the
// pricing years 84-88 a difference of 601 or more is long, in any other
// year a difference above 10000.5.
bool AumLongTerm(float pricing_number, int pricing_window_year, float lot_number);

}  // namespace reports
