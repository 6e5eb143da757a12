#pragma once

// Reading the remote price server's answer lines. An answer is a
// 200-column blank-padded line of comma-separated fields; a field ends at
// the next comma, carriage return, line feed or NUL, or one column past the
// answer's last non-blank character:
//
//   answer to "V"    any text, price, anything
//   answer to "J"    any text, price, J value, anything
//   answer to "DAA"  any text, distribution code, ex-date YYMMDD, amount or
//                    split ratio, anything, pay date YYMMDD
//
// A first character "E" after the first comma marks an error answer, which
// yields nothing. The parsers never fail loudly: a missing or malformed
// field leaves its output at its value for nothing found, and a number
// field holding anything but digits, blanks and points counts a warning and
// writes a line to the warning sink (autoerr.txt in a run). Numbers are
// read under F20.6, blanks ignored; a field longer than those 20
// characters does not read. Columns are
// numbered from 1 as in the answer line. The caller's answer is never
// changed: the parsers work on a copy of its first 200 columns.

#include <cstdint>
#include <string>
#include <string_view>

#include "pricing/pricing_warnings.h"

namespace pricing {

// One column past the last answer column: where a field that runs to the
// end of a full answer ends.
inline constexpr int kPastAnswer = 201;

// Field codes of the number check, written in its warning line.
inline constexpr int kDividendField = 3;
inline constexpr int kPriceField = 6;
inline constexpr int kJPriceField = 7;
inline constexpr int kJValueField = 8;

// Results of Insper.
enum InsperStatus : int {
    kFieldGood = 0,
    kFieldNotNumeric = 1,
    kFieldEmpty = 2,       // end before start
    kFieldOutOfRange = 3,  // start or end outside 1 to 200
};

// What a dividend answer yields. The parser writes only the three values of
// the kind it found: amount, ex-date and pay date for a dividend; split
// ratio, split ex-date and split pay date for a split. Dates are MM/DD/YY
// (or "N/A" as the server sent it).
struct DividendAnswer {
    float amount = 0;
    std::string ex_date = std::string(8, ' ');
    std::string pay_date = std::string(8, ' ');
    float split_ratio = 0;
    std::string split_ex_date = std::string(8, ' ');
    std::string split_pay_date = std::string(8, ' ');
};

// The answer to a "V" request: the price from field 2, else -99999.99.
void Prsprc(std::string_view answer, double& price, int16_t& warnings, const WarningSink& sink);

// The answer to a "J" request: the price from field 2 (else -99999.99) and
// the J value from field 3 (set to 0 first; a field that does not read
// leaves it so).
void Prsprj(std::string_view answer, double& price, float& j_value, int16_t& warnings,
            const WarningSink& sink);

// The answer to a "DAA" request. Distribution codes I, A, G, E, C and M
// are dividends, S and O splits; U yields nothing, nor does a code outside
// these (whose fields are still read and checked); a blank code ends the
// parse. A date field starting "N/A " is kept as it is.
void Prsdaa(std::string_view answer, DividendAnswer& result, int16_t& warnings, const WarningSink& sink);

// ---- Column helpers of the parsers (text of 200 columns; columns past
// the text read as blanks).

// The first column from start to end holding the character; 0 when there
// is none or end is before start. Start below 1 or end past column 201
// writes a range warning and gives 0.
int Fndstr(std::string_view text, char c, int start, int end, const WarningSink& sink);

// The first column from start to end holding the character, a carriage
// return, a line feed or NUL; end when there is none (also when end is
// before start). Start below 1 or end past column 201 writes a range
// warning and gives 0.
int Fndend(std::string_view text, char c, int start, int end, const WarningSink& sink);

// One column past the last non-blank column of the 200; 2 for a blank
// text, 201 for a text whose column 200 is not blank.
int Lstchr(std::string_view text);

// The number check of the field start to end, with its field code for the
// warning line. A character that is not a digit, a blank or a point counts
// one more warning and writes the non-numeric-data line. A field that
// passes without a point gets one in the column after it (the delimiter
// that ended it, or a column added past the text), and end moves onto it,
// so that a whole number reads as a whole number.
InsperStatus Insper(std::string& text, int start, int& end, int16_t& warnings, int code,
                    const WarningSink& sink);

}  // namespace pricing
