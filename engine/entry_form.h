#pragma once

// The entry form: one transaction as a transaction dialog collected it, on
// its way to trade, cash or transfer posting. Every field is text, as the
// user typed it, blank padded to 80 characters; posting reads the leading
// characters each field needs and reads numbers from the first 20
// characters under "(F20.4)". Posting answers through the same form: a
// status flag (1 = rejected) and a message for each field, flag and message
// n belonging to field n, which the dialog turns into its error list.
//
// Flag 9 also carries the failures of posting itself (a rebuild that found
// a sale exceeding its lot, a transaction file that could not be written),
// in all three posting routines.
//
// The field-level checks that the three posting routines share live here
// too: packing a field into words, the numeric check and the dated check
// with its messages.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

inline constexpr int kEntryFieldCount = 18;
inline constexpr int kEntryStatusCount = 20;
inline constexpr std::size_t kEntryFieldWidth = 80;
inline constexpr std::size_t kEntryMessageWidth = 80;

// What a posting call does with the form's transaction.
enum class PostingMode : char {
    kAdd = 'A',     // file a new transaction; posting returns its record number
    kChange = 'B',  // replace the transaction in the given record
    kDelete = 'C',  // delete the transaction in the given record
};

// The message of every number that does not read or does not fit.
inline constexpr std::string_view kValueMustBeNumeric = "Value must be numeric.";

struct EntryForm {
    EntryForm();

    // Fields 1 to 18, each 80 characters.
    std::array<std::string, kEntryFieldCount> fields;
    // Results 1 to 20: flag n (0 accepted, 1 rejected) and message n (80
    // characters, blank when there is none). Posting sets them only on a
    // failure and never clears them: the caller clears them before a call.
    std::array<int16_t, kEntryStatusCount> flags{};
    std::array<std::string, kEntryStatusCount> messages;

    // Field n (1-based), blank padded or cut to 80 characters.
    void SetField(int n, std::string_view text);
    const std::string& Field(int n) const { return fields[static_cast<std::size_t>(n - 1)]; }

    int16_t Flag(int n) const { return flags[static_cast<std::size_t>(n - 1)]; }
    const std::string& Message(int n) const { return messages[static_cast<std::size_t>(n - 1)]; }
    // Sets flag n to 1 and, when a message is given, message n.
    void Reject(int n, std::string_view message = {});
    // True when any flag from first to last is set.
    bool Rejected(int first, int last) const;
    // All flags 0 and all messages blank.
    void ClearResults();
};

// The first count characters of a field (count at most 80), blank padded:
// the words that a text field becomes.
std::string Pakwrd(std::string_view characters, int count);

// Reads a number field (its first 20 characters) under "(F20.4)": a text
// without a decimal point counts its last four digits as decimals, blanks
// count as nothing. False, with the value left at 0, when the text is not a
// number.
bool ReadEntryNumber(std::string_view field, double& value);
bool ReadEntryNumber(std::string_view field, float& value);

// The numeric checks: the value is written under "(F20.4)"; when it does not
// fit (the layout fills the field with asterisks) the flag is set to 1 and
// the message (80 characters) to "Value must be numeric.". Cknum8 is for
// doubles, Cknum4 for singles. Nothing is changed when the value fits.
void Cknum8(double value, int16_t& flag, std::string& message);
void Cknum4(float value, int16_t& flag, std::string& message);

// The dated check of a typed date (8 characters MM/DD/YY, in/out).
// The text is read from the right in three groups, year, day and month,
// each of one or two digits ended by "/" (blanks are skipped; what lies
// left of the month is not looked at). The year must be 0-99, the day
// 1-31 and within its month (February always has 29), the month 1-12. A
// good date is rewritten "(I2,'/',I2,'/',I2)" (the year zero-filled below
// 10) and its number YYMMDD, with a year up to 50 counted as 100 + YY, is
// returned; it must lie within [low, high]. flag is cleared first and set
// to 1 on any failure, with one of the messages:
//   "Invalid form, enter date in form MO/DA/YR."
//   "Date <the text> not valid."
//   "Date must be no earlier than MM/DD/YY." / "... no later than ...",
// the bound shown with its last two year digits, so that a bound in the
// 2000s (year part 100 and more) still shows as a date.
// The number is left as it was when the text does not parse.
void Ckdatm(std::string& date, int16_t& flag, float& number, float low, float high, std::string& message);

// The YYMMDD number of a date text (positions 1-2, 4-5, 7-8), with a year
// below 51 counted as 100 + YY; 0 for a blank text or one that does not
// read as a date. Used for the bounds and keys that posting takes from the
// account and security records.
float DateTextNumber(std::string_view date);

}  // namespace engine
