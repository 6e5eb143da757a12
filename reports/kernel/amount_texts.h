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

#include "records/layout.h"

namespace reports {

// The items written under the layout into the 32-position work text: its
// first 32 positions, blank beyond what the layout writes.
std::string WorkText(std::string_view layout, records::OutItems items);
// The same into a text the caller keeps from one line to the next.
void WorkTextInto(std::string& text, std::string_view layout, records::OutItems items);

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

// The amount column several reports print alike: cents, separators,
// negative amounts in brackets, 16 positions ("(F15.2,' ')").
std::string Amount16(double value);
// The narrow amount column: cents and separators in 12 positions, a
// negative amount with its minus sign ("(F12.2)").
std::string Amount12(double value);

}  // namespace reports
