#pragma once

// The account walk and manager patterns shared by the reports that run over
// the accounts of ACCOUNT.IDX.
//
// The walk takes the index in entry order up to the count of record 1 (keys
// past the count are never taken, whatever the records hold), passing over
// deleted ("$$$$") and blank keys; entry p's first ACCOUNT.REC record is
// 8p - 7. The whole list is kept in memory, however long the index.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace reports {

struct AccountEntry {
    std::string id;         // the 8-character key
    int entry = 0;          // its position p in ACCOUNT.IDX (1 on)
    long first_record = 0;  // 8p - 7
};

struct AccountWalk {
    std::vector<AccountEntry> accounts;
    // The count of record 1: the entries of the index, unused ones included.
    int count = 0;
    // False when record 1 could not be read (the list is then empty).
    bool count_read = false;
    // The index record that could not be read and ended the walk early
    // (0 when every record up to the count was read).
    long failed_record = 0;
};

// Walks ACCOUNT.IDX of the data directory.
AccountWalk WalkAccounts();

// The accounts of a run: with `all` every account of the walk, otherwise
// the one account when the index holds it (none when it does not; the
// count then reads as found).
AccountWalk RunAccounts(bool all, std::string_view account);

// A key that names no account: its first four characters are "$$$$" or
// blanks (a never-written key of zero bytes counts as blank).
bool IsUnusedKey(std::string_view key);

// Manager pattern of the report requests: each of the four characters
// equal, or "?" in the requested code, so "????" takes every account.
bool ManagerMatches(std::string_view requested, std::string_view account_code);

// The manager-code check of the report entries against the table of
// COMMON.FIL (records 10 and 81-83), where "????" (the dialogs' default) is
// never stored. A requested code is accepted when it is all "?" or agrees
// with a table code wherever neither has "?".
bool ManagerCodeAccepted(std::string_view requested);
// The table position (1-100) of the first table code the requested code
// agrees with; 1 when only "????" was asked and no code agrees; 0 when the
// code is not accepted. Reports that keep a slot per manager code use it.
int ManagerCodePosition(std::string_view requested);

}  // namespace reports
