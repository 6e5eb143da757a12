#pragma once

// Where a report reads an account's holdings, and the walk over their lots.
//
// Holdings as of the program date are kept in HL<acct>.REC; for an earlier
// report date the account's transactions are replayed (Creatt, write mode
// 0) into HL.TMP, which the report reads before anything else replays.
// The lots form a list from the header's first lot along each lot's link;
// LotIterator follows it and ends at a negative link, at a record that
// cannot be read, and after as many steps as the file has records, so a
// damaged chain that loops never hangs a report.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "records/account_records.h"
#include "records/files.h"

namespace reports {

struct HoldingsSource {
    std::string file;           // HL.TMP or HL<acct>.REC
    bool replayed = false;      // true for HL.TMP
    int16_t replay_status = 0;  // Creatt's status when replayed
};

// Chooses the holdings of the account for a report date (YYMMDD numbers
// with the two-digit-year window, as the record layer computes them):
// before the program date the replay into HL.TMP (label is written into
// its header), otherwise HL<acct>.REC.
HoldingsSource PrepareHoldings(std::string_view account, float report_date, float program_date,
                               std::string_view label = "        ");

class LotIterator {
public:
    enum class End {
        kNone,        // not ended yet
        kListEnd,     // a negative link: every lot was read
        kReadFailed,  // the header or a lot record could not be read
        kLooped,      // more steps than the file has records
    };

    // Opens the holdings file for reading (a missing file ends at once
    // with kReadFailed).
    explicit LotIterator(std::string_view file);

    // The next lot and its record number; false once the walk has ended.
    bool Next(int16_t& record, records::HoldingRecord& lot);

    End end() const { return end_; }
    // The whole records of the file; 0 for a missing or empty file.
    long records() const { return records_; }
    const records::HoldingsHeader& header() const { return header_; }

private:
    // Record n of the file, copied into record_.
    const records::Record& RecordAt(long n);

    std::vector<unsigned char> bytes_;  // the file's whole records
    long records_ = 0;
    records::Record record_;  // kept from one lot to the next, so a step allocates nothing
    records::HoldingsHeader header_;
    int16_t next_ = -1;
    long steps_left_ = 0;
    End end_ = End::kNone;
};

}  // namespace reports
