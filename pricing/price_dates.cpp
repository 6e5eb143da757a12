#include "pricing/price_dates.h"

#include <array>

#include "records/dates.h"

namespace pricing {

void Tfdate(std::string& date, int16_t& mode, int16_t& failed, float& number, float lowest, float highest) {
    if (mode == 3) return;
    std::string text = date;
    float value = 0;
    std::array<int16_t, 3> parts{};  // year, day, month
    const records::DateCheck check = records::CheckDateText(text, value, lowest, highest, &parts);
    // The shared check allows February 29 in every year; a price date
    // must exist.
    const bool bad_leap_day = parts[2] == 2 && parts[1] == 29 && parts[0] % 4 != 0;
    if (check != records::DateCheck::kValid || bad_leap_day) {
        failed = 1;
        mode = 1;
        return;
    }
    date = text;
    number = value;
}

}  // namespace pricing
