#pragma once

// The layout engine: every number-to-text and text-to-number step of the
// record layer goes through layouts written as Fortran-style edit
// descriptor strings, for instance "(1X,'TOTAL:',85X,A16)" or "(F20.4)".
// Layouts are parsed once and cached by their text, so a layout built at
// run time ("('(F20.',I1,')')" writes "(F20.4)") costs one parse.
//
// Descriptors: nX (blanks on output, skipped on input), Iw, Fw.d, Aw, A,
// quoted literals ('' stands for a quote), repeat counts on descriptors and
// on nested groups, "/" to start a new record, and format reversion when
// the items outlast the layout (back to the last top-level group, or to
// the start, with a new record).
//
// Texts are bytes: single-byte characters, blank padded, no terminator.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace records {

// One value written under a layout: an integer for I, a number for F, a
// text for A. An integer item under F and a number under I are converted.
using OutItem = std::variant<long long, double, std::string_view>;

// A place a value is read into. A text target takes, under A without a
// width, as many characters as the string's current size.
using InItem = std::variant<int16_t*, int32_t*, int64_t*, float*, double*, std::string*>;

// Writes the items under the layout and returns the records it made (one
// unless the layout holds "/" or reverts).
std::vector<std::string> WriteRecords(std::string_view layout, const std::vector<OutItem>& items);

// Writes the items under the layout and returns the first record.
std::string Write(std::string_view layout, const std::vector<OutItem>& items = {});

// Writes the items into a fixed-width text, as an internal write does: the
// field is blank-filled beyond what the layout produced, and output beyond
// the field's width is cut off.
void WriteInto(std::string& field, std::string_view layout, const std::vector<OutItem>& items);

// Reads the items from the text under the layout. Returns false when a
// field holds anything but digits, blanks, a sign and a decimal point
// where a number is expected, or when the layout is malformed; the targets
// are then left as they were. Past the end of the text, fields read as
// blanks.
bool Read(std::string_view text, std::string_view layout, const std::vector<InItem>& items);

// True when the layout text parses.
bool IsValidLayout(std::string_view layout);

}  // namespace records
