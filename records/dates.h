#pragma once

// Dates in the record layer come in two forms:
//  - a date text of 8 characters, MM/DD/YY, as the user types and sees it
//    (month and day written with a leading blank below 10, a blank date
//    is 8 blanks);
//  - a date number YYMMDD held in 4 bytes, used for comparisons and stored
//    beside the text in records.
// Two-digit years are placed in a century by one fixed window: 51-99 are
// 1951-1999 and 00-50 are 2000-2050. Date numbers that apply the window
// count a year below 51 as 100 + YY, so that 01/02/03 (1030102) sorts
// after 12/31/99 (991231). Every year divisible by 4 is a leap year.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

using MonthLengths = std::array<int16_t, 12>;

// Days of the months with February at 29. The stepping routines set
// February for the year at hand (Setfeb); the date check uses this table
// as it stands, so 02/29 is a valid date in every year.
inline constexpr MonthLengths MonthLengthTable = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The earliest date number of the window, 01/01/51.
inline constexpr float kEarliestDateNumber = 510101.0f;

// ---- The two-digit-year window, shared by every subsystem.

// The window itself: the year part of a windowed date number, 100 + YY
// below 51, else YY. A year below 0 (a date text with a sign in its year)
// counts from 100 like the others below 51, so -1 is 99; a year of 100 or
// more is already windowed and stays.
int WindowYear(int yy);
// The four-digit year of a two-digit year, 1900 + WindowYear(YY): 2000 + YY
// for 0-50, 1900 + YY for 51-99 (and for a windowed year of 100 or more).
int FourDigitYear(int yy);
// The windowed date number WindowYear(YY) x 10000 + MM x 100 + DD.
float WindowedDateNumber(int month, int day, int yy);
// Widens a date number to eight digits YYYYMMDD: a positive number below
// 800000 gains 20,000,000 (00-79 are 2000-2079), one above 800000 gains
// 19,000,000 (80-99 are 1980-1999, and the windowed 100-150 are
// 2000-2050); exactly 800000, zero and negative numbers give 0.
double WidenDate(double date_number);

// The parts of a whole date number YYMMDD, as the number holds them.
struct DateNumberParts {
    int year = 0;  // the year part: YY, or 100 + YY in a windowed number
    int month = 0;
    int day = 0;
};

// Splits a whole date number into year part (number / 10000), month and
// day, each quotient truncated toward zero. The caller turns a stored
// number into a whole one as its record asks (rounded or truncated).
DateNumberParts SplitDateNumber(long number);

// ---- Texts and parts.

// Splits a date text (positions 1-2, 4-5 and 7-8; the separators are not
// looked at) into month, day and two-digit year; blanks read as 0. A text
// that does not read as numbers (letters) gives three zeros and false.
bool Redate(std::string_view date, int16_t& month, int16_t& day, int16_t& year);

// Writes month, day and year as an 8-character date text with leading
// blanks. A year above 99 is first reduced by 100, in the caller's
// variable too.
void Wrdate(std::string& date, int16_t month, int16_t day, int16_t& year);

// Splits the date text like Redate and returns the unwindowed number
// (YY x 100 + MM) x 100 + DD. A day below 10 is rewritten zero-filled
// (" 1/05/95"). A text that does not read gives zeros and stays as it is.
void Gtdate(std::string& date, float& number, int16_t& month, int16_t& day, int16_t& year);

// ---- Day arithmetic.

// Sets February of the table to 29 when the year is divisible by 4, else 28.
void Setfeb(MonthLengths& table, int16_t year);

// Days in a month of a year (two or four digits): February has 29 days in
// a year divisible by 4. A month outside 1-12 counts as 31 days long.
int DaysInMonth(int month, int year);

// Adds one day, rolling over into the next month and year. A month
// outside 1-12 (a damaged date) counts as 31 days long.
void Addday(int16_t& month, int16_t& day, int16_t& year);

// Days from the first date text to the second. Mode 1 counts on the 30/360
// basis, with the end date counted inclusively (01/01/95 to 01/31/95 is 30),
// and gives 0 for dates 90 or more years apart; any other mode counts
// actual days.
double Daycb(std::string_view first, std::string_view second, int16_t mode);

// The day number of a date (four-digit year), every quotient truncated
// toward zero by Dtrunc.
double Julday(int month, int day, int year);

