#pragma once

// What the fixed income analyses and the fixed income summary read of a
// holding's security: SECURITY.REC and SECURITY.EXT, open for the run, the
// security record of a lot, and the price of the report date.

#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/files.h"
#include "records/security_file.h"
#include "records/security_once.h"

namespace reports {

enum class SecurityRead {
    kRead,    // the record was read
    kNone,    // the lot names no security record (number below 1): blank fields
    kFailed,  // the record could not be read
};

// The security master over the run, each record read once (the record
// layer's security master): a run's accounts hold the same securities.
class FixedIncomeFiles {
public:
    // The security record n; a number below 1 gives blank fields and a
    // missing rate (kNone).
    SecurityRead ReadSecurity(long n, records::SecurityRecord& security) const;
    // The extension record n; false when it cannot be read.
    bool ReadTerms(long n, records::SecurityExtension& terms) const;

private:
    // Reading through the cache does not change what the run sees.
    mutable records::SecurityRecordsOnce securities_{records::kSecurityRecords, records::kSecurityRecordLength,
                                                     records::DecodeSecurityRecord};
    mutable records::SecurityExtensionsOnce terms_{records::kSecurityExtensionFile, records::kSecurityRecordLength,
                                                   records::DecodeSecurityExtension};
};

// The security record of a lot: record 1 for the cash lot (symbol "CASH"),
// else the lot's own.
long LotSecurityNumber(const records::HoldingRecord& lot);
// A lot of kind "S" is not one of the account's managed holdings.
bool IsUnmanagedLot(const records::HoldingRecord& lot);
// A cash lot: its symbol's first four characters are "CASH".
bool IsCashLot(const records::HoldingRecord& lot);

// The price of security record n in the prices of a price file, as Rwpric
// reads it (records::kNoPriceValue when there is none).
double PriceOf(const std::vector<double>& prices, long n);

}  // namespace reports
