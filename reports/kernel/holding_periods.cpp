// The holding-period rules of the realised gains, the working appraisal
// pages and the assets under management pages.

#include "reports/kernel/holding_periods.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "records/dates.h"
#include "reports/kernel/lot_securities.h"

namespace reports {

namespace {

std::string DateText(int month, int day, int year) {
    std::string text;
    int16_t y = static_cast<int16_t>(year);
    records::Wrdate(text, static_cast<int16_t>(month), static_cast<int16_t>(day), y);
    return text;
}

// Days from the date bought to month/day of the given year, the day cut to
// the month's length when cut_day is set.
double DaysTo(std::string_view bought, int month, int day, int year, bool cut_day) {
    while (month > 12) {
        month -= 12;
        ++year;
    }
    year %= 100;
    if (cut_day && month >= 1 && day > records::DaysInMonth(month, year))
        day = records::DaysInMonth(month, year);
    return records::Daycb(bought, DateText(month, day, year), 0);
}

}  // namespace

SaleDate SaleDateOf(float sale_number) {
    const records::DateNumberParts parts =
        records::SplitDateNumber(std::lround(static_cast<double>(sale_number)));
    SaleDate date;
    date.year = parts.year % 100;
    date.month = parts.month;
    date.day = parts.day;
    return date;
}

HoldingLimits LimitsOf(std::string_view date_bought) {
    int16_t m = 0, d = 0, y = 0;
    records::Redate(date_bought, m, d, y);
    HoldingLimits limits;
    limits.six_months = DaysTo(date_bought, m + 6, d, y, /*cut_day=*/true);
    limits.one_year = DaysTo(date_bought, m, d, y + 1, /*cut_day=*/false);
    limits.eighteen_months = DaysTo(date_bought, m + 6, d, y + 1, /*cut_day=*/true);
    return limits;
}

HoldingClass ClassifyHolding(std::string_view date_bought, float sale_number, bool reacquired) {
    if (reacquired) return HoldingClass::kShortTerm;
    int16_t m = 0, d = 0, y = 0;
    records::Redate(date_bought, m, d, y);
    const long purchase = y * 10000L + m * 100L + d;
    const SaleDate sold = SaleDateOf(sale_number);
    const double held = records::Daycb(date_bought, DateText(sold.month, sold.day, sold.year), 0);

    const HoldingLimits limits = LimitsOf(date_bought);
    const bool window = purchase >= 840623 && purchase <= 871231;
    if (window) {
        if (held <= limits.six_months) return HoldingClass::kShortTerm;
    } else if (held <= limits.one_year) {
        return HoldingClass::kShortTerm;
    }
    if (held < limits.eighteen_months) return HoldingClass::kMidTerm;
    return HoldingClass::kLongTerm;
}

bool WorkingAppraisalLongTerm(const std::string& trade_date, const std::string& pricing_date) {
    return WorkingAppraisalLongTerm(LotDateNumber(trade_date), LotDateNumber(pricing_date));
}

bool WorkingAppraisalLongTerm(float t, float p) {
    if (t < 840623) return t + 10000 < p;
    const float d = p - t;
    return (d >= 601 && d <= 1999) || d >= 9401;
}

bool AumLongTerm(float pricing_number, int pricing_window_year, float lot_number) {
    // Six months decide the holding period in the pricing years 1984-1988.
    const bool six_month_rule = pricing_window_year >= 84 && pricing_window_year <= 88;
    const double d = pricing_number - lot_number;
    return six_month_rule ? d >= 601 : d > 10000.5;
}

}  // namespace reports
