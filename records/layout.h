#pragma once

// The layout engine: every number-to-text and text-to-number step of the
// record layer goes through layouts written as Fortran-style edit
// descriptor strings, for instance "(1X,'TOTAL:',85X,A16)" or "(F20.4)".
// Layouts are parsed once and cached by their text (one cache per thread),
// so a layout built at run time ("('(F20.',I1,')')" writes "(F20.4)")
// costs one parse.
//
// Descriptors: nX (blanks on output, skipped on input; X alone is 1X), Iw,
// Fw.d, Aw, A, quoted literals ('' stands for a quote), repeat counts on
// I, F, A, "/" and on nested groups, "/" to start a new record, and format
// reversion when the items outlast the layout (a new record, then back to
// the last top-level group with its repeat count, or to the start when
// there is none). Items are separated by commas; around "/" the comma may
// be left out. Blanks outside literals and letter case do not matter. "\"
// (keep the record open, used for lines written to a sequential file) is
// accepted and has no effect on the text: ending lines is the file
// writer's business.
//
// Output stops at the first data descriptor (I, F, A) that has no item
// left, or at the end of the layout when the items are used up; literals
// and X before that point are still written.
//
// Numbers out: Iw and Fw.d are right-aligned; F rounds to nearest from the
// exact stored binary value, an exact binary tie away from zero (2.5 under
// F20.0 gives 3., 0.125 under F5.2 gives 0.13, while 2.675, held just below
// 2.675, gives 2.67 under F20.2); a value below 1 gets a "0" before the
// point when the field has room for it; F with 0 decimals ends in "."; a
// result whose digits are all zero has no minus sign; a value that does not
// fit, NaN and infinities fill the field with asterisks. An integer item
// under F is written as its value; a number item under I is rounded to the
// nearest integer (a half away from zero). A text item under I or F, and a
// number item under A, fill the field with asterisks (a single asterisk
// under A without a width).
//
// Numbers in: I and F ignore blanks anywhere in their field and accept an
// optional sign; F takes its last d digits as decimals when the field has
// no "."; an all-blank field reads 0. Anything else is a read failure. A
// float target gets the float nearest to the decimal text, a double the
// nearest double; an integer target under F gets the value rounded to the
// nearest integer; a value that does not fit its target is a failure.
// A literal in a layout that is read skips as many positions as it holds
// characters, as nX does.
//
// Texts are bytes: single-byte characters, blank padded, no terminator.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace records {

// One value written under a layout: an integer for I, a number for F, a
// text for A. Pass a single character as a one-character string_view, not
// as a char (which would be taken as an integer).
using OutItem = std::variant<long long, double, std::string_view>;

// A place a value is read into. A text target takes, under A without a
// width, as many characters as the string's current size.
using InItem = std::variant<int16_t*, int32_t*, int64_t*, float*, double*, std::string*>;

// A read-only view of the items of one call: a braced list
// (Write("(I2,'/',I2)", {month, day})) or a vector. It refers to the
// caller's items and lives only for the call, so the common one-item call
// costs no allocation.
template <class T>
class ItemList {
public:
    constexpr ItemList() = default;
    constexpr ItemList(std::initializer_list<T> items) : items_(items) {}
    ItemList(const std::vector<T>& items) : items_(items) {}
    constexpr ItemList(std::span<const T> items) : items_(items) {}

    constexpr std::size_t size() const { return items_.size(); }
    constexpr const T& operator[](std::size_t i) const { return items_[i]; }

private:
    std::span<const T> items_;
};

using OutItems = ItemList<OutItem>;
using InItems = ItemList<InItem>;

// Writes the items under the layout and returns the records it made (one
// unless the layout holds "/" or reverts). A malformed layout gives no
// records; a layout that would loop without taking an item (items left
// over and no data descriptor to take them) ends where the loop starts.
std::vector<std::string> WriteRecords(std::string_view layout, OutItems items);

// Writes the items under the layout and returns the first record.
std::string Write(std::string_view layout, OutItems items = {});

// Writes the first record into `record`, replacing what it held: Write for
// a text the caller keeps from one line to the next, whose room is reused.
void WriteTo(std::string& record, std::string_view layout, OutItems items = {});

// Writes the items into a fixed-width text, as an internal write does: the
// field is blank-filled beyond what the layout produced, and output beyond
// the field's width is cut off. Only the first record lands in the field.
// A malformed layout leaves the field blank.
void WriteInto(std::string& field, std::string_view layout, OutItems items);

// Reads the items from the text under the layout. Returns false when a
// field holds anything but digits, blanks, a sign and a decimal point
// where a number is expected, when a value does not fit its target, when a
// target does not suit its descriptor (a text under I or F, a number under
// A), or when the layout is malformed; the targets are then left as they
// were. Past the end of the text, and after "/" or a reversion (the text
// is a single record), fields read as blanks.
bool Read(std::string_view text, std::string_view layout, InItems items);

// True for a number column: a layout of one F descriptor with nothing
// before it and nothing but blanks after it ("(F15.2,' ')", "(F12.2)");
// its width and decimals then come back.
bool IsNumberColumn(std::string_view layout, int& width, int& decimals);

// True when the layout text parses.
bool IsValidLayout(std::string_view layout);

// Appends the text as the layout engine writes it under Aw: the first w
// characters, or the text right-aligned after blanks when it is shorter;
// the whole text when w is negative (a plain A). For a line that is only
// text fields and blanks, a caller may build it field by field with this
// instead of walking a layout.
void AppendTextField(std::string& out, std::string_view text, int width);

}  // namespace records
