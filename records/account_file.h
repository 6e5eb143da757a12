#pragma once

// The account file: ACCOUNT.IDX, the index of account identifiers, and
// ACCOUNT.REC, eight 128-byte records of account data per account.
//
// ACCOUNT.IDX record 1: bytes 0-1 the number of index entries; byte 2 a
// flag byte that the account dialogs keep as they found it; the account
// save writes the other bytes as zeros (the sort carries the further words
// over). Records 2 on: 16 keys of 8 characters; entry k is key
// ((k-1) mod 16) + 1 of record 2 + (k-1) div 16. A key whose first word
// is "$$$$" is a deleted entry; it still counts for the numbering of the
// entries after it.
//
// ACCOUNT.REC: entry k owns records 8k-7 to 8k, R1 to R8. Byte offsets from
// 0; texts blank padded; numbers little-endian integers and IEEE floats:
//   R1   0-31 name; 32-63, 64-95, 96-127 address lines 1-3
//   R2   0-15 reserved (blank); 16-19 manager code; 20-51 salutation;
//        52-83 short name; 84-95 tax id; 96-107 home phone;
//        108-119 business phone; 120-127 date opened MM/DD/YY
//   R3   0-31 address line 4; 32-47 and 48-63 the custodian account number
//        in two halves; 64-69 custodian id; 72-77 broker id; 80-81 fiscal
//        year end month; 82-87 combined account 6; 90-93 and 98-99
//        combined account 7; 94 cash balance code; 102-107, 110-115,
//        118-123 combined accounts 8, 9, 10
//   R4   0-3 index no. 1 price (float); 4-7 index no. 2 price (float);
//        8-15 account value on the opening date (double); 16-35 the
//        performance start (kept as bytes); 36 management fee code; 37-40
//        setup charge (float); 41-42 billing frequency; 43-44 invoice
//        letter type; 45-46 management fee option; 47-66 combined accounts
//        1-5, characters 1-4, four bytes each; 67-68, 71-72, 75-76, 79-80,
//        83-84 their characters 5-6; 87-90 investment objective; 111-114
//        the stored fiscal-year-to-date return (kept as bytes)
//   R5   0-59, 60-119 note lines 1, 2;  R6 the same for lines 3, 4
//   R7   reserved, written as 128 blanks
//   R8   0-8 index symbol no. 1; 12-17, 20-25, 28-33 its column headers;
//        36-44 index symbol no. 2; 48-53, 56-61, 64-69 its column headers
// Every byte that no field names is written blank.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "records/account_lists.h"
#include "records/record.h"

namespace records {

// The eight records R1 to R8 of one account.
using AccountRecordSet = std::array<Record, 8>;

// Fills every field of the account (not its identifier) from its records:
// texts trimmed of trailing blanks, numbers and kept bytes as stored. R7 is
// not read.
void DecodeAccountRecords(const AccountRecordSet& records, CAccountEntry& account);
// The account's records: blank, with every field at its place.
AccountRecordSet EncodeAccountRecords(const CAccountEntry& account);

// The account file as the account dialogs load it.
struct AccountFileContents {
    // Byte 2 of index record 1; 1 when that record cannot be read.
    unsigned char flag = 1;
    // The accounts in entry order, deleted entries left out.
    std::vector<std::unique_ptr<CAccountEntry>> accounts;
    // Identifiers of accounts whose records could not be read: they are
    // listed with every field blank (texts empty, numbers and kept bytes 0).
    std::vector<std::string> unreadable;
    // Set when ACCOUNT.IDX holds a key that is not an account identifier
    // (a leading blank, or seven or eight characters): the message naming
    // the file and the key. No account is then listed, and the index must
    // not be written back.
    std::string refused;
};

// Reads ACCOUNT.IDX and ACCOUNT.REC. A missing or unreadable index gives no
// accounts; a count larger than the index lists the keys that read.
// Deleted keys, and blank keys (which name no account), are passed over
// with their eight records; a damaged key refuses the index (refused).
AccountFileContents LoadAccountFile();

// Reads the eight records of account entry k (from 1) of ACCOUNT.REC into
// the account's fields; false (the account unchanged) when one of them
// cannot be read.
bool ReadAccountEntry(int entry, CAccountEntry& account);
// The eight records of account entry k as stored; false when one of them
// cannot be read (a missing file is never created).
bool ReadAccountRecordSet(int entry, AccountRecordSet& records);

// R7 bytes 48-70: the target allocation, one percentage byte per group of
// the appraisal type order. The account dialogs write R7 as blanks, so a
// stored target may be 23 blanks.
inline constexpr std::size_t kTargetAllocationOffset = 48;
inline constexpr std::size_t kTargetAllocationCount = 23;
std::array<unsigned char, kTargetAllocationCount> TargetAllocationBytes(const AccountRecordSet& records);

// Writes the accounts, in array order, as a compact ACCOUNT.IDX (count and
// flag byte in record 1, the keys from record 2) and ACCOUNT.REC. Both
// files are written whole beside their names and renamed over them only
// when both were written. Returns an empty text when done, else the name
// of the file that could not be written (the old files then stay).
std::string SaveAccountFile(const std::vector<std::unique_ptr<CAccountEntry>>& accounts, unsigned char flag);

}  // namespace records
