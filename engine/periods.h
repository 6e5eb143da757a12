#pragma once

// The period calendar of the market-value series: the dates of a series
// (month, day and a windowed year that keeps counting past 2000), stepping
// a date by months, and the period ends from a series start to its end
// date.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// A date of the series: month, day and windowed year (100 + YY from 2000).
struct SeriesDate {
    int16_t month = 0;
    int16_t day = 0;
    int16_t year = 0;

    // From MM/DD/YY (the year windowed).
    static SeriesDate FromText(std::string_view text);
    // YYMMDD with the windowed year.
    double Number() const;
    std::string Text() const;
    bool IsMonthEnd() const;
};

// A date text as a windowed YYMMDD number; 0 for a blank text or one that
// does not read as a date.
double SeriesDateNumber(std::string_view text);

// Steps a date by months: sets February's length for the year (29 when
// the year is divisible by 4); with the switch above 0 only sets day to
// the length of the month; otherwise moves to the next month (13 becomes
// January of the next year) and cuts day to that month's length. The year
// is the windowed year, so it keeps counting past 2000.
void Nxtmon(int16_t& month, int16_t& day, int16_t& year, int16_t month_end_switch);

// A period end: the date whose prices value the lots (text) and the date
// number up to which transactions are applied (the end date's for the
// last period).
struct PeriodEnd {
    std::string text;
    double number = 0;
};

// The period ends from the series start to the end date. The first period
// ends on the start; then, by the period count n (first_count + periods so
// far):
//  - category series (by_category), n = 1, start not a month end: the end
//    of the start's month;
//  - n above 1: one month on, the day kept but cut to the month's length
//    (and kept cut), or the month end when the end date is one;
//  - n at most 1, end date not a month end: the end date's day in the same
//    month (cut to its length), a month on when that day is before the
//    start's day;
//  - n at most 1, end date a month end: the end of the same month when the
//    start is not a month end, else the end of the next month.
// The last period is the first to end at or after the end date. Stops
// after `limit` periods (the caller refuses a plan that long).
std::vector<PeriodEnd> PeriodEnds(const SeriesDate& start, const SeriesDate& end, bool by_category,
                                  int first_count, std::size_t limit);

}  // namespace engine
