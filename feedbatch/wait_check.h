#pragma once

// The set time and date the program waits for: the waittime and waitdate
// settings joined as "hour:minute:year/month/day" (any of "-", ":" and "/"
// separates the fields), checked, and compared with the local time.

#include <ctime>
#include <string>
#include <string_view>

namespace feedbatch {

struct WaitTarget {
    int hour = 0;
    int minute = 0;
    int year = 0;  // with its century
    int month = 0;
    int day = 0;
};

struct WaitSetting {
    // Empty when the setting is usable; else the text that ends the program.
    std::string error;
    WaitTarget target;
    // The sum of the fields as written: when it changes, the setting changed.
    long long sum = 0;
};

// The joined text of the two settings; together they hold at most 48
// characters.
std::string JoinWaitSetting(std::string_view waittime, std::string_view waitdate);

// Reads and checks the joined text.
WaitSetting ParseWaitSetting(std::string_view joined);

// A year written with one or two digits, by the system's window: 51-99 are
// the 1900s and 00-50 the 2000s. Dates keyed in by hand are often written
// "97/03/07", and taking that as the first century would make the transfer
// due at once.
int WindowedYear(int year);

// True when the target is not later than `now` (year, month, day, hour and
// minute compared).
bool TargetReached(const WaitTarget& target, const std::tm& now);

}  // namespace feedbatch
