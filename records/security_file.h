#pragma once

// The security master: SECURITY.IDX with SECURITY.REC and SECURITY.EXT,
// 128-byte records. A security is known everywhere by its position n in
// the index; record n of SECURITY.REC and of SECURITY.EXT (and of every
// price file) belongs to it. Positions are never reused: a deleted
// identifier is written as twelve "$" and keeps its position, so the index
// count includes deleted positions.
//
//  - SECURITY.IDX: record 1 bytes 1-2 the number of positions (16-bit),
//    bytes 3-128 zero; records 2 on hold ten identifiers each, position
//    10(r-2)+1 to 10(r-2)+10 in record r, each in 12 blank-padded
//    characters, then 8 blanks. A record only partly used is blank after
//    its last identifier.
//  - SECURITY.REC and SECURITY.EXT: the fields of SecurityRecord and
//    SecurityExtension below. A new security's records are zero bytes
//    (SECURITY.REC with a blank type word and its entry number).
//
// The structs follow the house codec pattern: Decode reads the fields at
// their fixed offsets (a short or empty record decodes as zeros); Encode
// writes them into the Record passed in and leaves every byte the layout
// does not own as it was, so a record read, changed and written back keeps
// its other bytes. Texts are kept as their exact bytes (a record never
// written holds NUL bytes, which are kept) and are blank padded or cut to
// their width on Encode.
//
// The file routines open and close their file within the call.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"

namespace records {

inline constexpr const char* kSecurityExtensionFile = "SECURITY.EXT";
inline constexpr std::size_t kSecurityRecordLength = 128;
// The key a deleted identifier is written as.
inline constexpr std::string_view kDeletedSecurityKey = "$$$$$$$$$$$$";
// The longest identifier an index key holds.
inline constexpr std::size_t kSecurityIdWidth = 12;

// SECURITY.REC record n. Bytes 87-88 and 107-108 belong to no field and
// are kept as stored.
struct SecurityRecord {
    std::string cusip = std::string(12, ' ');         // bytes 1-12
    std::string description1 = std::string(32, ' ');  // bytes 13-44
    std::string description2 = std::string(32, ' ');  // bytes 45-76
    std::string type = std::string(4, ' ');           // bytes 77-80, type character and three blanks
    std::string category = std::string(4, ' ');       // bytes 81-84, SIC code: two digits, two blanks
    std::string allocation = std::string(2, ' ');     // bytes 85-86, general asset allocation code
    std::string due_date = std::string(8, ' ');       // bytes 89-96, MM/DD/YY
    float rate = 0;                                   // bytes 97-100, coupon or dividend rate
    std::string exchange = std::string(4, ' ');       // bytes 101-104
    char autopricing = 'N';                           // byte 105, "Y" or "N"
    uint8_t payment_frequency = 0;                    // byte 106, payments a year, 0-12
    std::string ex_date = std::string(8, ' ');        // bytes 109-116, MM/DD/YY
    std::string pay_date = std::string(8, ' ');       // bytes 117-124, MM/DD/YY
    int16_t entry = 0;                                // bytes 125-126, the index position n
    int16_t loan_limit = 0;                           // bytes 127-128, loan display limit in percent

    static SecurityRecord Decode(const Record& rec);
    void Encode(Record& rec) const;

    // The type character (byte 77).
    char TypeCharacter() const { return type.empty() ? ' ' : type[0]; }
};

// The record of a new security at position n: 128 zero bytes with a blank
// type word and the entry number; with cusip_from_identifier the CUSIP
// field holds the identifier, blank padded.
Record NewSecurityRecord(std::string_view identifier, int16_t entry, bool cusip_from_identifier);

// SECURITY.EXT record n: the fixed-income terms. Bytes 1-2, 35-38, 59-64,
// 83-85, 91-93, 95-97 and 114-128 belong to no field and are kept.
struct SecurityExtension {
    std::string issue_date = std::string(8, ' ');         // bytes 3-10
    std::string first_coupon_date = std::string(8, ' ');  // bytes 11-18
    std::string last_coupon_date = std::string(8, ' ');   // bytes 19-26, irregular last coupon
    std::string prerefunded_date = std::string(8, ' ');   // bytes 27-34
    std::string call_date = std::string(8, ' ');          // bytes 39-46
    double call_price = 0;                                // bytes 47-54
    float yield_to_maturity = 0;                          // bytes 55-58
    std::string bond_type = std::string(4, ' ');          // bytes 65-68
    std::string moody_rating = std::string(4, ' ');       // bytes 69-72
    std::string sp_rating = std::string(4, ' ');          // bytes 73-76
    std::string insurer = std::string(5, ' ');            // bytes 77-81
    char oid = 'N';                                       // byte 82, "Y" or "N"
    float oid_yield = 0;                                  // bytes 86-89
    char call_feature = 'N';                              // byte 90, "N", "C", "E" or "R"
    char put_feature = 'N';                               // byte 94, "N" or "P"
    std::string put_date = std::string(8, ' ');           // bytes 98-105
    double put_price = 0;                                 // bytes 106-113

    static SecurityExtension Decode(const Record& rec);
    void Encode(Record& rec) const;
};

// The record of a new security in SECURITY.EXT: 128 zero bytes.
Record NewSecurityExtension();

// ---- The cash security

// Entry 1 of every security master is the cash security: posting files
// cash and income whose security is unknown under record 1 and takes its
// holding key, the cash balance adds record 1's lots, and pricing leaves
// record 1 out. So a security master is started with it, and entry 1 is
// never deleted, retyped or given to another identifier.
inline constexpr std::string_view kCashSecurityId = "CASH";
inline constexpr long kCashSecurityEntry = 1;
// The cash security's SECURITY.REC record: identifier and first
// description "CASH", type "1", rate 0, entry number 1.
SecurityRecord CashSecurity();
// When SECURITY.IDX names no position (missing, empty or unreadable) and
// SECURITY.REC has no record 1, writes the cash security as record 1 of
// SECURITY.REC and SECURITY.EXT and an index of that one identifier. True
// when the master was started; false when it already had positions, a
// first record whose index is lost (left as it is), or a write failed.
bool StartSecurityMaster();

// ---- SECURITY.IDX

// The identifiers of SECURITY.IDX in position order, each as its 12 stored
// characters. A count larger than the records that read gives the
// identifiers that read; a missing or empty index gives none.
std::vector<std::string> ReadSecurityIndex();
// The bytes of SECURITY.IDX for the identifiers in position order (each
// blank padded or cut to 12).
std::vector<unsigned char> EncodeSecurityIndex(const std::vector<std::string>& identifiers);
// Writes SECURITY.IDX whole, beside its name and renamed over it. False
// (old file kept) when the write failed.
bool WriteSecurityIndex(const std::vector<std::string>& identifiers);

// ---- SECURITY.REC and SECURITY.EXT

// Reads record n of SECURITY.REC or SECURITY.EXT. False (rec left as it
// was) when the record cannot be read.
bool ReadSecurityRecord(long n, Record& rec);
bool ReadSecurityExtension(long n, Record& rec);
// Writes record n (128 bytes; a shorter record is extended with zeros).
bool WriteSecurityRecord(long n, const Record& rec);
bool WriteSecurityExtension(long n, const Record& rec);

// The fields of record n; a record that cannot be read decodes as zeros
// and the result is false.
bool ReadSecurity(long n, SecurityRecord& security);
bool ReadSecurityTerms(long n, SecurityExtension& terms);

}  // namespace records
