#pragma once

// The dialog field helpers at the boundary to the record-and-report layer:
// fixed-width, blank-padded fields in and out, and the checks every dialog
// runs on what the user typed before anything is stored. The keystroke
// filters are in key_filters.h, the list and combo box fillers in
// fillers.h.

#include <cstddef>
#include <string>
#include <string_view>

namespace shell {

// The text of a fixed field: its first n characters without trailing
// blanks.
std::string TrimField(std::string_view buffer, std::size_t n);
// Blank-pads a text shorter than n to n characters (a longer text is left
// as it is), in place and as a copy.
void PadField(std::string& buffer, std::size_t n);
std::string PadFieldTo(std::string_view text, std::size_t n);
// The text with its letters a to z in upper case, as codes and file names
// are compared.
std::string UpperCase(std::string text);

// A number as the dialogs accept it: blanks, an optional sign, digits with
// optional thousands commas, an optional point and decimals, trailing
// blanks. An empty or all-blank text is valid (it means nothing typed).
bool CheckNumberText(std::string_view text);

// A typed number as the entry and set-up dialogs store and read it: valid
// when CheckNumberText accepts it; text is the number with its commas and
// blanks dropped and always a decimal point ("1,250.5" gives "1250.5",
// "100" gives "100.", so that no implied-decimal read takes it for 1.00);
// value is what it reads as (0 for an empty or all-blank text, whose text
// is then empty). An invalid text gives valid false, an empty text and 0.
struct NumberText {
    bool valid = false;
    std::string text;
    double value = 0.0;
};
NumberText ReadNumberText(std::string_view typed);

// A date M/D/Y with one- or two-digit parts (an optional blank before the
// month and before the day), a real day of its month (February 29 only in
// a year divisible by 4) and nothing but blanks after the year. The year
// may also be typed with four digits when it lies in 1951-2050, the years
// two digits stand for; any other four-digit year is refused. A valid date
// is rewritten zero-filled, MM/DD/YY ("12/31/2026" becomes "12/31/26").
bool CheckDateText(std::string& text);
// An empty or all-blank text, or a valid date (rewritten as above).
bool CheckBlankOrDate(std::string& text);

// The name of a report output file: 1 to 12 characters, a letter, up to
// seven letters, digits or underscores, then optionally "." and letters and
// digits.
bool CheckFileNameText(std::string_view text);

// A date MM/DD/YY split into its parts: the year windowed (below 51 it
// counts as 100 + YY) and the date number (year x 100 + month) x 100 + day.
// A text that does not read as a date gives zeros and the number -1.
struct ParsedDate {
    int month = 0;
    int day = 0;
    int year = 0;
    long number = -1;
};
ParsedDate ParseDateText(std::string_view text);

}  // namespace shell
