#pragma once

// The transaction code table. Every transaction carries one of 21 codes;
// the code decides whether the transaction opens a lot, closes one, is a
// short sale or only moves cash, and in which direction its cash flows.
// The engine's own code lists must agree with this table.

#include <array>
#include <cstdint>
#include <string_view>

namespace records {

// Class of a code as the holdings engine reads it.
enum TransactionClass : int16_t {
    kShortSaleClass = 1,  // opens a short position
    kClosingClass = 2,    // closes a lot (sale, transfer out)
    kCashOnlyClass = 3,   // moves cash only
    kOpeningClass = 4,    // opens a lot (purchase, transfer in)
};

struct TransactionCodeEntry {
    std::string_view code;  // blank padded to a 4-character word
    int16_t cls;
    int16_t sign;  // direction of the cash effect, -1 or +1
};

inline constexpr std::array<TransactionCodeEntry, 21> TransactionCodeTable = {{
    {"B   ", 4, -1}, {"S   ", 2, +1}, {"SS  ", 1, +1}, {"CS  ", 2, -1}, {"FI  ", 3, +1}, {"FO  ", 3, -1},
    {"SI  ", 4, -1}, {"SO  ", 2, +1}, {"DI  ", 3, +1}, {"DE  ", 3, -1}, {"II  ", 3, +1}, {"IE  ", 3, -1},
    {"MF  ", 3, -1}, {"BC  ", 3, -1}, {"MI  ", 3, +1}, {"ME  ", 3, -1}, {"AI  ", 3, +1}, {"AO  ", 3, -1},
    {"IP  ", 3, -1}, {"IS  ", 3, +1}, {"SP  ", 4, -1},
}};

// Looks a code up (compared as a whole 4-character word: case and blanks
// matter; a shorter text is blank padded). Found: class, sign and the
// transfer flag (1 for "SI" and "SO") are set; modes 0 and 9 ask for the
// reversal of the transaction, which turns a closing or short-sale class
// into an opening one, "B" and "SI" into closing ones, and negates the
// sign. Not found: not_found is set to 1 and the other outputs are left as
// they were; not_found is never cleared, so the caller sets it to 0 first.
void Code(std::string_view code, int16_t& cls, int16_t& sign, int16_t& transfer, int16_t mode,
          int16_t& not_found);

// Checks the lot designation of a transaction (its first two characters):
// short sales and covers ("SS", "CS") take lower-case letters (the second
// may be blank), every other code blanks, digits or upper-case letters.
// Returns 0 valid, 1 invalid for an ordinary code, 2 invalid for a
// short-sale code.
int16_t Chktax(std::string_view code, std::string_view lot);

}  // namespace records
