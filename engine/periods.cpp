#include "engine/periods.h"

#include <algorithm>
#include <cmath>

#include "records/dates.h"
#include "records/record.h"

namespace engine {

namespace {

int MonthLength(int month, int year) {
    records::MonthLengths table = records::MonthLengthTable;
    records::Setfeb(table, static_cast<int16_t>(year));
    return (month >= 1 && month <= 12) ? table[month - 1] : 31;
}

}  // namespace

SeriesDate SeriesDate::FromText(std::string_view text) {
    SeriesDate d;
    int16_t yy = 0;
    records::Redate(text, d.month, d.day, yy);
    d.year = static_cast<int16_t>(records::WindowYear(yy));
    return d;
}

double SeriesDate::Number() const {
    return static_cast<double>(year) * 10000 + month * 100 + day;
}

std::string SeriesDate::Text() const {
    std::string text;
    int16_t yy = year;
    while (yy > 99) yy = static_cast<int16_t>(yy - 100);
    records::Wrdate(text, month, day, yy);
    text = records::Fixed(text, 8);
    if (text[6] == ' ') text[6] = '0';  // years are written with two digits: 01/31/00
    return text;
}

bool SeriesDate::IsMonthEnd() const {
    return day == MonthLength(month, year);
}

double SeriesDateNumber(std::string_view text) {
    if (records::IsBlank(records::Fixed(text, 8))) return 0;
    int16_t month = 0, day = 0, yy = 0;
    if (!records::Redate(text, month, day, yy)) return 0;
    return std::round(records::WindowedDateNumber(month, day, yy));
}

void Nxtmon(int16_t& month, int16_t& day, int16_t& year, int16_t month_end_switch) {
    if (month_end_switch > 0) {
        day = static_cast<int16_t>(MonthLength(month, year));
        return;
    }
    month = static_cast<int16_t>(month + 1);
    if (month > 12) {
        month = 1;
        year = static_cast<int16_t>(year + 1);
    }
    const int length = MonthLength(month, year);
    if (day > length) day = static_cast<int16_t>(length);
}

std::vector<PeriodEnd> PeriodEnds(const SeriesDate& start, const SeriesDate& end, bool by_category,
                                  int first_count, std::size_t limit) {
    std::vector<PeriodEnd> ends;
    const double end_number = end.Number();
    SeriesDate cur = start;
    int n = first_count;
    while (ends.size() < limit) {
        const bool last = cur.Number() >= end_number;
        ends.push_back({cur.Text(), last ? end_number : cur.Number()});
        ++n;
        if (last) break;
        if (by_category && n == 1 && !start.IsMonthEnd()) {
            Nxtmon(cur.month, cur.day, cur.year, 1);
        } else if (n > 1) {
            Nxtmon(cur.month, cur.day, cur.year, 0);
            if (end.IsMonthEnd()) Nxtmon(cur.month, cur.day, cur.year, 1);
        } else if (!end.IsMonthEnd()) {
            cur.day = static_cast<int16_t>(std::min<int>(end.day, MonthLength(cur.month, cur.year)));
            if (cur.day < start.day) Nxtmon(cur.month, cur.day, cur.year, 0);
        } else {
            if (start.IsMonthEnd()) Nxtmon(cur.month, cur.day, cur.year, 0);
            Nxtmon(cur.month, cur.day, cur.year, 1);
        }
    }
    return ends;
}

}  // namespace engine
