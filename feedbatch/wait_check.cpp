#include "feedbatch/wait_check.h"

#include <array>
#include <climits>
#include <tuple>
#include <vector>

#include "feedbatch/text_format.h"
#include "records/dates.h"

namespace feedbatch {
namespace {

constexpr std::size_t kJoinedLimit = 48;

constexpr std::array<const char*, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                     "May",       "June",     "July",     "August",
                                                     "September", "October",  "November", "December"};

bool IsSeparator(char c) {
    return c == '-' || c == ':' || c == '/';
}

// A field read as a decimal number: blanks, then its leading digits (none
// gives 0). Far too many digits stop growing instead of overflowing.
int FieldValue(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
    if (i < field.size() && field[i] == '+') ++i;
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
        if (value > INT_MAX) value = INT_MAX;
    }
    return static_cast<int>(value);
}

int DaysInMonth(int month, int year) {
    switch (month) {
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return year % 4 == 0 ? 29 : 28;
        default:
            return 31;
    }
}

}  // namespace

std::string JoinWaitSetting(std::string_view waittime, std::string_view waitdate) {
    std::string time(waittime.substr(0, kJoinedLimit));
    std::string date(waitdate.substr(0, kJoinedLimit - time.size()));
    return time + ":" + date;
}

int WindowedYear(int year) {
    if (year < 0 || year > 99) return year;
    return records::FourDigitYear(year);
}

WaitSetting ParseWaitSetting(std::string_view joined) {
    WaitSetting setting;
    std::string_view text = joined;
    if (const std::size_t end = text.find_first_of("\r\n"); end != std::string_view::npos)
        text = text.substr(0, end);

    std::vector<int> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        fields.push_back(FieldValue(text.substr(start, end - start)));
        setting.sum += fields.back();
        if (end >= text.size()) break;
        start = end + 1;
    }
    if (fields.size() > 5) {
        setting.error = Printf("Invalid Date or Time format: %s", std::string(joined).c_str());
        return setting;
    }
    fields.resize(5, 0);
    WaitTarget& t = setting.target;
    t.hour = fields[0];
    t.minute = fields[1];
    t.year = WindowedYear(fields[2]);
    t.month = fields[3];
    t.day = fields[4];
    if (t.hour < 0 || t.hour > 24 || t.minute < 0 || t.minute > 59) {
        setting.error = Printf("%d:%d Is not a valid time", t.hour, t.minute);
    } else if (t.month < 1 || t.month > 12) {
        setting.error = "Invalid date format";
    } else if (t.day < 1 || t.day > DaysInMonth(t.month, t.year)) {
        setting.error = Printf("%s %d, %d is not a valid day", kMonthNames[t.month - 1], t.day, t.year);
    }
    return setting;
}

bool TargetReached(const WaitTarget& target, const std::tm& now) {
    return std::make_tuple(target.year, target.month, target.day, target.hour, target.minute) <=
           std::make_tuple(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min);
}

}  // namespace feedbatch
