#pragma once

// Amount fields of the reports. Amounts are printed in fixed columns with
// thousands separators, negative amounts in brackets, an optional dollar
// sign, large amounts in millions, quantities split into a whole and a
// fractional part, percentages and telephone numbers. Each field is built
// in a 32-character text: the number is written under a fixed-point layout
// right-aligned in a field of width n (positions 1..n, counted from 1),
// and these routines then edit the characters. A number too wide for its
// layout shows as the layout's asterisks.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// The missing-rate marker.
inline constexpr float kNoRate = -999.99f;

// The largest magnitude a report takes as an amount: wider than any
// amount field, and small enough that shares and whole numbers computed
// from it stay in range.
inline constexpr double kLargestReportAmount = 1e15;
// False for an amount that is not a number, infinite or beyond
// kLargestReportAmount (a damaged price or security record): such an
// amount prints as N/A and stays out of totals.
inline bool ReportableAmount(double value) {
    return std::isfinite(value) && std::abs(value) < kLargestReportAmount;
}

// Inserts thousands separators into the right-aligned number in positions
// 1..n, shifting it left into its leading blanks, drops a trailing point
// and blanks positions n + 1 to 32. When position 1 would be needed the
// text is left as it was.
void Comma(std::string& text, int n);

// Puts a negative number of positions 1..n in brackets: its "-" becomes
// "(" and ")" goes to position n + 1 (which must hold a blank or a point);
// positions n + 2 to 32 are blanked.
void Brackt(std::string& text, int n);

// The text of the value under "(Fn.d,' ')" in 32 positions (the
// literal's place blank), for 0 to 10 decimals, as the editors give it:
// the layout's write, then Comma within positions 1..n when separators is
// set, then Brackt when brackets is set. Put together from the digits of
// the multiple of 10^-d the layout prints (rounding.h, NearestMultiple)
// by the layout engine's own digit writer, without the write and the
// edits; the reports' number columns take this way first. False, text
// untouched, where that is not certain: a value the binary check leaves
// to the layout, or one whose text would not fit the n positions (the
// layout's asterisks, its "0" before the point dropped, or a field Comma
// leaves as written).
bool EditedAmountInto(std::string& text, double value, int n, int decimals, bool separators, bool brackets);

// Puts "$" one position left of the rightmost blank of positions 1..n
// (n above 32 is lowered to 32 in the caller's variable). flag 0, or -1
// with the text unchanged when there is no room; n below 1 does nothing.
void Putdol(std::string& text, int16_t& n, int16_t& flag);
// The step both dollar-sign editors share: "$" one position left of the
// rightmost blank of positions 1..last (those the text holds). flag 0, or
// -1 with the text unchanged when that blank is position 1 or there is
// none.
void DollarBeforeBlank(std::string& text, int last, int16_t& flag);

// An income amount in 9 positions ("(F10.0)"), or in millions in 6 or 5
// positions from 10^8, with separators and brackets.
void Incm10(double amount, std::string& text);
// The same in 7 positions ("(F8.0)"), in millions from 10^6.
void Incom8(double amount, std::string& text);

// An amount in 15 positions (16 with the ")"): with cents while the switch
// is below 10^6; otherwise rounded to cents in the caller's variable, a
// negative value lowered by 1 there, and printed in whole units.
void Form16(double& value, double switch_value, std::string& text);

// Splits a quantity into its whole part with separators (9 positions, or
// 8 and a ")" when negative) and its four decimal digits, as text and as a
// number (5000 gives 0.5). A quantity too wide for "(F14.4)" leaves every
// output untouched.
void Trncat(double value, std::string& whole, double& fraction, std::string& fraction_text);

// part x 100 / base as "(F6.1,'% ')" (0 when the base is 0).
void Intrat(double base, float part, std::string& text);

// The digits of a 12-character field as a 13-character telephone number:
// (nnn)nnn-nnnn from eight or more digits (digits beyond ten dropped),
// five blanks and nnn-nnnn from fewer, all blanks without a digit.
void Phone(std::string_view digits, std::string& result);

// Fills an all-blank 32-character description from the coupon rate and
// the date ("  5.250%  06/15/09            "), or from the date alone when
// the rate is the missing-rate marker. Acts only when the date does not
// start with four blanks and the second character of the code word (the
// options record's option 2) is above 0.
void Ckdesc(std::string& description, std::string_view code, float rate, std::string_view date);

}  // namespace records
