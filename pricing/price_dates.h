#pragma once

// The pricing date of an import line.

#include <cstdint>
#include <string>

namespace pricing {

// Normalises a pricing date. Mode 3 accepts the text without looking at
// it. Otherwise the text is read from the right in three groups separated
// by "/", blanks ignored, each of one or two digits: year (0-99), day
// (1-31) and month (1-12); the day may not pass the month's end (February
// has 29 days when the two-digit year divides by 4). The text is rewritten
// MM/DD/YY with blanks before one-digit months and days (a year below 10
// zero-filled) and the number is (YY + 100 when YY is below 51, else YY)
// x 10,000 + MM x 100 + DD, which must lie within [lowest, highest]. On
// failure `failed` is set to 1 and mode to 1; the text is left as it came.
void Tfdate(std::string& date, int16_t& mode, int16_t& failed, float& number, float lowest, float highest);

}  // namespace pricing
