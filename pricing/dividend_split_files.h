#pragma once

// Filing the dividends and splits that the price server reports during an
// automatic pricing run: a dividend goes into the dividend file of its pay
// year, in the security's record and the slot of its pay month; a split
// goes into the split file of its pay year, the same file and records that
// the stock split dialogs read and edit (records/prices.h holds both
// layouts). Two-digit years are placed in their century by the date
// window, as every yearly file name is: a 2003 pay date files under 2003.
//
// Neither writer reports a status. A dividend or split that cannot be filed
// writes a warning line to the sink (autoerr.txt in a run) and leaves the
// files as they were.

#include <cstdint>
#include <string_view>

#include "pricing/pricing_warnings.h"

namespace pricing {

// Files one dividend: amount, ex-date and pay date (MM/DD/YY) in the
// security's record of its dividend file (record numbers from 1; below 1
// files nothing). The slot of the pay month gets the amount, the ex-date
// as the plain number YYMMDD and the pay day; everything else in the record
// is kept. A missing file is made with `record_count` records (or up to the
// security's record when that is further) that start with 128 blanks. An
// ex-date or pay date that is not a date (the server's "N/A", a month
// outside 1-12) files nothing and writes a warning.
void Wrdiv(float amount, std::string_view ex_date, std::string_view pay_date, int16_t record,
           int16_t record_count, const WarningSink& sink);

// Files one split of a security (symbol of 12 characters) with its
// ex-date and pay date (MM/DD/YY) and ratio as an entry entered and not yet
// posted (source code 2), after the security's entries of the year; a
// security without a record of the year gets a new record after the last
// in use. Dates are stored as the split dialogs store them (YYMMDD, a year
// 00-50 as 100 + YY). A split the record already holds (same ratio and
// dates, stored in either form) changes nothing. A split whose dates are
// not dates, or a ninth split of the security in the year, files nothing
// and writes a warning; so does a split file whose last record in use is
// out of range (below 1 or beyond its records) or at 32,767.
void Wrspl(std::string_view symbol, std::string_view ex_date, std::string_view pay_date, float ratio,
           const WarningSink& sink);

}  // namespace pricing
