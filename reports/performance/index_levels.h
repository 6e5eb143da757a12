#pragma once

// Market index levels month by month, from the price files.

#include <cstdint>
#include <span>
#include <string_view>

namespace reports {

// Fills the level of the index symbol (12 characters, looked up in
// SECURITY.IDX) at each month from first_month/first_year to
// last_month/last_year (stored years: 100 + YY from 2000): the n-th month
// of the range (from 1) goes to levels[first_entry + n - 1]. Every entry of
// the range is first -999.99; a price above 0 in the price file of the
// month's date becomes the level. The date is the given day of each month,
// or the month's last day when the day is the last day of the last month
// (a month-end report), and a day past a month's end is its last day. A
// symbol that is blank or not in SECURITY.IDX leaves every level at
// -999.99. No file is created.
void Mnapsec(int16_t first_month, int16_t day, int16_t first_year, int16_t last_month, int16_t last_year,
             std::string_view symbol, std::span<float> levels, int first_entry);

}  // namespace reports
