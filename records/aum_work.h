#pragma once

// TLSTCLNT.TMP, the work file of the summary of assets under management:
// one 128-byte record per selected account, record k the k-th account in
// index order, of which 100 bytes are used. The file lives for one run.

#include <string>

#include "records/record.h"

namespace records {

inline constexpr const char* kAumWorkFile = "TLSTCLNT.TMP";
inline constexpr std::size_t kAumWorkRecordLength = 128;

struct AumWorkRecord {
    std::string account = std::string(8, ' ');  // bytes 1-8
    std::string name = std::string(32, ' ');    // bytes 9-40
    std::string field4 = std::string(4, ' ');   // bytes 41-44, the account's fourth record bytes 88-91
    std::string field2 = std::string(8, ' ');   // bytes 45-52, the account's second record bytes 121-128
    double market_value = 0;                    // bytes 53-60
    double cash = 0;                            // bytes 61-68
    double equities = 0;                        // bytes 69-76
    double fixed_income = 0;                    // bytes 77-84
    double cash_equivalents = 0;                // bytes 85-92
    double other_assets = 0;                    // bytes 93-100

    static AumWorkRecord Decode(const Record& rec);
    // Writes bytes 1-100 of a 128-byte record; bytes 101-128 are zero.
    Record Encode() const;
};

}  // namespace records