// Truncates toward zero after rounding to four decimals (a value within
// 0.00005 below a whole number counts as that number). A value too wide
// for 14 positions is left unchanged.
void Dtrunc(double& value);

namespace dates_detail {
// Dtrunc as the layout engine works it: the value written under
// "(F14.4)", its four digits after the point read back as the fraction
// taken off. Dtrunc does the same in binary where the digits are certain
// and comes here for the rest.
void DtruncThroughLayout(double& value);
}  // namespace dates_detail

// ---- Checking typed dates.

// The outcome of a date check.
enum class DateCheck { kValid, kMalformed, kOutOfRange, kBelowLow, kAboveHigh };

// The check that Ckdate, Chkdat and the settlement-date check share: scans
// the text as Ckdate describes, checks the ranges against the fixed month
// table (February 29 always allowed), rewrites the text MM/DD/YY and stores
// the windowed date number before testing it against [low, high]. parts,
// when given, receives {year, day, month} once the text has been read.
DateCheck CheckDateText(std::string& date, float& number, float low, float high,
                        std::array<int16_t, 3>* parts = nullptr);

// Checks and normalises a typed date. The text is scanned from the right
// in three groups, year, day and month, separated by "/"; blanks are
// skipped, each group takes one or two digits, and characters left of the
// month are not looked at ("1/2/3/45" is 02/03/45). On success the text
// is rewritten MM/DD/YY with leading blanks (the year zero-filled below
// 10) and the windowed number is stored; it must lie within [low, high].
// Mode 3 checks nothing. A failure sets error 1 and mode 1; the number is
// stored before the limits are tested, and is untouched when the text did
// not parse.
void Ckdate(std::string& date, int16_t& mode, int16_t& error, float& number, float low, float high);

// Ckdate that also returns the parts, as {year, day, month}, and fails
// more softly: a part out of range or a day beyond its month sets error 1
// and mode 1; a malformed text or a number outside the limits sets error 1
// and sets mode 1 only when strict is 1 or more.
void Chkdat(std::string& date, int16_t& mode, int16_t& error, float& number, float low, float high,
            int16_t strict, std::array<int16_t, 3>& parts);

// The windowed date number of a date text (MM/DD/YY); 0 for a blank or
// never-written date, 00/00/00, or a text that does not read.
float DateTextNumber(std::string_view date);

// Whether two date texts name the same day, whoever wrote them: " 7/31/ 0"
// (Wrdate) and " 7/31/00" (the date check) are one date. Texts that are
// not dates are the same only when they are equal.
bool SameDate(std::string_view first, std::string_view second);

// A bond's last coupon date on or before a date (a windowed date number),
// as a date text MM/DD/YY. Coupons fall every six months on the day of the
// stored coupon date, or on the last day of a shorter month (a coupon on
// the 31st falls on June 30 and comes back to December 31), so the date is
// stepped six months at a time from the stored coupon date, back or
// forward. A blank coupon date steps from the maturity date instead, as
// semi-annual coupons fall on its day and month. Blank when neither date
// reads, or the date is before the window.
std::string LastCouponDate(float date_number, std::string_view coupon_date, std::string_view maturity_date);

// ---- Printing and storing.

// The date as report headings print it, 12 characters, in the style of
// option 69: 2 gives MMDDYYYY and four blanks (every blank of the date
// turned to "0"), 3 gives MM/DD/YYYY and two blanks, any other value the
// date itself and four blanks. The caller's date text takes the "0"s: all
// its blanks for style 2, blanks in the year otherwise.
std::string H2000(std::string& date);

// What became of a post date given to Setdat.
enum class PostDateStatus {
    kStored,      // the date is the post date now
    kRefused,     // Ckdate refused it; nothing was written
    kNotWritten,  // COMMON.FIL could not be written
};

// Makes the date the income post date: checked with Ckdate (limits 0 and
// 1991231) and, only when the check passes, stored normalised with its
// number in COMMON.FIL record 7, the other bytes of the record kept.
PostDateStatus Setdat(std::string_view date);

// Sort key of a holding: class rank (position of the class character in
// "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ", 37 when absent) x 10^14 +
// subclass (its first two characters as a number) x 10^12 + the widened
// eight-digit date; without a date, the symbol's first six character
// codes in pairs of digits take the date's place.
double Gtprcd(char class_char, std::string_view subclass, float date_number, std::string_view symbol);

}  // namespace records
