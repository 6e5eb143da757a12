#pragma once

// Index files and their scans. An index file (ACCOUNT.IDX, SECURITY.IDX,
// BROKER.IDX, CUSTDN.IDX) is a direct-access file of 128-byte records:
// record 1 begins with the number of entries (2-byte integer); records 2 on
// hold the keys in entry order, a fixed number of fixed-width keys each.
// Entry e lies in record 2 + (e - 1) div k at place (e - 1) mod k + 1. An
// entry's number is also its place in the matching record file. A key
// whose first word is "$$$$" marks a deleted entry, which keeps its number.
//
// Keys are compared exactly as stored, word by word: case and blanks
// matter. A given key is blank padded (or cut) to the key width first.
// Every failing open or read counts as "not found".

#include <string>
#include <string_view>

namespace records {

inline constexpr const char* kAccountIndex = "ACCOUNT.IDX";
inline constexpr const char* kAccountRecords = "ACCOUNT.REC";
inline constexpr const char* kSecurityIndex = "SECURITY.IDX";
inline constexpr const char* kSecurityRecords = "SECURITY.REC";
inline constexpr const char* kBrokerSortFile = "BRSORT.DAT";

// Account index: 16 keys of 8 characters a record; ACCOUNT.REC holds eight
// records per account.
inline constexpr std::size_t kAccountKeyWidth = 8;
inline constexpr int kAccountKeysPerRecord = 16;
inline constexpr int kRecordsPerAccount = 8;
// Security index: 10 keys of 12 characters a record; SECURITY.REC and
// SECURITY.EXT hold one record per security.
inline constexpr std::size_t kSecurityKeyWidth = 12;
inline constexpr int kSecurityKeysPerRecord = 10;

// The first ACCOUNT.REC record of account entry k (8k - 7); the account's
// other records follow it.
inline long AccountBaseRecord(int entry) {
    return 8L * entry - 7;
}

// True when a key's first word is "$$$$" (a deleted entry), whatever
// follows it: twelve "$" in SECURITY.IDX, eight in BROKER.IDX and
// CUSTDN.IDX, "$$$$" and blanks or zero bytes. The one test of a deleted
// key for every reader of an index.
bool IsDeletedKey(std::string_view key);

// The entry count of the index open on unit: 0 when record 1 cannot be
// read or holds a count below 1.
int IndexCount(int unit);

// Reads the key of entry n of the index open on unit. False (key left as
// it was) when n is below 1 or the record cannot be read.
bool ReadIndexKey(int unit, int n, std::size_t width, int keys_per_record, std::string& key);

// Scans the index open on unit for key: the entry number of the first equal
// key, else 0. With skip_deleted, "$$$$" entries never match.
int ScanIndex(int unit, std::string_view key, std::size_t width, int keys_per_record, bool skip_deleted);

// The scan family.
// Account identifier (8 characters) in ACCOUNT.IDX (unit 6): entry or 0.
int Ckcltt(std::string_view account);
// Security symbol (12 characters) in SECURITY.IDX (unit 17): entry or 0.
int Ccksym(std::string_view symbol);
// The same through unit 10.
int Fndsym(std::string_view symbol);
// The same in the SECURITY.IDX that the caller has open on unit 7,
// passing over deleted entries; the unit stays open.
int Newsym(std::string_view symbol);
// The first ACCOUNT.REC record of the account (8k - 7), or -1 when the
// identifier's first word is blank or "$$$$" or the index lacks it
// (ACCOUNT.IDX on unit 10).
long Gtacct(std::string_view account);

// Reads the 12-character key of entry n of the SECURITY.IDX that the
// caller has open on unit 7 into entry. Returns 0 when the read succeeded;
// otherwise a non-zero status and entry keeps its previous content.
int Getadr(std::string& entry, int n);

// Looks a broker code (8 characters) up in the broker sort file BRSORT.DAT
// (unit 6): record 1 holds the highest record number in use, records 2 on
// begin with a broker code. Returns the number of the first record whose
// code is equal, else 0 (also when the file or a record cannot be read).
int Bkrck2(std::string_view broker);

}  // namespace records
