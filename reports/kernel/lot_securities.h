#pragma once

// What the appraisals' lot valuations read of a lot's security: its
// SECURITY.REC fields, its SECURITY.EXT terms, and the search of
// SECURITY.IDX for a cash lot's symbol. Shared by the account appraisal and
// the fixed income appraisal.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/appraisal_files.h"
#include "records/files.h"
#include "records/index.h"
#include "records/security_file.h"
#include "records/security_once.h"

namespace reports {

// The security of a lot. A security that cannot be read (position 0 or
// below, past the file, a record of zero bytes) is a missing security:
// type "T", blank texts, rate 0, found false (no price).
struct LotSecurity {
    bool found = false;
    std::string type_code = std::string(4, ' ');
    std::string description1 = std::string(32, ' ');
    std::string description2 = std::string(32, ' ');
    std::string category = std::string(4, ' ');
    std::string maturity = std::string(8, ' ');
    float maturity_number = 0;                      // LotDateNumber(maturity)
    std::string coupon_date = std::string(8, ' ');  // the second date of the record
    float rate = 0;
    int16_t first_word = 0;  // bytes 84-85
    int16_t last_word = 0;   // bytes 126-127
};
LotSecurity DecodeLotSecurity(const records::Record* rec);
LotSecurity ReadLotSecurity(const records::DirectFile& securities, long position);

// The terms of SECURITY.EXT that the appraisals carry into their work
// records, as stored.
struct LotExtension {
    bool read = false;
    // The stored yield to maturity when above 0 and below 100, else (and
    // when the record cannot be read) -999.99.
    float yield_to_maturity = -999.99f;
    std::string call_date = std::string(8, ' ');
    double call_price = 0;
    std::array<unsigned char, 4> word2{}, word3{}, word4{}, word5{};  // bytes 68, 72, 89, 93
    std::string code = std::string(5, ' ');                           // bytes 76-80
    std::string put_date = std::string(8, ' ');
    double put_price = 0;

    float yield_to_call = 0;  // bytes 58-61; 0 when the record cannot be read

    // Copies the carried terms (not the yields) into a valued holding.
    void CopyTerms(records::ValuedHolding& holding) const;
};
LotExtension DecodeLotExtension(const records::Record* rec);

// The 4-byte word at an offset of a record (zeros past its end).
std::array<unsigned char, 4> WordAt(const records::Record& rec, std::size_t offset);

// A lot whose symbol is "CASH" (all 12 characters).
bool IsCashSymbol(std::string_view symbol);

// SECURITY.IDX, read at the first search: the position (1 on) of a symbol,
// 0 when it is not there.
using SecuritySearch = records::SecurityPositions;

// Each security's fields and terms decoded once while the reader lives.
using LotSecurities = records::RecordsOnce<LotSecurity>;
using LotExtensions = records::RecordsOnce<LotExtension>;

// SECURITY.REC and SECURITY.EXT kept open over a report's run, each
// security's fields and terms decoded at its first lot and kept for the
// run's other lots, and SECURITY.IDX read at the run's first search. For a
// run that does not write the security files.
struct RunSecurities {
    SecuritySearch index;
    LotSecurities records{records::kSecurityRecords, records::kSecurityRecordLength, DecodeLotSecurity};
    LotExtensions terms{records::kSecurityExtensionFile, records::kSecurityRecordLength, DecodeLotExtension};
};

// A date text MM/DD/YY as a windowed YYMMDD number, so that dates from 2000
// on compare after those of the 1900s; 0 for a blank (or never written)
// date or one that does not read.
float LotDateNumber(const std::string& date);

}  // namespace reports
