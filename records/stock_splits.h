#pragma once

// The stock splits of one security in one year as the split dialogs edit
// them: Rdsplt reads the security's record of the year's split file
// (records/prices.h holds the file's layout), Wrsplt writes it back.
//
// Dates travel as month, day and year numbers. The files hold date numbers
// YYMMDD: this program writes a year 00-50 as 100 + YY, so that dates keep
// their order across 2000, while the automatic pricing run writes the plain
// two-digit year. Both forms read back as two-digit years.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/prices.h"

namespace records {

// One split as the dialogs hold it.
struct SplitEntry {
    float ratio = 0;
    int16_t ex_month = 0;
    int16_t ex_day = 0;
    int16_t ex_year = 0;
    int16_t pay_month = 0;
    int16_t pay_day = 0;
    int16_t pay_year = 0;
    // 1 posted; 2 entered and not yet posted (by the dialogs or the pricing
    // run alike). Kept as stored.
    uint8_t posted = 0;
};

// The splits of one security in one year.
struct SplitList {
    int16_t count = 0;  // 0 to 8
    std::array<SplitEntry, kMaxSplits> splits{};
    // The security's record in the split file; 0 when it has none yet.
    int16_t position = 0;
    // Record 1 of the split file: the last record in use.
    int16_t last_record = 0;
};

// The message Rdsplt gives for a symbol SECURITY.IDX does not hold.
inline constexpr const char* kUnknownSplitSecurityLayout =
    "(3A4,' is not a recognized security identifier.')";

// Reads the splits of a security (12 characters, blank padded) in a year
// (four digits, or two as the split file names take them). A symbol that
// is not in SECURITY.IDX sets message to the symbol followed by " is not a
// recognized security identifier." and gives an empty list. Otherwise the
// security's record is the first of records 2 to the last in use whose
// symbol equals the given one; none (or no file) gives position 0 and no
// splits, and so does a record that cannot be read. A stored count outside
// 0 to 8 reads as the nearest of them. A last record in use below 1 or
// beyond the file's whole records is refused as damaged: message names
// the file, the list is empty.
void Rdsplt(std::string_view symbol, int year, std::string& message, SplitList& list);

// Writes the splits of a security back. With a position of 0 a count of 1
// or more takes a new record (the larger of the last record in use and 1,
// plus 1), which becomes the last record in use and the list's position; a
// count below 1 writes nothing. With a position, record 1 gets the list's
// last record and the security's record its count and, when the count is 1
// or more, the splits: those in use with their dates as date numbers, the
// slots after them zero. A year 0-50 in the list is changed to 100 + YY
// first, as the files hold it. The last record in use is taken from the
// file as it stands: one out of range (damaged) or a new record in a full
// file writes nothing and gives the message ("SPLIT98.DAT is full."); else
// the result is empty. Failed writes are not reported.
std::string Wrsplt(std::string_view symbol, int year, SplitList& list);

}  // namespace records
