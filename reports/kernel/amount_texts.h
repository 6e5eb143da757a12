#pragma once

// The number columns of the reports. Every amount, quantity and
// percentage a report prints in a column is written under a one-number
// layout into the 32-position work text of the amount editors
// (records/amounts.h) and then edited there: thousands separators within
// the field's first n positions, a negative value in brackets with the ")"
// in position n + 1. A value too wide for its layout shows the layout's
// asterisks, which no edit touches. These are the one place that chain is
// written; a report names its own columns by the layout it passes.

#include <cstddef>
#include <string>
#include <string_view>

namespace reports {

// The value under the layout (for instance "(F15.2,' ')") in 32
// positions, with separators within positions 1..n and, when brackets is
// set, a negative value in brackets.
std::string NumberText(double value, std::string_view layout, int n, bool brackets);
// The same into a text the caller keeps from one line to the next.
void NumberTextInto(std::string& text, double value, std::string_view layout, int n, bool brackets);
// NumberText cut to the column's width.
std::string NumberColumn(double value, std::string_view layout, int n, bool brackets, std::size_t width);
// The value under the layout in 32 positions, a negative value in brackets
// within positions 1..n, without separators (percentages and yields).
std::string BracketedText(double value, std::string_view layout, int n);
// The same into a text the caller keeps from one line to the next.
void BracketedTextInto(std::string& text, double value, std::string_view layout, int n);

// The text of the value under "(Fn.d,' ')" in 32 positions (the
// literal's place blank), for 0 to 10 decimals, as the editors give it:
// with separators, what NumberTextInto gives (Comma within positions
// 1..n, then Brackt when brackets is set); without, what BracketedTextInto
// gives (Brackt only) or, without brackets either, the layout's write
// alone. Put together from the digits of the multiple of 10^-d the layout
// prints (records/rounding.h, NearestMultiple); NumberTextInto and
// BracketedTextInto take this way for a number column of n positions.
// False, text untouched, where that is not certain: a value the binary
// check leaves to the layout, or one whose text would not fit the n
// positions (the layout's asterisks, its "0" before the point dropped, or
// a field Comma leaves as written).
bool EditedAmountInto(std::string& text, double value, int n, int decimals, bool separators, bool brackets);

// The amount column several reports print alike: cents, separators,
// negative amounts in brackets, 16 positions ("(F15.2,' ')").
std::string Amount16(double value);
// The narrow amount column: cents and separators in 12 positions, a
// negative amount with its minus sign ("(F12.2)").
std::string Amount12(double value);

}  // namespace reports
