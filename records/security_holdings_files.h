#pragma once

// The work files of the assets under management run: MSTRSUMM.HLD, one
// record per holding lot of every selected account (256-byte records), and
// MSTRSUMM.CMP, one summary per security (128-byte records). Both live for
// one run only: the run writes the lots, the cross reference pass reads them
// security by security and writes the summaries, the assets under
// management page prints from the summaries, and the run deletes the files.
// Fields are little-endian and packed from offset 0 (offsets below count
// from 0). Every record is encoded zero-filled to its full length, so no
// byte of an earlier file survives in a record written now.
//
// MSTRSUMM.HLD record 1 (14 bytes): record count (I2), as-of date 8,
// manager selection 4. Records 2 to count + 1: SecurityHolding (229 bytes).
//
// MSTRSUMM.CMP record 1 (42 bytes): number of securities (I2), pricing
// date 8, grand market value, cost, short-term and long-term gain (R8
// each). Records 2 to n + 1: SecuritySummary (125 bytes).

#include <cstdint>
#include <string>

#include "records/record.h"

namespace records {

inline constexpr const char* kSecurityHoldingsFile = "MSTRSUMM.HLD";
inline constexpr const char* kSecuritySummaryFile = "MSTRSUMM.CMP";
inline constexpr std::size_t kSecurityHoldingsRecordLength = 256;
inline constexpr std::size_t kSecuritySummaryRecordLength = 128;

// Valuation kinds of a holding: how its price relates to its value.
inline constexpr int8_t kValuedPlain = 0;
inline constexpr int8_t kValuedPerHundred = 8;  // fixed income, priced per 100 of face
inline constexpr int8_t kValuedTimes100 = 9;    // type "R"

// MSTRSUMM.HLD record 1.
struct SecurityHoldingsHeader {
    int16_t record_count = 0;                      // 0
    std::string as_of_date = std::string(8, ' ');  // 2, MM/DD/YY
    std::string manager = std::string(4, ' ');     // 10, the selection ("?" matches any character)

    static SecurityHoldingsHeader Decode(const Record& rec);
    Record Encode() const;
};

// MSTRSUMM.HLD records 2 on: one holding lot.
struct SecurityHolding {
    double market_value = 0;                               // 0
    std::string symbol = std::string(12, ' ');             // 8
    std::string account_title = std::string(32, ' ');      // 20
    std::string account_id = std::string(8, ' ');          // 52
    std::string lot_date = std::string(8, ' ');            // 60, MM/DD/YY
    double quantity = 0;                                   // 68
    double cost = 0;                                       // 76
    float percent_of_account = 0;                          // 84
    float rate = 0;                                        // 88
    std::string lot_code = std::string(2, ' ');            // 92
    int16_t security_number = 0;                           // 94
    int8_t valuation_kind = kValuedPlain;                  // 96
    std::string description1 = std::string(32, ' ');       // 97
    std::string description2 = std::string(32, ' ');       // 129
    std::string security_type = std::string(4, ' ');       // 161
    std::string maturity_date = std::string(8, ' ');       // 165
    float rate2 = 0;                                       // 173
    std::string lot_text20 = std::string(20, ' ');         // 177
    std::string custodian_account = std::string(32, ' ');  // 197

    static SecurityHolding Decode(const Record& rec);
    Record Encode() const;
};

// MSTRSUMM.CMP record 1.
struct SecuritySummaryHeader {
    int16_t count = 0;                               // 0
    std::string pricing_date = std::string(8, ' ');  // 2
    double market_value = 0;                         // 10
    double cost = 0;                                 // 18
    double short_term_gain = 0;                      // 26
    double long_term_gain = 0;                       // 34

    static SecuritySummaryHeader Decode(const Record& rec);
    Record Encode() const;
};

// MSTRSUMM.CMP records 2 on: one security.
struct SecuritySummary {
    std::string description1 = std::string(32, ' ');  // 0
    std::string description2 = std::string(32, ' ');  // 32
    std::string symbol = std::string(12, ' ');        // 64
    float unit_value = 0;                             // 76
    double quantity = 0;                              // 80
    double cost = 0;                                  // 88
    double market_value = 0;                          // 96
    double short_term_gain = 0;                       // 104
    double long_term_gain = 0;                        // 112
    int16_t accounts = 0;                             // 120
    int16_t security_number = 0;                      // 122
    int8_t valuation_kind = kValuedPlain;             // 124

    static SecuritySummary Decode(const Record& rec);
    Record Encode() const;
};

}  // namespace records
