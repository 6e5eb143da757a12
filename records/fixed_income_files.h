#pragma once

// The work files of the fixed income appraisal: FCONTROL.FIL, the cursor of
// a run over a manager's accounts, and the security records the appraisal
// writes into TEMP1.WRK. Direct access, 256-byte records, fields
// little-endian and packed from offset 0; every record is encoded
// zero-filled to its 256 bytes.
//
// FCONTROL.FIL record 1 has the layout of CCONTROL.FIL record 1 (run
// position, 100 manager flags, countdown, manager code, mode word):
// FixedIncomeControlHeader. Record m + 1 (36 bytes), the run of manager
// number m:
//    0 account id 8; 8 month (I2); 10 year (I2, 100 + YY from 2000);
//   12 account entry (I2); 14 number of accounts (I2); 16 carried text 8;
//   24 report date MM/DD/YY; 32 report date number YYMMDD (R4).
//
// TEMP1.WRK: record 1 is the account header of the appraisal work file
// (AppraisalHeader, report kind 9 in its order word); records 2 on hold one
// security each (FixedIncomeHolding): the valued holding record of the
// account appraisal (offsets 0-227) followed by 228 accrued interest total
// (R8) and 236 yield to call (R4).

#include <cstdint>
#include <string>

#include "records/appraisal_files.h"
#include "records/record.h"

namespace records {

inline constexpr const char* kFixedIncomeControlFile = "FCONTROL.FIL";
// The report kind word of the TEMP1.WRK header that the fixed income
// appraisal writes: the pages print the account address only under it.
inline constexpr int16_t kFixedIncomeReportKind = 9;

using FixedIncomeControlHeader = AppraisalControlHeader;

struct FixedIncomeRunRecord {
    std::string account = std::string(8, ' ');
    int16_t month = 0;
    int16_t year = 0;
    int16_t entry = 0;
    int16_t count = 0;
    std::string carried = std::string(8, ' ');
    std::string report_date = std::string(8, ' ');
    float date_number = 0;

    static FixedIncomeRunRecord Decode(const Record& rec);
    Record Encode() const;
};

struct FixedIncomeHolding {
    ValuedHolding holding;  // extension_percent: the yield to maturity
    double accrued = 0;
    float yield_to_call = 0;

    static FixedIncomeHolding Decode(const Record& rec);
    Record Encode() const;
};

}  // namespace records
