#include "records/dates.h"

#include <algorithm>
#include <cmath>

#include "records/common_file.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/rounding.h"

namespace records {

namespace {

constexpr std::string_view kDateLayout = "(I2,'/',I2,'/',I2)";
constexpr std::string_view kSplitLayout = "(I2,1X,I2,1X,I2)";

// Days in the month from a table; a month outside 1-12 counts as 31 so
// that a damaged date never reads outside the table.
int MonthLength(const MonthLengths& table, int month) {
    return (month >= 1 && month <= 12) ? table[month - 1] : 31;
}

// Reads the three groups of a typed date from the right: year, day,
// month. Each group ends at a "/" (or the text's start), skips blanks and
// takes one or two digits.
bool ScanDate(std::string_view text, int& year, int& day, int& month) {
    int values[3] = {0, 0, 0};
    int pos = static_cast<int>(text.size());
    for (int& value : values) {
        int digits = 0;
        while (pos >= 1) {
            const char c = text[pos - 1];
            --pos;
            if (c == ' ') continue;
            if (c == '/') break;
            if (c < '0' || c > '9' || digits == 2) return false;
            value += (c - '0') * (digits == 0 ? 1 : 10);
            ++digits;
        }
        if (digits == 0) return false;
    }
    year = values[0];
    day = values[1];
    month = values[2];
    return true;
}

}  // namespace

DateCheck CheckDateText(std::string& date, float& number, float low, float high,
                        std::array<int16_t, 3>* parts) {
    int year = 0, day = 0, month = 0;
    if (!ScanDate(Fixed(date, 8), year, day, month)) return DateCheck::kMalformed;
    if (parts != nullptr)
        *parts = {static_cast<int16_t>(year), static_cast<int16_t>(day), static_cast<int16_t>(month)};
    if (year < 0 || year > 99 || day < 1 || day > 31 || month < 1 || month > 12 ||
        day > MonthLength(MonthLengthTable, month))
        return DateCheck::kOutOfRange;
    date = Write(year < 10 ? "(I2,'/',I2,'/0',I1)" : kDateLayout,
                 {static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(year)});
    number = WindowedDateNumber(month, day, year);
    if (number < low) return DateCheck::kBelowLow;
    if (number > high) return DateCheck::kAboveHigh;
    return DateCheck::kValid;
}

int WindowYear(int yy) {
    return yy < 51 ? 100 + yy : yy;
}

int FourDigitYear(int yy) {
    return 1900 + WindowYear(yy);
}

DateNumberParts SplitDateNumber(long number) {
    return {static_cast<int>(number / 10000), static_cast<int>(number / 100 % 100),
            static_cast<int>(number % 100)};
}

float WindowedDateNumber(int month, int day, int yy) {
    return static_cast<float>(WindowYear(yy) * 10000 + month * 100 + day);
}

double WidenDate(double date_number) {
    if (date_number > 0.0 && date_number < 800000.0) return date_number + 20000000.0;
    if (date_number > 800000.0) return date_number + 19000000.0;
    return 0.0;
}

namespace {

// A two-position field of the date read under I2 when it holds only digits
// and blanks (blanks are ignored, an all-blank field is 0); false for
// anything else, which the layout decides.
bool TwoDigitField(std::string_view field, int16_t& value) {
    int v = 0;
    for (const char c : field) {
        if (c >= '0' && c <= '9')
            v = v * 10 + (c - '0');
        else if (c != ' ')
            return false;
    }
    value = static_cast<int16_t>(v);
    return true;
}

}  // namespace

bool Redate(std::string_view date, int16_t& month, int16_t& day, int16_t& year) {
    // The usual "MM/DD/YY" read directly, as the layout reads it; the
    // replay and the accrued interest read dates by the hundred thousand.
    int16_t m = 0, d = 0, y = 0;
    if (date.size() >= 8 && TwoDigitField(date.substr(0, 2), m) && TwoDigitField(date.substr(3, 2), d) &&
        TwoDigitField(date.substr(6, 2), y)) {
        month = m;
        day = d;
        year = y;
        return true;
    }
    if (Read(date, kSplitLayout, {&month, &day, &year})) return true;
    month = day = year = 0;
    return false;
}

void Wrdate(std::string& date, int16_t month, int16_t day, int16_t& year) {
    if (year > 99) year = static_cast<int16_t>(year - 100);
    date = Write(kDateLayout,
                 {static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(year)});
}

void Gtdate(std::string& date, float& number, int16_t& month, int16_t& day, int16_t& year) {
    const bool read = Redate(date, month, day, year);
    if (read && day < 10)
        date = Write("(I2,'/0',I1,'/',I2)", {static_cast<long long>(month), static_cast<long long>(day),
                                             static_cast<long long>(year)});
    number = static_cast<float>((year * 100 + month) * 100 + day);
}

void Setfeb(MonthLengths& table, int16_t year) {
    table[1] = (year % 4 == 0) ? 29 : 28;
}

int DaysInMonth(int month, int year) {
    if (month == 2) return year % 4 == 0 ? 29 : 28;
    return MonthLength(MonthLengthTable, month);
}

void Addday(int16_t& month, int16_t& day, int16_t& year) {
    MonthLengths table = MonthLengthTable;
    Setfeb(table, year);
    ++day;
    if (day <= MonthLength(table, month)) return;
    day = 1;
    ++month;
    if (month <= 12) return;
    month = 1;
    ++year;
}

double Daycb(std::string_view first, std::string_view second, int16_t mode) {
    int16_t m1, d1, y1, m2, d2, y2;
    Redate(first, m1, d1, y1);
    Redate(second, m2, d2, y2);
    y1 = static_cast<int16_t>(FourDigitYear(y1));
    y2 = static_cast<int16_t>(FourDigitYear(y2));
    if (mode != 1) return Julday(m2, d2, y2) - Julday(m1, d1, y1);

    // 30/360: every month has 30 days. The count was kept in 16 bits,
    // which is why dates 90 or more years apart give 0.
    if (y2 - y1 >= 90) return 0.0;
    Addday(m2, d2, y2);  // the end date counts inclusively
    if (d1 >= 31) d1 = 30;
    if (d2 >= 31 && d1 >= 30) d2 = 30;
    if (m1 == 2 && d1 >= 28) d1 = 30;
    return static_cast<double>(((y2 - y1) * 12 - m1 + m2) * 30 - d1 + d2);
}

double Julday(int month, int day, int year) {
    double a = (month - 14) / 12.0;
    Dtrunc(a);
    double j = (a + year + 4800) * 1461.0 / 4.0;
    Dtrunc(j);
    j += day - 32075;
    double b = (month - 12.0 * a - 2) * 367.0 / 12.0;
    Dtrunc(b);
    j += b;
    double c = (a + year + 4900) / 100.0;
    Dtrunc(c);
    c = c * 3.0 / 4.0;
    Dtrunc(c);
    return j - c;
}

namespace dates_detail {

void DtruncThroughLayout(double& value) {
    const std::string text = Write("(F14.4)", {value});
    const std::size_t dot = text.rfind('.');
    if (dot == std::string::npos) return;
    // The four digits after the point, read as a fraction.
    double fraction = 0.0;
    if (!Read(std::string_view(text).substr(dot + 1), "(F14.4)", {&fraction})) return;
    if (value >= 0.0)
        value -= fraction;
    else
        value += fraction;
    Drnd0(value);
}

}  // namespace dates_detail

void Dtrunc(double& value) {
    // The layout prints the multiple n of 0.0001 nearest to |value| (a tie
    // away from zero); its last four digits, read back, give the double
    // nearest to (n mod 10000) / 10000, which the division gives too. n is
    // certain unless |value| x 10^4 lies within a unit of its last place
    // of a half (the rounding's own test); below 10^8 the text fits in 14
    // positions with its sign. Everything else goes through the layout.
    double magnitude = std::fabs(value);
    if (magnitude < 1e8 && rounding_detail::RoundInBinary(magnitude, 4)) {
        // magnitude is now n / 10^4 correctly rounded: n is recovered
        // exactly by scaling back and taking the nearest whole number.
        const double n = std::nearbyint(magnitude * 1e4);
        if (n < 1e12) {
            const double fraction = static_cast<double>(static_cast<long long>(n) % 10000) / 1e4;
            if (value >= 0.0)
                value -= fraction;
            else
                value += fraction;
            Drnd0(value);
            return;
        }
    }
    dates_detail::DtruncThroughLayout(value);
}

void Ckdate(std::string& date, int16_t& mode, int16_t& error, float& number, float low, float high) {
    error = 0;
    if (mode == 3) return;
    if (CheckDateText(date, number, low, high, nullptr) != DateCheck::kValid) {
        error = 1;
        mode = 1;
    }
}

void Chkdat(std::string& date, int16_t& mode, int16_t& error, float& number, float low, float high,
            int16_t strict, std::array<int16_t, 3>& parts) {
    error = 0;
    if (mode == 3) return;
    switch (CheckDateText(date, number, low, high, &parts)) {
        case DateCheck::kValid:
            return;
        case DateCheck::kOutOfRange:
            error = 1;
            mode = 1;
            return;
        case DateCheck::kMalformed:
        case DateCheck::kBelowLow:
        case DateCheck::kAboveHigh:
            error = 1;
            if (strict >= 1) mode = 1;
            return;
    }
}

float DateTextNumber(std::string_view date) {
    int16_t month = 0, day = 0, yy = 0;
    if (!Redate(Fixed(date, 8), month, day, yy)) return 0.0f;
    if (month == 0 && day == 0 && yy == 0) return 0.0f;
    return WindowedDateNumber(month, day, yy);
}

bool SameDate(std::string_view first, std::string_view second) {
    if (Fixed(first, 8) == Fixed(second, 8)) return true;
    const float one = DateTextNumber(first);
    return one > 0.0f && one == DateTextNumber(second);
}

std::string LastCouponDate(float date_number, std::string_view coupon_date, std::string_view maturity_date) {
    // The anchor is the first of the two dates that reads (as DateTextNumber
    // would take it), each read once.
    int16_t month = 0, day = 0, yy = 0;
    const auto reads = [&](std::string_view text) {
        return Redate(Fixed(text, 8), month, day, yy) && !(month == 0 && day == 0 && yy == 0) &&
               WindowedDateNumber(month, day, yy) > 0.0f;
    };
    if (!reads(coupon_date) && !reads(maturity_date)) return std::string();
    if (month < 1 || month > 12 || day < 1 || date_number < kEarliestDateNumber) return std::string();
    // Whole months from year 0 of the window, for the anchor and the date.
    const long limit = static_cast<long>(date_number);
    const DateNumberParts limit_parts = SplitDateNumber(limit);
    const long limit_year = limit_parts.year, limit_month = limit_parts.month, limit_day = limit_parts.day;
    const long anchor_months = WindowYear(yy) * 12L + (month - 1);
    const long limit_months = limit_year * 12 + (limit_month - 1);
    // The coupon month on or before the date's month: a whole number of
    // six-month steps from the anchor (floor division, either sign).
    const long difference = limit_months - anchor_months;
    long steps = difference >= 0 ? difference / 6 : -((-difference + 5) / 6);
    auto coupon_day = [&](long months) {
        MonthLengths table = MonthLengthTable;
        Setfeb(table, static_cast<int16_t>(months / 12));
        return std::min<long>(day, MonthLength(table, static_cast<int>(months % 12) + 1));
    };
    long coupon_months = anchor_months + 6 * steps;
    // In the date's own month the coupon may still be to come.
    if (coupon_months == limit_months && coupon_day(coupon_months) > limit_day) coupon_months -= 6;
    const long year = coupon_months / 12;
    if (year < WindowYear(51) || year > WindowYear(50)) return std::string();
    int16_t written = static_cast<int16_t>(year);
    std::string text;
    Wrdate(text, static_cast<int16_t>(coupon_months % 12 + 1),
           static_cast<int16_t>(coupon_day(coupon_months)), written);
    return text;
}

std::string H2000(std::string& date) {
    const int style = OptionValue(Rdopts(), Opt::kDateFormat);
    date = Fixed(date, 8);
    for (std::size_t i = (style == 2 ? 0 : 6); i < 8; ++i)
        if (date[i] == ' ') date[i] = '0';
    int16_t yy = 0;
    if (!Read(std::string_view(date).substr(6, 2), "(I2)", {&yy})) yy = 0;
    const long long year = FourDigitYear(yy);
    if (style == 2) {
        return Write("(4A1,I4,4X)",
                     {std::string_view(date).substr(0, 1), std::string_view(date).substr(1, 1),
                      std::string_view(date).substr(3, 1), std::string_view(date).substr(4, 1), year});
    }
    if (style == 3) {
        int16_t month = 0, day = 0;
        if (!Read(date, "(I2,1X,I2)", {&month, &day})) month = day = 0;
        return Write("(I2,'/',I2,'/',I4,2X)",
                     {static_cast<long long>(month), static_cast<long long>(day), year});
    }
    return date + "    ";
}

PostDateStatus Setdat(std::string_view date) {
    // COMMON.FIL is read through a file of its own, not a unit, so a caller
    // with a file open on a unit of its own keeps it.
    DirectFile common(kCommonFile, 128);
    Record rec(128);
    if (!common.Read(kPostDateRecord, rec)) rec = Record(128);
    std::string text = Fixed(date, 8);
    float number = rec.R4(8);
    int16_t mode = 0, error = 0;
    Ckdate(text, mode, error, number, 0.0f, 1991231.0f);
    // A date that fails the check is not stored: the record keeps the
    // post date it had.
    if (error != 0) return PostDateStatus::kRefused;
    rec.SetText(0, 8, text);
    rec.SetR4(8, number);
    return common.Write(kPostDateRecord, rec) ? PostDateStatus::kStored : PostDateStatus::kNotWritten;
}

double Gtprcd(char class_char, std::string_view subclass, float date_number, std::string_view symbol) {
    static constexpr std::string_view kClasses = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    const std::size_t at = kClasses.find(class_char);
    const double rank = at == std::string_view::npos ? 37.0 : static_cast<double>(at + 1);
    int16_t sub = 0;
    if (!Read(Fixed(subclass, 2), "(I2)", {&sub})) sub = 0;
    const double base = rank * 1e14 + sub * 1e12;
    const double widened = WidenDate(date_number);
    if (widened != 0.0) return base + widened;
    // No date: the symbol's first six character codes in pairs of digits
    // (a code of 100 or more runs into the pair before it).
    const std::string six = Fixed(symbol, 6);
    double s = 0.0;
    for (unsigned char c : six) s = s * 100.0 + c;
    return base + s;
}

}  // namespace records
