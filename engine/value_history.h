#pragma once

// The portfolio value history of an account, HL<acct>.DAT: month-end
// market values, capital flows, a carried series and incomes, one year at
// a time. The Historical Data dialog reads and writes a year (Rperf,
// Wperf); the routines that add figures month by month extend the file to
// a later year (Hlapnd); transfers recorded for a past month correct the
// stored figures from that month on (Hladja).
//
// Layout (128-byte records, little-endian):
//   record 1 (header): bytes 1-8 account identifier, 9-10 start month,
//     11-12 first year, 13-14 end month (month of the latest figure),
//     15-16 last year, 17-18 number of years (last - first + 1);
//   year y (first <= y <= last) in the four records from
//     (y - first) x 4 + 2: market values, capital flows, the carried
//     series, incomes; each record holds the year (bytes 1-2) and twelve
//     doubles, January to December (bytes 3-98).
// Years are stored in the two-digit-year window: 51-99 are 1951-1999 and
// 100-150 are 2000-2050, so that years keep their order across 2000.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/record.h"

namespace engine {

using MonthlyValues = std::array<double, 12>;

// Unit on which Rperf, Wperf and Hladja open the history file.
inline constexpr int kValueHistoryUnit = 9;

// The marker of a month without a market value.
inline constexpr double kNoMarketValue = -99999.99;

// The greatest number of years a history file may span. A header whose
// years (with the year a routine is asked about) span more is damaged: the
// routines below refuse it before they read or write a year, since its
// record numbers would run to thousands of years.
inline constexpr int kMaxHistoryYears = 130;

// Record 1 of HL<acct>.DAT.
struct ValueHistoryHeader {
    std::string account = std::string(8, ' ');  // bytes 1-8
    int16_t start_month = 0;                    // bytes 9-10
    int16_t first_year = 0;                     // bytes 11-12
    int16_t end_month = 0;                      // bytes 13-14
    int16_t last_year = 0;                      // bytes 15-16
    int16_t years = 0;                          // bytes 17-18

    static ValueHistoryHeader Decode(const records::Record& rec);
    // Writes bytes 1-18; the other bytes of the record are kept (a record
    // shorter than 128 bytes is first extended with zeros).
    void Encode(records::Record& rec) const;

    // True when the year lies within first year to last year.
    bool Holds(int year) const { return year >= first_year && year <= last_year; }
    // The first of the four records of a year.
    long YearRecord(int year) const { return (static_cast<long>(year) - first_year) * 4 + 2; }
    // True when the years from the earlier of the first year and `year` to
    // the later of the last year and `year` are at most kMaxHistoryYears.
    bool SpanFits(int year) const {
        const int low = year < first_year ? year : first_year;
        const int high = year > last_year ? year : last_year;
        return high - low + 1 <= kMaxHistoryYears;
    }
};

// One record of a year: the year and twelve monthly values.
struct ValueHistoryYear {
    int16_t year = 0;        // bytes 1-2
    MonthlyValues values{};  // bytes 3-98, January first

    static ValueHistoryYear Decode(const records::Record& rec);
    // Writes bytes 1-98; bytes 99-128 are kept.
    void Encode(records::Record& rec) const;
};

// The four records of a year, in their order.
enum ValueHistorySeries : int {
    kMarketValueSeries = 0,
    kCapitalFlowSeries = 1,
    kCarriedSeries = 2,
    kIncomeSeries = 3,
};

// A year as the history stores it: the year modulo 100, a result from 0 to
// 50 counted as 100 + YY (1998, 98 and 198 give 98; 2003, 3 and 103 give
// 103). A negative year stays negative, which no history holds.
int16_t HistoryYear(int year);

// Status of Rperf and Wperf.
enum ValueHistoryStatus : int16_t {
    kHistoryDone = 0,
    // The year (or record number) is not one of the years the file holds:
    // nothing was read or written.
    kHistoryYearOutside = 1,
};

// Reads one year of the account's history: the market values, capital
// flows and incomes (the 1st, 2nd and 4th record of the year), the year
// stored in the first record (year_out) and the year's first record number
// (record), which Wperf takes back. A record that cannot be read leaves
// its array as it was.
//
// A file without a readable header is new: it is started with this year
// as its first and last year (start month 1, end month 12) and the year's
// four records of zeros; the arrays come back zero, year_out is the year
// and record is 2. A year outside the years of an existing file, or a
// damaged header (SpanFits), is refused with kHistoryYearOutside and
// nothing is read.
int16_t Rperf(std::string_view account, int16_t year, int16_t& record, int16_t& year_out,
              MonthlyValues& market_values, MonthlyValues& capital_flows, MonthlyValues& incomes);

// Writes one year back at the record number that Rperf returned: the year
// word and the market values at the record, the capital flows at the next
// one and the incomes at the record three after it. The header and the
// carried series are not touched. A record number that is not the first
// record of a year the file holds, or a damaged header, is refused with
// kHistoryYearOutside and nothing is written. The year argument is not used (the record number
// names the year).
int16_t Wperf(std::string_view account, int16_t year, int16_t record, int16_t year_word,
              const MonthlyValues& market_values, const MonthlyValues& capital_flows,
              const MonthlyValues& incomes);

// Extends the history file that the caller has open on the unit to the
// given year: the header takes the new last year and number of years, and
// each added year gets four records (zeros, zeros, the carried series of
// the previous last year, zeros). On a file whose header names the year as
// its first year but holds no year records yet, the year's four records
// of zeros are written. A year before the first year, or already held,
// changes nothing; so does a file without a readable header. The account
// identifier is not read: the header keeps its own. False, with nothing
// written, for a damaged header (SpanFits of the year); true otherwise.
bool Hlapnd(std::string_view account, int16_t year, int unit);

// Adds a transaction recorded for a past month to the account's history:
// from the month on, series 1 (market values, only when series1_switch is
// 1; months without a value are left alone) and series 3 (the carried
// series) rise by their amounts to the end of the history, and series 2
// (capital flows) rises by its amount in the month alone. A month beyond
// the last one recorded moves the header's end month and last year to it,
// creating the missing years on the way (market values carried from the
// previous December, or marked as missing after a positive one; the
// carried series carried on; flows and incomes zero). A year before the
// first year, a month outside 1 to 12 or a file without a readable header
// changes nothing. False, with nothing written, for a damaged header
// (SpanFits of the year): the caller's posting must not count as done.
bool Hladja(std::string_view account, int16_t month, int16_t year, double series1_amount,
            double series2_amount, double series3_amount, int16_t series1_switch);

// True when the account's history file has a readable header that is
// damaged for the year (SpanFits). A file that is not there, or whose
// header cannot be read, is not damaged here: the routines leave it alone.
bool HistoryDamaged(std::string_view account, int16_t year);

}  // namespace engine
