#pragma once

// Prices, rates, stock splits and accrued interest.
//
// Prices are kept by pricing date: one direct-access file of 8-byte IEEE
// doubles per date, "SE" + MMDDYY + ".PRC", record n holding the price of
// the security with entry n of SECURITY.IDX. Rate files "SE" + MMDDYY +
// ".CUR" have the same records. A record never written, or past the end of
// the file, has no price, which reads as the no-value marker.
//
// Stock splits are kept one file a year, "SECR" + four-digit year + ".SPL",
// of 256-byte records: record 1 holds the number of the last record in use,
// each further record the splits of one security in that year.
//
// Downloaded dividends are kept one file a pay year, "SECR" + four-digit
// year + ".DIV", of 384-byte records: record n belongs to the security whose
// dividend-file record number is n and holds one slot per pay month.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"

namespace records {

// The price of a security that has none. Writers store -99999.999999 for a
// price known to be missing, which reads back as this marker.
inline constexpr double kNoPriceValue = -99999.99;
// The highest price a price file can hold; anything above reads as missing.
inline constexpr double kHighestPrice = 999999.99;

// The six characters MMDDYY of a date text (MM/DD/YY), every blank of a
// one-digit month, day or year turned into "0": " 3/ 5/97" gives "030597".
void Prcdat(std::string_view date, std::string& digits);
std::string Prcdat(std::string_view date);

// Price and rate file names of a pricing date: " 3/ 5/97" gives
// "SE030597.PRC" and "SE030597.CUR".
std::string PriceFileName(std::string_view date);
std::string RateFileName(std::string_view date);

// Reads (mode below 1) or writes (mode above 0) the price of record n.
// Unit 0 does nothing; a negative unit opens the price file of the date on
// the unit's absolute value for the transfer and closes it afterwards; a
// positive unit is a price file the caller has open. A read rounds the
// price to 6 decimals; a missing or unreadable price, one below 0 or one
// above 999,999.99 reads as kNoPriceValue. Writes report nothing.
void Rwpric(int mode, int unit, std::string_view date, long record, double& price);
// The price a price-file record holds, as Rwpric reads it: rounded to 6
// decimals, kNoPriceValue when below 0, above 999,999.99 or unreadable.
double StoredPrice(const Record& rec);

// Rounds a price to the 6 decimals prices are kept to, the way a report
// prints it. False, the price unchanged, when it cannot be written and
// read back (too wide, not a number); each caller says what such a price
// becomes.
bool RoundStoredPrice(double& price);

// Every price of the date's price file with one read, each as Rwpric
// reads it: record n is prices[n - 1]; a record past the end is not there
// (kNoPriceValue to Rwpric). Empty when the file does not exist (which is
// not created).
std::vector<double> ReadPriceFile(std::string_view date);

// Accrued interest of a face value at an annual rate (a fraction) from
// date 1 to date 2: with mode 1, days counted 30/360, result = days / 180 x
// rate / 2 x face, rounded to the system's decimals; any other mode gives
// 0.
void Getai(std::string_view date1, std::string_view date2, double face, float rate, int16_t mode,
           double& result);

// The interest a bond has accrued on a face value at a date since its last
// coupon date (LastCouponDate): Getai in its 30/360 mode at the coupon
// rate, a percentage, / 100. Every valuation that accrues interest takes
// it from here, so that one bond shows the same figure in every report. 0
// for a blank last coupon date, and never below 0 (a negative face, or a
// 30/360 count that runs a day backwards at the end of a leap February,
// accrues nothing), so that no report adds a negative amount to its
// accrued-interest total.
double AccruedInterest(std::string_view last_coupon, std::string_view date, double face, float rate_percent);

// ---- Stock split files

// Unit on which the split routines open their file.
inline constexpr int kSplitUnit = 9;
inline constexpr std::size_t kSplitRecordLength = 256;
inline constexpr int kMaxSplits = 8;

// The split file of a year. The two-digit year is placed in its century by
// the date window (51-99 are 19xx, 00-50 are 20xx): 97 gives
// "SECR1997.SPL", 5 gives "SECR2005.SPL". A four-digit year (1951-2050) is
// taken as it is.
std::string SplitFileName(int year);
// The split file of the year of a date text MM/DD/YY (positions 7-8).
std::string SplitFileNameOfDate(std::string_view date);

// Split file record 1: the number of the last record in use (2 or more once
// a split is filed).
struct SplitFileHeader {
    int16_t last_record = 0;  // bytes 1-2

    static SplitFileHeader Decode(const Record& rec);
    // Writes bytes 1-2; the rest of the record keeps its bytes.
    void Encode(Record& rec) const;
};

// One split: 13 bytes from offset 14 + 13 x (k - 1) of the security's
// record.
struct StockSplit {
    float ratio = 0;     // +0, 4-byte real
    float ex_date = 0;   // +4, YYMMDD (the split dialogs count a year below 51 as 100 + YY)
    float pay_date = 0;  // +8, YYMMDD
    uint8_t posted = 0;  // +12: 1 posted, 2 entered and not yet posted
};

// The splits of one security in one year (records 2 onward).
struct SplitRecord {
    std::string symbol = std::string(12, ' ');  // bytes 1-12
    int16_t count = 0;                          // bytes 13-14, 0 to 8
    std::array<StockSplit, kMaxSplits> splits{};

    static SplitRecord Decode(const Record& rec);
    // Writes bytes 1-118; bytes 119-256 keep what the record held (zeros in
    // a new record). A Record shorter than 256 bytes is first extended with
    // zeros.
    void Encode(Record& rec) const;
};

// ---- Dividend files

inline constexpr std::size_t kDividendRecordLength = 384;
inline constexpr int kDividendSlots = 12;
inline constexpr std::size_t kDividendSlotSize = 27;
// The bytes of a new dividend record that start blank; the rest are zero.
inline constexpr std::size_t kDividendBlankBytes = 128;

// The dividend file of a year, placed in its century like SplitFileName:
// 98 gives "SECR1998.DIV", 3 gives "SECR2003.DIV".
std::string DividendFileName(int year);

// The dividend of one pay month: 27 bytes at 27 x (month - 1). Bytes 9-26
// of a slot hold four 4-byte items and a 16-bit item that only other
// programs give meaning to; they are kept as read.
struct DividendSlot {
    float amount = 0;     // +0, 4-byte real
    float ex_date = 0;    // +4, ex-dividend date YYMMDD (plain two-digit year)
    uint8_t pay_day = 0;  // +8, day of the month of the pay date
};

// A security's record of a dividend file. Bytes 325-384 are not used and
// are kept as read.
struct DividendRecord {
    // The slots of pay months 1 to 12.
    std::array<DividendSlot, kDividendSlots> months{};

    static DividendRecord Decode(const Record& rec);
    // Writes the amount, ex-date and pay day of every slot; the slots' other
    // items and bytes 325-384 keep what the record held. A Record shorter
    // than 384 bytes is first extended with zeros.
    void Encode(Record& rec) const;
    // A record of a newly made dividend file: 128 blanks, then zeros.
    static Record NewFileRecord();
};

}  // namespace records
