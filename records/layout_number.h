#pragma once

// Number fields of the layout engine: writing Iw and Fw.d fields and
// reading the text of an I or F field back into a number. Private to the
// layout engine. Everything here is independent of the C locale (a
// windowing toolkit may switch LC_NUMERIC to a comma decimal point).

#include <cstdint>
#include <string>
#include <string_view>

namespace records::layout_detail {

// The number fields write exactly w characters at `field`, the room the
// caller has made for them; the Append forms add the field to a text.

// w asterisks: the mark of a value that cannot be shown.
void StarsField(char* field, int w);
void AppendStars(std::string& out, int w);

// value right-aligned in w positions, or w asterisks when it needs more.
void IntegerField(char* field, long long value, int w);
void AppendInteger(std::string& out, long long value, int w);

// value in w positions with d decimals, rounded to nearest from its exact
// binary value, an exact tie away from zero; see layout.h.
// A value of 0 to 10 decimals whose nearest multiple of 10^-d binary
// arithmetic decides (records/rounding.h) is written from that multiple's
// digits; the others through FixedFieldByText, which gives the same text.
void FixedField(char* field, double value, int w, int d);
void AppendFixed(std::string& out, double value, int w, int d);

// The digits of n read as n x 10^-d (n below 2^53, d from 0 to 10), put
// together back from end: d decimals, the point when asked, the whole part
// ("0" when n < 10^d) with "," between groups of three digits when asked.
// Returns where the text starts; it takes at most 40 characters.
char* MultipleDigits(char* end, uint64_t n, int d, bool point, bool separators);

// FixedField by printing the exact binary value with the C++ library's
// fixed-point conversion.
void FixedFieldByText(char* field, double value, int w, int d);
void AppendFixedByText(std::string& out, double value, int w, int d);

// The text of an I or F input field with its blanks dropped and its point
// placed, ready for conversion: "-12.5", "0.0012", "340".
struct NumberText {
    char text[600];
    int size = 0;
    bool negative = false;
    bool hasPoint = false;  // the text holds a point (always, under F with digits)
    bool hasDigits = false;

    std::string_view View() const { return std::string_view(text, static_cast<std::size_t>(size)); }
};

// Builds the number text of a field: blanks anywhere are ignored, one sign
// may lead, then digits with at most one point (only when decimals >= 0,
// the F case; for I pass -1). Under F a field without a point takes its
// last `decimals` digits as decimals. False for any other character.
bool ScanNumber(std::string_view field, int decimals, NumberText& out);

// Conversions of a scanned number text. Each returns false when the value
// does not fit the target; the target is then unchanged.
bool ToDouble(const NumberText& number, double& value);
bool ToFloat(const NumberText& number, float& value);
bool ToInteger(const NumberText& number, int64_t lowest, int64_t highest, int64_t& value);

}  // namespace records::layout_detail
