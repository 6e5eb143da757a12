#pragma once

// The record services that the window layer calls: it never opens a record
// file itself, but opens one by name on a unit with Opnfil, reads or writes
// records by number and closes the unit with Clsfil within one handler.
// Each service returns a status word that the calling dialog tests: 0 done,
// 1 failed, unless a service says otherwise. A failed read leaves the
// caller's buffer as it was. Services never show messages.
//
// Also here: the transaction list of the transaction list window (Ldtrns)
// and its line formatter (Trnlin). The broker and custodian services are in
// records/broker_files.h; the program date, options and printer records in
// records/common_file.h; Delacf in records/file_names.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// Opens the named file (blank padded; case does not matter) on the unit for
// direct access with the given record length (128 for the record files, 8
// for price files, 512 for the off-line and block trade files); a missing
// file is created empty. 0 done, 1 failed (also for a record length below 1
// or a name longer than the 12 characters a data-directory name has).
int16_t Opnfil(int unit, int record_length, std::string_view name);
// Closes the unit. 0 done, 1 when the unit number is not one of 1 to 40.
int16_t Clsfil(int unit);

// Record transfers on a unit opened with Opnfil (or an open helper). A read
// fails when the record lies past the end of the file or is shorter than
// the bytes asked for; a write past the last record extends the file.
// Writes of fewer bytes than the record holds keep the record's other bytes
// as stored (zeros in a new record).
int16_t Rdrecw(int unit, long rec, std::array<int16_t, 64>& words);  // a 128-byte record as 64 words
int16_t Rdrec(int unit, long rec, std::string& bytes);               // 128 bytes
int16_t Wrrec(int unit, long rec, std::string_view bytes);           // 128 bytes
// The first 140 bytes of a record (the edit view of the 512-byte records of
// the off-line transaction and block trade files).
int16_t Rdr140(int unit, long rec, std::string& bytes);
int16_t Wrr140(int unit, long rec, std::string_view bytes);

// Reads one 8-byte price and rounds it to 6 decimals through the layout
// "(F20.6)". 0 done; 1 the read failed (price unchanged); 2 the value does
// not convert (too wide or not a number; price holds the stored value).
int16_t Rdprc(int unit, long rec, double& price);
int16_t Wrprc(int unit, long rec, double price);

// Reads or writes the first bytes of a record of whatever length the unit
// was opened with. A read fails when the record cannot be read or is
// shorter than n; a write fails when the record is shorter than the bytes,
// and keeps the rest of the record as stored.
bool ReadLeading(int unit, long rec, std::size_t n, std::string& out);
bool WriteLeading(int unit, long rec, std::string_view bytes);

// ---- Transaction list

// The unit on which the caller has the transaction source open.
inline constexpr int kTransactionListUnit = 6;
// Room of the list; more transactions than this are an overflow.
inline constexpr int kTransactionListLimit = 12000;

// Record layouts of the three transaction sources: an account's
// transaction file (128-byte records), and the block trade and off-line
// transaction files, whose 512-byte records begin with the account
// identifier and carry the same fields after it.
enum TransactionLayout : int {
    kAccountLayout = 0,
    kBlockLayout = 1,
    kOfflineLayout = 2,
};

// Loads the transaction list of the source open on unit 6 (record 1 holds
// the number of the last record in use). Account layout, code "S   ":
// the transactions of the given 12-character symbol, an income
// transaction counting by the symbol of its source; any other code: every
// transaction with a symbol whose trade date number is not below
// from_date. The block and off-line layouts take every record.
// list: for each taken transaction its record number less 1, sorted by
// date number and then by record number; count its length; pages the
// number of 16-line pages. total: the counter of record 1 (0 when it
// cannot be read). More than 12,000 taken: overflow -1, total the number
// taken when the limit was passed, pages -9999, count 0 and an empty list.
void Ldtrns(std::vector<int16_t>& list, int16_t& count, float from_date, int16_t& pages,
            std::string_view symbol, std::string_view code, int16_t& overflow, int16_t& total, int layout);

// Formats entry `index` (counted from 1) of the list as an 85-character
// line of the transaction list. 0 done; -1 the record cannot be read (or
// index is outside the list); -10 the transaction's symbol is blank.
int16_t Trnlin(const std::vector<int16_t>& list, int index, int layout, std::string& line);

}  // namespace records
