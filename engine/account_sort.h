#pragma once

// Maintenance that the account setup dialog runs after it has saved its
// accounts: the sort of the account files by identifier (Accsrt) and the
// start of each account's value history file HL<acct>.DAT (Hlinit, which
// re-spans an existing file through Hlresp when the account's start date
// has moved to another year).
//
// Years in the value history are two-digit years in the window of the
// record layer (51-99 are 1951-1999, 100-150 are 2000-2050), the same that
// the history's readers use, so a history may start or end after 1999.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "records/account_lists.h"

#include "engine/value_history.h"

namespace engine {

// Sorts ACCOUNT.IDX and ACCOUNT.REC into ascending order of identifier,
// keeping each account's eight records together: the account at key
// position k afterwards owns records 8k - 7 to 8k. Deleted and blank keys
// are left out with their records. The sorted files are written as
// ACCTIDX.TMP and ACCTREC.TMP and renamed over the account files only when
// every record was read and written; otherwise both account files stay as
// they were. Nothing changes either when the index header cannot be read,
// the account list cannot be built, or there is at most one account.
// Header of the sorted index: the count, the second word as it was, the
// third word 1 (kept as it was when the list was long enough to be sorted
// in runs), the fourth word 1.
void Accsrt();

// Makes sure the account's value history file spans the years from the
// start date (MM/DD/YY) to the program date (COMMON.FIL record 2). A file
// with a readable header is re-spanned (Hlresp); otherwise a new file is
// written: one empty year (four records of the year and twelve zeros) for
// each year from the start year to the program year, under the header
// (account, start month, start year, 12, last year, number of years). A
// start date after the program date's year gives the start year alone.
// Nothing is written when the start date or the program date does not read
// as a date with a month from 1 to 12. Failures are not reported.
void Hlinit(std::string_view account, std::string_view start_date);

// The save of the account data dialog: writes the accounts, in array
// order, as the account files (records::SaveAccountFile, with the flag byte
// of index record 1), then starts or re-spans each account's value history
// from its opening date (Hlinit) and sorts the account files (Accsrt).
// Returns an empty text when done, else the name of the account file that
// could not be written (nothing else is then done).
std::string SaveAccountFiles(const std::vector<std::unique_ptr<records::CAccountEntry>>& accounts,
                             unsigned char flag);

// Status of Hlresp. With any status but kRespanDone the file is unchanged.
enum RespanStatus : int16_t {
    kRespanDone = 0,
    kRespanTooLong = 1,     // the new span would exceed 130 years
    kRespanUnreadable = 2,  // the header or a stored year could not be read
    kRespanBadDate = 3,     // the start date does not read as a date
};

// A re-spanned file may hold at most kMaxHistoryYears (value_history.h).

// Re-spans an existing value history file to a new start date. The same
// start year only takes the new start month. An earlier start year puts
// empty years before the stored ones; a later one within the stored years
// drops the years before it; one after the last stored year leaves the
// file holding that year alone, empty, with end month 12. The end month and
// last year are otherwise kept. A changed span rewrites the whole file
// beside it and renames it over the old one.
void Hlresp(std::string_view account, std::string_view start_date, int16_t& error);

}  // namespace engine
