#pragma once

// Brokers and custodians as the reports read them: the index scans, the
// look-ups Fndbrk and Fndcus, and the entry read shared by the broker and
// custodian lists, the client form and the account directory.
//
// BROKER.IDX / CUSTDN.IDX: record 1 holds the entry count (16-bit); from
// record 2 on, 16 IDs of 8 characters a record, entry e in record
// 2 + (e - 1) div 16. BROKER.REC / CUSTDN.REC: entry e owns the three
// 128-byte records 3e - 2, 3e - 1 and 3e (custodians too: the data dialog
// writes three records per entry for both files). Reports only read these
// files; a missing file is read as absent, never created.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"

namespace reports {

enum class Party { kBroker, kCustodian };

// The index and record file names of a party.
const char* PartyIndexFile(Party party);
const char* PartyRecordFile(Party party);

// The first record of entry e in the record file: 3e - 2.
inline long PartyFirstRecord(int entry) {
    return 3L * entry - 2;
}

struct PartyIndexEntry {
    std::string id;  // 8 characters, as stored
    int entry = 0;   // its position in the index (1 on)
};

struct PartyIndex {
    // Every ID up to the count, in index order, unused ones included (the
    // caller decides: look-ups skip nothing, lists pass over "$$$$" and
    // blank IDs).
    std::vector<PartyIndexEntry> entries;
    bool count_read = false;  // false: record 1 could not be read
    long failed_record = 0;   // an index record that ended the scan early
};

// Reads the index of the party up to its count.
PartyIndex ReadPartyIndex(Party party);

// True when an ID names no entry: its first four characters are "$$$$" or,
// compared as a four-character word, not above four blanks (blanks or the
// zero bytes of a record never written).
bool IsUnusedPartyId(std::string_view id);

// Fndbrk and Fndcus: the first record (3p - 2) of the entry whose ID equals
// the given one (both 4-character halves), -1 when it is not there, the
// index cannot be read, or the ID's first four characters are blanks or
// "$$$$" (such an ID is never looked up).
long Fndbrk(std::string_view id);
long Fndcus(std::string_view id);

// The fields of an entry's first two records that the reports print.
struct PartyEntry {
    std::array<std::string, 5> lines;  // name and address lines 1-5, 32 each
    std::string attention;             // second record bytes 32-63
    std::string executive;             // second record bytes 64-75 (broker: account executive)
    std::string telephone;             // second record bytes 76-87, the digits as stored

    PartyEntry();  // every field blank
};

// Reads the entry's first record (lines 1-4) and second record (line 5,
// attention, executive, telephone). Returns how many of the two records
// were read (0, 1 or 2); fields of a record not read stay blank.
int ReadPartyEntry(Party party, long first_record, PartyEntry& entry);

// Reads one record of the party's record file; false when it cannot be
// read.
bool ReadPartyRecord(Party party, long record, records::Record& rec);

}  // namespace reports
